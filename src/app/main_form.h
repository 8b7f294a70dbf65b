#pragma once
// The main window's state: it owns the client's shared values and runs the
// start-up. The Qt main window only shows it and forwards events.

#include "app/diagnostic_log.h"
#include "app/message_box.h"
#include "app/ports.h"
#include "protocol/dispatcher.h"
#include "protocol/lobby_link.h"
#include "fixes/version.h"
#include "monitor/process_access.h"
#include "monitor/race_monitor.h"
#include "races/hosts_redirect.h"
#include "races/launch.h"
#include "races/race_creation.h"
#include "races/race_list.h"
#include "scan/scanner.h"
#include "settings/languages.h"
#include "settings/game_list.h"
#include "settings/server_directory.h"
#include "settings/settings.h"
#include "settings/settings_deferred_save.h"
#include "settings/settings_sound_page.h"
#include "settings/settings_store.h"
#include "settings/web_hosts.h"

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

// Held by pointer: chat/smileys.h names a member `slots`, which Qt's
// keyword macro would break in the windows that include this header.
namespace tarmacia::chat {
class FlagFetcher;
struct FlagContext;
class SmileySlots;
} // namespace tarmacia::chat

namespace tarmacia::app {

inline constexpr const char* kCaption = "Tarmacia - v5.43 (Build 12)";

// The uninstall entry whose install location names the install folder.
inline constexpr const char* kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarmaciav542_is1";
inline constexpr const char* kWindowsVersionKey =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion";

enum class SysCommand { Minimize, Maximize, Restore, Other };

class MainForm : public protocol::InboundHandlers {
public:
    // Creates every window in the program's order.
    explicit MainForm(Ports ports);
    ~MainForm() override;
    MainForm(const MainForm&) = delete;
    MainForm& operator=(const MainForm&) = delete;

    // Activation of the main window: the whole start-up (steps 6 onwards once).
    void oldButton9Click();

    bool IsAdmin();
    int GetWindows();
    void settrmpath();
    void checktrmfiles();
    std::filesystem::path getmydocuments();
    // The application's handler for exceptions nobody caught.
    void AppException(const std::string& message);
    void WMSysCommand(SysCommand command);
    void FormClose();
    void apprestart();

    int messagebox(const MessageBoxRecord& record) {
        return app::messagebox(ports_.dialogs, log_, record);
    }
    void closePleaseWait();

    // The chat view (app/chat.cpp).
    // Appends a fragment; the first one also closes the please-wait dialog.
    void AppendToWB(const std::string& html);
    void sendmess(const std::string& text);
    // Writes the page skeleton `pageName` + ".htm" into the client folder.
    void writehtml(const std::string& pageName);
    void inetcall();
    void Timer8Timer();
    // The chat view finished loading its page (document complete).
    void chatPageLoaded();
    // An address clicked in the chat view: only web pages are opened.
    void chatLinkClicked(const std::string& url);
    // The chat input and its menus (app/chat.cpp).
    void chatKeyPress(ChatKey key);
    void Whisper1Click(const std::string& target);
    void WhisperClick(const std::string& target);
    void Nudge1Click(const std::string& target);
    void JvImgBtn39Click();
    void Copy1Click();
    void Paste1Click(const std::string& clipboardText);
    // A picture of the smiley palette.
    void ImageClick(int number);
    const chat::SmileySlots& smileys() const { return *smileys_; }

    platform::Window& form(const std::string& name) const;
    DiagnosticLog& log() { return log_; }
    const Ports& ports() const { return ports_; }

    // Shared values (read by the windows and, later, by the other subsystems).
    const std::filesystem::path& clientFolder() const { return clientFolder_; }
    const std::filesystem::path& installFolder() const { return installFolder_; }
    const std::string& windowsVersionName() const { return windowsVersionName_; }
    // Set by the help windows when they are activated.
    bool startupDone() const { return startupDone_; }
    void setStartupDone() { startupDone_ = true; }
    bool minimised() const { return minimised_; }
    int exceptionCount() const { return exceptionCount_; }
    int connectMode = 0;
    int adminFlag = 0;
    int welcomeSeen = 0;
    int historyRowLimit = 0;
    int logoutRequested = 0;
    int styleCounter = 0;
    int mainWindowReady = 0;
    // Completed loads of the chat view. The view's own blank document counts
    // as the first, so the first load of the chat page starts the directory.
    int pageLoads = 1;
    // The automatic font size; the themes compute it from the window.
    int autoFontSize = 10;
    // Detected game versions and the Fix Menu's indicator colours.
    fixes::VersionState versionState;
    fixes::Indicators indicators;
    // The folder of the selected game (scans, launch).
    std::filesystem::path gameFolder;
    std::string noticePrefix;
    std::string noticeSuffix;
    std::string currentGame; // the game code races, scans and history refer to

