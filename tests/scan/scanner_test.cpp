#include "scan/scanner.h"

#include "common/text.h"
#include "platform/fake/fake_folder_watch.h"
#include "protocol/passenc.h"
#include "scan/crc.h"
#include "scan/scan_lists.h"
#include "scan_host_fake.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace tarmacia::scan {
namespace {

using Strings = std::vector<std::string>;

// A game folder laid out in lower case (as an unpacked install often is), a
// scan file list that accepts exactly what is in it, and a logged-in player.
class ScannerTest : public ::testing::Test {
protected:
    test::TempDir install;
    test::TempDir game;
    test::FakeScanHost host;
    std::unique_ptr<Scanner> scanner;

    void SetUp() override {
        host.folder = game.path();
        host.install = install.path();
    }

    static std::string onDisk(const std::string& relative) {
        std::string path = toLower(relative.substr(1));
        std::replace(path.begin(), path.end(), '\\', '/');
        return path;
    }

    // Writes every file of the game's list and a list that accepts them.
    void makeGame(const std::string& code) {
        std::string list = "header~ignored~x~y~\r\n";
        for (int i = kFirstFileIndex; i < scanEnd(code); ++i) {
            const std::string relative = getnextfile(code, i);
            test::writeFile(game / onDisk(relative), "contents of " + relative);
            const std::string name = relative.substr(relative.rfind('\\') + 1);
            const std::string crc = std::to_string(getcrc(game / onDisk(relative)));
            list += "x~" + name + "~" + protocol::passenc(crc, protocol::randomPrefixSource()) + "~" + code +
                    " v3~\r\n";
        }
        test::writeFile(install / "filelist2.trm", list);
    }

    void start() {
        scanner = std::make_unique<Scanner>(host);
        host.scanner = scanner.get();
        scanner->loadscanfile();
    }

