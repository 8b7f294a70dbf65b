#include "settings/settings_deferred_save.h"
#include "settings/settings_reset.h"
#include "settings/settings_sound_page.h"
#include "settings/settings_store.h"

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_ini_files.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarmacia::settings {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

class SettingsStoreTest : public testing::Test {
protected:
    SettingsStoreTest() { log.setFolder(folder.path()); }

    fs::path at(const char* name) const { return folder.path() / name; }
    std::string text(const char* name) const { return ini.text(at(name)); }
    void setText(const char* name, std::string bytes) { ini.setText(at(name), std::move(bytes)); }
    std::string read(const char* name, const char* section, const char* key) const {
        return ini.readString(at(name), section, key, "<missing>");
    }

    test::TempDir folder;
    platform::fake::FakeIniFiles ini;
    app::DiagnosticLog log;
    SettingsStore store{ini, log, folder.path(), [] { return 50; }};
    Settings s = defaultSettings(folder.path());
};

TEST_F(SettingsStoreTest, WithoutAnyFileEveryStartUpReadGivesTheDefaults) {
    store.ReadscreenFile(s);
    store.ReadmiscFile(s, "gameindex");
    store.ReadOptions(s);
    store.ReadmiscFile(s, "all");
    store.ReadlanguageFile(s);
    store.ReadcolorFile(s);
    store.ReadfontFile(s);
    store.ReadsoundFile(s);
    store.Readlogindetails(s);
    store.ReadportFile(s, "HP");
    store.ReadserverFile(s);

    EXPECT_EQ(s.screen.state, WindowState::Normal);
    EXPECT_EQ(s.screen.left, 255);
    EXPECT_EQ(s.screen.top, 200);
    EXPECT_EQ(s.screen.width, 800);
    EXPECT_EQ(s.screen.height, 600);
    EXPECT_EQ(s.user.languageName, "English");
    EXPECT_EQ(s.user.languageFlag, "gbr");
    EXPECT_EQ(s.user.style, "Default");
    EXPECT_EQ(s.user.chatTextColour, kBlack);
    EXPECT_TRUE(s.user.autoFont);
    EXPECT_EQ(s.user.mainFont.name, "Arial");
    EXPECT_EQ(s.user.mainFont.size, 10);
    EXPECT_EQ(s.user.mainFont.colour, kBlack);
    EXPECT_EQ(s.user.highFont.name, "Arial");
    EXPECT_EQ(s.user.highFont.size, 10);
    EXPECT_EQ(s.user.highFont.colour, kWhite);
    EXPECT_FALSE(s.user.options.puSaveReplays);
    EXPECT_TRUE(s.user.options.useLogfile);
    EXPECT_TRUE(s.user.options.useSounds);
    EXPECT_TRUE(s.user.options.logChat);
    EXPECT_EQ(s.misc.flagWidth, 36);
    EXPECT_EQ(s.misc.flagLength, 24);
    EXPECT_EQ(s.misc.raceFlagWidth, 24);
    EXPECT_EQ(s.misc.raceFlagLength, 16);
    EXPECT_EQ(s.misc.histSpeed, "mph");
    EXPECT_EQ(s.portIndicators["HP"], "clWebOrange");
    EXPECT_TRUE(s.savedServerNames.empty());
    EXPECT_EQ(s.user.login.password, "");
    EXPECT_FALSE(s.user.login.useAsDefault);
    EXPECT_EQ(s.sounds[10].displayName, "Personal Best");
    EXPECT_EQ(s.sounds[10].filePath, folder.path().string() + "/sounds/church.wav");
    EXPECT_TRUE(s.sounds[10].enabled);
    EXPECT_FALSE(s.sounds[0].enabled);
    EXPECT_EQ(s.sounds[0].leftVolume, 35000);
    // Reading never creates a file.
    EXPECT_FALSE(fs::exists(log.path()));
    for (const char* name : {"screen.ini", "misc.ini", "settings.ini", "sound.ini", "server.ini"})
        EXPECT_FALSE(ini.exists(at(name))) << name;
}

TEST_F(SettingsStoreTest, WriteserverFileKeepsOnlyNamedSlotsAndNeverAPassword) {
    std::string stale;
    for (int slot = 0; slot < 10; ++slot)
        stale += "[server" + std::to_string(slot) + "]\r\nservername=old" + std::to_string(slot) +
                 "\r\nuserpassword=secret\r\n";
    setText("server.ini", stale);
    s.savedServers[0] = {"Main", "srvpw", "lobby.example", "5000", "Ann",
                         "gbr",  "pw",    "True",          86400};
    s.savedServers[1] = {"Second", "", "10.0.0.1", "5001", "Bob", "usa", "pw2", "", 0};
    s.savedServers[2] = {"Third", "", "10.0.0.2", "5002", "Cy", "fra", "", "Auto", 7};

    store.WriteserverFile(s);

    EXPECT_THAT(ini.sectionNames(at("server.ini")), ElementsAre("server0", "server1", "server2"));
    EXPECT_THAT(ini.keyNames(at("server.ini"), "server0"),
                ElementsAre("servername", "serverpassword", "serverip", "serverport", "username",
                            "userflag", "userpassword", "default", "lastlogin"));
    for (const char* section : {"server0", "server1", "server2"}) {
        EXPECT_EQ(read("server.ini", section, "serverpassword"), "") << section;
        EXPECT_EQ(read("server.ini", section, "userpassword"), "") << section;
    }
    EXPECT_THAT(text("server.ini"), Not(HasSubstr("secret")));
    EXPECT_EQ(read("server.ini", "server0", "lastlogin"), "86400");

    Settings back = defaultSettings(folder.path());
    store.ReadserverFile(back);
    EXPECT_THAT(back.savedServerNames, ElementsAre("Main", "Second", "Third"));
    EXPECT_EQ(back.savedServers[0].ip, "lobby.example");
    EXPECT_EQ(back.savedServers[0].defaultMarker, "True");
    EXPECT_EQ(back.savedServers[2].lastLogin, 7);
}

TEST_F(SettingsStoreTest, AddserverfileMergesByNameAndRewritesTheFile) {
    s.savedServers[0] = {"Main", "srvpw", "old.example", "5000", "Ann", "gbr", "pw", "True", 86400};
    // A known name takes the new address and login but keeps its last login.
    store.addserverfile(s, {"Main", "1", "new.example", "5445", "", "", "", "", 0});
    EXPECT_EQ(s.savedServers[0].ip, "new.example");
    EXPECT_EQ(s.savedServers[0].serverPassword, "");
    EXPECT_EQ(s.savedServers[0].userName, "");
    EXPECT_EQ(s.savedServers[0].lastLogin, 86400);
    // A new name fills the first free slot, without the server password.
    store.addserverfile(s, {"Other", "1", "10.0.0.9", "5446", "", "", "", "Auto", 5});
    EXPECT_EQ(s.savedServers[1].name, "Other");
    EXPECT_EQ(s.savedServers[1].serverPassword, "");
    EXPECT_EQ(s.savedServers[1].lastLogin, 5);
    EXPECT_EQ(read("server.ini", "server1", "serverip"), "10.0.0.9");
    // A full list takes nothing more.
    for (std::size_t i = 2; i < s.savedServers.size(); ++i)
        s.savedServers[i].name = "S" + std::to_string(i);
    store.addserverfile(s, {"Late", "1", "10.0.0.10", "1", "", "", "", "", 0});
    for (const ServerEntry& e : s.savedServers) EXPECT_NE(e.name, "Late");
    EXPECT_THAT(text("server.ini"), Not(HasSubstr("Late")));
}

TEST_F(SettingsStoreTest, ScreenStateDecidesWhetherGeometryApplies) {
    struct Case {
        const char* state;
        WindowState expected;
        int left;
    };
    // Any state but the two known ones leaves the window as it is.
    for (const Case& c :
         {Case{"wsNormal", WindowState::Normal, 10}, Case{"wsMaximized", WindowState::Maximized, 1},
          Case{"wsMinimized", WindowState::Minimized, 1},
          Case{"garbage", WindowState::Minimized, 1}}) {
        s.screen = {WindowState::Minimized, 1, 2, 3, 4};
        setText("screen.ini", std::string("[screen]\nscrstate=") + c.state +
                                  "\nscrleft=10\nscrtop=20\nscrwidth=abc\nscrheight=40\n");
        store.ReadscreenFile(s);
        EXPECT_EQ(s.screen.state, c.expected) << c.state;
        EXPECT_EQ(s.screen.left, c.left) << c.state;
    }
    // A number that is not one reads as that key's default.
    EXPECT_EQ(s.screen.width, 3);
    setText("screen.ini", "[screen]\nscrstate=wsNormal\nscrwidth=abc\n");
    store.ReadscreenFile(s);
    EXPECT_EQ(s.screen.width, 800);
    EXPECT_EQ(s.screen.top, 200);
}

TEST_F(SettingsStoreTest, WritemiscFileTouchesOnlyTheSelectedGroups) {
    s.misc.histSpeed = "kmh";
    s.misc.garage = 3;
    store.WritemiscFile(s, "histspeed");
    EXPECT_THAT(ini.sectionNames(at("misc.ini")),
                testing::UnorderedElementsAre("pugarage", "chrome", "histspeed", "maxbuttons",
                                              "showbuttons"));
    EXPECT_EQ(read("misc.ini", "histspeed", "speed"), "kmh");
    EXPECT_EQ(read("misc.ini", "pugarage", "garage"), "3");

    // "all" writes every group but never the port test states, and reads them back.
    ini.remove(at("misc.ini"));
    s.misc.flagWidth = 48;
    s.misc.hostingIp = "1.2.3.4";
    s.misc.portTests.PU = 2;
    store.WritemiscFile(s, "all");
    EXPECT_FALSE(ini.sectionExists(at("misc.ini"), "ports"));
    for (const char* section : {"flag", "raceflag", "hostingip", "smileybox", "racedisplay",
                                "button2", "button3", "button5"})
        EXPECT_TRUE(ini.sectionExists(at("misc.ini"), section)) << section;
    Settings back = defaultSettings(folder.path());
    store.ReadmiscFile(back, "all");
    EXPECT_EQ(back.misc.flagWidth, 48);
    EXPECT_EQ(back.misc.hostingIp, "1.2.3.4");
    EXPECT_EQ(back.misc.histSpeed, "kmh");
    EXPECT_EQ(back.misc.portTests.PU, 0);
}

TEST_F(SettingsStoreTest, WritesoundFileWithASelectorWritesThatEventsSection) {
    s.sounds[10].leftVolume = 1000;
    s.sounds[10].enabled = false;
    store.WritesoundFile(s, "pb");
    EXPECT_THAT(ini.sectionNames(at("sound.ini")), ElementsAre("Personal Best"));
    EXPECT_EQ(read("sound.ini", "Personal Best", "leftvolume"), "1000");
    EXPECT_EQ(read("sound.ini", "Personal Best", "usesound"), "0");

    store.WritesoundFile(s, "Disconnect");
    EXPECT_TRUE(ini.sectionExists(at("sound.ini"), "Disconnect"));
    store.WritesoundFile(s, "all");
    EXPECT_EQ(ini.sectionNames(at("sound.ini")).size(), kSoundEventCount);
}

TEST_F(SettingsStoreTest, ABadBooleanStopsTheReadAfterWhatWasAlreadyRead) {
    setText("sound.ini", "[personenters]\nusesound=True\nleftvolume=11\n"
                         "[personleaves]\nusesound=5\n"
                         "[racescanfail]\nusesound=yes\nleftvolume=33\n"
                         "[racescanpass]\nusesound=0\n");
    try {
        store.ReadsoundFile(s);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'yes' is not a valid boolean value");
    }
    EXPECT_TRUE(s.sounds[0].enabled);
    EXPECT_EQ(s.sounds[0].leftVolume, 11);
    EXPECT_TRUE(s.sounds[1].enabled);
    EXPECT_EQ(s.sounds[2].leftVolume, 33); // read before its usesound
    EXPECT_TRUE(s.sounds[3].enabled);      // never reached: still the default
}

TEST_F(SettingsStoreTest, ABadFontSizeIsAnErrorNotTheDefault) {
    setText("settings.ini", "[mainfont]\nsize=12\n[highfont]\nname=Tahoma\nsize=big\n");
    try {
        store.ReadfontFile(s);
        FAIL() << "no error";
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'big' is not a valid integer value");
    }
    EXPECT_EQ(s.user.mainFont.size, 12);
    EXPECT_EQ(s.user.highFont.name, "Tahoma");
}

TEST_F(SettingsStoreTest, WindowsWrittenFilesReadWithAnyLetterCase) {
    setText("settings.ini",
            "[MISC]\r\nPureplays=TRUE\r\nUSELOGFILE=false\r\nsounds=0\r\nLogChat=-1\r\n"
            "[Language]\r\nDefault=Deutsch\r\nFlag=deu\r\n");
    store.ReadOptions(s);
    store.ReadlanguageFile(s);
    EXPECT_TRUE(s.user.options.puSaveReplays);
    EXPECT_FALSE(s.user.options.useLogfile);
    EXPECT_FALSE(s.user.options.useSounds);
    EXPECT_TRUE(s.user.options.logChat);
    EXPECT_EQ(s.user.languageName, "Deutsch");
    EXPECT_EQ(s.user.languageFlag, "deu");

    // Options are written "-1"/"0", and keep the file's CRLF.
    store.WriteOptions(s);
    EXPECT_THAT(text("settings.ini"), HasSubstr("Pureplays=-1\r\n"));
    EXPECT_THAT(text("settings.ini"), HasSubstr("USELOGFILE=0\r\n"));
}

TEST_F(SettingsStoreTest, LoginPasswordIsScrambledOnDiskInAPrivateFile) {
    s.user.login = {"gbr", "Ann", "s3cret pw", true};
    store.Writelogindetails(s);
    EXPECT_TRUE(ini.isPrivate(at("settings.ini")));
    const std::string stored = read("settings.ini", "login", "password");
    EXPECT_NE(stored, "s3cret pw");
    EXPECT_THAT(text("settings.ini"), Not(HasSubstr("s3cret")));
    EXPECT_EQ(stored, protocol::passenc("s3cret pw", [] { return 50; }));
    EXPECT_EQ(read("settings.ini", "login", "default"), "true");
    EXPECT_EQ(read("settings.ini", "login", "flag"), "gbr");

    Settings back = defaultSettings(folder.path());
    store.Readlogindetails(back);
    EXPECT_EQ(back.user.login.name, "Ann");
    EXPECT_EQ(back.user.login.password, "s3cret pw");
    EXPECT_TRUE(back.user.login.useAsDefault);
}

TEST_F(SettingsStoreTest, FontsRoundTripAndAutoErasesThem) {
    s.user.autoFont = false;
    s.user.mainFont = {"Verdana", {0x12, 0xAB, 0x0C}, 14};
    store.WritefontFile(s, "14");
    EXPECT_EQ(read("settings.ini", "autofont", "setting"), "0");
    EXPECT_EQ(read("settings.ini", "mainfont", "color"), "12AB0C");
    Settings back = defaultSettings(folder.path());
    store.ReadfontFile(back);
    EXPECT_FALSE(back.user.autoFont);
    EXPECT_EQ(back.user.mainFont.colour, (Colour{0x12, 0xAB, 0x0C}));
    EXPECT_EQ(back.user.mainFont.size, 14);

    store.WritefontFile(s, "AUTO");
    EXPECT_FALSE(ini.sectionExists(at("settings.ini"), "mainfont"));
    EXPECT_FALSE(ini.sectionExists(at("settings.ini"), "highfont"));
}

TEST_F(SettingsStoreTest, EveryOperationLogsItsLabelFirst) {
    log.setEnabled(true);
    store.ReadlanguageFile(s);
    store.Writelogindetails(s);
    store.ReadOptions(s);
    store.ReadportFile(s, "PU");
    EXPECT_EQ(test::readFile(log.path()),
              "Read color file\nWrite language File\nRead misc file\nRead Port file\n");
}

TEST(Colour, DecodesPairsLikeTheClient) {
    struct Case {
        const char* text;
        Colour expected;
    };
    for (const Case& c :
         {Case{"FFFFFF", kWhite}, Case{"000000", kBlack}, Case{"ff8000", {255, 128, 0}},
          Case{"aBcDeF", {0xAB, 0xCD, 0xEF}}, Case{"G1ZZ2x", {0x01, 0x00, 0x20}},
          Case{"FF", {255, 0, 0}}, Case{"", kBlack}, Case{"FFFF", {255, 255, 0}},
          Case{"\xC3\xA9"
               "F1234",
               {0x0F, 0x12, 0x34}}})
        EXPECT_EQ(colourFromText(c.text), c.expected) << c.text;
    EXPECT_EQ(colourToText({0xAB, 0x0C, 0xEF}), "AB0CEF");
}

TEST(Boolean, AcceptsIntegersAndTrueFalseOnly) {
    for (const char* yes : {"-1", "1", "5", "TRUE", "true", "99999999999"})
        EXPECT_TRUE(textToBool(yes)) << yes;
    for (const char* no : {"0", "False", "fALSE", "-0"})
        EXPECT_FALSE(textToBool(no)) << no;
    for (const char* bad : {"", "yes", "1x", "T"})
        EXPECT_THROW(textToBool(bad), ConversionError) << bad;
}

TEST(DeferredSaveTest, SeveralQuickChangesSaveOnceThreeSecondsAfterTheLast) {
    test::TempDir folder;
    platform::fake::FakeIniFiles ini;
    app::DiagnosticLog log;
    log.setFolder(folder.path());
    log.setEnabled(true);
    SettingsStore store{ini, log, folder.path(), [] { return 50; }};
    Settings s = defaultSettings(folder.path());
    platform::fake::FakeClock clock;
    DeferredSave save(clock, store, s);

    s.user.options.logChat = false;
    save.optionChanged();
    clock.advance(2000);
    s.user.options.puSaveReplays = true;
    save.optionChanged();
    clock.advance(2999);
    EXPECT_FALSE(ini.exists(folder.path() / "settings.ini"));
    clock.advance(1);
    EXPECT_EQ(ini.readString(folder.path() / "settings.ini", "misc", "logchat", ""), "0");
    EXPECT_EQ(ini.readString(folder.path() / "settings.ini", "misc", "pureplays", ""), "-1");
    clock.advance(10000);
    EXPECT_EQ(test::readFile(log.path()), "Write language File\nRead misc file\n");
}

TEST(MasterResetTest, DeletesTheSevenFilesOnlyOnReset) {
    const std::vector<std::string> all{"color.ini",  "language.ini", "misc.ini",  "screen.ini",
                                       "server.ini", "settings.ini", "sound.ini", "gamelist.ini",
                                       "ports.ini",  "logfile.trm"};
    struct Case {
        platform::BoxButton answer;
        bool reset;
    };
    for (const Case& c :
         {Case{platform::BoxButton::Cancel, false}, Case{platform::BoxButton::None, false},
          Case{platform::BoxButton::Ok, true}}) {
        test::TempDir folder;
        platform::fake::FakeIniFiles ini;
        for (const std::string& name : all)
            ini.setText(folder / name, "x");
        platform::fake::FakeDialogs dialogs;
        dialogs.answers.push_back(c.answer);
        app::DiagnosticLog log;

        EXPECT_EQ(masterReset(dialogs, log, ini, folder.path()), c.reset);

        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].kind, platform::BoxKind::Warning);
        EXPECT_EQ(dialogs.shown[0].title, "Restore Default Settings");
        EXPECT_EQ(dialogs.shown[0].text, "Reset Tarmacia back to default settings\r"
                                         "This operation cannot be undone\rTarmacia will restart");
        EXPECT_EQ(dialogs.shown[0].okCaption, "Reset");
        EXPECT_EQ(dialogs.shown[0].cancelCaption, "Cancel");
        std::vector<std::string> left;
        for (const std::string& name : all)
            if (ini.exists(folder / name)) left.push_back(name);
        if (c.reset)
            EXPECT_THAT(left, ElementsAre("gamelist.ini", "ports.ini", "logfile.trm"));
        else
            EXPECT_EQ(left, all);
    }
}

