// Two players in the sandbox lobby over real sockets: a chat line reaches
// both, a whisper only its target, who hears the whisper sound.

#include "app/main_form.h"
#include "platform/fake/fake_ports.h"
#include "platform/qt/qt_network.h"
#include "sandbox/lobby.h"
#include "sandbox/peer.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarmacia {
namespace {

using test::waitFor;

// One player's client: the core on fakes, but a real socket.
struct Player {
    Player(const std::string& name, quint16 port) {
        fakes.folders.documentsPath = home / "Documents";
        fakes.folders.programPath = home / "program";
        test::writeFile(home / "program/flags/teams/dfflag.bmp", "BM");
        form = std::make_unique<app::MainForm>(fakes.ports({.network = &network}));
        form->form("TForm1").show();
        form->oldButton9Click();
        fakes.clock.advance(10000); // the chat page loads, then the directory
        form->chatPageLoaded();
        fakes.http.respond(platform::fake::FakeHttpGet::page(
            "ok - Sandbox Prim(127.0.0.1/" + std::to_string(port) + ")"));
        form->Edit1Change(name);
        form->setLoginPassword("pw");
        form->LoginClick();
    }
    bool shows(const std::string& needle) const {
        const auto texts = fakes.view.chatTexts();
        return std::any_of(texts.begin(), texts.end(), [&](const std::string& t) {
            return t.find(needle) != std::string::npos;
        });
    }

    test::TempDir home;
    platform::fake::FakePorts fakes;
    platform::qt::QtNetwork network;
    std::unique_ptr<app::MainForm> form;
};

TEST(ChatOverLoopback, ALineReachesEveryoneAndAWhisperOnlyItsTarget) {
    test::ensureQtApp();
    sandbox::Lobby lobby;
    ASSERT_TRUE(lobby.listen(QHostAddress::LocalHost));
    sandbox::Peer peer(lobby);
    peer.setOpen(true);

    Player bob("bob", lobby.serverPort());
    ASSERT_TRUE(peer.waitForLogin(0, 5000));
    Player ann("ann", lobby.serverPort());
    ASSERT_TRUE(peer.waitForLogin(1, 5000));
    ASSERT_TRUE(waitFor([&] { return bob.form->welcomeSeen == 1 && ann.form->welcomeSeen == 1; }, 5000));

    bob.fakes.view.input = {"evening all", {}, 11};
    bob.form->chatKeyPress(app::ChatKey::Enter);
    ASSERT_TRUE(waitFor([&] { return bob.shows("bob: evening all") && ann.shows("bob: evening all"); },
                        5000));

    bob.fakes.view.input = {"psst", {}, 4};
    bob.form->Whisper1Click("[df]ann");
    ASSERT_TRUE(waitFor([&] { return ann.shows("psst"); }, 5000));
    EXPECT_TRUE(ann.shows("Whisper from"));
    EXPECT_EQ(ann.fakes.sound.played.size(), 1u); // the whisper sound
    EXPECT_TRUE(bob.shows("Whispered to {dfflag.bmp} ann: {dfflag.bmp} bob: psst"));
    EXPECT_TRUE(bob.fakes.sound.played.empty());
}

} // namespace
} // namespace tarmacia
