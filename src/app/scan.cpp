// The main window's side of the file scan: what the scanner reads from it,
// the scan buttons, version detection and the status report.

#include "app/main_form.h"

#include "app/pending.h"
#include "platform/paths.h"
#include "races/game_paths.h"
#include "fixes/status_report.h"
#include "scan/crc.h"

#include <system_error>

namespace tarmacia::app {
namespace fs = std::filesystem;

// What the scanner asks of the main window.
class ScanBridge final : public scan::ScanHost {
public:
    explicit ScanBridge(MainForm& form) : form_(form) {}

    platform::Network& network() override { return form_.ports_.network; }
    platform::Clock& clock() override { return form_.ports_.clock; }
    DiagnosticLog& log() override { return form_.log_; }

    bool loggedIn() const override { return form_.loginState == 1; }
    std::string playerName() const override { return form_.playerName; }
    std::string selectedGame() const override { return form_.races_->selectedGame; }
    fs::path gameFolder() const override { return form_.gameFolder; }
    fs::path installFolder() const override { return form_.installFolder_; }
    std::string clientChecksum() const override { return form_.clientChecksum_; }
    std::string listChecksum() const override {
        return std::to_string(scan::getcrc(form_.installFolder_ / "filelist2.trm"));
    }
    std::string scanServerHost() const override { return form_.server_.ip; }
    std::string chatColour() const override {
        return settings::colourToText(form_.settings.user.chatTextColour);
    }
    std::string lang(int n) const override { return form_.lang_[n]; }

    void chatLine(const std::string& text) override { form_.showchat(text); }
    void sendLobby(const std::string& message) override { form_.send(message); }
    void resetPuEdition() override { form_.versionState.puEdition = false; }
    void setversion(const std::string& text) override { form_.setversion(text); }
    void showbox() override { form_.showbox(); }
    void messagebox(const MessageBoxRecord& record, std::function<void(int)> done) override {
        int result = form_.messagebox(record);
        if (done) done(result);
    }

private:
    MainForm& form_;
};

void MainForm::startScanner() {
    scanHost_ = std::make_unique<ScanBridge>(*this);
    scanner_ = std::make_unique<scan::Scanner>(*scanHost_);
    scanner_->onChanged([this] { ports_.view.scanChanged(); });
}

void MainForm::scanButtonClick(const std::string& game) {
    if (game == "PU") log_.label("Button 5 PU Scan");
    if (game == "HS") log_.label("Button 6 HS Scan");
    if (game == "HP") log_.label("Button 7 HP2 Scan");
    if (game == "XX") log_.label("Button 20 Reset Scan Path");
    races_->selectedGame = game;
    gameFolder = races::getrunpath(games, log_, game, ports_.registry.prefix());
    scanner_->ScanClick();
}

void MainForm::setversion(const std::string& text) {
    const std::string& game = races_->selectedGame;
    std::error_code ec;
    const bool hsGame = fs::exists(platform::resolvePath(gameFolder, "nfshsgame.exe"), ec);
    launch_->mixerdetect();
    mixerFlag = launch_->mixer;
    fixes::setversion(versionState, indicators, game, text, mixerFlag == 1, hsGame,
                      [] { pending("installation checks: the checks after version detection"); });
}

void MainForm::showbox() {
    log_.label("Show Status Errors");
    fixes::showversion(versionState);
    const std::string& game = races_->selectedGame;
    const std::string errors = scanner_->errorCountText();
    send(fixes::statusReport({.selectedGame = game,
                              .errorCount = errors,
                              .playerName = playerName,
                              .welcomeSeen = welcomeSeen == 1,
                              .windowsVersion = windowsVersionName_,
                              .gameColour = settings::gamecolor(games, game),
                              .indicators = &indicators,
                              .versionColour = versionState.versionColour,
                              .wheelSupport = false}));
    scanner_->finishReport();
    if (scanner_->scanFailed() > 0 && loginState == 1) {
        int answer = messagebox({.title = "File Errors",
                                 .kind = "error",
                                 .line1 = "Your scan shows errors",
                                 .line2 = "Make sure your game path is set correctly.",
                                 .line3 = "Would you like to try and fix these errors now?",
                                 .button1 = "Yes",
                                 .button2 = "No"});
        if (answer == 1) pending("fix actions: open the fix panel");
    }
}

} // namespace tarmacia::app
