// The sound and options pages on real widgets, driven as the player would,
// with the core running on fakes.

#include "support/ui_world.h"
#include "ui/options_page.h"
#include "ui/sound_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QPushButton>
#include <QSlider>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace tarmacia::ui {
namespace {

namespace fs = std::filesystem;

void writeFile(const fs::path& file, const std::string& bytes) {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
}

// What QComboBox sends when the player picks an entry from its list.
void pick(QComboBox* combo, const QString& text) {
    const int index = combo->findText(text);
    ASSERT_GE(index, 0) << text.toStdString();
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    emit combo->textActivated(text);
}

// The program as main() builds it: real windows, the core on fakes, the
// start-up run, both pages registered.
struct Client {
    test::UiWorld world;
    platform::fake::FakePorts& fakes = world.fakes;
    app::MainForm* form = &world.form;
    MainWindow* main = world.windows.mainWindow();

    Client() {
        // Copied into the client folder by the start-up; one name in capitals.
        writeFile(world.home / "program/sounds/Ding.WAV", "RIFF");
        writeFile(world.home / "program/sounds/horn.wav", "RIFF");
        auto* options = new OptionsPageWidget(*form);
        main->addPage(QStringLiteral("Settings"), QStringLiteral("Options"), options,
                      [options] { options->refresh(); });
        auto* sounds = new SoundPageWidget(*form, [this] { main->closePages(); });
        main->addPage(QStringLiteral("Sounds"), QStringLiteral("Sounds"), sounds,
                      [sounds] { sounds->refresh(); });
        form->form("TForm1").show();
        form->oldButton9Click();
        form->closePleaseWait();
    }

