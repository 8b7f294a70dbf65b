#pragma once

#include "platform/windows.h"
#include "ui/main_window.h"
#include "ui/widget_window.h"

#include <map>
#include <memory>

namespace tarmacia::ui {

// Creates the real windows: the main window first, every other window a
// child of it so that it stays above it and closes with it.
class QtWindowSystem : public platform::WindowSystem {
public:
    // The main window exists from the start, so that it can be handed to the
    // ports that need it before the core creates the windows in order.
    QtWindowSystem();
    ~QtWindowSystem() override;
    platform::Window& create(const std::string& formName, const std::string& caption) override;
    MainWindow* mainWindow() const { return main_; }
    QWidget* widget(const std::string& formName) const;

private:
    MainWindow* main_;
    std::map<std::string, std::unique_ptr<WidgetWindow>> windows_;
};

} // namespace tarmacia::ui
