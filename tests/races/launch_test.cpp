#include "races/launch.h"

#include "app/diagnostic_log.h"
#include "app/message_box.h"
#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_processes.h"
#include "settings/game_list.h"
#include "settings/languages.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarmacia::races {
namespace {

namespace fs = std::filesystem;
using platform::fake::FakeLauncher;
using testing::ElementsAre;
using testing::IsEmpty;

class FakeLaunchHost : public LaunchHost {
public:
    std::string game;
    settings::multigame list;
    std::string folder;
    fs::path prefix;
    app::DiagnosticLog diagnostics;
    settings::LanguageStrings strings;
    std::vector<app::MessageBoxRecord> boxes;
    std::vector<std::string> announced;
    std::vector<int> sounds;
    int raceActive = 0;
    int hosting = 1;
    std::string raceState = "lobby";
    int redraws = 0;
    bool statusTimerStopped = false;
    bool monitorClosed = false;

    std::string selectedGame() const override { return game; }
    settings::multigame& gameList() override { return list; }
    std::string gameFolder() const override { return folder; }
    fs::path winePrefix() const override { return prefix; }
    app::DiagnosticLog& log() override { return diagnostics; }
    const settings::LanguageStrings& lang() const override { return strings; }
    int messagebox(const app::MessageBoxRecord& record) override {
        boxes.push_back(record);
        return 1;
    }
    void crcmess(const std::string& text) override { announced.push_back(text); }
    void makesound(int number) override { sounds.push_back(number); }
    void setRaceActive(int value) override { raceActive = value; }
    void setHosting(int value) override { hosting = value; }
    void clearRaceState() override { raceState.clear(); }
    void redraw() override { ++redraws; }
    void stopStatusTimer() override { statusTimerStopped = true; }
    void closeMonitor() override { monitorClosed = true; }
};

class Launch : public testing::Test {
protected:
    Launch() {
        host.folder = (dir.path() / "Game").string() + "/";
        fs::create_directories(host.folder);
        std::string language = "header\n";
        for (int n = 1; n <= 473; ++n)
            language += (n == 473   ? std::string("Already Running")
                         : n == 458 ? std::string("Close it first")
                         : n == 459 ? std::string("OK")
                                    : "s" + std::to_string(n)) +
                        "\n";
        host.strings.loadBytes(language);
        host.list.addOrUpdate("Porsche", "PU", "", "", "porsche.exe", "", "FFFFFF", host.folder);
        host.list.addOrUpdate("High Stakes", "HS", "", "", "nfshs.exe", "", "FFFFFF", host.folder);
    }

    void setHp(const std::string& param, const std::string& stats) {
        host.list.addOrUpdate("Hot Pursuit 2", "HP", stats, param, "nfshp2.exe", "", "FFFFFF",
                              host.folder);
    }
    fs::path inGame(const std::string& relative) const { return fs::path(host.folder) / relative; }

