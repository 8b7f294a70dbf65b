#pragma once
// A main window and a game for the race monitor: the game's memory is a map
// of areas, and everything the monitor does to the window is recorded, the
// outward actions also in one ordered list.

#include "app/diagnostic_log.h"
#include "monitor/monitor_host.h"
#include "monitor/race_monitor.h"
#include "platform/fake/fake_clock.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarmacia::test {

struct FakeMonitorHost : monitor::MonitorHost {
    platform::fake::FakeClock fakeClock;
    app::DiagnosticLog diagnostics;

    std::string game = "PU";
    std::string folder = "/games/pu/";
    std::string trackset = "default";
    int hostingFlag = 1;
    bool puEditionFlag = false;
    int scanPos = 99;
    std::optional<int> scanFailedFlag;
    int pid = 0;
    int pidOnStart = 4242; // what pustart "launches"
    std::map<std::string, int> pidsByPath;
    int gameLaunchedFlag = 1;

    // Game memory by start address; a read of an absent area fails.
    std::map<std::uint64_t, std::string> memory;
    std::function<void(const monitor::MemoryArea&)> beforeRead;
    std::vector<std::string> executablesRead;
    std::string monitoring;

    bool fileChangeNotice = false;
    std::vector<std::string> scanFailures;
    std::map<std::string, std::uint32_t> crcs;    // by relative path; 1 otherwise
    std::map<std::string, std::string> badFiles;  // name -> the "notok" reply
    std::vector<std::string> checkedNames;

    std::optional<std::uint64_t> hpAnchor;
    int hp2setCalls = 0;
    int racerReads = 0;
    int raceDumps = 0;
    int setResults = 0;
    int getResults = 0;
    std::function<void()> onSetResult;

    std::vector<std::string> events; // kills, announcements, boxes, closing: in order
    std::vector<std::string> lobby;
    std::vector<std::string> chat;
    std::vector<int> sounds;
    std::vector<app::MessageBoxRecord> boxes;
    std::vector<std::string> monitorTexts;
    int windowCloses = 0;

    platform::Clock& clock() override { return fakeClock; }
    app::DiagnosticLog& log() override { return diagnostics; }
    std::string selectedGame() const override { return game; }
    std::string gameFolder() const override { return folder; }
    std::string currentTrackset() const override { return trackset; }
    int hosting() const override { return hostingFlag; }
    void setHosting(int flag) override { hostingFlag = flag; }
    bool puEdition() const override { return puEditionFlag; }
    int scanPosition() const override { return scanPos; }
    void setScanPosition(int position) override { scanPos = position; }
    void setScanFailed(int flag) override { scanFailedFlag = flag; }
    std::string lang(int n) const override { return "L" + std::to_string(n); }

    void pustart(const std::string& set) override {
        events.push_back("pustart " + set);
        pid = pidOnStart;
    }
    void KillTask(std::string_view name) override { events.push_back("kill " + std::string(name)); }
    int launchedPid() const override { return pid; }
    void setLaunchedPid(int value) override { pid = value; }
    int getprocesspid(const std::string& path) override {
        const auto it = pidsByPath.find(path);
        return it == pidsByPath.end() ? 0 : it->second;
    }
    void setGameLaunched(int flag) override { gameLaunchedFlag = flag; }

    void startMonitoring(const std::string& executable) override { monitoring = executable; }
    std::optional<std::string> readMemory(const std::string& executable, const monitor::MemoryArea& area) override {
        if (beforeRead) beforeRead(area);
        executablesRead.push_back(executable);
        const auto it = memory.find(area.address);
        if (it == memory.end()) return std::nullopt;
        std::string bytes = it->second;
        bytes.resize(area.length, '\0');
        return bytes;
    }

    bool takeFileChangeNotice() override { return std::exchange(fileChangeNotice, false); }
    void clearScanFailures() override { scanFailures.clear(); }
    void addScanFailure(const std::string& text) override { scanFailures.push_back(text); }
    std::uint32_t getcrc(const std::string& relative) override {
        const auto it = crcs.find(relative);
        return it == crcs.end() ? 1 : it->second;
    }
    std::string checkscan(const std::string& name, const std::string& crc) override {
        checkedNames.push_back(name);
        const auto it = badFiles.find(name);
        return it != badFiles.end() ? it->second : "yesok~" + name + "~v" + crc;
    }

    void sendLobby(const std::string& message) override { lobby.push_back(message); }
    void crcmess(const std::string& text) override { events.push_back("announce " + text); }
    void chatLine(const std::string& text) override { chat.push_back(text); }
    void showmess(const std::string& text) override { events.push_back("showmess " + text); }
    void showbox() override { events.push_back("showbox"); }
    void makesound(int number) override { sounds.push_back(number); }
    int messagebox(const app::MessageBoxRecord& record) override {
        boxes.push_back(record);
        events.push_back("box " + record.title);
        return 1;
    }
    void showMessage(const std::string& text) override { events.push_back("message " + text); }
    void ipsetup(const std::string& payload) override { events.push_back("ipsetup " + payload); }
    void showMonitorText(const std::string& text) override { monitorTexts.push_back(text); }
    void closeMonitorWindow() override {
        ++windowCloses;
        events.push_back("close window");
    }

    void SetResult() override {
        ++setResults;
        if (onSetResult) onSetResult();
    }
    void getresult() override { ++getResults; }
    std::optional<std::uint64_t> hp2set() override {
        ++hp2setCalls;
        return hpAnchor;
    }
    void hp2getracers() override { ++racerReads; }
    void hp2racedump() override { ++raceDumps; }
};

} // namespace tarmacia::test