    // Login state: 0 logged out, 1 connected and login sent, 2 while the
    // "No User Name Selected" box is up.
    int loginState = 0;
    std::string playerName;
    std::string messageName; // the login name taken at connect
    std::string pendingRegistration;
    std::string lobbyWebHost;
    std::string chatMode;
    bool loginPanelOpen = false;
    int joining = 0;
    int raceCounter = 0;
    int raceActive = 0;
    std::string raceToken; // the last "~q~"
    std::string joinedRaceId;     // the race of the last Join press, for result reports
    std::string currentTrackset;  // "default", or the trackset the host gave
    int mixerFlag = 0;            // the High Stakes mixer was found
    int hosting = 0;              // this player created the race
    std::filesystem::path loginFlagPicture; // shown on the login panel

    // Settings values in memory, the game list and the server directory;
    // the stores exist once the client folder is known.
    settings::Settings settings;
    settings::multigame games;
    settings::SettingsStore* settingsStore() { return store_ ? &*store_ : nullptr; }
    settings::ServerDirectory* directory() { return directory_.get(); }
    settings::SoundPage* soundPage() { return soundPage_ ? &*soundPage_ : nullptr; }
    // What the game path editor and the game selector show.
    const settings::GameListViews& gameViews() const { return gameViews_; }

    // The options page: a tick box changed (saved 3 s later, once).
    void optionChanged();
    // Master Reset: asks, deletes the settings files and restarts.
    void MasterResetClick();
    // The game path editor's buttons and the game selector.
    void saveGameClick(const settings::GameEditorInput& input);
    void deleteGameClick(const std::string& code);
    void chooseGame(const std::string& code);
    // The main window moved, was resized, maximised or restored: saved 3 s
    // later, once the main window is ready.
    void screenChanged(const settings::ScreenSettings& screen);
    // The login panel's servers: "Refresh", opening the page (the saved
    // list is read again), the selector, the saved list and the source switch.
    void RefreshServersClick();
    void openServersPage();
    void serverChosen(const std::string& name);
    void savedServerDoubleClicked(int index);
    void setServerSource(bool fromDirectory);

    // Races: the Join button of the details panel, and the race monitor
    // window closing (until the monitor itself is built, closing its window
    // ends the race).
    void JoinClick(const std::string& raceId);
    void raceMonitorClosed();
    races::RaceCreation& creation() { return *creation_; }
    races::GameLaunch& launch() { return *launch_; }
    monitor::RaceMonitor& raceMonitor() { return *monitor_; }
    monitor::ProcessAccess& processAccessForTests() { return *processAccess_; }

    // Login and logout.
    void JvImgBtn1Click();          // the Login / Logout button
    void LoginClick();              // opens the connection
    void LogoutClick();             // the player's logout
    void Timer2Timer();             // keep-alive during a race suspension
    void CheckBox2Click(bool on);   // "Use as Default"
    void JvImgBtn25Click();         // "Reset Login"
    void Edit1Change(const std::string& text); // the login name field
    void setLoginPassword(const std::string& password);
    void loginFieldFocused();       // name or password field got the focus
    // The "Security Question" window closed: the answer, empty for "Close".
    void securityAnswer(const std::string& answer);
    // The "Auto Logout" window: "Yes" (stay) or "No".
    void autoLogoutAnswer(bool stay);
    // Socket events of the lobby connection.
    void ClientSocket1Connecting();
    void ClientSocketConnect();
    void ClientSocket1Error(const std::string& message);
    void ClientSocket1Disconnect();
    void ClientSocketReadEvent();
    // Sends one lobby message on the lobby connection.
    void send(const std::string& message) { link_.send(message); }

    // Inbound lobby messages.
    void notice(int titleString, const std::string& payload, std::size_t bound) override;
    void makesound(int number) override;
    void closerace() override;
    void showchat(const std::string& payload) override;
    void listuser(const std::string& payload) override;
    void showuser(const std::string& payload) override;
    void clearracelist() override;
    void showracers(const std::string& payload) override;
    void showrace(const std::string& payload) override;
    void norace() override;
    void updateteam(const std::string& payload) override;
    void showteam(const std::string& payload) override;
    void setteam(const std::string& payload) override;
    void ipsetup(const std::string& payload) override;
    void racehostmode(const std::string& payload) override;
    void doweekly(const std::string& payload) override;
    void logout(const std::string& reason) override;
    void raceTime(const std::string& text) override;
    void sleeper() override;
    void setpchange(const std::string& payload) override;
    void setpval(const std::string& payload) override;
    void whisshow(const std::string& payload) override;
    void tracklist(const std::string& payload) override;
    void trackset(const std::string& payload) override;
    void passset(const std::string& payload) override;
    void storeRaceToken(const std::string& payload) override;

