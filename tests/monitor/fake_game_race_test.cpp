// The race monitor follows a hosted PU race in a fake game process, read
// through the real /proc and process_vm_readv adapters.

#include "app/main_form.h"
#include "fakegame/fakegame_control.h"
#include "platform/fake/fake_ports.h"
#include "platform/linux/process_memory.h"
#include "platform/linux/process_table.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

namespace tarmacia {
namespace {

using fakegame::FakeGameProcess;
using testing::HasSubstr;
const std::filesystem::path kProgram = TARMACIA_BUILD_DIR "/tarmacia-fakegame";

// Starts the fake game as the client asks, keeping hold of it so that the
// test can drive it.
class FakeGameLauncher : public platform::Launcher {
public:
    explicit FakeGameLauncher(std::filesystem::path executable) : executable_(std::move(executable)) {}
    std::optional<int> start(const std::filesystem::path&, const std::vector<std::string>&,
                             const std::filesystem::path&) override {
        game.emplace(executable_);
        return game->pid();
    }
    std::optional<FakeGameProcess> game;

private:
    std::filesystem::path executable_;
};

struct HostedRace {
    test::TempDir home;
    platform::fake::FakePorts fakes;
    platform::os::ProcProcessTable processes;
    platform::os::ProcProcessMemory memory;
    FakeGameLauncher launcher{FakeGameProcess::install(kProgram, home / "games/pu", "porsche.exe")};
    std::unique_ptr<app::MainForm> form;

    HostedRace() {
        fakes.folders.documentsPath = home / "Documents";
        fakes.folders.programPath = home / "program";
        form = std::make_unique<app::MainForm>(
            fakes.ports({.launcher = &launcher, .processes = &processes, .memory = &memory}));
        form->form("TForm1").show();
        form->oldButton9Click();
        fakes.clock.advance(10000);
        form->chatPageLoaded();
        fakes.http.respond(platform::fake::FakeHttpGet::page("ok - Main Prim(127.0.0.1/5445)"));
        form->saveGameClick({.code = "PU", .name = "Porsche Unleashed", .color = "80FFFF",
                             .exename = "porsche.exe", .path = (home / "games/pu").string()});
        form->Edit1Change("bob");
        form->LoginClick();
        fakes.network.last().accept();
    }
    platform::fake::FakeTcpClient& lobby() { return *fakes.network.sockets.front(); }
};

TEST(MonitorWithAFakeGame, AHostedRaceIsFollowedFromLaunchToRacingAndBack) {
    HostedRace race;
    app::MainForm& form = *race.form;
    form.races().selectedGame = "PU";
    form.hosting = 1;
    race.lobby().sent.clear();
    race.lobby().deliver("~D~");
    ASSERT_TRUE(race.fakes.windows["TForm11"].modal);
    ASSERT_TRUE(race.launcher.game);
    FakeGameProcess& game = *race.launcher.game;
    EXPECT_EQ(form.launch().launchedPid, game.pid());

    // The start-up wait finds the published path table, then the polls run.
    race.fakes.clock.advance(6000);
    ASSERT_THAT(race.lobby().sent, HasSubstr("~A~Opening"));
    game.command("lobby");
    race.fakes.clock.advance(5000);
    EXPECT_THAT(race.lobby().sent, HasSubstr("~A~Lobby"));
    EXPECT_THAT(race.lobby().sent, HasSubstr("~C~"));
    game.command("racing");
    race.fakes.clock.advance(5000);
    EXPECT_THAT(race.lobby().sent, HasSubstr("~A~Racing"));
    // The clean path table passes the install check.
    race.fakes.clock.advance(5000);
    EXPECT_EQ(form.raceMonitor().raceState(), "Racing");
    game.command("results");
    race.fakes.clock.advance(5000);
    EXPECT_THAT(race.lobby().sent, HasSubstr("~A~Lobby"));

    // The player closes the monitor: the game is ended, the lobby hears
    // that the player is back.
    race.fakes.windows["TForm11"].close();
    EXPECT_THAT(race.lobby().sent, testing::EndsWith("~X~"));
    const int status = game.wait();
    EXPECT_TRUE(WIFSIGNALED(status) || WIFEXITED(status));
}

TEST(MonitorWithAFakeGame, AForeignPorscheIsEndedWithStatusTwo) {
    HostedRace race;
    app::MainForm& form = *race.form;
    form.races().selectedGame = "PU";
    race.launcher.start({}, {}, {}); // a porsche.exe the client did not launch
    FakeGameProcess& game = *race.launcher.game;
    form.launch().launchedPid = 1;
    monitor::ProcessAccess& access = form.processAccessForTests();
    access.reset((race.home / "games/pu/porsche.exe").string());
    std::string buffer;
    std::size_t read = 0;
    EXPECT_EQ(access.ReadProcessMem((race.home / "games/pu/porsche.exe").string(), buffer, read,
                                    0x5DFA1A, 2),
              monitor::ProcessAccess::kRefused);
    const int status = game.wait();
    EXPECT_TRUE(WIFSIGNALED(status) || WIFEXITED(status));
}

} // namespace
} // namespace tarmacia
