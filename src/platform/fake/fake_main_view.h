#pragma once

#include "app/main_view.h"

#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace tarmacia::platform::fake {

class FakeMainView : public app::MainView {
public:
    std::vector<std::filesystem::path> toolbarIcons;
    std::vector<std::string> fontSizeChoices;
    std::vector<std::string> styleChoices;
    int chatFocus = 0;
    std::vector<std::string> serverItems;
    std::string serverShown;
    std::vector<settings::ScreenSettings> screens;
    int settingsShown = 0;
    int gameListShown = 0;
    std::vector<std::string> chatHtml;
    std::vector<std::string> users;
    int flagArrivals = 0;
    std::array<chat::AwardView, chat::kAwardLists> awards{};
    int raceRefreshes = 0;
    int scanRefreshes = 0;
    int creationRefreshes = 0;
    std::string monitorText;
    std::array<int, 4> flagSizes{};
    int racePanelCloses = 0;
    std::string raceTime;
    bool loginPanelOpen = false;
    int loginFieldsShown = 0;
    bool loggedIn = false;
    int pagesClosed = 0;
    app::Rect rect{100, 50, 800, 600};
    std::string securityQuestion;
    std::vector<std::filesystem::path> loadedPages;
    int loginEnabled = 0;
    app::ChatInput input;
    int inputCleared = 0;
    std::vector<std::string> inputLines;
    int copies = 0;

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
    void setServerSelector(const std::vector<std::string>& items,
                           const std::string& shown) override {
        serverItems = items;
        serverShown = shown;
    }
    void applyScreen(const settings::ScreenSettings& screen) override { screens.push_back(screen); }
    void settingsChanged() override { ++settingsShown; }
    void gameListChanged() override { ++gameListShown; }
    void appendChatHtml(const std::string& html) override { chatHtml.push_back(html); }
    void addUser(const std::string& itemText) override { users.push_back(itemText); }
    void clearUsers() override { users.clear(); }
    void flagsArrived() override { ++flagArrivals; }
    void setAwards(const std::array<chat::AwardView, chat::kAwardLists>& entries) override {
        awards = entries;
    }
    void racesChanged() override { ++raceRefreshes; }
    void scanChanged() override { ++scanRefreshes; }
    void creationChanged() override { ++creationRefreshes; }
    void setMonitorText(const std::string& text) override { monitorText = text; }
    void setFlagSizes(int uw, int uh, int rw, int rh) override { flagSizes = {uw, uh, rw, rh}; }
    void closeRacePanels() override { ++racePanelCloses; }
    void setRaceTime(const std::string& caption) override { raceTime = caption; }
    void showLoginPanel(bool open) override { loginPanelOpen = open; }
    void loginFieldsChanged() override { ++loginFieldsShown; }
    void setLoggedIn(bool on) override { loggedIn = on; }
    void closePages() override { ++pagesClosed; }
    app::Rect windowRect() const override { return rect; }
    void setSecurityQuestion(const std::string& question) override { securityQuestion = question; }
    void loadChatPage(const std::filesystem::path& page) override { loadedPages.push_back(page); }
    void enableLoginButton() override { ++loginEnabled; }
    app::ChatInput chatInput() const override { return input; }
    void clearChatInput() override {
        input = {};
        ++inputCleared;
    }
    // Pictures go in at the caret as U+FFFC, as the real input shows them.
    int insertChatPicture(const std::filesystem::path& picture) override {
        input.text.insert(byteOffset(input.caret), "\xEF\xBF\xBC");
        input.pictures.push_back(picture);
        return ++input.caret;
    }
    void addChatInputLine(const std::string& text) override { inputLines.push_back(text); }
    void copyChatSelection() override { ++copies; }

    // What the player reads of each appended fragment: the markup gone, the
    // entities read back, blanks folded; pictures show as their file name
    // in brackets, so a test can tell which flag or smiley stood where.
    std::vector<std::string> chatTexts() const {
        std::vector<std::string> out;
        for (const auto& html : chatHtml) out.push_back(visibleText(html));
        return out;
    }
    static std::string visibleText(const std::string& html);

private:
    std::size_t byteOffset(int chars) const {
        std::size_t i = 0;
        for (int n = 0; n < chars && i < input.text.size(); ++n) {
            ++i;
            while (i < input.text.size() && (static_cast<unsigned char>(input.text[i]) & 0xC0) == 0x80) ++i;
        }
        return i;
    }
};

inline std::string FakeMainView::visibleText(const std::string& html) {
    std::string text;
    for (std::size_t i = 0; i < html.size();) {
        if (html[i] == '<') {
            const std::size_t end = html.find('>', i);
            const std::string tag = html.substr(i, end == std::string::npos ? std::string::npos : end - i);
            std::string lower;
            for (char c : tag) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (lower.rfind("<img", 0) == 0) {
                const std::size_t src = lower.find("src=\"");
                if (src != std::string::npos) {
                    const std::size_t close = tag.find('"', src + 5);
                    const std::string file = tag.substr(src + 5, close - src - 5);
                    const std::size_t slash = file.find_last_of("/\\");
                    text += " {" + (slash == std::string::npos ? file : file.substr(slash + 1)) + "} ";
                }
            }
            text += ' '; // cells and breaks part words
            if (end == std::string::npos) break;
            i = end + 1;
            continue;
        }
        if (html[i] == '&') {
            static const std::pair<const char*, char> kEntities[] = {
                {"&lt;", '<'}, {"&gt;", '>'}, {"&amp;", '&'}, {"&quot;", '"'}, {"&#39;", '\''}, {"&#x27;", '\''}};
            bool found = false;
            for (const auto& [name, c] : kEntities) {
                if (html.compare(i, std::char_traits<char>::length(name), name) == 0) {
                    text += c;
                    i += std::char_traits<char>::length(name);
                    found = true;
                    break;
                }
            }
            if (found) continue;
        }
        text += html[i++];
    }
    std::string folded;
    for (char c : text) {
        const bool blank = c == ' ' || c == '\r' || c == '\n' || c == '\t';
        if (blank && (folded.empty() || folded.back() == ' ')) continue;
        folded += blank ? ' ' : c;
    }
    while (!folded.empty() && folded.back() == ' ') folded.pop_back();
    return folded;
}

} // namespace tarmacia::platform::fake