    // One scan with a server that answers `reply` in one read.
    void scan(const std::string& reply = "yesok~tarmaciav5.exe~accepted") {
        scanner->ScanClick();
        auto& socket = host.fakeNetwork.last();
        socket.accept();
        socket.deliver(reply);
        host.fakeClock.advance(Scanner::kReplyDelayMs);
    }
};

TEST_F(ScannerTest, FullScanFindsTheOneAlteredFile) {
    host.game = "PU";
    makeGame("PU");
    test::writeFile(game / "gamedata/carmodel/928.crp", "tuned");
    test::writeFile(install / "crcerror.txt", "old");
    start();
    scanner->setSlice(10, 1000);
    std::vector<std::pair<int, int>> progress;
    scanner->onChanged([&] { progress.push_back(scanner->progress()); });

    scanner->ScanClick();
    auto& socket = host.fakeNetwork.last();
    EXPECT_EQ(socket.host, "lobby.example");
    EXPECT_EQ(socket.port, 5447);
    EXPECT_EQ(host.chat, Strings{"PU - Scan Started - Please Wait"});
    EXPECT_EQ(scanner->inProgress(), 1);

    socket.accept();
    EXPECT_EQ(protocol::passdec2(socket.sent), "tarmaciav5.exe~1234567890~filelist2.trm~42~Speedy~");
    EXPECT_FALSE(std::filesystem::exists(install / "crcerror.txt"));
    socket.deliver("yesok~tarmaciav5.exe~accepted");
    EXPECT_EQ(scanner->scanPosition(), 100);
    EXPECT_EQ(host.reports, 0);

    host.fakeClock.advance(Scanner::kReplyDelayMs);
    EXPECT_EQ(host.chat, (Strings{"PU - Scan Started - Please Wait", "928.crp - Failed Scan"}));
    EXPECT_EQ(scanner->failedFiles(), Strings{"928.crp"});
    EXPECT_EQ(scanner->errorCountText(), "1");
    EXPECT_EQ(scanner->scanFailed(), 1);
    EXPECT_EQ(host.versions, Strings{"PU v3"});
    EXPECT_EQ(host.reports, 1);
    EXPECT_EQ(scanner->inProgress(), 0);
    EXPECT_EQ(scanner->scanPosition(), 99);
    EXPECT_EQ(scanner->scanState(), 0);
    EXPECT_FALSE(socket.isConnected());
    EXPECT_EQ(scanner->progress(), std::make_pair(184, 184));
    // The files went in slices, each one shown.
    EXPECT_NE(std::find(progress.begin(), progress.end(), std::make_pair(10, 184)), progress.end());
    EXPECT_NE(std::find(progress.begin(), progress.end(), std::make_pair(180, 184)), progress.end());
}

TEST_F(ScannerTest, TheFailedFlagFollowsTheScanAndNeverClearsEarly) {
    host.game = "HP";
    makeGame("HP");
    const auto carIni = game / "cars/murcie/car.ini";
    const std::string original = test::readFile(carIni);
    test::writeFile(carIni, "grip=99");
    start();

    scan();
    EXPECT_EQ(scanner->failedFiles(), Strings{"car.ini"});
    EXPECT_EQ(scanner->scanFailed(), 1);

    test::writeFile(carIni, original);
    scanner->ScanClick();
    host.fakeNetwork.last().accept();
    EXPECT_EQ(scanner->scanFailed(), 1) << "a new scan that has not finished lets nobody through";
    host.fakeNetwork.last().deliver("yesok~tarmaciav5.exe~accepted");
    host.fakeClock.advance(Scanner::kReplyDelayMs);
    EXPECT_TRUE(scanner->failedFiles().empty());
    EXPECT_EQ(scanner->errorCount(), 0);
    EXPECT_EQ(scanner->scanFailed(), 0);
    EXPECT_EQ(host.versions, (Strings{"HP v3", "HP v3"}));
}

TEST_F(ScannerTest, HsScanChecksExactlyFourFiles) {
    host.game = "HS"; // an empty folder and no scan file list: every file fails
    start();
    scan();
    EXPECT_EQ(scanner->failedFiles(), (Strings{"clokspl.exe", "Ip.exe", "nfshs.exe", "PatchNFS.exe"}));
    EXPECT_EQ(host.versions, Strings{"Unknown Version"});
    EXPECT_EQ(scanner->errorCount(), 4);
    EXPECT_EQ(scanner->progress(), std::make_pair(4, 4));
    EXPECT_EQ(host.reports, 1);
}

TEST_F(ScannerTest, ServerRepliesAreVerdictsAndASplitReplySkipsNoFile) {
    host.game = "PU";
    makeGame("PU");
    start();
    scanner->ScanClick();
    auto& socket = host.fakeNetwork.last();
    socket.accept();
    socket.deliver("yesok~tarmac");
    socket.deliver("server busy");
    EXPECT_EQ(scanner->lastScanReply(), "server busy");
    host.fakeClock.advance(Scanner::kReplyDelayMs);
    EXPECT_EQ(scanner->failedFiles(), Strings{"server busy"});
    EXPECT_EQ(host.chat.back(), "server busy - Failed Scan");
    EXPECT_EQ(host.versions, Strings{"PU v3"}) << "Porsche.exe, the first file, was checked";
    EXPECT_EQ(scanner->progress(), std::make_pair(184, 184));
}

TEST_F(ScannerTest, UnreachableServerLeavesTheScanOpen) {
    host.game = "PU";
    start();
    scanner->ScanClick();
    host.fakeNetwork.last().refuse("Connection refused");
    host.fakeClock.advance(1000);
    EXPECT_EQ(scanner->inProgress(), 1);
    EXPECT_EQ(host.reports, 0);
}

TEST_F(ScannerTest, ChangedSwapFolderIsReportedByTheNextScan) {
    host.game = "PU";
    makeGame("PU");
    start();
    platform::fake::FakeFolderWatch watch;
    scanner->watchSwapFolders(watch);
    ASSERT_EQ(watch.watched.size(), 2u);

    watch.trigger(game / "gamedata/track/alps.crp");
    EXPECT_EQ(scanner->swapFolder(), "GameData");
    watch.trigger(game / "fedata/models/garage.crp");
    EXPECT_EQ(scanner->swapFolder(), "FEData");
    EXPECT_EQ(scanner->scanFailed(), 1);

    scan();
    EXPECT_EQ(host.lobby, Strings{"~2~Speedy:  File Swap Error Detected - FEData\xC2\xAC" "FF8000"});
    ASSERT_EQ(host.boxes.size(), 1u);
    const auto& box = host.boxes[0];
    EXPECT_EQ(box.kind, "warn");
    EXPECT_EQ(box.title, "L15");
    EXPECT_EQ(box.line1, "L483 - FEData");
    EXPECT_EQ(box.line2, "L458");
    EXPECT_EQ(box.line3, "");
    EXPECT_EQ(box.button1, "L459");
    EXPECT_EQ(scanner->failedFiles(), Strings{"File Swap Error"});
    EXPECT_EQ(scanner->errorCount(), 1);
    EXPECT_EQ(scanner->scanFailed(), 1);
    EXPECT_EQ(scanner->swapFolder(), "");
}

TEST_F(ScannerTest, ClicksThatScanNothing) {
    start();
    struct Case {
        bool loggedIn;
        const char* game;
        int reports;
        int boxes;
    } cases[] = {
        {false, "PU", 0, 0},
        {true, "XX", 1, 0}, // "Reset": the report alone
        {true, "", 1, 1},   // no default game: the report and the question
        {true, "", 0, 0},   // ... asked once
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        host.isLoggedIn = c.loggedIn;
        host.game = c.game;
        host.reports = 0;
        host.boxes.clear();
        scanner->ScanClick();
        EXPECT_TRUE(host.fakeNetwork.sockets.empty());
        EXPECT_EQ(host.reports, c.reports);
        EXPECT_EQ(host.boxes.size(), static_cast<std::size_t>(c.boxes));
        EXPECT_EQ(scanner->inProgress(), 0);
        EXPECT_TRUE(host.chat.empty());
    }
    EXPECT_EQ(scanner->defaultGameWarningGiven(), 1);
}

TEST_F(ScannerTest, NoDefaultGameQuestion) {
    host.game = "";
    host.boxAnswer = 0; // closed, not OK: asked again next time
    start();
    scanner->ScanClick();
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].line1, "No default game set");
    EXPECT_EQ(host.boxes[0].line2, "Please set Game Path and Default then restart Tarmacia");
    EXPECT_EQ(host.boxes[0].line3, "Press OK to continue");
    EXPECT_EQ(host.boxes[0].button1, "OK");
    scanner->ScanClick();
    EXPECT_EQ(host.boxes.size(), 2u);
}

} // namespace
} // namespace tarmacia::scan
