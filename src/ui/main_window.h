#pragma once
// The main window: chat view, user list, chat input and the toolbar. It
// shows what the core tells it and forwards the player's actions.

#include "app/main_view.h"

#include <QMainWindow>

#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QDockWidget;
class QTabWidget;
class QVBoxLayout;
class QTextBrowser;
class QToolBar;
class QToolButton;

namespace tarmacia::ui {

class ChatInput;
class SecurityQuestion;
class UserList;
class AwardsPanel;
class RaceStrip;
class RaceDetailsPanel;
class RaceCreationPanel;
class SmileyPalette;

class MainWindow : public QMainWindow, public app::MainView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Forwarded to the core.
    std::function<void()> activated;
    std::function<void(bool minimised)> minimisedChanged;
    std::function<void(const settings::ScreenSettings&)> screenChanged;
    std::function<void()> masterReset;
    std::function<void()> loginButton;
    std::function<void()> createRaceButton;
    // The chat view and the chat input.
    std::function<void()> chatPageLoaded;
    std::function<void(const std::string& url)> chatLinkClicked;
    std::function<void(app::ChatKey)> chatKey;
    std::function<void()> copyChat;
    std::function<void(const std::string& clipboardText)> pasteChat;
    std::function<void(int number)> smileyPicked;
    // The picture file of a smiley number, for the palette.
    std::function<std::filesystem::path(int number)> smileyPicture;

    // A page of the options panel, opened by the toolbar action of that name
    // ("Login", "Settings", "Sounds", ...). `refresh` shows the core's values
    // again; it runs whenever the core says they changed. `open`, when given,
    // runs first each time the player opens the page.
    void addPage(const QString& action, const QString& title, QWidget* page,
                 std::function<void()> refresh, std::function<void()> open = {});
    void showPage(const QString& action);

    void setToolbarIcons(const std::vector<std::filesystem::path>& icons) override;
    void setFontSizeChoices(const std::vector<std::string>& choices) override;
    void setStyleChoices(const std::vector<std::string>& choices) override;
    void focusChatInput() override;
    void applyScreen(const settings::ScreenSettings& screen) override;
    void settingsChanged() override;
    void gameListChanged() override;
    void appendChatHtml(const std::string& html) override;
    void addUser(const std::string& itemText) override;
    void clearUsers() override;
    void flagsArrived() override;
    void setAwards(const std::array<chat::AwardView, chat::kAwardLists>& entries) override;
    void racesChanged() override;
    void scanChanged() override;
    void creationChanged() override;
    void setMonitorText(const std::string& text) override;
    std::function<void(const std::string&)> monitorText;
    void setCreationPanel(RaceCreationPanel* panel);
    void setFlagSizes(int userWidth, int userHeight, int raceWidth, int raceHeight) override;
    void closeRacePanels() override;

    UserList* userList() const { return userList_; }
    AwardsPanel* awardsPanel() const { return awards_; }
    // The race strip and details panel exist once the core's race list does.
    void setRaceWidgets(RaceStrip* strip, RaceDetailsPanel* details);
    void setRaceTime(const std::string& caption) override;
    void showLoginPanel(bool open) override;
    void loginFieldsChanged() override;
    void setLoggedIn(bool loggedIn) override;
    void closePages() override;
    app::Rect windowRect() const override;
    void setSecurityQuestion(const std::string& question) override;

    void loadChatPage(const std::filesystem::path& page) override;
    void enableLoginButton() override;
    app::ChatInput chatInput() const override;
    void clearChatInput() override;
    int insertChatPicture(const std::filesystem::path& picture) override;
    void addChatInputLine(const std::string& text) override;
    void copyChatSelection() override;

    void setSecurityWindow(SecurityQuestion* window) { security_ = window; }
    void setServerSelector(const std::vector<std::string>& items,
                           const std::string& shown) override;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Page {
        QString action;
        QWidget* widget;
        std::function<void()> refresh;
        std::function<void()> open;
    };
    void reportScreen();
    void refreshPages();

    QToolBar* toolbar_;
    QPushButton* login_;
    QLabel* raceTime_;
    SecurityQuestion* security_ = nullptr;
    QDockWidget* panel_;
    QTabWidget* pages_;
    std::vector<Page> pageList_;
    bool applyingScreen_ = false;
    QTextBrowser* chatView_;
    UserList* userList_;
    AwardsPanel* awards_;
    QVBoxLayout* raceArea_;
    RaceStrip* raceStrip_ = nullptr;
    RaceDetailsPanel* raceDetails_ = nullptr;
    RaceCreationPanel* creationPanel_ = nullptr;
    ChatInput* chatInput_;
    QToolButton* smileys_;
    QComboBox* fontSize_;
    QComboBox* style_;
};

} // namespace tarmacia::ui
