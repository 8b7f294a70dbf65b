#include "ui/main_window.h"

#include "platform/guard.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QSplitter>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

namespace tarmacia::ui {
namespace {

template <typename W> W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    widget->setAccessibleName(name);
    return widget;
}

} // namespace

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
    toolbar_ = named(addToolBar(QStringLiteral("Toolbar")), QStringLiteral("Toolbar"));
    toolbar_->setMovable(false);
    toolbar_->setIconSize(QSize(24, 24));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    auto* split = new QSplitter(Qt::Horizontal, central);
    chatView_ = named(new QTextBrowser(split), QStringLiteral("Chat"));
    chatView_->setOpenLinks(false);
    userList_ = named(new QListWidget(split), QStringLiteral("Users"));
    split->setStretchFactor(0, 4);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);

    auto* inputRow = new QHBoxLayout;
    chatInput_ = named(new QTextEdit(central), QStringLiteral("Chat Input"));
    chatInput_->setFixedHeight(56);
    inputRow->addWidget(chatInput_, 1);
    auto* options = new QVBoxLayout;
    fontSize_ = named(new QComboBox(central), QStringLiteral("Font Size"));
    style_ = named(new QComboBox(central), QStringLiteral("Style"));
    server_ = named(new QComboBox(central), QStringLiteral("Server"));
    server_->setMinimumContentsLength(16);
    options->addWidget(server_);
    options->addWidget(fontSize_);
    options->addWidget(style_);
    inputRow->addLayout(options);
    layout->addLayout(inputRow);
    setCentralWidget(central);
    resize(1000, 700);
}

void MainWindow::setToolbarIcons(const std::vector<std::filesystem::path>& icons) {
    static const char* const kNames[] = {"Login",  "Settings", "Help",  "Colours",
                                         "Fonts",  "Sounds",   "Scans", "Master Reset"};
    toolbar_->clear();
    for (std::size_t i = 0; i < icons.size() && i < std::size(kNames); ++i) {
        QAction* action =
            toolbar_->addAction(QIcon(QString::fromStdString(icons[i].string())), kNames[i]);
        action->setObjectName(kNames[i]);
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

// Shown as text: nothing from outside reaches the view as markup here.
void MainWindow::appendChatLine(const std::string& line) {
    chatView_->append(QString::fromStdString(line).toHtmlEscaped());
}

void MainWindow::setServerSelector(const std::vector<std::string>& items,
                                   const std::string& shown) {
    server_->clear();
    for (const auto& item : items) server_->addItem(QString::fromStdString(item));
    server_->setCurrentText(QString::fromStdString(shown));
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
