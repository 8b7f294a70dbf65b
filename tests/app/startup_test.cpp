#include "app/client_folder.h"
#include "app/forms.h"
#include "app/main_form.h"
#include "app/windows_version.h"
#include "platform/fake/fake_ports.h"
#include "platform/guard.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

namespace tarmacia::app {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::writeFile;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

// The labels a first start leaves in the log: the log is deleted early on, so
// it opens with the client folder; then the settings in their start-up order.
// The server directory waits for the chat page.
const std::vector<std::string> kFirstStartLog = {
    "Check TRM Files", "Find MyDocuments ", "Read screen file", "Read misc file", "Read misc file",
    "Read Gamelist", "Get Game Path from registry porsche.exe",
    "Get Game Path from registry nfshs.exe", "Get Game Path from registry nfshp2.exe",
    "Read misc file", "Read color file", "Set Language", "Read Language",
    // The style is applied three times, each writing the chat page.
    "Read color file", "Write HTML", "Inetcall - zuvo4", "Write HTML", "Inetcall - zuvo4",
    "Read color file", "Write HTML", "Inetcall - zuvo4", "Read fonts file",
    "Read sound file", "Load Sounds", "Change TRM Sound", "Read login details", "Read Port file",
    "Write HTML", "Read server file", "Form Activate", "Load Scan File"};

class Startup : public testing::Test {
protected:
    Startup() {
        fakes.folders.documentsPath = home / "Documents";
        fakes.folders.programPath = home / "program";
        for (const char* file :
             {"flags/other/gbflag.bmp", "flags/teams/dfflag.bmp", "images/xxrace.jpg",
              "reports/Best.his", "smileybmp/1.bmp", "sounds/enter.wav", "sounds/LEAVE.WAV",
              "themes/Dark.style", "tracks2/t1.jpg", "cars/911.gif", "languages/English.uni",
              "tarmacia.css", "tarmacia2.css"})
            writeFile(program() / file, std::string("data of ") + file);
        // Neither of these is a data file the client takes.
        writeFile(program() / "sounds/notes.txt", "x");
        writeFile(program() / "images/icons/user.gif", "icon");
    }

    fs::path program() const { return fakes.folders.programPath; }
    fs::path client() const { return fakes.folders.documentsPath / kClientFolderName; }
    std::string log() const { return readFile(program() / DiagnosticLog::kFileName); }

