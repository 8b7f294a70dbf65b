#include "ui/game_editor_page.h"

#include "support/ui_world.h"
#include "ui/main_window.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>


namespace tarmacia::ui {
namespace {

QStringList captions(const QListWidget& list) {
    QStringList texts;
    for (int i = 0; i < list.count(); ++i)
        texts << list.item(i)->text();
    return texts;
}

// The real windows over fake ports, started up, with the page in the panel.
class GameEditorPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        form->form("TForm1").show();
        form->oldButton9Click();
        page = new GameEditorPage(*form);
        windows.mainWindow()->addPage(QStringLiteral("Settings"), QStringLiteral("Games"), page,
                                      [p = page] { p->refresh(); });
        list = child<QListWidget>("Game List");
        selector = child<QComboBox>("Current Game");
    }

    template <typename W> W* child(const char* name) {
        W* widget = page->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        if (widget) {
            EXPECT_EQ(widget->accessibleName(), QString::fromLatin1(name));
        }
        return widget;
    }
    void type(const char* field, const char* text) {
        child<QLineEdit>(field)->setText(QString::fromLatin1(text));
    }
    std::string gameList() const { return fakes.ini.text(form->clientFolder() / "gamelist.ini"); }

    test::UiWorld world;
    platform::fake::FakePorts& fakes = world.fakes;
    QtWindowSystem& windows = world.windows;
    app::MainForm* form = &world.form;
    GameEditorPage* page = nullptr;
    QListWidget* list = nullptr;
    QComboBox* selector = nullptr;
};

TEST_F(GameEditorPageTest, ShowsTheListAndFillsTheFieldsOfTheChosenEntry) {
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(captions(*list),
              (QStringList{"Add New", "Porsche Unleashed", "High Stakes", "Hot Pursuit 2"}));
    ASSERT_NE(selector, nullptr);
    EXPECT_EQ(selector->count(), 3);
    EXPECT_EQ(selector->itemText(2), QStringLiteral("HP"));

    list->setCurrentRow(2);
    EXPECT_EQ(child<QLineEdit>("Code")->text(), QStringLiteral("HS"));
    EXPECT_EQ(child<QLineEdit>("Executable")->text(), QStringLiteral("nfshs.exe"));
    EXPECT_EQ(page->findChild<QLabel*>(QStringLiteral("Heading"))->text(),
              QStringLiteral("NFS High Stakes"));
}

TEST_F(GameEditorPageTest, SaveStoresTheTypedEntryAndTheListGrows) {
    list->setCurrentRow(0);
    type("Code", "pt");
    type("Name", "Porsche Tuned");
    type("Colour", "B5F7B5");
    type("Executable", "pt.exe");
    type("Path", "/games/pt/");
    child<QPushButton>("Save")->click();

    const std::string stored = gameList();
    EXPECT_NE(stored.find("abbrev=PT"), std::string::npos) << stored;
    EXPECT_NE(stored.find("path=/games/pt/"), std::string::npos) << stored;
    EXPECT_EQ(list->count(), 5);
    EXPECT_EQ(list->item(4)->text(), QStringLiteral("Porsche Tuned"));
    EXPECT_EQ(selector->findText(QStringLiteral("PT")), 3);
}

TEST_F(GameEditorPageTest, DeletingASupportedGameIsRefusedAndKeepsIt) {
    list->setCurrentRow(2);
    child<QPushButton>("Delete")->click();

    ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
    EXPECT_EQ(fakes.dialogs.shown[0].title, "Delete Game");
    EXPECT_NE(fakes.dialogs.shown[0].text.find("Unable to delete HS"), std::string::npos);
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("High Stakes"));
}

TEST_F(GameEditorPageTest, TheSelectorSetsTheCurrentGameAndARefreshDoesNot) {
    form->currentGame = "none";
    page->refresh();
    EXPECT_EQ(form->currentGame, "none");

    selector->setCurrentIndex(selector->findText(QStringLiteral("HP")));
    EXPECT_EQ(form->currentGame, "HP");
}

} // namespace
} // namespace tarmacia::ui
