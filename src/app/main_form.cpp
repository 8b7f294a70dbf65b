#include "app/main_form.h"

#include "app/client_folder.h"
#include "app/forms.h"
#include "app/pending.h"
#include "app/windows_version.h"
#include "chat/flag_fetcher.h"
#include "chat/smileys.h"
#include "platform/guard.h"
#include "platform/wine_paths.h"
#include "races/game_paths.h"
#include "scan/crc.h"
#include "settings/settings_reset.h"
#include "settings/web_hosts.h"

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <system_error>

namespace tarmacia::app {
namespace fs = std::filesystem;

MainForm::MainForm(Ports ports)
    : ports_(ports), smileys_(std::make_unique<chat::SmileySlots>()) {
    for (const auto& info : kForms)
        forms_[info.name] = &ports_.windows.create(info.name, info.caption);
    // Closing the main window ends the program.
    form("TForm1").onClosed([this] {
        FormClose();
        ports_.app.quit();
    });
    startLoginTimers();
    // The lobby's players and races; their pictures live in the client
    // folder that the start-up fills.
    const fs::path client = ports_.folders.documents() / kClientFolderName;
    presence_ = std::make_unique<chat::Presence>(
        settings, ports_.sound, [this](const std::string& m) { send(m); }, client,
        [this](const std::string& file) {
            if (flagFetcher_) flagFetcher_->findflag(file);
        });
    races_ = std::make_unique<races::RaceList>(log_, ports_.clock, client,
                                               [this](const std::string& m) { send(m); });
    races_->changed = [this] { ports_.view.racesChanged(); };
    races_->closePanels = [this] { ports_.view.closeRacePanels(); };
    startScanner();
    startRaces();
    startMonitor();
    // The log sits beside the program when the program folder is writable
    // (a build tree); an installed program logs into the client folder.
    log_.setFolder(ports_.folders.programWritable()
                       ? ports_.folders.program()
                       : ports_.folders.documents() / kClientFolderName);
}

// The application's handler points at this object: it goes with it.
MainForm::~MainForm() { platform::setExceptionHandler({}); }

platform::Window& MainForm::form(const std::string& name) const {
    auto it = forms_.find(name);
    if (it == forms_.end()) throw std::out_of_range("no window " + name);
    return *it->second;
}

void MainForm::oldButton9Click() {
    // 1-5 run on every activation.
    const fs::path icons = ports_.folders.program() / "images" / "icons";
    std::vector<fs::path> toolbar;
    for (const char* icon : {"user.gif", "setting.gif", "help.gif", "color.gif", "font.gif",
                             "sound.gif", "more.gif", "reset.gif"})
        toolbar.push_back(icons / icon);
    ports_.view.setToolbarIcons(toolbar);
    form("TForm1").setCaption(kCaption);
    log_.label("Program Start up");
    if (!IsAdmin()) {
        messagebox({.title = "Admin Rights?",
                    .kind = "error",
                    .line1 = "Tarmacia requires Admin Rights to run",
                    .line2 = "Press Continue and restart with Admin Rights",
                    .button1 = "Continue"});
        ports_.app.quit();
        return;
    }
    versionState.puText = versionState.hsText = versionState.hpText = "Undetermined";
    logoutRequested = 0;
    styleCounter = 0;
    mainWindowReady = 0;
    pending("game configuration: Readhp2File (HP2 controller settings)");

    // The rest runs once per program run: a later activation (say, on return
    // from a dialog) must not load everything again.
    if (startupRan_) return;
    startupRan_ = true;
    startOnce();
}

void MainForm::startOnce() {
    // 6
    platform::setExceptionHandler([this](const std::string& message) { AppException(message); });
    pending("languages: the language string table");
    GetWindows();
    ports_.view.setFontSizeChoices({"Auto", "8", "10", "12", "14"});
    connectMode = 0;
    adminFlag = 0;
    welcomeSeen = 0;
    historyRowLimit = 500;
    pending("history reports: show the row limit in the history window");
    log_.setEnabled(true);
    settrmpath();
    // 7: every run starts a new log.
    log_.remove();
    // 8
    checktrmfiles();
    // The lobby's web host once the welcome line is in, else the default one.
    flagFetcher_ = std::make_unique<chat::FlagFetcher>(ports_.http, clientFolder_, [this] {
        return welcomeSeen == 1 && !lobbyWebHost.empty() ? lobbyWebHost : webHosts_.flags;
    });
    flagFetcher_->arrived = [this](const fs::path&) { ports_.view.flagsArrived(); };
    // 9
    ports_.view.racesChanged(); // the twenty tiles, all hidden
    // 10
    pending("themes: write the default tarmacia.css / tarmacia2.css when missing");
    store_.emplace(ports_.ini, log_, clientFolder_, protocol::randomPrefixSource());
    gameStore_.emplace(ports_.ini, ports_.registry, log_, clientFolder_);
    settings = settings::defaultSettings(clientFolder_);
    soundPage_.emplace(log_, ports_.dialogs, *store_, settings);
    soundPage_->setVolume = [this](std::uint16_t v) { ports_.sound.setVolume(v, v); };
    optionsSave_.emplace(ports_.clock, *store_, settings);
    screenSave_ = ports_.clock.createTimer();
    screenSave_->setSingleShot(true);
    screenSave_->setInterval(3000);
    screenSave_->onTimeout([this] {
        if (mainWindowReady == 1) store_->WritescreenFile(settings);
    });
    // 11
    platform::guarded([&] {
        if (store_->ReadscreenFile(settings)) ports_.view.applyScreen(settings.screen);
    });
    // 12, 13
    smileys_->resetsmiley();
    // Identifies this build to the scan server.
    clientChecksum_ = std::to_string(scan::getcrc(ports_.folders.executable()));
    // 14: wraps the notices the server directory posts to the chat.
    noticePrefix = "<P style= color:blue;font-size:14>";
    noticeSuffix = "</style></P>";
    // 15, 16
    savedVolume_ = presence_->GetVolume();
    pending("options: resetminiteam");
    hostsRedirect_->sethostpath();
    // 17: nothing to create; every socket read gets a message list of its own.
    // 18
    styleChoices();
    // 19
    readSettings();
    // 20
    platform::guarded([&] { writehtml("trmtest"); });
    // 21
    platform::guarded([&] { store_->ReadserverFile(settings); });
    // 22
    pending("themes: size the user list and flag pictures");
    // 23. The option only ever switches the log on. The navigation click
    // sound of the Windows browser control has no counterpart here.
    if (settings.user.options.useLogfile) log_.setEnabled(true);
    currentGame = games.defaultGame();
    ports_.view.settingsChanged();
    pending("themes: flag sizes that follow the automatic font size");
    ports_.view.setFlagSizes(settings.misc.flagWidth, settings.misc.flagLength,
                             settings.misc.raceFlagWidth, settings.misc.raceFlagLength);
    log_.label("Form Activate");
    // 24, 25
    pending("replay reader: the replay file's time");
    // 25: a change in the PU game's data folders between scans is a swap.
    if (currentGame == "PU") {
        races_->selectedGame = currentGame;
        gameFolder = races::getrunpath(games, log_, currentGame, ports_.registry.prefix());
        scanner_->watchSwapFolders(ports_.folderWatch);
    }
    // 26
    startupDone_ = form("TForm16").isVisible();
    // 27
    if (!currentGame.empty()) {
        pending("history database: startdb, checkfields and the History Update dialog");
        races_->selectedGame = currentGame;
        gameFolder = races::getrunpath(games, log_, currentGame, ports_.registry.prefix());
        launch_->mixerdetect();
        mixerFlag = launch_->mixer;
        log_.label("End Form Activate");
    }
    // 28
    scanner_->loadscanfile();
    pending("configuration writers: checksimfile");
    // 29, 30
    form("TForm27").showModal();
    ports_.view.focusChatInput();
    startDirectory();
}

// Each read runs on its own: a garbage value stops that file's read (its
// error goes to the log), not the rest of the start-up.
void MainForm::readSettings() {
    auto read = [](const std::function<void()>& step) { platform::guarded(step); };
    settings::SettingsStore& store = *store_;
    read([&] { store.ReadmiscFile(settings, "gameindex"); });
    read([&] { store.ReadOptions(settings); });
    read([&] { readGameList(); });
    read([&] { store.ReadmiscFile(settings, "all"); });
    read([&] { store.ReadlanguageFile(settings); });
    read([&] { setlang(); });
    // Each of the three applies the style, and so writes the chat page; the
    // third schedules its load.
    read([&] {
        store.ReadcolorFile(settings);
        applyStyle();
    });
    read([&] {
        pending("themes: settheme");
        applyStyle();
    });
    read([&] {
        store.ReadcolorFile(settings);
        applyStyle();
    });
    read([&] { store.ReadfontFile(settings); });
    read([&] { store.ReadsoundFile(settings); });
    read([&] { soundPage_->optionload(); });
    read([&] { store.Readlogindetails(settings); });
    read([&] { store.ReadportFile(settings, currentGame); });
}

void MainForm::setlang() {
    log_.label("Set Language");
    const std::string& flag = settings.user.languageFlag;
    const std::string& name = settings.user.languageName;
    log_.label("Read Language");
    // A missing file leaves the texts as they are.
    lang_.load(settings::languageFile(clientFolder_, flag, name));
    pending("languages: show the texts in the windows and the language page");
}

void MainForm::readGameList() {
    gameStore_->Readgamelist(games);
    showGameList();
}

void MainForm::showGameList() {
    gameViews_ = settings::gameListViews(games, clientFolder_);
    creation_->setGames(gameViews_.selector);
    // The selector keeps showing the game the player chose, while it is listed.
    const auto& codes = gameViews_.selector.codes;
    if (std::find(codes.begin(), codes.end(), currentGame) != codes.end())
        gameViews_.selector.shown = currentGame;
    ports_.view.gameListChanged();
}

void MainForm::optionChanged() {
    if (optionsSave_) optionsSave_->optionChanged();
}

void MainForm::MasterResetClick() {
    // Before the start-up knows the client folder there is nothing to reset.
    if (!store_) return;
    if (!settings::masterReset(ports_.dialogs, log_, ports_.ini, clientFolder_)) return;
    ports_.app.startNewInstance({});
    form("TForm1").close();
}

void MainForm::saveGameClick(const settings::GameEditorInput& input) {
    if (!gameStore_) return;
    // Saving and deleting read the file back themselves.
    if (settings::saveGame(games, *gameStore_, input)) showGameList();
}

void MainForm::deleteGameClick(const std::string& code) {
    if (!gameStore_) return;
    if (settings::deleteGame(games, *gameStore_, ports_.dialogs, log_, code)) showGameList();
}

void MainForm::chooseGame(const std::string& code) {
    currentGame = code;
    gameViews_.selector.shown = code;
    ports_.view.racesChanged();
}

void MainForm::screenChanged(const settings::ScreenSettings& screen) {
    settings.screen = screen;
    if (screenSave_) screenSave_->start();
}

std::string MainForm::websiteAddress() const {
    std::string site = webHosts_.website;
    if (!site.empty() && site.back() != '/') site += '/';
    return site;
}

void MainForm::RefreshServersClick() {
    if (!directory_) return;
    form("TForm27").showModal();
    directory_->fetch();
}

void MainForm::openServersPage() {
    if (!store_) return;
    settings.savedServerNames.clear();
    store_->ReadserverFile(settings);
}

void MainForm::serverChosen(const std::string& name) {
    if (directory_) directory_->selectorChosen(name);
}

void MainForm::savedServerDoubleClicked(int index) {
    if (directory_) directory_->savedListDoubleClicked(index);
}

void MainForm::setServerSource(bool fromDirectory) {
    if (directory_) directory_->setFromDirectory(fromDirectory);
}

void MainForm::startDirectory() {
    webHosts_ = settings::readWebHosts(ports_.ini, clientFolder_);
    const settings::WebHosts& hosts = webHosts_;
    settings::DirectoryHooks hooks;
    hooks.chatLine = [this](const std::string& line) { showchat(line); };
    hooks.closePleaseWait = [this] { closePleaseWait(); };
    hooks.addserverfile = [this](const settings::ServerEntry& e) {
        store_->addserverfile(settings, e);
    };
    hooks.savedSlot = [this](int i) { return settings.savedServers.at(static_cast<std::size_t>(i)); };
    hooks.loggedIn = [this] { return loginState == 1; };
    hooks.setSelector = [this](const std::vector<std::string>& items, const std::string& shown) {
        ports_.view.setServerSelector(items, shown);
    };
    hooks.logLabel = [this](std::string_view label) { log_.label(label); };
    directory_ = std::make_unique<settings::ServerDirectory>(ports_.http, ports_.clock, hosts.primary,
                                                             hosts.backup, std::move(hooks));
    // The fetch starts when the chat page has loaded (chatPageLoaded).
}

void MainForm::styleChoices() {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(clientFolder_ / "themes", ec)) {
        if (entry.path().extension() == ".style") names.push_back(entry.path().stem().string());
    }
    std::sort(names.begin(), names.end());
    names.insert(names.begin(), "Default");
    ports_.view.setStyleChoices(names);
}