    test::TempDir home;
    platform::fake::FakePorts fakes;
};

TEST_F(Startup, FirstStartBuildsTheClientFolderAndShowsThePleaseWaitDialog) {
    writeFile(program() / DiagnosticLog::kFileName, "left over from the last run\n");
    MainForm form(fakes.ports());
    form.oldButton9Click();

    for (const char* sub : kClientSubfolders) EXPECT_TRUE(fs::is_directory(client() / sub)) << sub;
    for (const char* file :
         {"flags/other/gbflag.bmp", "flags/teams/dfflag.bmp", "images/xxrace.jpg",
          "reports/Best.his", "smileybmp/1.bmp", "sounds/enter.wav", "sounds/LEAVE.WAV",
          "themes/Dark.style", "tracks2/t1.jpg", "cars/911.gif", "languages/English.uni",
          "tarmacia.css", "tarmacia2.css"})
        EXPECT_EQ(readFile(client() / file), std::string("data of ") + file);
    EXPECT_FALSE(fs::exists(client() / "sounds/notes.txt"));
    EXPECT_FALSE(fs::exists(client() / "images/icons")); // the search does not descend

    EXPECT_EQ(lines(log()), kFirstStartLog);
    EXPECT_EQ(fakes.windows["TForm1"].title, kCaption);
    EXPECT_TRUE(fakes.windows["TForm27"].modal);
    EXPECT_EQ(fakes.view.chatFocus, 1);
    EXPECT_THAT(fakes.view.styleChoices, ElementsAre("Default", "Dark"));
    EXPECT_THAT(fakes.view.fontSizeChoices, ElementsAre("Auto", "8", "10", "12", "14"));
    EXPECT_EQ(fakes.view.toolbarIcons.front(), program() / "images/icons/user.gif");
    EXPECT_EQ(form.historyRowLimit, 500);
    EXPECT_EQ(form.versionState.hsText, "Undetermined");
    EXPECT_TRUE(fakes.dialogs.shown.empty());
}

TEST_F(Startup, WindowsAreCreatedInProgramOrder) {
    MainForm form(fakes.ports());
    ASSERT_EQ(fakes.windows.created.size(), kForms.size());
    EXPECT_EQ(fakes.windows.created.front(), "TForm1");
    EXPECT_EQ(fakes.windows.created[7], "TForm11");
    EXPECT_EQ(fakes.windows["TForm11"].title, "Suspended For Racing");
    EXPECT_EQ(fakes.windows.created.back(), "TForm3");
}

TEST_F(Startup, EveryStartCopiesTheDataAgain) {
    {
        MainForm form(fakes.ports());
        form.oldButton9Click();
    }
    writeFile(client() / "sounds/enter.wav", "edited by the player");
    MainForm again(fakes.ports());
    again.oldButton9Click();
    EXPECT_EQ(readFile(client() / "sounds/enter.wav"), "data of sounds/enter.wav");
}

TEST_F(Startup, LaterActivationsRepeatOnlyTheFirstSteps) {
    MainForm form(fakes.ports());
    form.oldButton9Click();
    fakes.windows["TForm27"].close();
    form.oldButton9Click();
    std::vector<std::string> expected = kFirstStartLog;
    expected.push_back("Program Start up");
    expected.push_back("Check Run as Admin");
    EXPECT_EQ(lines(log()), expected);
    EXPECT_FALSE(fakes.windows["TForm27"].visible);
}

TEST_F(Startup, WithoutTheRightToRewriteHostsNothingElseHappens) {
    fakes.hosts.rewritable = false;
    MainForm form(fakes.ports());
    form.oldButton9Click();

    ASSERT_EQ(fakes.dialogs.shown.size(), 1u);
    const auto& box = fakes.dialogs.shown[0];
    EXPECT_EQ(box.title, "Admin Rights?");
    EXPECT_EQ(box.kind, platform::BoxKind::Error);
    EXPECT_EQ(box.text,
              "Tarmacia requires Admin Rights to run\rPress Continue and restart with Admin Rights");
    EXPECT_EQ(box.okCaption, "Continue");
    EXPECT_EQ(fakes.app.quits, 1);
    EXPECT_FALSE(fs::exists(client()));
    EXPECT_FALSE(fakes.windows["TForm27"].visible);
}

TEST_F(Startup, LogGoesToTheClientFolderWhenTheProgramFolderIsReadOnly) {
    fakes.folders.writable = false;
    MainForm form(fakes.ports());
    form.oldButton9Click();
    EXPECT_THAT(readFile(client() / DiagnosticLog::kFileName), HasSubstr("Form Activate"));
    EXPECT_FALSE(fs::exists(program() / DiagnosticLog::kFileName));
}

TEST_F(Startup, ExceptionsReachTheLogAndTheLoopGoesOn) {
    MainForm form(fakes.ports());
    form.oldButton9Click();

    auto failing = fakes.clock.createTimer();
    failing->setSingleShot(true);
    failing->onTimeout([] { throw std::runtime_error("boom"); });
    failing->start(100);
    int ticks = 0;
    auto steady = fakes.clock.createTimer();
    steady->onTimeout([&] { ++ticks; });
    steady->start(50);

    fakes.clock.advance(200);
    EXPECT_EQ(ticks, 4);
    EXPECT_EQ(form.exceptionCount(), 1);
    EXPECT_THAT(log(), HasSubstr("*****Error***** boom\n"));

    // Written even with diagnostic logging off.
    form.log().setEnabled(false);
    platform::guarded([] { throw std::runtime_error("again"); });
    EXPECT_THAT(log(), HasSubstr("*****Error***** again\n"));
}

TEST_F(Startup, InstallFolderComesFromTheUninstallEntryThroughTheWinePrefix) {
    fakes.registry.prefixPath = home / "prefix";
    fs::create_directories(home / "prefix/drive_c/Games/Tarmacia");
    fakes.registry.setString(platform::Hive::LocalMachine, kUninstallKey, "InstallLocation",
                             "C:\\games\\TARMACIA\\");
    MainForm form(fakes.ports());
    form.settrmpath();
    EXPECT_EQ(form.installFolder(), home / "prefix/drive_c/Games/Tarmacia");

    fakes.registry.strings.clear();
    form.settrmpath();
    EXPECT_EQ(form.installFolder(), program());
}

TEST_F(Startup, ClosingTheMainWindowEndsTheProgramAndRestartStartsANewOne) {
    MainForm form(fakes.ports());
    form.oldButton9Click();
    form.apprestart();
    EXPECT_EQ(fakes.app.newInstances.size(), 1u);
    EXPECT_EQ(fakes.app.quits, 1);
    EXPECT_THAT(log(), HasSubstr("Restart TRM\nGet Run path\nClose TRM\n"));
}

TEST(WindowsVersion, ProductNamesGiveTheirShortNames) {
    struct Case {
        const char* product;
        const char* name;
        int code;
    };
    for (const Case& c : {Case{"Microsoft Windows 10 Pro", "Win 10", 11},
                          Case{"Windows 7 Professional", "Win 7", 8},
                          Case{"Windows 8.1 Pro", "Win 8", 9},
                          Case{"Windows Vista Business", "Vista", 7},
                          Case{"Microsoft Windows XP", "Win XP", 5},
                          Case{"windows xp", "windows xp", 0}, // case matters
                          Case{"", "", 0}}) {
        WindowsVersion v = classifyWindows(c.product);
        EXPECT_EQ(v.name, c.name) << c.product;
        EXPECT_EQ(v.code, c.code) << c.product;
    }
}

TEST_F(Startup, SettingsAreReadAndTheServerDirectoryIsFetched) {
    fakes.ini.setText(client() / "network.ini", "[web]\r\nprimary=http://lobby.test/\r\n");
    fakes.ini.setText(client() / "settings.ini", "[misc]\r\nsounds=0\r\n[login]\r\nname=Bob\r\n");
    // A garbage value stops its own file's read, not the start-up.
    fakes.ini.setText(client() / "sound.ini", "[personenters]\r\nusesound=maybe\r\n");
    MainForm form(fakes.ports());
    form.oldButton9Click();

    EXPECT_FALSE(form.settings.user.options.useSounds);
    EXPECT_EQ(form.settings.user.login.name, "Bob");
    EXPECT_EQ(form.games.slot(1).abbrev, "PU");
    EXPECT_EQ(form.currentGame, "");
    EXPECT_THAT(log(), HasSubstr("*****Error***** 'maybe' is not a valid boolean value"));

    // The chat page loads ten seconds after the style's third application,
    // and its load fetches the directory.
    EXPECT_THAT(readFile(client() / "zuvo4.htm"), HasSubstr("<title>zuvo4</title>"));
    EXPECT_TRUE(fs::exists(client() / "trmtest.htm"));
    fakes.clock.advance(9999);
    EXPECT_TRUE(fakes.view.loadedPages.empty());
    fakes.clock.advance(1);
    EXPECT_THAT(fakes.view.loadedPages, ElementsAre(client() / "zuvo4.htm"));
    EXPECT_TRUE(fakes.http.urls.empty());
    form.chatPageLoaded();
    ASSERT_EQ(fakes.http.urls.size(), 1u);
    EXPECT_THAT(fakes.http.urls[0], testing::StartsWith("http://lobby.test/TRM/server1.php?"));

    // The directory's first line reaches the chat view, enables the login
    // button and closes the dialog.
    EXPECT_TRUE(fakes.windows["TForm27"].visible);
    fakes.http.respond(platform::fake::FakeHttpGet::page("ok - Main Prim(127.0.0.1/5445)"));
    EXPECT_THAT(fakes.view.chatTexts(),
                testing::Contains("{dfflag.bmp} IP Servers Loaded - Please Login"));
    EXPECT_EQ(fakes.view.loginEnabled, 1);
    EXPECT_FALSE(fakes.windows["TForm27"].visible);
    EXPECT_THAT(fakes.view.serverItems, ElementsAre("Main Prim"));
    EXPECT_EQ(form.settings.savedServers[0].name, "Main Prim");
    EXPECT_THAT(fakes.ini.text(client() / "server.ini"), HasSubstr("serverpassword=\nserverip=127.0.0.1"));
}

TEST_F(Startup, WindowsVersionNameIsReadFromThePrefix) {
    fakes.registry.setString(platform::Hive::LocalMachine, kWindowsVersionKey, "ProductName",
                             "Microsoft Windows 10 Pro");
    MainForm form(fakes.ports());
    EXPECT_EQ(form.GetWindows(), 11);
    EXPECT_EQ(form.windowsVersionName(), "Win 10");
}

} // namespace
} // namespace tarmacia::app
