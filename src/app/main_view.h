#pragma once
// What the core asks of the main window's widgets. The Qt main window
// implements it; tests use the fake.

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
};

} // namespace tarmacia::app
