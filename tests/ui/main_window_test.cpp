#include "support/ui_world.h"

#include <QComboBox>

#include <gtest/gtest.h>

namespace tarmacia::ui {
namespace {

TEST(MainWindowSmoke, OpensWithItsCaptionAndTheStartUpFillsIt) {
    test::UiWorld world;
    auto& windows = world.windows;
    auto& form = world.form;
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