bool MainForm::IsAdmin() {
    log_.label("Check Run as Admin");
    return ports_.hosts.canRewrite();
}

int MainForm::GetWindows() {
    log_.label("Get Windows Version");
    using platform::Hive;
    auto product = ports_.registry.readString(Hive::LocalMachine, kWindowsVersionKey, "ProductName");
    // A 32-bit prefix has no Wow6432Node: its only view is the plain key.
    if (!product)
        product = ports_.registry.readString(
            Hive::LocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "ProductName");
    WindowsVersion version = classifyWindows(product.value_or(""));
    windowsVersionName_ = version.name;
    return version.code;
}

void MainForm::settrmpath() {
    log_.label("Set TRM Path");
    installFolder_.clear();
    auto location =
        ports_.registry.readString(platform::Hive::LocalMachine, kUninstallKey, "InstallLocation");
    if (location && !location->empty()) {
        installFolder_ = location->front() == '/'
                             ? fs::path(*location)
                             : platform::mapWindowsPath(ports_.registry.prefix(), *location);
    }
    // Installed natively, the client's own files live in the program folder.
    if (installFolder_.empty()) installFolder_ = ports_.folders.program();
}

fs::path MainForm::getmydocuments() {
    log_.label("Find MyDocuments ");
    return ports_.folders.documents();
}

void MainForm::checktrmfiles() {
    log_.label("Check TRM Files");
    clientFolder_ = app::checktrmfiles(ports_.folders.program(), getmydocuments());
}

void MainForm::AppException(const std::string& message) {
    ++exceptionCount_;
    log_.writelogfile("*****Error***** " + message);
}

void MainForm::WMSysCommand(SysCommand command) {
    if (command == SysCommand::Minimize) minimised_ = true;
    if (command == SysCommand::Maximize || command == SysCommand::Restore) minimised_ = false;
}

void MainForm::FormClose() {
    log_.label("Close TRM");
    presence_->setvolume(savedVolume_);
}

void MainForm::apprestart() {
    log_.label("Restart TRM");
    pending("history database: close the connection");
    ports_.app.startNewInstance(races::getrunpath(games, log_, currentGame, ports_.registry.prefix()));
    form("TForm1").close();
}

void MainForm::closePleaseWait() {
    platform::Window& wait = form("TForm27");
    if (wait.isVisible()) wait.close();
}

} // namespace tarmacia::app
