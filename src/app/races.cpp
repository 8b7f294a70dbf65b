// The main window's side of joining and hosting races.

#include "app/main_form.h"

#include "app/pending.h"
#include "races/game_paths.h"

namespace tarmacia::app {

namespace {

constexpr const char* kSep = "\xC2\xAC"; // "¬"

} // namespace

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
    pending("joining races: the HOSTS entry for the race host");
    (void)host;
}

void MainForm::racehostmode(const std::string&) {
    log_.label("Set Race Host Mode");
    keepAlive_->start();
    form("TForm1").hide();
    suspended_ = true;
    pending("race monitor: the monitor window itself (its closing ends host mode)");
    form("TForm11").showModal();
}

void MainForm::closerace() {
    log_.label("Close Race");
    pending("game launch: end the selected game's processes");
    form("TForm11").close();
    messagebox({.title = lang_[31], .kind = "error", .line1 = lang_[485], .line2 = lang_[458],
                .button1 = lang_[459]});
}

void MainForm::raceMonitorClosed() {
    pending("game launch: end the games; joining races: point the HOSTS entry back home");
    if (suspended_) endSuspension();
}

} // namespace tarmacia::app