class SoundPageTest : public SettingsStoreTest {
protected:
    SoundPageTest() {
        test::writeFile(folder / "sounds/trm.wav", "wave");
        test::writeFile(folder / "sounds/Church.WAV", "wave");
        test::writeFile(folder / "sounds/notes.txt", "x");
        page.setVolume = [this](std::uint16_t v) { volumes.push_back(v); };
    }
    platform::fake::FakeDialogs dialogs;
    SoundPage page{log, dialogs, store, s};
    std::vector<int> volumes;
};

TEST_F(SoundPageTest, ListsAndChoosingAnEventShowItsState) {
    page.optionload();
    EXPECT_EQ(page.eventNames.size(), kSoundEventCount);
    EXPECT_EQ(page.eventNames[11], "Server Disconnect");
    EXPECT_THAT(page.fileNames, ElementsAre("church.wav", "trm.wav"));
    EXPECT_EQ(page.selectedEvent, 0);
    EXPECT_EQ(page.fileText, "No Sound"); // personenters.wav is not there

    struct Case {
        std::string path;
        const char* shown;
    };
    const std::string base = folder.path().string();
    for (const Case& c :
         {Case{base + "/sounds/trm.wav", "trm.wav"}, Case{base + "\\SOUNDS\\trm.wav", "trm.wav"},
          Case{base + "/sounds/Church.WAV", "No Sound"}, // name spelled otherwise
          Case{base + "/sounds/church.wav", "church.wav"}, Case{"sounds\\trm.wav", "trm.wav"},
          Case{base + "/sounds/gone.wav", "No Sound"}}) {
        s.sounds[4].filePath = c.path;
        page.chooseEvent(4);
        EXPECT_EQ(page.fileText, c.shown) << c.path;
    }
    s.sounds[4].enabled = true;
    s.sounds[4].leftVolume = 1234;
    page.chooseEvent(4);
    EXPECT_TRUE(page.useSound);
    EXPECT_EQ(page.volume, 1234);
}

