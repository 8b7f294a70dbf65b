#include "ui/main_window.h"
#include "ui/named.h"

#include "platform/guard.h"
#include "ui/chat_input.h"
#include "ui/question_windows.h"
#include "ui/smiley_palette.h"

#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QTabWidget>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include "ui/awards_panel.h"
#include "ui/race_creation_panel.h"
#include "ui/race_strip.h"
#include "ui/user_list.h"
#include <QPushButton>
#include <QRegularExpression>
#include <QSplitter>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QWidgetAction>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

namespace tarmacia::ui {

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    toolbar_ = named(addToolBar(QStringLiteral("Toolbar")), QStringLiteral("Toolbar"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* header = new QHBoxLayout;
    raceTime_ = named(new QLabel(central), QStringLiteral("Race Time"));
    login_ = named(new QPushButton(QStringLiteral("Login"), central), QStringLiteral("Login"));
    auto* createRace =
        named(new QPushButton(QStringLiteral("Create Race"), central), QStringLiteral("Create Race"));
    header->addWidget(raceTime_, 1);
    header->addWidget(createRace);
    header->addWidget(login_);
    connect(createRace, &QPushButton::clicked, this, [this] {
        if (createRaceButton) platform::guarded(createRaceButton);
    });
    layout->addLayout(header);
    connect(login_, &QPushButton::clicked, this, [this] {
        if (loginButton) platform::guarded(loginButton);
    });
    raceArea_ = new QVBoxLayout;
    layout->addLayout(raceArea_);
    auto* split = new QSplitter(Qt::Horizontal, central);
    chatView_ = named(new QTextBrowser(split), QStringLiteral("Chat"));
    // The view never follows a link itself: the core decides what opens.
    chatView_->setOpenLinks(false);
    chatView_->setOpenExternalLinks(false);
    connect(chatView_, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        if (chatLinkClicked) platform::guarded([&] { chatLinkClicked(url.toString().toStdString()); });
    });
    auto* people = new QWidget(split);
    auto* peopleLayout = new QVBoxLayout(people);
    peopleLayout->setContentsMargins(0, 0, 0, 0);
    userList_ = named(new UserList(people), QStringLiteral("Users"));
    peopleLayout->addWidget(userList_, 1);
    // Shown above the chat once the lobby sends its awards.
    awards_ = new AwardsPanel(central);
    awards_->hide();
    raceArea_->addWidget(awards_);
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    auto* inputRow = new QHBoxLayout;
    chatInput_ = named(new ChatInput(central), QStringLiteral("Chat Input"));
    chatInput_->setFixedHeight(56);
    chatInput_->keyPressed = [this](app::ChatKey key) {
        if (chatKey) chatKey(key);
    };
    chatInput_->copyClicked = [this] {
        if (copyChat) copyChat();
    };
    chatInput_->pasteClicked = [this] {
        if (pasteChat) pasteChat(QApplication::clipboard()->text().toStdString());
    };
    inputRow->addWidget(chatInput_, 1);
    smileys_ = named(new QToolButton(central), QStringLiteral("Smileys"));
    smileys_->setText(QStringLiteral("Smileys"));
    smileys_->setPopupMode(QToolButton::InstantPopup);
    auto* smileyMenu = new QMenu(smileys_);
    auto* palette = new SmileyPalette(
        [this](int number) { return smileyPicture ? smileyPicture(number) : std::filesystem::path(); },
        smileyMenu);
    palette->picked = [this, smileyMenu](int number) {
        smileyMenu->close();
        if (smileyPicked) platform::guarded([&] { smileyPicked(number); });
    };
    auto* paletteAction = new QWidgetAction(smileyMenu);
    paletteAction->setDefaultWidget(palette);
    smileyMenu->addAction(paletteAction);
    smileys_->setMenu(smileyMenu);
    inputRow->addWidget(smileys_);
    auto* options = new QVBoxLayout;
    fontSize_ = named(new QComboBox(central), QStringLiteral("Font Size"));
    style_ = named(new QComboBox(central), QStringLiteral("Style"));
    options->addWidget(fontSize_);
    options->addWidget(style_);
    inputRow->addLayout(options);
    layout->addLayout(inputRow);
    setCentralWidget(central);

    panel_ = named(new QDockWidget(QStringLiteral("Options"), this), QStringLiteral("Options Panel"));
    panel_->setFeatures(QDockWidget::DockWidgetClosable);
    pages_ = named(new QTabWidget(panel_), QStringLiteral("Options Pages"));
    panel_->setWidget(pages_);
    // Beside the chat, not over it: the lobby stays readable while a page is open.
    panel_->setMaximumWidth(380);
    addDockWidget(Qt::RightDockWidgetArea, panel_);
    panel_->hide();
    resize(1000, 700);
}

void MainWindow::addPage(const QString& action, const QString& title, QWidget* page,
                         std::function<void()> refresh, std::function<void()> open) {
    page->setObjectName(title);
    page->setAccessibleName(title);
    pages_->addTab(page, title);
    pageList_.push_back({action, page, std::move(refresh), std::move(open)});
}

void MainWindow::showPage(const QString& action) {
    for (const Page& page : pageList_) {
        if (page.action != action) continue;
        if (page.open) platform::guarded(page.open);
        if (page.refresh) platform::guarded(page.refresh);
        pages_->setCurrentWidget(page.widget);
        panel_->show();
        return;
    }
}

void MainWindow::closePages() { panel_->hide(); }

void MainWindow::refreshPages() {
    for (const Page& page : pageList_)
        if (page.refresh) platform::guarded(page.refresh);
}

void MainWindow::settingsChanged() { refreshPages(); }
void MainWindow::loginFieldsChanged() { refreshPages(); }

// The lobby's tables name colours as bare hex digits (bgcolor = "FF0000"),
// as old browsers accepted; Qt's HTML wants the "#".
static QString withHashColours(QString html) {
    static const QRegularExpression bare(
        QStringLiteral("(bgcolor\\s*=\\s*\")([0-9A-Fa-f]{6}\")"),
        QRegularExpression::CaseInsensitiveOption);
    return html.replace(bare, QStringLiteral("\\1#\\2"));
}

void MainWindow::appendChatHtml(const std::string& html) {
    QTextCursor end(chatView_->document());
    end.movePosition(QTextCursor::End);
    end.insertHtml(withHashColours(QString::fromStdString(html)));
    QScrollBar* bar = chatView_->verticalScrollBar();
    bar->setValue(bar->maximum());
}

void MainWindow::loadChatPage(const std::filesystem::path& page) {
    chatView_->setSource(QUrl::fromLocalFile(QString::fromStdString(page.string())));
    chatView_->document()->setDocumentMargin(1);
    // Reported as a document would complete: after this call has returned.
    QTimer::singleShot(0, this, [this] {
        if (chatPageLoaded) platform::guarded(chatPageLoaded);
    });
}

void MainWindow::enableLoginButton() { login_->setEnabled(true); }

app::ChatInput MainWindow::chatInput() const { return chatInput_->state(); }

void MainWindow::clearChatInput() { chatInput_->clear(); }

int MainWindow::insertChatPicture(const std::filesystem::path& picture) {
    return chatInput_->insertPicture(picture);
}

void MainWindow::addChatInputLine(const std::string& text) {
    chatInput_->addLine(QString::fromStdString(text));
}

void MainWindow::copyChatSelection() { chatInput_->copy(); }

void MainWindow::addUser(const std::string& itemText) { userList_->appendUser(itemText); }
void MainWindow::clearUsers() { userList_->clearUsers(); }
void MainWindow::flagsArrived() { userList_->refreshFlags(); }

void MainWindow::setAwards(const std::array<chat::AwardView, chat::kAwardLists>& entries) {
    awards_->setEntries(entries);
    awards_->show();
}

void MainWindow::setRaceWidgets(RaceStrip* strip, RaceDetailsPanel* details) {
    raceStrip_ = strip;
    raceDetails_ = details;
    raceArea_->insertWidget(0, strip);
    raceArea_->insertWidget(1, details);
    racesChanged();
}

void MainWindow::racesChanged() {
    if (raceStrip_) raceStrip_->refresh();
    if (raceDetails_) raceDetails_->refresh();
}

void MainWindow::setFlagSizes(int userWidth, int userHeight, int raceWidth, int raceHeight) {
    userList_->setFlagSize(QSize(userWidth, userHeight));
    if (raceStrip_) raceStrip_->setFlagSize(raceWidth, raceHeight);
}

void MainWindow::scanChanged() { refreshPages(); }

void MainWindow::setCreationPanel(RaceCreationPanel* panel) {
    creationPanel_ = panel;
    raceArea_->addWidget(panel);
    panel->refresh();
}

void MainWindow::setMonitorText(const std::string& text) {
    if (monitorText) monitorText(text);
}

void MainWindow::creationChanged() {
    if (creationPanel_) creationPanel_->refresh();
}

void MainWindow::closeRacePanels() {
    if (raceDetails_) raceDetails_->refresh();
    awards_->hide();
}

void MainWindow::setRaceTime(const std::string& caption) {
    raceTime_->setText(QString::fromStdString(caption));
}

void MainWindow::showLoginPanel(bool open) {
    if (open)
        showPage(QStringLiteral("Login"));
    else
        closePages();
}

void MainWindow::setLoggedIn(bool loggedIn) {
    const QString caption = loggedIn ? QStringLiteral("Logout") : QStringLiteral("Login");
    login_->setText(caption);
    login_->setAccessibleName(caption);
}

app::Rect MainWindow::windowRect() const {
    const QRect g = geometry();
    return {g.left(), g.top(), g.width(), g.height()};
}

void MainWindow::setSecurityQuestion(const std::string& question) {
    if (security_) security_->setQuestion(QString::fromStdString(question));
}
void MainWindow::gameListChanged() { refreshPages(); }

void MainWindow::applyScreen(const settings::ScreenSettings& screen) {
    applyingScreen_ = true;
    if (screen.state == settings::WindowState::Maximized) {
        showMaximized();
    } else if (screen.state == settings::WindowState::Normal) {
        setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
        setGeometry(screen.left, screen.top, screen.width, screen.height);
    }
    applyingScreen_ = false;
}

void MainWindow::reportScreen() {
    if (applyingScreen_ || !screenChanged) return;
    settings::ScreenSettings screen;
    screen.state = isMaximized() ? settings::WindowState::Maximized : settings::WindowState::Normal;
    const QRect g = geometry();
    screen.left = g.left();
    screen.top = g.top();
    screen.width = g.width();
    screen.height = g.height();
    platform::guarded([&] { screenChanged(screen); });
}

void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    reportScreen();
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    reportScreen();
}

