#pragma once
// What the core asks of the main window's widgets. The Qt main window
// implements it; tests use the fake.

#include "settings/game_list.h"
#include "settings/settings.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tarmacia::app {

struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

class MainView {
public:
    virtual ~MainView() = default;
    // The eight toolbar icons in order: login/servers, settings, help,
    // colours, fonts, sounds, scans/history, master reset.
    virtual void setToolbarIcons(const std::vector<std::filesystem::path>& icons) = 0;
    virtual void setFontSizeChoices(const std::vector<std::string>& choices) = 0;
    virtual void setStyleChoices(const std::vector<std::string>& choices) = 0;
    virtual void focusChatInput() = 0;
    // A system line ("[df]...") at the end of the chat view.
    virtual void appendChatLine(const std::string& line) = 0;
    // The login panel's server selector: its items and the text it shows.
    virtual void setServerSelector(const std::vector<std::string>& items,
                                   const std::string& shown) = 0;
    // The saved window state and geometry.
    virtual void applyScreen(const settings::ScreenSettings& screen) = 0;
    // The settings pages show the values again (after start-up reads them).
    virtual void settingsChanged() = 0;
    // The game path editor and the game selector show the list again.
    virtual void gameListChanged() = 0;

    // Markup the client builds itself (never text from players), at the end
    // of the chat view.
    virtual void appendChatHtml(const std::string& html) = 0;
    virtual void setUsers(const std::vector<std::string>& users) = 0;
    // The caption of the "Race Time" header.
    virtual void setRaceTime(const std::string& caption) = 0;
    // The login panel: open or closed, and its fields shown again from the
    // core (name, password, "Use as Default", flag picture).
    virtual void showLoginPanel(bool open) = 0;
    virtual void loginFieldsChanged() = 0;
    // The login button reads "Logout" while logged in.
    virtual void setLoggedIn(bool loggedIn) = 0;
    virtual void closePages() = 0;
    virtual Rect windowRect() const = 0;
    // The "Security Question" window's question; its answer comes back
    // through MainForm::securityAnswer.
    virtual void setSecurityQuestion(const std::string& question) = 0;
};

} // namespace tarmacia::app
