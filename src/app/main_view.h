#pragma once
// What the core asks of the main window's widgets. The Qt main window
// implements it; tests use the fake.

#include "chat/presence.h"
#include "settings/game_list.h"
#include "settings/settings.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tarmacia::app {

// The keys of the chat input the core acts on; every other key is the input's.
enum class ChatKey { Enter, Backspace, Delete };

// What the chat input holds when the core asks.
struct ChatInput {
    std::string text; // UTF-8; each inserted picture stands as U+FFFC
    std::vector<std::filesystem::path> pictures; // the inserted picture files, in text order
    int caret = 0;    // in characters of `text`
};

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
    // The login panel's server selector: its items and the text it shows.
    virtual void setServerSelector(const std::vector<std::string>& items,
                                   const std::string& shown) = 0;
    // The saved window state and geometry.
    virtual void applyScreen(const settings::ScreenSettings& screen) = 0;
    // The settings pages show the values again (after start-up reads them).
    virtual void settingsChanged() = 0;
    // The game path editor and the game selector show the list again.
    virtual void gameListChanged() = 0;

    // An HTML fragment at the end of the chat view, scrolled into sight. The
    // core escapes what players wrote before it gets here.
    virtual void appendChatHtml(const std::string& html) = 0;
    // Loads the chat page file into the chat view; when it has loaded, the
    // view calls MainForm::chatPageLoaded. Nothing else is ever loaded there.
    virtual void loadChatPage(const std::filesystem::path& page) = 0;
    virtual void enableLoginButton() = 0;
    // The chat input.
    virtual ChatInput chatInput() const = 0;
    virtual void clearChatInput() = 0;
    // Inserts the picture at the caret; answers the caret position after it.
    virtual int insertChatPicture(const std::filesystem::path& picture) = 0;
    // Adds a line of plain text at the end of the input.
    virtual void addChatInputLine(const std::string& text) = 0;
    virtual void copyChatSelection() = 0;
    // The user list: one entry more, or none.
    virtual void addUser(const std::string& itemText) = 0;
    virtual void clearUsers() = 0;
    // A flag picture arrived from the lobby: lists draw their flags again.
    virtual void flagsArrived() = 0;
    // The awards panel's first entries.
    virtual void setAwards(const std::array<chat::AwardView, chat::kAwardLists>& entries) = 0;
    // Flag sizes of the user list and chat, and of the race tiles.
    virtual void setFlagSizes(int userWidth, int userHeight, int raceWidth, int raceHeight) = 0;
    // The race monitor's window text.
    virtual void setMonitorText(const std::string& text) = 0;
    // The race-creation panel shows the creation again.
    virtual void creationChanged() = 0;
    // The scan page shows the scan's progress, failed files and errors again.
    virtual void scanChanged() = 0;
    // The race strip and the details panel show the race list again.
    virtual void racesChanged() = 0;
    // The selected race was not announced again: the details panel and the
    // awards panel close.
    virtual void closeRacePanels() = 0;
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