    const settings::LanguageStrings& lang() const { return lang_; }
    chat::Presence& presence() { return *presence_; }
    races::RaceList& races() { return *races_; }
    scan::Scanner& scanner() { return *scanner_; }
    // The scan buttons: "PU", "HS", "HP", and "XX" for "Reset".
    void scanButtonClick(const std::string& game);
    // Version detection of a scanned executable; the status report.
    void setversion(const std::string& versionText);
    void showbox();
    // The lobby's web site, ending in "/".
    std::string websiteAddress() const;
    bool loggedIn() const { return loginState == 1; }
    bool lobbyConnected() const { return lobbySocket_ && lobbySocket_->isConnected(); }

private:
    void startOnce();
    void styleChoices();
    void readSettings();
    void startScanner();
    void startRaces();
    void startMonitor();
    void openRaceMonitor();
    void readGameList();
    void showGameList();
    void setlang();
    void openLoginPanel();
    void endSuspension();
    void startLoginTimers();
    std::int32_t todayMidnight() const;
    void startDirectory();
    void applyStyle();
    chat::FlagContext flagContext();
    std::string cellStyle(const std::string& colour, bool familyWithAutoSize) const;
    void logAndAppend(const std::string& html);
    void sendChatLine(const ChatInput& input);

    Ports ports_;
    DiagnosticLog log_;
    std::map<std::string, platform::Window*> forms_;
    std::optional<settings::SettingsStore> store_;
    std::optional<settings::GameListStore> gameStore_;
    std::unique_ptr<settings::ServerDirectory> directory_;
    std::optional<settings::SoundPage> soundPage_;
    std::optional<settings::DeferredSave> optionsSave_;
    std::unique_ptr<platform::Timer> screenSave_;
    settings::GameListViews gameViews_;
    settings::LanguageStrings lang_;
    protocol::Dispatcher dispatcher_{*this, log_};
    std::unique_ptr<platform::TcpClient> lobbySocket_;
    protocol::LobbyLink link_;
    settings::ServerEntry server_; // the server of the current login
    std::unique_ptr<platform::Timer> keepAlive_;
    std::unique_ptr<platform::Timer> pleaseWaitClose_;
    std::unique_ptr<platform::Timer> idleAnswer_;
    std::unique_ptr<platform::Timer> pageLoad_;
    std::unique_ptr<chat::FlagFetcher> flagFetcher_;
    std::unique_ptr<chat::Presence> presence_;
    std::unique_ptr<races::RaceList> races_;
    chat::Volume savedVolume_; // restored at close
    std::unique_ptr<scan::ScanHost> scanHost_;
    std::unique_ptr<scan::Scanner> scanner_;
    std::string clientChecksum_; // of this program, sent to the scan server
    friend class ScanBridge;
    std::unique_ptr<races::HostsRedirect> hostsRedirect_;
    std::unique_ptr<races::LaunchHost> launchHost_;
    std::unique_ptr<races::GameLaunch> launch_;
    std::unique_ptr<races::CreationHost> creationHost_;
    std::unique_ptr<races::RaceCreation> creation_;
    friend class LaunchBridge;
    std::unique_ptr<monitor::ProcessAccessHost> processAccessHost_;
    std::unique_ptr<monitor::ProcessAccess> processAccess_;
    std::unique_ptr<monitor::MonitorHost> monitorHost_;
    std::unique_ptr<monitor::RaceMonitor> monitor_;
    bool closingMonitor_ = false;
    friend class ProcessAccessBridge;
    friend class MonitorBridge;
    friend class CreationBridge;
    std::unique_ptr<chat::SmileySlots> smileys_;
    bool socketOpen_ = false; // connecting or connected
    bool suspended_ = false;  // the main window is hidden for a race
    settings::WebHosts webHosts_;
    protocol::PrefixSource prefixSource_ = protocol::randomPrefixSource();
    std::filesystem::path clientFolder_;
    std::filesystem::path installFolder_;
    std::string windowsVersionName_;
    bool startupRan_ = false;
    bool startupDone_ = false;
    bool minimised_ = false;
    int exceptionCount_ = 0;
};

using TForm1 = MainForm;

} // namespace tarmacia::app
