#include "ui/qt_window_system.h"

#include "ui/forms.h"
#include "ui/please_wait.h"
#include "ui/question_windows.h"

namespace tarmacia::ui {

QtWindowSystem::QtWindowSystem() : main_(new MainWindow) {}

// Every other window is a child of the main window and goes with it.
QtWindowSystem::~QtWindowSystem() {
    windows_.clear();
    delete main_;
}

platform::Window& QtWindowSystem::create(const std::string& formName, const std::string& caption) {
    QWidget* widget = nullptr;
    if (formName == "TForm1") {
        widget = main_;
    } else if (formName == "TForm27") {
        auto* wait = new PleaseWait(main_);
        // As a modal dialog hands back to its owner: the main window is
        // activated again when the dialog goes.
        QObject::connect(wait, &QDialog::finished, main_, [this] { main_->activateWindow(); });
        widget = wait;
    } else if (formName == "TForm4") {
        auto* security = new SecurityQuestion(main_);
        main_->setSecurityWindow(security);
        widget = security;
    } else if (formName == "TForm11") {
        widget = new RaceWindow(main_);
    } else if (formName == "TForm7") {
        widget = new AutoLogout(main_);
    } else {
        widget = new FormShell(main_);
    }
    widget->setObjectName(QString::fromStdString(formName));
    auto& window = windows_[formName];
    window = std::make_unique<WidgetWindow>(widget);
    window->setCaption(caption);
    return *window;
}

QWidget* QtWindowSystem::widget(const std::string& formName) const {
    auto it = windows_.find(formName);
    return it == windows_.end() ? nullptr : it->second->widget();
}

} // namespace tarmacia::ui
