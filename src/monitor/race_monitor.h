#pragma once
// The "Suspended For Racing" window's core: starts the game, waits for it,
// follows its state through lobby, race and results by polling its memory,
// tells the lobby about state and track changes while the player hosts,
// watches the PU install for tampering, and checks the game files again
// after every race before the result is collected.

#include "monitor/monitor_host.h"
#include "platform/clock.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tarmacia::monitor {

class RaceMonitor {
public:
    static constexpr int kStatusIntervalMs = 5000;
    static constexpr int kPuBetweenRacesIntervalMs = 1000;
    static constexpr int kInstallCheckDelayMs = 10;
    static constexpr int kResultDelayMs = 1000;
    static constexpr int kStartupTickMs = 1000;
    static constexpr int kStartupTicks = 60;
    static constexpr int kTickLimit = 10;
    // The PU path table must hold exactly these entries, from number 2.
    static constexpr int kFirstPathEntry = 2;
    static constexpr int kLastPathEntry = 48;

    // PU's quiet re-check samples its list: each step is 1 to 22 files.
    using StepSource = std::function<int()>;
    static StepSource randomStepSource();

    explicit RaceMonitor(MonitorHost& host, StepSource puSteps = randomStepSource());
    ~RaceMonitor();
    RaceMonitor(const RaceMonitor&) = delete;
    RaceMonitor& operator=(const RaceMonitor&) = delete;

    // The window was shown: starts the race's game.
    void FormActivate();
    // Ends the race; every click on the window and every close lands here.
    void FormClose();

    void Timer1Timer(); // status poll
    void Timer2Timer(); // PU install check
    void Timer3Timer(); // result collection
    void Timer5Timer(); // start-up wait

    void GetStatus();
    void GetTrack();
    // Post-race verification scan; on a pass raceScanPassed() is 1.
    void racescan();
    // Returns the failure count.
    int newquietscan();
    // True when PU path-table entry `k` is what it must be (other games pass).
    bool checkinstall(int k, const std::string& entry);

    // For result capture: SetResult arms the collection and stops polling;
    // getresult stops the collection and may resume polling.
    void startResultCollection();
    void stopResultCollection();
    void stopStatusPoll();
    void resumeStatusPoll();

    bool isOpen() const { return open_; }
    const std::string& raceState() const { return raceState_; }
    void setRaceState(std::string state) { raceState_ = std::move(state); }
    const std::string& lastReportedTrack() const { return lastTrack_; }
    const std::string& monitoredExecutable() const { return executable_; }
    int tickCount() const { return ticks_; }
    int startupWaitCount() const { return startupWait_; }
    std::int32_t puPathTableAddress() const { return pathTable_; }
    const std::string& puLobbyTrack() const { return puLobbyTrack_; }
    const std::string& hsLobbyTrack() const { return hsLobbyTrack_; }
    int hsResultsHold() const { return resultsHold_; }
    int installAlarmLatch() const { return installAlarm_; }
    // The post-race scan's own verdict: 1 passed, 0 failed or not run.
    int raceScanPassed() const { return raceScanPassed_; }

    const platform::Timer& statusTimer() const { return *timer1_; }
    const platform::Timer& installTimer() const { return *timer2_; }
    const platform::Timer& resultTimer() const { return *timer3_; }
    const platform::Timer& startupTimer() const { return *timer5_; }

private:
    std::optional<std::string> read(const MemoryArea& area);
    // geticaddy; nothing when it cannot be read.
    std::optional<std::int32_t> readPathTableAddress();
    std::string nextState(const std::string& game, const std::string& key);
    void installAlarm(int k, const std::string& entry);
    void closeMonitor();

    MonitorHost& host_;
    StepSource puSteps_;
    std::unique_ptr<platform::Timer> timer1_;
    std::unique_ptr<platform::Timer> timer2_;
    std::unique_ptr<platform::Timer> timer3_;
    std::unique_ptr<platform::Timer> timer5_;

    bool open_ = false;
    std::string executable_;
    int ticks_ = 0;
    int startupWait_ = 0;
    std::int32_t pathTable_ = 0;
    std::uint64_t hpAnchor_ = 0;
    bool hpAnchorFound_ = false;
    std::string puLobbyTrack_ = "00";
    std::string hsLobbyTrack_;

    std::string raceState_;
    std::string lastTrack_;
    int resultsHold_ = 0;
    int installAlarm_ = 0; // for the life of the client
    int raceScanPassed_ = 0;
};

using TForm11 = RaceMonitor;

} // namespace tarmacia::monitor