    template <typename W> W* find(const QString& name) {
        W* widget = main->findChild<W*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        if (widget != nullptr) {
            EXPECT_EQ(widget->accessibleName(), name);
        }
        return widget;
    }
    fs::path client(const std::string& name) const { return form->clientFolder() / name; }
    std::string settingsIni(std::string_view key) {
        return fakes.ini.readString(client("settings.ini"), "misc", key, "<none>");
    }
};

TEST(OptionsPage, SeveralQuickTogglesAreSavedOnceThreeSecondsAfterTheLast) {
    Client c;
    QCheckBox* sounds = c.find<QCheckBox>(QStringLiteral("Use Sounds"));
    ASSERT_NE(sounds, nullptr);
    // The start-up's values are shown: sounds default to on.
    EXPECT_TRUE(sounds->isEnabled());
    EXPECT_TRUE(sounds->isChecked());

    sounds->click(); // off
    c.fakes.clock.advance(1000);
    sounds->click(); // on
    c.fakes.clock.advance(1000);
    sounds->click(); // off
    EXPECT_FALSE(c.form->settings.user.options.useSounds);
    c.fakes.clock.advance(2999);
    EXPECT_EQ(c.settingsIni("sounds"), "<none>");
    c.fakes.clock.advance(1);
    EXPECT_EQ(c.settingsIni("sounds"), "0");

    // Nothing else is pending: a file emptied now stays empty.
    c.fakes.ini.setText(c.client("settings.ini"), "");
    c.fakes.clock.advance(60'000);
    EXPECT_EQ(c.fakes.ini.text(c.client("settings.ini")), "");
}

TEST(OptionsPage, EachBoxSetsItsOwnOption) {
    Client c;
    QCheckBox* replays = c.find<QCheckBox>(QStringLiteral("PU - Save Replays"));
    QCheckBox* logfile = c.find<QCheckBox>(QStringLiteral("Use Logfile"));
    QCheckBox* chat = c.find<QCheckBox>(QStringLiteral("Log all chat"));
    ASSERT_TRUE(replays && logfile && chat);
    replays->click();
    logfile->click();
    chat->click();
    c.fakes.clock.advance(3000);
    EXPECT_EQ(c.settingsIni("pureplays"), "-1");
    EXPECT_EQ(c.settingsIni("uselogfile"), "0");
    EXPECT_EQ(c.settingsIni("logchat"), "0");
    EXPECT_EQ(c.settingsIni("sounds"), "-1");
}

TEST(OptionsPage, MasterResetAnsweredCancelDeletesNothing) {
    Client c;
    c.fakes.ini.setText(c.client("settings.ini"), "[misc]\r\nsounds=0\r\n");
    c.fakes.ini.setText(c.client("sound.ini"), "");
    c.fakes.dialogs.answers = {platform::BoxButton::Cancel};
    QPushButton* reset = c.find<QPushButton>(QStringLiteral("Master Reset"));
    ASSERT_NE(reset, nullptr);
    reset->click();

    ASSERT_FALSE(c.fakes.dialogs.shown.empty());
    EXPECT_EQ(c.fakes.dialogs.shown.back().title, "Restore Default Settings");
    EXPECT_TRUE(c.fakes.ini.exists(c.client("settings.ini")));
    EXPECT_TRUE(c.fakes.ini.exists(c.client("sound.ini")));
    EXPECT_TRUE(c.fakes.app.newInstances.empty());
    EXPECT_TRUE(c.main->isVisible());
}

TEST(OptionsPage, MasterResetAnsweredResetDeletesTheFilesAndRestarts) {
    Client c;
    c.fakes.ini.setText(c.client("settings.ini"), "[misc]\r\nsounds=0\r\n");
    c.fakes.ini.setText(c.client("gamelist.ini"), "[game0]\r\n");
    c.fakes.dialogs.answers = {platform::BoxButton::Ok};
    c.find<QPushButton>(QStringLiteral("Master Reset"))->click();

    EXPECT_FALSE(c.fakes.ini.exists(c.client("settings.ini")));
    EXPECT_TRUE(c.fakes.ini.exists(c.client("gamelist.ini")));
    EXPECT_EQ(c.fakes.app.newInstances.size(), 1u);
}

TEST(SoundPage, EachEventKeepsItsOwnFileAndSaveWritesThemAndClosesThePanel) {
    Client c;
    auto* event = c.find<QComboBox>(QStringLiteral("Event"));
    auto* file = c.find<QComboBox>(QStringLiteral("Sound File"));
    auto* use = c.find<QCheckBox>(QStringLiteral("Use this sound"));
    auto* save = c.find<QPushButton>(QStringLiteral("Save Changes"));
    ASSERT_TRUE(event && file && use && save);
    ASSERT_EQ(event->count(), 12);
    EXPECT_EQ(event->currentText(), QStringLiteral("Person Enters"));
    EXPECT_EQ(file->findText(QStringLiteral("ding.wav")), 1);
    EXPECT_EQ(file->findText(QStringLiteral("horn.wav")), 2);

    c.main->showPage(QStringLiteral("Sounds"));
    auto* panel = c.main->findChild<QDockWidget*>(QStringLiteral("Options Panel"));
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());

    pick(event, QStringLiteral("Whisper"));
    EXPECT_EQ(file->currentText(), QStringLiteral("No Sound"));
    pick(file, QStringLiteral("horn.wav"));
    if (!use->isChecked()) use->click();
    // Another event shows its own file; coming back shows the choice again.
    pick(event, QStringLiteral("Person Enters"));
    EXPECT_EQ(file->currentText(), QStringLiteral("No Sound"));
    pick(event, QStringLiteral("Whisper"));
    EXPECT_EQ(file->currentText(), QStringLiteral("horn.wav"));
    EXPECT_TRUE(use->isChecked());
    // Nothing is written before "Save Changes".
    EXPECT_EQ(c.fakes.ini.text(c.client("sound.ini")), "");

    c.fakes.dialogs.shown.clear();
    save->click();
    const char* section = settings::kSoundEvents[4].section;
    const std::string stored =
        c.fakes.ini.readString(c.client("sound.ini"), section, "filepath", "");
    EXPECT_TRUE(stored.ends_with("horn.wav")) << stored;
    EXPECT_EQ(c.fakes.ini.readString(c.client("sound.ini"), section, "usesound", ""), "-1");
    ASSERT_EQ(c.fakes.dialogs.shown.size(), 1u);
    EXPECT_EQ(c.fakes.dialogs.shown[0].title, "Sounds Saved");
    EXPECT_FALSE(panel->isVisible());
}

TEST(SoundPage, PlayPlaysTheChosenFileAndTheSliderSetsTheVolume) {
    Client c;
    auto* event = c.find<QComboBox>(QStringLiteral("Event"));
    auto* file = c.find<QComboBox>(QStringLiteral("Sound File"));
    auto* volume = c.find<QSlider>(QStringLiteral("Volume"));
    auto* play = c.find<QPushButton>(QStringLiteral("Play"));
    ASSERT_TRUE(event && file && volume && play);

    pick(event, QStringLiteral("Pit Doorbell"));
    pick(file, QStringLiteral("ding.wav"));
    play->click();
    ASSERT_EQ(c.fakes.sound.played.size(), 1u);
    // The file as it lies on disk, whatever the case of its name.
    EXPECT_EQ(c.fakes.sound.played[0], c.client("sounds/Ding.WAV"));

    // Dragging sets the playing volume at once; releasing keeps it for the event.
    volume->setSliderDown(true);
    volume->setSliderPosition(30000);
    EXPECT_EQ(c.fakes.sound.left, 30000);
    EXPECT_EQ(c.fakes.sound.right, 30000);
    volume->setSliderDown(false);
    c.find<QPushButton>(QStringLiteral("Save Changes"))->click();
    const char* section = settings::kSoundEvents[5].section;
    EXPECT_EQ(c.fakes.ini.readString(c.client("sound.ini"), section, "leftvolume", ""), "30000");
    EXPECT_EQ(c.fakes.ini.readString(c.client("sound.ini"), section, "rightvolume", ""), "30000");
}

} // namespace
} // namespace tarmacia::ui
