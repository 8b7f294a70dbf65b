// The lobby connection of the main window: login, logout, the security and
// idle questions, the keep-alive during a race and the login details.

#include "app/main_form.h"

#include "app/pending.h"
#include "common/text.h"
#include "platform/paths.h"
#include "protocol/passenc.h"
#include "settings/settings_values.h"

#include <ctime>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace tarmacia::app {
namespace fs = std::filesystem;

namespace {

constexpr const char* kSep = "\xC2\xAC"; // "¬", the field separator
constexpr const char* kVersion = "v5.42"; // what the lobby checks, not the caption's

} // namespace

void MainForm::startLoginTimers() {
    keepAlive_ = ports_.clock.createTimer();
    keepAlive_->setInterval(300000);
    keepAlive_->onTimeout([this] { Timer2Timer(); });
    pleaseWaitClose_ = ports_.clock.createTimer();
    pleaseWaitClose_->setSingleShot(true);
    pleaseWaitClose_->setInterval(5000);
    pleaseWaitClose_->onTimeout([this] { closePleaseWait(); });
    idleAnswer_ = ports_.clock.createTimer();
    idleAnswer_->setSingleShot(true);
    idleAnswer_->setInterval(60000);
    idleAnswer_->onTimeout([this] {
        autoLogoutAnswer(false);
        // As it stands, not as a system line.
        AppendToWB("[df]Idle Time Exceeded - Auto Logout");
    });
    // A race suspension (and race-host mode) ends when the race monitor
    // window closes.
    form("TForm11").onClosed([this] { raceMonitorClosed(); });
}

std::int32_t MainForm::todayMidnight() const {
    std::time_t now = static_cast<std::time_t>(ports_.clock.wallClockSeconds());
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    return static_cast<std::int32_t>(std::mktime(&local));
}

void MainForm::openLoginPanel() {
    loginPanelOpen = true;
    if (store_) store_->Readlogindetails(settings);
    ports_.view.showLoginPanel(true);
    ports_.view.loginFieldsChanged();
}

void MainForm::JvImgBtn1Click() {
    log_.label("Button 1 Login / Logout");
    if (directory_) directory_->selectorChosen(directory_->selectorText());
    ports_.view.closePages();
    if (loginState == 1) {
        LogoutClick();
        pending("administration: hide the Admin button");
        pending("race list: the 3-second panel close timer");
        return;
    }
    if (loginPanelOpen) {
        loginPanelOpen = false;
        ports_.view.showLoginPanel(false);
        return;
    }
    if (settings.user.login.useAsDefault) {
        LoginClick();
        return;
    }
    openLoginPanel();
}

void MainForm::LoginClick() {
    log_.label("Login Button");
    if (socketOpen_) {
        logoutRequested = 1;
        pending("file scan: close the scan connection");
        lobbySocket_->close();
        return;
    }
    logoutRequested = 0;
    chatMode = "v4";
    if (!directory_) return;
    server_ = directory_->takeCurrentForLogin();
    if (server_.name.empty()) {
        if (messagebox({.title = "Login Error", .kind = "error", .line1 = "No Servers Found",
                        .line2 = "Would you like to refresh server's", .button1 = "Yes",
                        .button2 = "No"}) == 1)
            openLoginPanel();
        return;
    }
    directory_->stampLastLogin(todayMidnight());
    loginState = 0;
    lobbyWebHost = server_.ip;
    try {
        std::int32_t port = settings::textToInt(server_.port);
        if (port < 0 || port > 65535) throw std::out_of_range("port out of range");
        log_.label("Trying to connect to " + server_.ip);
        if (!settings.user.login.name.empty()) {
            lobbySocket_ = ports_.network.createTcpClient();
            lobbySocket_->setEvents({.connecting = [this] { ClientSocket1Connecting(); },
                                     .connected = [this] { ClientSocketConnect(); },
                                     .readable = [this] { ClientSocketReadEvent(); },
                                     .disconnected = [this] { ClientSocket1Disconnect(); },
                                     .error = [this](const std::string& m) { ClientSocket1Error(m); }});
            link_.attach(lobbySocket_.get());
            socketOpen_ = true;
            lobbySocket_->connectTo(server_.ip, static_cast<std::uint16_t>(port));
            pleaseWaitClose_->start();
            form("TForm27").showModal();
            return;
        }
        loginState = 2;
        int answer = messagebox({.title = "Login Error", .kind = "error",
                                 .line1 = "No User Name Selected",
                                 .line2 = "Would you like to enter a name now", .button1 = "Yes",
                                 .button2 = "No"});
        if (answer == 1) openLoginPanel();
        loginState = 0;
    } catch (const std::exception&) {
        showchat("[df]Error Connecting");
    }
}