void MainWindow::setToolbarIcons(const std::vector<std::filesystem::path>& icons) {
    static const char* const kNames[] = {"Login",  "Settings", "Help",  "Colours",
                                         "Fonts",  "Sounds",   "Scans", "Master Reset"};
    toolbar_->clear();
    for (std::size_t i = 0; i < icons.size() && i < std::size(kNames); ++i) {
        const QString name = QString::fromLatin1(kNames[i]);
        QAction* action = toolbar_->addAction(QIcon(QString::fromStdString(icons[i].string())), name);
        action->setObjectName(name);
        if (name == QLatin1String("Master Reset")) {
            connect(action, &QAction::triggered, this, [this] {
                if (masterReset) platform::guarded(masterReset);
            });
        } else {
            connect(action, &QAction::triggered, this, [this, name] { showPage(name); });
        }
    }
}

void MainWindow::setFontSizeChoices(const std::vector<std::string>& choices) {
    fontSize_->clear();
    for (const auto& c : choices) fontSize_->addItem(QString::fromStdString(c));
}

void MainWindow::setStyleChoices(const std::vector<std::string>& choices) {
    style_->clear();
    for (const auto& c : choices) style_->addItem(QString::fromStdString(c));
}

void MainWindow::focusChatInput() { chatInput_->setFocus(); }

// The login page reads the selector from the core when it refreshes.
void MainWindow::setServerSelector(const std::vector<std::string>&, const std::string&) {
    refreshPages();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && activated) platform::guarded(activated);
    return QMainWindow::event(event);
}

void MainWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && minimisedChanged) {
        bool minimised = windowState() & Qt::WindowMinimized;
        platform::guarded([&] { minimisedChanged(minimised); });
    }
    QMainWindow::changeEvent(event);
}

} // namespace tarmacia::ui
