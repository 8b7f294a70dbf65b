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
    std::vector<std::string> chatHtml;
    std::vector<std::string> users;
    std::string raceTime;
    bool loginPanelOpen = false;
    int loginFieldsShown = 0;
    bool loggedIn = false;
    int pagesClosed = 0;
    app::Rect rect{100, 50, 800, 600};
    std::string securityQuestion;

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
    void appendChatHtml(const std::string& html) override { chatHtml.push_back(html); }
    void setUsers(const std::vector<std::string>& list) override { users = list; }
    void setRaceTime(const std::string& caption) override { raceTime = caption; }
    void showLoginPanel(bool open) override { loginPanelOpen = open; }
    void loginFieldsChanged() override { ++loginFieldsShown; }
    void setLoggedIn(bool on) override { loggedIn = on; }
    void closePages() override { ++pagesClosed; }
    app::Rect windowRect() const override { return rect; }
    void setSecurityQuestion(const std::string& question) override { securityQuestion = question; }
};

} // namespace tarmacia::platform::fake
