#pragma once

#include "app/main_view.h"

namespace tarmacia::platform::fake {

class FakeMainView : public app::MainView {
public:
    std::vector<std::filesystem::path> toolbarIcons;
    std::vector<std::string> fontSizeChoices;
    std::vector<std::string> styleChoices;
    int chatFocus = 0;
    std::vector<std::string> chatLines;
    std::vector<std::string> serverItems;
    std::string serverShown;
    std::vector<settings::ScreenSettings> screens;
    int settingsShown = 0;
    int gameListShown = 0;

    void setToolbarIcons(const std::vector<std::filesystem::path>& icons) override {
        toolbarIcons = icons;
    }
    void setFontSizeChoices(const std::vector<std::string>& choices) override {
        fontSizeChoices = choices;
    }
    void setStyleChoices(const std::vector<std::string>& choices) override {
        styleChoices = choices;
    }
    void focusChatInput() override { ++chatFocus; }
    void appendChatLine(const std::string& line) override { chatLines.push_back(line); }
    void setServerSelector(const std::vector<std::string>& items,
                           const std::string& shown) override {
        serverItems = items;
        serverShown = shown;
    }
    void applyScreen(const settings::ScreenSettings& screen) override { screens.push_back(screen); }
    void settingsChanged() override { ++settingsShown; }
    void gameListChanged() override { ++gameListShown; }
};

} // namespace tarmacia::platform::fake
