// The main window's side of joining and hosting races.

#include "app/main_form.h"

#include "app/pending.h"
#include "races/game_paths.h"

namespace tarmacia::app {

namespace {

constexpr const char* kSep = "\xC2\xAC"; // "¬"

} // namespace

// What the game launch asks of the main window.
class LaunchBridge final : public races::LaunchHost {
public:
    explicit LaunchBridge(MainForm& form) : form_(form) {}
    std::string selectedGame() const override { return form_.races_->selectedGame; }
    settings::multigame& gameList() override { return form_.games; }
    std::string gameFolder() const override {
        return races::getrunpath(form_.games, form_.log_, form_.races_->selectedGame,
                                 form_.ports_.registry.prefix());
    }
    std::filesystem::path winePrefix() const override { return form_.ports_.registry.prefix(); }
    DiagnosticLog& log() override { return form_.log_; }
    const settings::LanguageStrings& lang() const override { return form_.lang_; }
    int messagebox(const MessageBoxRecord& record) override { return form_.messagebox(record); }
    void crcmess(const std::string& text) override { form_.scanner_->crcmess(text); }
    void makesound(int number) override { form_.makesound(number); }
    void setRaceActive(int value) override { form_.raceActive = value; }
    void setHosting(int value) override { form_.hosting = value; }
    void clearRaceState() override {
        form_.raceCounter = 0;
        form_.raceActive = 0;
    }
    void redraw() override {}
    void stopStatusTimer() override { form_.monitor_->stopStatusPoll(); }
    void closeMonitor() override { form_.form("TForm11").close(); }

private:
    MainForm& form_;
};

// What race creation asks of the main window.
class CreationBridge final : public races::CreationHost {
public:
    explicit CreationBridge(MainForm& form) : form_(form) {}
    DiagnosticLog& log() override { return form_.log_; }
    int messagebox(const MessageBoxRecord& record) override { return form_.messagebox(record); }
    void send(const std::string& message) override { form_.send(message); }
    void chatLine(const std::string& text) override { form_.showchat(text); }
    void localNotice(const std::string& text) override { form_.sendmess(text); }
    int loginState() const override { return form_.loginState; }
    std::string playerName() const override { return form_.playerName; }
    int raceActive() const override { return form_.raceActive; }
    void setSelectedGame(const std::string& game) override { form_.races_->selectedGame = game; }
    std::filesystem::path useGameFolder(const std::string& game) override {
        form_.gameFolder = races::getrunpath(form_.games, form_.log_, game, form_.ports_.registry.prefix());
        return form_.gameFolder;
    }
    int scanInProgress() const override { return form_.scanner_->inProgress(); }
    int scanFailed() const override { return form_.scanner_->scanFailed(); }
    std::string lastScannedGame() const override { return form_.scanner_->lastScannedGame(); }
    void startScan() override { form_.scanner_->ScanClick(); }
    void setHosting(int flag) override { form_.hosting = flag; }
    std::string hostingIp() const override { return form_.settings.misc.hostingIp; }
    void setCurrentTrackset(const std::string& trackset) override { form_.currentTrackset = trackset; }
    void closeAllPanels() override { form_.ports_.view.closePages(); }

private:
    MainForm& form_;
};

void MainForm::startRaces() {
    hostsRedirect_ = std::make_unique<races::HostsRedirect>(ports_.hosts);
    launchHost_ = std::make_unique<LaunchBridge>(*this);
    launch_ = std::make_unique<races::GameLaunch>(*launchHost_, ports_.launcher, ports_.processes,
                                                  ports_.desktopWindows, ports_.clock);
    creationHost_ = std::make_unique<CreationBridge>(*this);
    creation_ = std::make_unique<races::RaceCreation>(*creationHost_);
    creation_->changed = [this] { ports_.view.creationChanged(); };
}

// The race monitor's window: it starts the game and follows the race.
void MainForm::openRaceMonitor() {
    form("TForm11").showModal();
    monitor_->FormActivate();
}
void MainForm::JoinClick(const std::string& raceId) {
    log_.label("Join Race");
    joinedRaceId = raceId;
    int slot = -1;
    for (int i = 0; i < races::RaceList::kSlots; ++i) {
        if (races_->entries()[static_cast<std::size_t>(i)].raceId == raceId) {
            slot = i;
            break;
        }
    }
    if (slot >= 0) {
        races_->selectedGame = races_->entries()[static_cast<std::size_t>(slot)].gameCode;
        gameFolder = races::getrunpath(games, log_, races_->selectedGame, ports_.registry.prefix());
        if (scanner_->lastScannedGame() != races_->selectedGame) {
            scanner_->ScanClick();
            messagebox({.title = lang_[147], .kind = "info", .line1 = "Starting a scan for this game",
                        .line2 = "Please wait until scan complete then", .line3 = "Press Continue",
                        .button1 = "Continue"});
        }
        if (scanner_->scanFailed() > 0) {
            messagebox({.title = lang_[147], .kind = "info",
                        .line1 = "You have failed a scan for this game",
                        .line2 = "Please fix errors and try again", .line3 = "Press Continue",
                        .button1 = "Continue"});
        }
    }
    if (joining == 1 || scanner_->inProgress() == 1) {
        showchat("[df]Already Joining Race or scan in progress - Please Wait");
        return;
    }
    if (scanner_->scanFailed() != 0) return;
    if (loginState < 1) {
        showchat("[df]Please Login");
        return;
    }
    if (slot < 0) {
        showchat("[df]No Race Selected");
        return;
    }
    currentTrackset = "default";
    send("~J~" + std::to_string(slot) + kSep + std::to_string(mixerFlag));
    showchat("[df]Joining Race Please Wait");
    joining = 1;
}

void MainForm::norace() {
    log_.label("Unable to join");
    joining = 0;
    sendmess("Connection Resumed");
    sendmess("Unable to Join Race");
}

void MainForm::ipsetup(const std::string& payload) {
    log_.label("IP Setup");
    joining = 0;
    raceCounter = 0;
    const std::size_t sep = payload.rfind(kSep);
    const std::string host = sep == std::string::npos ? std::string() : payload.substr(0, sep);
    currentTrackset = sep == std::string::npos ? payload : payload.substr(sep + 2);
    const races::HostsSetup setup = hostsRedirect_->ipsetup(host);
    raceCounter = setup.inPlace ? 1 : 0;
    if (!setup.note.empty()) log_.label(setup.note);
    if (!setup.error.empty()) {
        const std::string text = playerName + ": Hosts " + setup.error;
        sendmess(text);
        send("~2~" + text);
    } else if (setup.unableToCreate()) {
        sendmess("Unable to create HOSTS file");
    }
}

void MainForm::racehostmode(const std::string&) {
    log_.label("Set Race Host Mode");
    keepAlive_->start();
    form("TForm1").hide();
    suspended_ = true;
    openRaceMonitor();
}

void MainForm::closerace() {
    log_.label("Close Race");
    const std::string& game = races_->selectedGame;
    if (game == "PU") launch_->KillTask("porsche.exe");
    if (game == "HP") launch_->KillTask("nfshp2.exe");
    if (game == "HS") {
        launch_->KillTask("nfshs.exe");
        launch_->KillTask("mixer.exe");
    }
    form("TForm11").close();
    messagebox({.title = lang_[31], .kind = "error", .line1 = lang_[485], .line2 = lang_[458],
                .button1 = lang_[459]});
}

// The monitor's window closed (by the player, or by the monitor itself):
// the monitor ends the games and points the host name home, then the
// player is back at the lobby.
void MainForm::raceMonitorClosed() {
    if (!suspended_ || closingMonitor_) return;
    closingMonitor_ = true;
    monitor_->FormClose();
    closingMonitor_ = false;
    endSuspension();
}

} // namespace tarmacia::app
