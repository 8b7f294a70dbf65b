#pragma once
// The main window's state: it owns the client's shared values and runs the
// start-up. The Qt main window only shows it and forwards events.

#include "app/diagnostic_log.h"
#include "app/message_box.h"
#include "app/ports.h"
#include "settings/game_list.h"
#include "settings/server_directory.h"
#include "settings/settings.h"
#include "settings/settings_deferred_save.h"
#include "settings/settings_sound_page.h"
#include "settings/settings_store.h"

#include <array>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

namespace tarmacia::app {

inline constexpr const char* kCaption = "Tarmacia - v5.43 (Build 12)";

// The uninstall entry whose install location names the install folder.
inline constexpr const char* kUninstallKey =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tarmaciav542_is1";
inline constexpr const char* kWindowsVersionKey =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows NT\\CurrentVersion";

enum class SysCommand { Minimize, Maximize, Restore, Other };

class MainForm {
public:
    // Creates every window in the program's order.
    explicit MainForm(Ports ports);
    ~MainForm();
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
    // A system line ("[df]...") in the chat view; the first text the chat
    // view gets also closes the please-wait dialog.
    void systemLine(const std::string& line);

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
    std::array<std::string, 3> gameVersions; // PU, HS, HP as detected
    std::string noticePrefix;
    std::string noticeSuffix;
    std::string currentGame; // the game code races, scans and history refer to

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

private:
    void startOnce();
    void styleChoices();
    void readSettings();
    void readGameList();
    void showGameList();
    void startDirectory();

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