TEST_F(SoundPageTest, ChangesActInMemoryAndSaveWritesAllThenConfirms) {
    page.optionload();
    page.chooseEvent(10);
    page.chooseFile("trm.wav");
    page.setUseSound(false);
    page.moveSlider(100);
    page.releaseSlider(200);
    EXPECT_EQ(s.sounds[10].filePath, folder.path().string() + "/sounds/trm.wav");
    EXPECT_FALSE(s.sounds[10].enabled);
    EXPECT_EQ(s.sounds[10].leftVolume, 200);
    EXPECT_EQ(s.sounds[10].rightVolume, 200);
    EXPECT_THAT(volumes, ElementsAre(100, 200));
    EXPECT_FALSE(ini.exists(at("sound.ini")));

    page.saveChanges();
    EXPECT_EQ(ini.sectionNames(at("sound.ini")).size(), kSoundEventCount);
    EXPECT_EQ(read("sound.ini", "Personal Best", "rightvolume"), "200");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Sounds Saved");
    EXPECT_EQ(dialogs.shown[0].text, "Tarmacia sounds saved\rPress Continue");
    EXPECT_EQ(dialogs.shown[0].okCaption, "Continue");

    Settings back = defaultSettings(folder.path());
    store.ReadsoundFile(back);
    EXPECT_EQ(back.sounds[10].filePath, s.sounds[10].filePath);
    EXPECT_FALSE(back.sounds[10].enabled);
}

} // namespace
} // namespace tarmacia::settings