void MainForm::ClientSocket1Connecting() {
    log_.label("Attempting to connect");
    showchat("[df]Attempting to connect");
}

void MainForm::ClientSocketConnect() {
    log_.label("Connected to Server");
    if (connectMode == 1) {
        send("~U~" + pendingRegistration);
        connectMode = 0;
        return;
    }
    pending("race list: redraw and reset the per-login race state");
    playerName = settings.user.login.name;
    messageName = playerName;
    send("~1~" + playerName + kSep + protocol::passenc(settings.user.login.password, prefixSource_) +
         kSep + kVersion);
    showchat("[df]Connected as " + playerName + " on (" + server_.name + ")");
    loginState = 1;
    ports_.view.setLoggedIn(true);
    auto picture = [this](const char* file) {
        return "<IMG SRC=\"" + (clientFolder_ / "images" / file).string() +
               "\" border=\"0\" width=\"100\" height=\"55\">";
    };
    AppendToWB(
        "<table leftmargin=\"10\"  rightmargin=\"10\" ><tr><td valign= \"center\" align = \"left\">" +
        picture("nfspu.jpg") + "<td width =\"70%\" valign= \"top\" align = \"center\">" +
        picture("nfshp2.jpg") + "<td valign= \"center\" align = \"right\">" + picture("nfshs.jpg"));
}

void MainForm::ClientSocket1Error(const std::string& message) {
    log_.label("Connect Error");
    if (!lobbyConnected()) socketOpen_ = false;
    if (loginState == 0) showchat("[df]Unable to connect at this time - Please try later");
    throw std::runtime_error("Socket Error: " + message);
}

void MainForm::ClientSocket1Disconnect() {
    log_.label("Disconnect");
    socketOpen_ = false;
    if (form("TForm11").isVisible()) {
        for (const char* game : {"porsche.exe", "nfshs.exe", "nfshp2.exe"}) launch_->KillTask(game);
        form("TForm11").close();
        makesound(11);
    }
    logout("");
    adminFlag = 0;
    ports_.view.setLoggedIn(false);
    showchat("[df]Disconnected - Logout");
}

void MainForm::ClientSocketReadEvent() {
    std::string text = link_.read();
    dispatcher_.ClientSocketRead(text, form("TForm1").isVisible());
}

void MainForm::logout(const std::string& reason) {
    log_.label("Logout");
    if (form("TForm5").isVisible()) form("TForm5").close();
    if (reason == "Suspend") {
        // The connection stays; the keep-alive runs until the race is over.
        keepAlive_->start();
        form("TForm1").hide();
        suspended_ = true;
        if (raceCounter > 0) {
            openRaceMonitor();
        } else {
            endSuspension();
        }
        return;
    }
    presence_->clearUsers();
    ports_.view.clearUsers();
    clearracelist();
    loginState = 0;
    playerName.clear();
    ports_.view.setLoggedIn(false);
    if (lobbySocket_) lobbySocket_->close();
    if (reason.empty()) return;

    const std::string& title16 = lang_[16];
    if (reason == "Incorrect Version of TRM") {
        int answer = messagebox({.title = title16, .kind = "error", .line1 = reason,
                                 .line2 = lang_[469], .button1 = lang_[470],
                                 .button2 = lang_[471]});
        if (answer == 1)
            ports_.app.openUrl(webHosts_.website);
        else
            ports_.app.quit();
    } else if (reason == "Pit Closed by Administrator") {
        closerace();
        messagebox({.title = lang_[261], .kind = "warn", .line1 = reason, .line2 = lang_[458],
                    .button1 = lang_[459]});
    } else if (startsWith(reason, "Reg")) {
        messagebox({.title = lang_[11], .kind = "info", .line1 = reason,
                    .line2 = "You can save your details in options",
                    .line3 = "Would you like to this now?", .button1 = "Yes", .button2 = "No"});
    } else {
        messagebox({.title = title16, .kind = "info", .line1 = reason, .line2 = lang_[458],
                    .button1 = lang_[459]});
    }
}

void MainForm::endSuspension() {
    suspended_ = false;
    form("TForm1").show();
    keepAlive_->stop();
    send("~X~");
    raceActive = 0;
    raceCounter = 0;
}

