// The client core logs in to the sandbox lobby over a real socket: the Qt
// socket adapter on loopback, everything else on fakes.

#include "app/main_form.h"
#include "platform/fake/fake_ports.h"
#include "platform/qt/qt_network.h"
#include "sandbox/lobby.h"
#include "sandbox/peer.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

namespace tarmacia {
namespace {

using test::waitFor;

bool contains(const std::vector<std::string>& lines, const std::string& needle) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.find(needle) != std::string::npos; });
}

TEST(LoginOverLoopback, LogsInSeesTheLobbyChatsAndLogsOut) {
    test::ensureQtApp();
    sandbox::Lobby lobby;
    ASSERT_TRUE(lobby.listen(QHostAddress::LocalHost));
    sandbox::Peer peer(lobby);
    peer.setOpen(true);
    peer.addPlayer(QStringLiteral("Ann"), QStringLiteral("gb"));

    test::TempDir home;
    platform::fake::FakePorts fakes;
    fakes.folders.documentsPath = home / "Documents";
    fakes.folders.programPath = home / "program";
    test::writeFile(home / "program/flags/teams/dfflag.bmp", "BM");
    platform::qt::QtNetwork network;
    app::MainForm form(fakes.ports({.network = &network}));
    form.form("TForm1").show();
    form.oldButton9Click();
    fakes.clock.advance(10000); // the chat page loads and fetches the directory
    form.chatPageLoaded();
    fakes.http.respond(platform::fake::FakeHttpGet::page(
        "ok - Sandbox Prim(127.0.0.1/" + std::to_string(lobby.serverPort()) + ")"));

    form.Edit1Change("bob");
    form.setLoginPassword("secret");
    form.LoginClick();
    ASSERT_TRUE(peer.waitForLogin(0, 5000));
    EXPECT_EQ(peer.playerName(0), QStringLiteral("bob"));
    ASSERT_TRUE(waitFor([&] { return fakes.view.users.size() == 2; }, 5000));
    EXPECT_THAT(fakes.view.users, testing::ElementsAre("[gb]Ann", "[df]bob"));
    EXPECT_TRUE(contains(fakes.view.chatTexts(), "Welcome to Tarmacia"));

    // The lobby relays a chat line to everyone, the sender included.
    form.send("~2~bob: evening all");
    ASSERT_TRUE(waitFor([&] { return contains(fakes.view.chatTexts(), "bob: evening all"); }, 5000));

    // The login button while logged in ends the connection without a message.
    const QByteArray before = lobby.received(0);
    form.JvImgBtn1Click();
    ASSERT_TRUE(lobby.waitForDisconnected(0, 5000));
    EXPECT_EQ(lobby.received(0), before);
    EXPECT_EQ(fakes.view.chatTexts().back(), "{dfflag.bmp} Disconnected - Logout");
    EXPECT_EQ(form.loginState, 0);
}

} // namespace
} // namespace tarmacia
