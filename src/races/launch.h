#pragma once
// Starting the race's game and ending game processes. The race monitor calls
// pustart when it opens; what it started is remembered as the launched game
// PID, which the monitor's memory reads insist on for PU.

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::platform {
class Clock;
class Launcher;
class ProcessTable;
class Timer;
class WindowList;
} // namespace tarmacia::platform
namespace tarmacia::app {
class DiagnosticLog;
struct MessageBoxRecord;
} // namespace tarmacia::app
namespace tarmacia::settings {
class multigame;
class LanguageStrings;
} // namespace tarmacia::settings

namespace tarmacia::races {

// What game launch needs from the main window and the race monitor.
class LaunchHost {
public:
    virtual ~LaunchHost() = default;

    virtual std::string selectedGame() const = 0;
    virtual settings::multigame& gameList() = 0;
    // The selected game's folder as getrunpath gives it (ending in "/").
    virtual std::string gameFolder() const = 0;
    // For a companion program named by a Windows path ("C:\...").
    virtual std::filesystem::path winePrefix() const = 0;

    virtual app::DiagnosticLog& log() = 0;
    virtual const settings::LanguageStrings& lang() const = 0;
    virtual int messagebox(const app::MessageBoxRecord& record) = 0;
    // A line to the lobby with the player's name.
    virtual void crcmess(const std::string& text) = 0;
    virtual void makesound(int number) = 0;

    virtual void setRaceActive(int value) = 0;
    virtual void setHosting(int value) = 0;
    virtual void clearRaceState() = 0;
    virtual void redraw() = 0;

    // The race monitor window.
    virtual void stopStatusTimer() = 0;
    virtual void closeMonitor() = 0;
};

// The High Stakes mixer's car set for a trackset; "" for one it does not know.
std::string mixerCarSet(std::string_view trackset);
// "load:<trackset> cars:<car set> start"
std::string mixerParameters(std::string_view trackset);
// The game list's HP parameters without the hosting switches ("-SERVER",
// "+GHOST", any case), lower-cased; "Nil" when nothing was given.
std::string hpParameters(std::string_view param);
// A parameter text as the program's arguments (split at blanks, as the
// game's own command-line parsing does).
std::vector<std::string> splitParameters(std::string_view text);

class GameLaunch {
public:
    GameLaunch(LaunchHost& host, platform::Launcher& launcher, platform::ProcessTable& processes,
               platform::WindowList& windows, platform::Clock& clock);
    ~GameLaunch();

    void pustart(const std::string& trackset);
    // Ends every process running `name`; true when the last one ended.
    bool KillTask(std::string_view name);
    // Closes the window; if it is still there 5 s later, ends its process.
    void KillProcess(unsigned long window);
    void mixerdetect();
    // PU only: a "Porsche" window whose process has gone is closed.
    void findpu();

    // The first process running the file named by `path`; 0 when none.
    int getprocesspid(std::string_view path) const;
    int checkprocess(std::string_view name) const;

    int launchedPid = 0;   // the launched game PID
    int gameLaunched = 0;  // a start was attempted (not for the HS mixer)
    int mixer = 0;         // the HS mixer is installed

private:
    // Starts `relative` (game-folder relative, "\" or "/") with `arguments`
    // and returns the launched game PID for it.
    int startInGameFolder(std::string_view relative, const std::vector<std::string>& arguments);
    int pidAfterStart(const std::filesystem::path& program, std::optional<int> started) const;
    void alreadyRunning(std::string_view exe, const std::string& announcement);
    std::filesystem::path companionPath(const std::string& stats) const;

    LaunchHost& host_;
    platform::Launcher& launcher_;
    platform::ProcessTable& processes_;
    platform::WindowList& windows_;
    platform::Clock& clock_;
    std::vector<std::unique_ptr<platform::Timer>> closeWaits_;
};

} // namespace tarmacia::races
