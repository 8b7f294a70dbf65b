#pragma once
// The main window: chat view, user list, chat input and the toolbar. It
// shows what the core tells it and forwards the player's actions.

#include "app/main_view.h"

#include <QMainWindow>

#include <functional>

class QComboBox;
class QListWidget;
class QTextBrowser;
class QTextEdit;
class QToolBar;

namespace tarmacia::ui {

class MainWindow : public QMainWindow, public app::MainView {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);

    // Forwarded to the core.
    std::function<void()> activated;
    std::function<void(bool minimised)> minimisedChanged;

    void setToolbarIcons(const std::vector<std::filesystem::path>& icons) override;
    void setFontSizeChoices(const std::vector<std::string>& choices) override;
    void setStyleChoices(const std::vector<std::string>& choices) override;
    void focusChatInput() override;
    void appendChatLine(const std::string& line) override;
    void setServerSelector(const std::vector<std::string>& items,
                           const std::string& shown) override;

protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QToolBar* toolbar_;
    QTextBrowser* chatView_;
    QListWidget* userList_;
    QTextEdit* chatInput_;
    QComboBox* fontSize_;
    QComboBox* style_;
    QComboBox* server_;
};

} // namespace tarmacia::ui
