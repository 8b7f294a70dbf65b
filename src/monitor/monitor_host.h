#pragma once
// What the race monitor needs from the main window, the game launch and the
// game's memory. MainForm implements it; tests use a small fake.

#include "app/diagnostic_log.h"
#include "app/message_box.h"
#include "monitor/game_memory.h"
#include "platform/clock.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarmacia::monitor {

class MonitorHost {
public:
    virtual ~MonitorHost() = default;

    // Ports.
    virtual platform::Clock& clock() = 0;
    virtual app::DiagnosticLog& log() = 0;

    // The main window's values the monitor reads and writes.
    virtual std::string selectedGame() const = 0;          // "PU", "HS", "HP", "PT"
    virtual std::string gameFolder() const = 0;            // of the selected game, ending in "/"
    virtual std::string currentTrackset() const = 0;
    virtual int hosting() const = 0;                       // 1 while the player hosts
    virtual void setHosting(int flag) = 0;
    virtual bool puEdition() const = 0;                    // the CD edition runs "porsche.icd"
    virtual int scanPosition() const = 0;
    virtual void setScanPosition(int position) = 0;
    // The main window's scan verdict (non-zero = failed).
    virtual void setScanFailed(int flag) = 0;
    virtual std::string lang(int n) const = 0;

    // Game launch.
    virtual void pustart(const std::string& trackset) = 0;
    virtual void KillTask(std::string_view name) = 0;
    virtual int launchedPid() const = 0;
    virtual void setLaunchedPid(int pid) = 0;
    virtual int getprocesspid(const std::string& path) = 0;
    virtual void setGameLaunched(int flag) = 0;

    // A monitor session for `executable` begins (ProcessAccess::reset).
    virtual void startMonitoring(const std::string& executable) = 0;
    // The bytes of `area` in the running `executable` (ReadProcessMem);
    // nothing when the game is not there or the read was refused or failed.
    virtual std::optional<std::string> readMemory(const std::string& executable, const MemoryArea& area) = 0;

    // The scanner's pieces for the quiet re-check after a race.
    // A file changed under the game since its scan; taking it clears it.
    virtual bool takeFileChangeNotice() = 0;
    // Empties the failed-file list and shows the counter as "0".
    virtual void clearScanFailures() = 0;
    // Adds one line to the failed-file list and counts it.
    virtual void addScanFailure(const std::string& text) = 0;
    // The scan checksum of a game file, path as the scan list gives it.
    virtual std::uint32_t getcrc(const std::string& relativePath) = 0;
    virtual std::string checkscan(const std::string& name, const std::string& checksumText) = 0;

    // Messages and the main window.
    virtual void sendLobby(const std::string& message) = 0; // one lobby message (UTF-8)
    virtual void crcmess(const std::string& text) = 0;      // announced with the player's name
    virtual void chatLine(const std::string& text) = 0;     // showchat
    virtual void showmess(const std::string& text) = 0;
    virtual void showbox() = 0;                             // the scan result box
    virtual void makesound(int number) = 0;
    virtual int messagebox(const app::MessageBoxRecord& record) = 0;
    // A plain notice; returns when the player has dismissed it.
    virtual void showMessage(const std::string& text) = 0;
    virtual void ipsetup(const std::string& payload) = 0;

    // The monitor window: its text, and closing it (which must end up in
    // RaceMonitor::FormClose, as a click on it does).
    virtual void showMonitorText(const std::string& text) = 0;
    virtual void closeMonitorWindow() = 0;

    // Result capture and the HP race reader.
    virtual void SetResult() = 0;
    virtual void getresult() = 0;
    // The HP anchor search; the anchor when "\EAGL\" was found.
    virtual std::optional<std::uint64_t> hp2set() = 0;
    virtual void hp2getracers() = 0;
    virtual void hp2racedump() = 0;
};

} // namespace tarmacia::monitor
