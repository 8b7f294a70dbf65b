// A PU scan against the sandbox: the client core with a real socket
// identifies itself to the scan server, checks every file of a game folder
// against the scan file list, and posts its report to the lobby.

#include "app/main_form.h"
#include "platform/fake/fake_ports.h"
#include "platform/qt/qt_network.h"
#include "protocol/passenc.h"
#include "sandbox/lobby.h"
#include "sandbox/peer.h"
#include "sandbox/scan_server.h"
#include "scan/crc.h"
#include "scan/scan_lists.h"
#include "support/qt_app.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarmacia {
namespace {

using test::waitFor;
namespace fs = std::filesystem;

// A second loopback address, so that the fixed scan port cannot clash with
// a sandbox someone runs on 127.0.0.1.
const QHostAddress kHost(QStringLiteral("127.0.0.2"));

TEST(ScanAgainstTheSandbox, OneAlteredFileFailsAndTheReportIsRed) {
    test::ensureQtApp();
    sandbox::Lobby lobby;
    ASSERT_TRUE(lobby.listen(kHost));
    sandbox::Peer peer(lobby);
    peer.setOpen(true);
    sandbox::ScanServer scanServer;
    ASSERT_TRUE(scanServer.listen(kHost)) << scanServer.errorString().toStdString();

    test::TempDir home;
    platform::fake::FakePorts fakes;
    fakes.folders.documentsPath = home / "Documents";
    fakes.folders.programPath = home / "program";

    // A PU folder written in lower case, and a scan file list that knows
    // every file as it is now.
    const fs::path game = home / "games/pu";
    std::string list;
    for (int index = 100; index < scan::scanEnd("PU"); ++index) {
        std::string relative = scan::getnextfile("PU", index);
        std::string lower = relative;
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::replace(lower.begin(), lower.end(), '\\', '/');
        const fs::path file = game / lower.substr(1);
        test::writeFile(file, "data of " + relative);
        const std::string name = relative.substr(relative.rfind('\\') + 1);
        list += "x~" + name + "~" +
                protocol::passenc(std::to_string(scan::getcrc(file)), protocol::randomPrefixSource()) +
                "~" + (name == "Porsche.exe" ? "3.5 Standard CD Version" : "ok") + "~\r\n";
    }
    test::writeFile(home / "program/filelist2.trm", list);
    test::writeFile(game / "gamedata/carmodel/928.crp", "tampered");

    platform::qt::QtNetwork network;
    app::MainForm form(fakes.ports({.network = &network}));
    form.form("TForm1").show();
    form.oldButton9Click();
    fakes.clock.advance(10000);
    form.chatPageLoaded();
    fakes.http.respond(platform::fake::FakeHttpGet::page(
        "ok - Sandbox Prim(127.0.0.2/" + std::to_string(lobby.serverPort()) + ")"));
    form.saveGameClick({.code = "PU", .name = "Porsche Unleashed", .color = "80FFFF",
                        .exename = "porsche.exe", .path = game.string()});
    form.Edit1Change("bob");
    form.LoginClick();
    ASSERT_TRUE(peer.waitForLogin(0, 5000));
    ASSERT_TRUE(waitFor([&] { return form.welcomeSeen == 1; }, 5000));

    form.scanButtonClick("PU");
    ASSERT_TRUE(waitFor([&] { return !scanServer.identifications().empty(); }, 5000));
    EXPECT_TRUE(scanServer.identifications()[0].startsWith(QStringLiteral("tarmaciav5.exe~")));
    EXPECT_TRUE(scanServer.identifications()[0].endsWith(QStringLiteral("~[df]bob~")));
    // The verdict arrives; 100 ms later the files are checked.
    ASSERT_TRUE(waitFor([&] { return form.scanner().scanPosition() == 100; }, 5000));
    fakes.clock.advance(100);
    ASSERT_TRUE(waitFor([&] { return form.scanner().inProgress() == 0; }, 5000));

    EXPECT_EQ(form.scanner().errorCountText(), "1");
    EXPECT_EQ(form.scanner().failedFiles(), std::vector<std::string>{"928.crp"});
    EXPECT_EQ(form.versionState.puText, "3.5 Standard CD Version");
    EXPECT_TRUE(form.versionState.puEdition);
    ASSERT_TRUE(peer.waitForMessage(0, "~2~", 5000));
    ASSERT_TRUE(lobby.waitForReceived(0, "<table class = \"redtable\">", 5000));
}

} // namespace
} // namespace tarmacia
