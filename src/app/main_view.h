#pragma once
// What the core asks of the main window's widgets. The Qt main window
// implements it; tests use the fake.

#include "settings/game_list.h"
#include "settings/settings.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tarmacia::app {

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
};

} // namespace tarmacia::app