    test::TempDir dir;
    FakeLaunchHost host;
    platform::fake::FakeProcessTable processes;
    FakeLauncher launcher{&processes};
    platform::fake::FakeWindowList windows;
    platform::fake::FakeClock clock;
    GameLaunch launch{host, launcher, processes, windows, clock};
};

TEST(MixerParameters, FollowTheTracksetTable) {
    const std::pair<const char*, const char*> cases[] = {
        {"default", "load:default cars:original start"},
        {"Mod1", "load:Mod1 cars:ep start"},
        {"Mod8", "load:Mod8 cars:ep start"},
        {"Mod9", "load:Mod9 cars:ep3 start"},
        {"Mod10", "load:Mod10 cars:ep3 start"},
        {"Mod12", "load:Mod12 cars:ep start"},
        {"Mod13", "load:Mod13 cars:ep4 start"},
        {"Mod15", "load:Mod15 cars:ep4 start"},
        {"Mod16", "load:Mod16 cars:ep start"},
        {"Mod17", "load:Mod17 cars:ep3 start"},
        {"Mod18", "load:Mod18 cars: start"},
        {"mod10", "load:mod10 cars: start"}, // tracksets compare exactly
        {"Default", "load:Default cars: start"},
    };
    for (const auto& [trackset, expected] : cases)
        EXPECT_EQ(mixerParameters(trackset), expected) << trackset;
}

TEST(HpParameters, DropTheHostingSwitchesInAnyCase) {
    const std::pair<const char*, const char*> cases[] = {
        {"-server +ghost -windowed", "  -windowed"},
        {"-Server -WINDOWED +Ghost", " -windowed "},
        {"", "Nil"},
        {"-SERVER", "Nil"},
        {"-server-server+ghost", "Nil"},
        {"-serverless", "less"},
    };
    for (const auto& [param, expected] : cases) EXPECT_EQ(hpParameters(param), expected) << param;
    EXPECT_THAT(splitParameters("  -windowed"), ElementsAre("-windowed"));
    EXPECT_THAT(splitParameters("load:X cars: start"), ElementsAre("load:X", "cars:", "start"));
}

TEST_F(Launch, EachGameStartsItsProgramInTheGameFolder) {
    struct Case {
        std::string game;
        bool mixerInstalled;
        std::string hpParam;
        FakeLauncher::Start expected;
        int gameLaunched;
    };
    const fs::path folder = host.folder;
    const std::vector<Case> cases = {
        {"PU", false, "", {inGame("porsche.exe"), {}, folder}, 1},
        {"HS", false, "", {inGame("nfshs.exe"), {}, folder}, 1},
        {"HS", true, "", {inGame("NFS HS Mixer/mixer.exe"), {"load:Mod10", "cars:ep3", "start"}, folder}, 0},
        {"HP", false, "-server +ghost -windowed", {inGame("nfshp2.exe"), {"-windowed"}, folder}, 1},
        {"HP", false, "", {inGame("nfshp2.exe"), {"Nil"}, folder}, 1},
        {"ZZ", false, "", {inGame("zz.exe"), {}, folder}, 1},
    };
    host.list.addOrUpdate("Other", "ZZ", "", "", "zz.exe", "", "FFFFFF", host.folder);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game + " " + c.hpParam);
        fs::remove_all(inGame("NFS HS Mixer"));
        if (c.mixerInstalled) test::writeFile(inGame("NFS HS Mixer/mixer.exe"), "MZ");
        setHp(c.hpParam, "");
        processes.processes.clear();
        launcher.starts.clear();
        launch.launchedPid = 0;
        launch.gameLaunched = 0;
        launch.mixer = 0;
        host.raceActive = 0;
        host.game = c.game;

        launch.pustart("Mod10");

        ASSERT_THAT(launcher.starts, ElementsAre(c.expected));
        EXPECT_EQ(launch.launchedPid, processes.find(c.expected.program.filename().string()));
        EXPECT_NE(launch.launchedPid, 0);
        EXPECT_EQ(launch.gameLaunched, c.gameLaunched);
        EXPECT_EQ(launch.mixer, c.game == "HS" && c.mixerInstalled ? 1 : 0);
        EXPECT_EQ(host.raceActive, 1);
        EXPECT_FALSE(host.monitorClosed);
    }
}

TEST_F(Launch, PracticeStartsNothingButMarksTheRace) {
    host.game = "PT";
    launch.pustart("default");
    EXPECT_THAT(launcher.starts, IsEmpty());
    EXPECT_EQ(launch.launchedPid, 0);
    EXPECT_EQ(launch.gameLaunched, 1);
    EXPECT_EQ(host.raceActive, 1);
}

TEST_F(Launch, AWineGameNotYetNamedIsTheProcessStarted) {
    launcher.appearsInTable = false;
    host.game = "PU";
    launch.pustart("default");
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launch.launchedPid, 5000);
}

TEST_F(Launch, AProgramThatDoesNotStartLeavesNoPid) {
    launcher.requireFile = true;
    host.game = "HS";
    launch.pustart("default");
    EXPECT_EQ(launch.launchedPid, 0);
    EXPECT_EQ(host.raceActive, 1);
}