void MainForm::LogoutClick() {
    log_.label("Logout");
    // A HOSTS copy left by an older client is put back first, through the
    // same safe rewrite as every other change of the file.
    const fs::path saved = ports_.hosts.path().string() + ".trm";
    std::error_code ec;
    if (fs::exists(saved, ec)) {
        std::ifstream in(saved, std::ios::binary);
        const std::string content{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        if (in.good() || in.eof()) {
            if (ports_.hosts.rewrite(content)) fs::remove(saved, ec);
        }
    }
    logout("");
}

void MainForm::Timer2Timer() {
    log_.label("Timer 2 Activated ");
    send("~O~" + messageName);
}

void MainForm::passset(const std::string& payload) {
    log_.label("Set Password");
    const std::string plain = protocol::passdec2(payload);
    if (plain.empty()) return;
    const std::string prefix = std::string("sq") + kSep;
    if (!startsWith(plain, prefix)) {
        messagebox({.title = lang_[9], .kind = "info", .line1 = lang_[480], .line2 = lang_[458],
                    .button1 = lang_[459]});
        if (lobbySocket_) lobbySocket_->close();
        return;
    }
    ports_.view.setSecurityQuestion(plain.substr(prefix.size()));
    Rect main = ports_.view.windowRect();
    form("TForm4").move(main.left, main.top);
    form("TForm4").showModal();
}

void MainForm::securityAnswer(const std::string& answer) {
    form("TForm4").hide();
    if (!answer.empty()) {
        messagebox({.title = lang_[9], .kind = "info", .line1 = lang_[478], .line2 = lang_[458],
                    .button1 = lang_[459]});
        send("~Y~" + settings.user.login.name + kSep + answer);
    } else {
        messagebox({.title = lang_[9], .kind = "warn", .line1 = lang_[479], .line2 = lang_[458],
                    .button1 = lang_[459]});
        if (lobbySocket_) lobbySocket_->close();
    }
}

void MainForm::sleeper() {
    log_.label("Sleeper / Logout");
    platform::Window& question = form("TForm7");
    if (question.isVisible()) return;
    idleAnswer_->start();
    const fs::path bell = platform::resolvePath(clientFolder_, "sounds\\trm.wav");
    std::error_code ec;
    if (fs::exists(bell, ec)) ports_.sound.play(bell);
    Rect main = ports_.view.windowRect();
    question.move(main.left + main.width / 2 - 180, main.top + main.height / 2 - 100);
    if (minimised_) form("TForm1").restore();
    question.showModal();
}

void MainForm::autoLogoutAnswer(bool stay) {
    idleAnswer_->stop();
    form("TForm7").hide();
    ports_.sound.stop();
    if (stay) {
        send("~H~");
    } else {
        logoutRequested = 1;
        logout("");
    }
}

void MainForm::CheckBox2Click(bool on) {
    log_.label("Set as Default Login Details");
    settings::LoginDetails& login = settings.user.login;
    if (on && (login.name.empty() || login.password.empty())) {
        messagebox({.title = "Login Details", .kind = "error", .line1 = "Please Enter Login Details",
                    .line2 = "Press Continue", .button1 = "Continue"});
        login.useAsDefault = false;
        ports_.view.loginFieldsChanged();
        return;
    }
    login.useAsDefault = on;
    if (store_) store_->Writelogindetails(settings);
    if (on) {
        ports_.view.closePages();
        messagebox({.title = "Login Details", .kind = "info", .line1 = "Current Login Details Saved",
                    .line2 = "Press Continue", .button1 = "Continue"});
    } else {
        messagebox({.title = "Login Details", .kind = "info",
                    .line1 = "Current Login Details are no longer default",
                    .line2 = "Press Continue", .button1 = "Continue"});
    }
}

void MainForm::JvImgBtn25Click() {
    log_.label("Button 25 Reset Login Details");
    settings.user.login.useAsDefault = false;
    if (store_) store_->Writelogindetails(settings);
    ports_.view.loginFieldsChanged();
    ports_.view.closePages();
    loginPanelOpen = false;
    ports_.view.showLoginPanel(false);
}

void MainForm::loginFieldFocused() {
    const settings::LoginDetails& login = settings.user.login;
    if (store_ && !login.name.empty() && !login.password.empty()) store_->Writelogindetails(settings);
}

void MainForm::setLoginPassword(const std::string& password) {
    settings.user.login.password = password;
}

void MainForm::Edit1Change(const std::string& text) {
    log_.label("Set Login Name");
    const std::size_t close = text.rfind(']');
    if (close == std::string::npos) {
        settings.user.login.name = cut(text, 10);
        return;
    }
    const std::size_t open = text.rfind('[', close);
    const std::size_t start = open == std::string::npos ? 0 : open + 1;
    const std::string code = toUpper(text.substr(start, close - start));
    settings.user.login.name = cut(text.substr(close + 1), 10);
    settings.user.login.flag = "[" + code + "]";
    if (directory_) directory_->setSelectedUserFlag(settings.user.login.flag);
    std::error_code ec;
    loginFlagPicture = platform::resolvePath(clientFolder_, "flags\\Teams\\" + code + "flag.bmp");
    if (!fs::exists(loginFlagPicture, ec))
        loginFlagPicture = platform::resolvePath(clientFolder_, "flags\\Other\\" + code + "flag.bmp");
    ports_.view.loginFieldsChanged();
}

} // namespace tarmacia::app
