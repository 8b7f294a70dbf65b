// The main window's side of the race monitor: what it and the game process
// access ask of the main window.

#include "app/main_form.h"

#include "app/pending.h"
#include "platform/paths.h"
#include "races/game_paths.h"
#include "scan/crc.h"

namespace tarmacia::app {

class ProcessAccessBridge final : public monitor::ProcessAccessHost {
public:
    explicit ProcessAccessBridge(MainForm& form) : form_(form) {}
    std::string gameBeingMonitored() const override { return form_.races_->selectedGame; }
    int launchedPid() const override { return form_.launch_->launchedPid; }
    void makesound(int number) override { form_.makesound(number); }
    bool KillTask(std::string_view name) override { return form_.launch_->KillTask(name); }
    void KillProcess(unsigned long window) override { form_.launch_->KillProcess(window); }
    void stopStatusTimer() override { form_.monitor_->stopStatusPoll(); }
    void showMessage(const std::string& text) override {
        form_.messagebox({.title = "Tarmacia", .kind = "info", .line1 = text, .button1 = "OK"});
    }
    // The system forbids reading the game: the player learns why, once.
    void accessRefused(const std::string& text) override {
        form_.log_.label(text);
        form_.showchat("[df]" + text);
    }

private:
    MainForm& form_;
};

class MonitorBridge final : public monitor::MonitorHost {
public:
    explicit MonitorBridge(MainForm& form) : form_(form) {}

    platform::Clock& clock() override { return form_.ports_.clock; }
    DiagnosticLog& log() override { return form_.log_; }

    std::string selectedGame() const override { return form_.races_->selectedGame; }
    std::string gameFolder() const override {
        return races::getrunpath(form_.games, form_.log_, form_.races_->selectedGame,
                                 form_.ports_.registry.prefix());
    }
    std::string currentTrackset() const override { return form_.currentTrackset; }
    int hosting() const override { return form_.hosting; }
    void setHosting(int flag) override { form_.hosting = flag; }
    bool puEdition() const override { return form_.versionState.puEdition; }
    int scanPosition() const override { return form_.scanner_->scanPosition(); }
    void setScanPosition(int position) override { form_.scanner_->setScanPosition(position); }
    void setScanFailed(int flag) override { form_.scanner_->setScanFailed(flag); }
    std::string lang(int n) const override { return form_.lang_[n]; }

    void pustart(const std::string& trackset) override { form_.launch_->pustart(trackset); }
    void KillTask(std::string_view name) override { form_.launch_->KillTask(name); }
    int launchedPid() const override { return form_.launch_->launchedPid; }
    void setLaunchedPid(int pid) override { form_.launch_->launchedPid = pid; }
    int getprocesspid(const std::string& path) override {
        return form_.processAccess_->getprocesspid(path);
    }
    void setGameLaunched(int flag) override { form_.launch_->gameLaunched = flag; }

    void startMonitoring(const std::string& executable) override {
        form_.processAccess_->reset(executable);
    }
    std::optional<std::string> readMemory(const std::string& executable,
                                          const monitor::MemoryArea& area) override {
        std::string buffer;
        std::size_t read = 0;
        if (form_.processAccess_->ReadProcessMem(executable, buffer, read, area.address, area.length) != 0)
            return std::nullopt;
        return buffer;
    }

    bool takeFileChangeNotice() override {
        const bool changed = !form_.scanner_->swapFolder().empty();
        form_.scanner_->setSwapFolder({});
        return changed;
    }
    void clearScanFailures() override { form_.scanner_->clearFailures(); }
    void addScanFailure(const std::string& text) override { form_.scanner_->addFailure(text); }
    std::uint32_t getcrc(const std::string& relativePath) override {
        return scan::getcrc(platform::resolvePath(gameFolder(), relativePath));
    }
    std::string checkscan(const std::string& name, const std::string& checksumText) override {
        return form_.scanner_->checkscan(name, checksumText);
    }

    void sendLobby(const std::string& message) override { form_.send(message); }
    void crcmess(const std::string& text) override { form_.scanner_->crcmess(text); }
    void chatLine(const std::string& text) override { form_.showchat(text); }
    void showmess(const std::string& text) override { form_.sendmess(text); }
    void showbox() override { form_.showbox(); }
    void makesound(int number) override { form_.makesound(number); }
    int messagebox(const MessageBoxRecord& record) override { return form_.messagebox(record); }
    void showMessage(const std::string& text) override {
        form_.messagebox({.title = "Tarmacia", .kind = "info", .line1 = text, .button1 = "OK"});
    }
    void ipsetup(const std::string& payload) override { form_.ipsetup(payload); }
    void showMonitorText(const std::string& text) override { form_.ports_.view.setMonitorText(text); }
    void closeMonitorWindow() override { form_.form("TForm11").close(); }

    void SetResult() override { pending("result capture: SetResult"); }
    void getresult() override { pending("result capture: getresult"); }
    std::optional<std::uint64_t> hp2set() override {
        return form_.processAccess_->hp2anchor(form_.processAccess_->executable());
    }
    void hp2getracers() override { pending("HP2 result capture: hp2getracers"); }
    void hp2racedump() override { pending("HP2 result capture: hp2racedump"); }

private:
    MainForm& form_;
};

void MainForm::startMonitor() {
    processAccessHost_ = std::make_unique<ProcessAccessBridge>(*this);
    processAccess_ = std::make_unique<monitor::ProcessAccess>(
        *processAccessHost_, ports_.processes, ports_.memory, ports_.desktopWindows);
    monitorHost_ = std::make_unique<MonitorBridge>(*this);
    monitor_ = std::make_unique<monitor::RaceMonitor>(*monitorHost_);
}

} // namespace tarmacia::app
