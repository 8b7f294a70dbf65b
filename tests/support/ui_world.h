#pragma once
// The real windows over fake ports, for the offscreen UI tests: one
// QApplication per test program, a temporary home, and the main form.

#include "app/client_folder.h"
#include "app/main_form.h"
#include "platform/fake/fake_ports.h"
#include "support/form_world.h"
#include "support/temp_dir.h"
#include "ui/qt_window_system.h"

#include <QApplication>

#include <memory>

namespace tarmacia::test {

inline void ensureWidgetsApp() {
    if (QApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "tests_ui";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing the application down at exit, after tests
    // have sent input events, crashes inside Qt's input device registry.
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

class UiWorld {
public:
    UiWorld() : form(fakes.ports({.windows = &windows, .view = windows.mainWindow()})) {
        // As the program wires it: the chat page's load reaches the core.
        windows.mainWindow()->chatPageLoaded = [this] { form.chatPageLoaded(); };
    }

    // The start-up, then the chat page's load ten seconds in, which fetches
    // the server directory.
    void start() {
        form.oldButton9Click();
        fakes.clock.advance(10000);
        QApplication::processEvents();
    }

    std::filesystem::path clientFolder() const {
        return fakes.folders.documentsPath / app::kClientFolderName;
    }

private:
    // Members are built in order: the application and the folders come first.
    struct Application {
        Application() { ensureWidgetsApp(); }
    } application_;

public:
    TempDir home;
    platform::fake::FakePorts fakes;

private:
    PlacedFolders folders_{fakes, home};

public:
    ui::QtWindowSystem windows;
    app::MainForm form;
};

} // namespace tarmacia::test