TEST_F(Launch, ARunningGameIsEndedAndTheRaceGivenUp) {
    struct Case {
        std::string game;
        std::string running;
        std::string announcement;
        int redraws;
    };
    const Case cases[] = {
        {"PU", "PORSCHE.EXE", "PU Already running", 0},
        {"HP", "NfsHp2.exe", "HP2 Already running", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        setHp("", "");
        host.game = c.game;
        host.hosting = 1;
        host.raceState = "lobby";
        host.raceActive = 0;
        host.redraws = 0;
        host.statusTimerStopped = host.monitorClosed = false;
        host.announced.clear();
        host.boxes.clear();
        processes.processes.clear();
        processes.terminated.clear();
        launcher.starts.clear();
        int first = processes.add(c.running);
        int second = processes.add(c.running);
        int other = processes.add("explorer.exe");
        launch.launchedPid = 77;

        launch.pustart("default");

        EXPECT_THAT(launcher.starts, IsEmpty());
        EXPECT_THAT(processes.terminated, ElementsAre(first, second));
        EXPECT_TRUE(processes.alive(other));
        EXPECT_EQ(launch.launchedPid, 0);
        EXPECT_EQ(host.hosting, 0);
        EXPECT_EQ(host.raceState, "");
        EXPECT_EQ(host.raceActive, 0);
        EXPECT_TRUE(host.statusTimerStopped);
        EXPECT_TRUE(host.monitorClosed);
        EXPECT_EQ(host.redraws, c.redraws);
        EXPECT_THAT(host.announced, ElementsAre(c.announcement));
        ASSERT_EQ(host.boxes.size(), 1u);
        const app::MessageBoxRecord& box = host.boxes[0];
        EXPECT_EQ(box.kind, "warn");
        EXPECT_EQ(box.title, "Already Running");
        EXPECT_EQ(box.line1, c.game + " Already Running");
        EXPECT_EQ(box.line2, "Close it first");
        EXPECT_EQ(box.line3, "");
        EXPECT_EQ(box.button1, "OK");
    }
}

TEST_F(Launch, TheHpCompanionStartsOnlyWhenNotRunning) {
    test::writeFile(inGame("Tools/HPStats.exe"), "MZ");
    setHp("", "tools\\hpstats.exe");
    host.game = "HP";
    launch.pustart("default");
    ASSERT_EQ(launcher.starts.size(), 2u);
    EXPECT_EQ(launcher.starts[0].program, inGame("Tools/HPStats.exe"));
    EXPECT_THAT(launcher.starts[0].arguments, IsEmpty());
    EXPECT_EQ(launcher.starts[0].workingFolder, fs::path(host.folder));
    EXPECT_EQ(launcher.starts[1].program, inGame("nfshp2.exe"));
    EXPECT_EQ(launch.launchedPid, processes.find("nfshp2.exe"));

    // The companion stays from the last race; the game itself ended.
    processes.terminate("nfshp2.exe");
    launcher.starts.clear();
    launch.pustart("default");
    ASSERT_EQ(launcher.starts.size(), 1u);
    EXPECT_EQ(launcher.starts[0].program, inGame("nfshp2.exe"));
}

TEST_F(Launch, KillTaskEndsEveryProcessOfTheNameInAnyCase) {
    int a = processes.add("porsche.exe");
    processes.add("nfshs.exe");
    int b = processes.add("Porsche.EXE");
    // Wine's argv[0] is the Windows path; its comm is cut at 15 characters.
    processes.processes.push_back({4242, "porsche.exe", "porsche.exe"});
    processes.processes.push_back({4343, "averylongname.e", "AVeryLongName.exe"});

    EXPECT_TRUE(launch.KillTask("PORSCHE.exe"));
    EXPECT_THAT(processes.terminated, ElementsAre(a, b, 4242));
    EXPECT_EQ(processes.count("porsche.exe"), 0);
    EXPECT_TRUE(launch.KillTask("averylongname.exe"));
    EXPECT_FALSE(launch.KillTask("porsche.exe")); // none left: nothing to end

    processes.refuse.insert(processes.add("porsche.exe"));
    EXPECT_FALSE(launch.KillTask("porsche.exe")); // the last refused
}

TEST_F(Launch, ALeftoverPorscheWindowIsClosedThenItsProcessEnded) {
    host.game = "PU";
    windows.closes = false; // hung
    int owner = processes.add("wine-preloader");
    windows.windows = {{1, "", 0}, {2, "Chat", 10}, {3, " p O r S c h e ", owner}, {4, "Porsche", 9}};

    launch.findpu();

    EXPECT_TRUE(host.statusTimerStopped);
    EXPECT_THAT(host.sounds, ElementsAre(2));
    EXPECT_THAT(windows.closeRequests, ElementsAre(3u));
    clock.advance(4999);
    EXPECT_THAT(processes.terminated, IsEmpty());
    clock.advance(1);
    EXPECT_THAT(processes.terminated, ElementsAre(owner));
}

TEST_F(Launch, AWindowThatClosesKeepsItsProcessAndOtherGamesAreLeftAlone) {
    int owner = processes.add("porsche.exe");
    windows.windows = {{3, "PORSCHE", owner}};
    host.game = "HS";
    launch.findpu();
    EXPECT_THAT(windows.closeRequests, IsEmpty());

    host.game = "PU";
    launch.findpu();
    EXPECT_THAT(windows.closeRequests, ElementsAre(3u));
    clock.advance(5000);
    EXPECT_THAT(processes.terminated, IsEmpty());
}

TEST_F(Launch, MixerDetectLooksForTheMixerInAnyCase) {
    launch.mixerdetect();
    EXPECT_EQ(launch.mixer, 0);
    test::writeFile(inGame("nfs hs mixer/MIXER.EXE"), "MZ");
    launch.mixerdetect();
    EXPECT_EQ(launch.mixer, 1);
}

} // namespace
} // namespace tarmacia::races
