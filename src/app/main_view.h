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
};

} // namespace tarmacia::app
