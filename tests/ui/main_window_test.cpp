#include "app/main_form.h"
#include "platform/fake/fake_ports.h"
#include "support/temp_dir.h"
#include "ui/qt_window_system.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace tarmacia::ui {
namespace {

QApplication& application() {
    static int argc = 1;
    static char name[] = "tests_ui";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

TEST(MainWindowSmoke, OpensWithItsCaptionAndTheStartUpFillsIt) {
    application();
    test::TempDir home;
    platform::fake::FakePorts fakes;
    fakes.folders.documentsPath = home / "Documents";
    fakes.folders.programPath = home / "program";
    QtWindowSystem windows;
    app::Ports ports = fakes.ports();
    app::MainForm form({ports.clock, ports.network, ports.dialogs, windows, ports.app,
                        ports.folders, ports.registry, ports.hosts, ports.ini, ports.http, ports.sound,
                        *windows.mainWindow()});
    form.form("TForm1").show();
    form.oldButton9Click();

    MainWindow* main = windows.mainWindow();
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Tarmacia - v5.43 (Build 12)"));
    auto* sizes = main->findChild<QComboBox*>(QStringLiteral("Font Size"));
    ASSERT_NE(sizes, nullptr);
    EXPECT_EQ(sizes->count(), 5);
    QWidget* wait = windows.widget("TForm27");
    ASSERT_NE(wait, nullptr);
    EXPECT_TRUE(wait->isVisible());
    EXPECT_EQ(wait->windowTitle(), QStringLiteral("Please Wait"));
    form.closePleaseWait();
    EXPECT_FALSE(wait->isVisible());
    EXPECT_EQ(windows.widget("TForm11")->windowTitle(), QStringLiteral("Suspended For Racing"));
}

} // namespace
} // namespace tarmacia::ui
