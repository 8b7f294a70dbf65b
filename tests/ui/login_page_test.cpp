#include "support/ui_world.h"
#include "ui/login_page.h"
#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QPushButton>

#include <gtest/gtest.h>

namespace tarmacia::ui {
namespace {

TEST(LoginPage, ListsTheDirectoryAndTheSavedServersAndForwardsChoices) {
    test::UiWorld world;
    auto& fakes = world.fakes;
    auto& windows = world.windows;
    auto& form = world.form;
    world.start();
    fakes.http.respond(platform::fake::FakeHttpGet::page(
        "ok - Main Prim(10.0.0.1/5445) - Main BU(10.0.0.2/5445)"));

    LoginPage page(form);
    form.openServersPage();
    page.refresh();
    auto* servers = page.findChild<QComboBox*>(QStringLiteral("Server"));
    ASSERT_NE(servers, nullptr);
    ASSERT_EQ(servers->count(), 2);
    EXPECT_EQ(servers->itemText(0), QStringLiteral("Main Prim"));
    auto* saved = page.findChild<QListWidget*>(QStringLiteral("Saved Servers"));
    ASSERT_EQ(saved->count(), 2); // the directory was merged into server.ini

    // Choosing the backup makes it the login's server.
    servers->setCurrentIndex(1);
    emit servers->textActivated(servers->itemText(1));
    EXPECT_EQ(form.directory()->takeCurrentForLogin().ip, "10.0.0.2");

    // The saved list as the source: a double-click picks its slot.
    page.findChild<QCheckBox*>(QStringLiteral("Use Server List"))->setChecked(false);
    emit saved->itemDoubleClicked(saved->item(0));
    EXPECT_EQ(form.directory()->takeCurrentForLogin().name, "Main Prim");

    // Refresh asks the directory again and shows the please-wait dialog.
    // (The chat's notices may have asked for a missing flag meanwhile.)
    const std::size_t asked = fakes.http.urls.size();
    page.findChild<QPushButton*>(QStringLiteral("Refresh"))->click();
    ASSERT_EQ(fakes.http.urls.size(), asked + 1);
    EXPECT_NE(fakes.http.urls.back().find("server1.php"), std::string::npos);
    EXPECT_TRUE(windows.widget("TForm27")->isVisible());
}

} // namespace
} // namespace tarmacia::ui
