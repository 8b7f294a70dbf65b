// Joining a race as the lobby drives it: the checks before "~J~", the HOSTS
// entry from "~K~", the suspension with the race monitor's window, and the
// way back to the lobby.

#include "support/form_world.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarmacia::races {
namespace {

using testing::HasSubstr;
const std::string kSep = "\xAC"; // as on the wire

class Joining : public testing::Test, protected test::FormWorld {
protected:
    Joining() {
        fakes.hosts.setContent("127.0.0.1\tlocalhost\n10.0.0.5\tnas\n");
        startUp();
        socket = &logIn("bob");
        socket->deliver("~5~~6~1/8" + kSep + "[gb]Ann" + kSep + kSep + "Cup" + kSep + "PU" + kSep +
                        "3 laps" + kSep + "Forest" + kSep + kSep + "x");
        socket->sent.clear();
    }
    bool said(const std::string& text) const {
        const auto texts = fakes.view.chatTexts();
        return std::any_of(texts.begin(), texts.end(),
                           [&](const std::string& t) { return t.find(text) != std::string::npos; });
    }

    platform::fake::FakeTcpClient* socket = nullptr;
};

TEST_F(Joining, TheChecksBeforeAJoinComeInOrder) {
    // The race's game was not scanned last: a scan starts and the join waits.
    fakes.dialogs.answers = {platform::BoxButton::Ok};
    form.JoinClick("[gb]Ann");
    EXPECT_EQ(fakes.dialogs.shown.back().text,
              "Starting a scan for this game\rPlease wait until scan complete then\rPress Continue");
    EXPECT_TRUE(said("Already Joining Race or scan in progress - Please Wait"));
    EXPECT_EQ(socket->sent, "");
}

TEST_F(Joining, ARaceIsJoinedOnlyAfterACleanScanAndOnlyOnce) {
    // A PU scan of a folder with no game: every file fails.
    form.scanButtonClick("PU");
    auto& scanSocket = fakes.network.last();
    scanSocket.accept();
    scanSocket.deliver("yesok~tarmaciav5.exe~ok");
    fakes.clock.advance(100);
    ASSERT_EQ(form.scanner().inProgress(), 0);
    ASSERT_EQ(form.scanner().scanFailed(), 1);
    socket->sent.clear(); // the status report

    form.JoinClick("[gb]Ann");
    EXPECT_EQ(fakes.dialogs.shown.back().text,
              "You have failed a scan for this game\rPlease fix errors and try again\rPress Continue");
    EXPECT_EQ(socket->sent, "");

    form.scanner().setScanFailed(0);
    form.JoinClick("[gb]Ann");
    EXPECT_EQ(socket->sent, "~J~0\xAC" "0");
    EXPECT_TRUE(said("Joining Race Please Wait"));
    form.JoinClick("[gb]Ann");
    EXPECT_TRUE(said("Already Joining Race or scan in progress - Please Wait"));
    EXPECT_EQ(socket->sent, "~J~0\xAC" "0");

    socket->deliver("~F~");
    form.JoinClick("nobody");
    EXPECT_TRUE(said("No Race Selected"));
    form.LogoutClick();
    form.JoinClick("[gb]Ann");
    EXPECT_TRUE(said("Please Login"));
}

TEST_F(Joining, TheHostsEntryPointsAtTheHostAndHomeAgainAfterTheRace) {
    socket->deliver("~K~10.1.2.3" + kSep + "Mod5");
    EXPECT_EQ(form.raceCounter, 1);
    EXPECT_EQ(form.currentTrackset, "Mod5");
    const std::string during = *fakes.hosts.content();
    EXPECT_THAT(during, HasSubstr("127.0.0.1\tlocalhost\n10.0.0.5\tnas\n"));
    EXPECT_THAT(during, HasSubstr("#tarmacia setup\n10.1.2.3 tarmacia\n"));

    // Suspended: the main window goes and the monitor's window comes (for a
    // game the player starts by hand, so nothing is launched or read).
    form.races().selectedGame = "PT";
    socket->deliver("~9~Suspend");
    EXPECT_FALSE(fakes.windows["TForm1"].visible);
    EXPECT_TRUE(fakes.windows["TForm11"].modal);

    // Closing it ends the race: home again, back at the lobby.
    fakes.windows["TForm11"].close();
    EXPECT_TRUE(fakes.windows["TForm1"].visible);
    EXPECT_EQ(socket->sent, "~X~");
    const std::string after = *fakes.hosts.content();
    EXPECT_THAT(after, HasSubstr("127.0.0.1\tlocalhost\n10.0.0.5\tnas\n"));
    EXPECT_THAT(after, HasSubstr("#tarmacia setup\n127.0.0.1 tarmacia\n"));
    EXPECT_EQ(fakes.hosts.files.count(fakes.hosts.file.string() + ".bak"), 1u);
}

TEST_F(Joining, AHostsFileThatCannotBeWrittenIsReportedToEveryone) {
    fakes.hosts.failRewrite = true;
    socket->deliver("~K~10.1.2.3" + kSep + "default");
    EXPECT_EQ(form.raceCounter, 0);
    EXPECT_THAT(socket->sent, HasSubstr(": Hosts Permission denied"));
    EXPECT_EQ(*fakes.hosts.content(), "127.0.0.1\tlocalhost\n10.0.0.5\tnas\n");
    // Without the entry a suspension shows no monitor.
    socket->deliver("~9~Suspend");
    EXPECT_FALSE(fakes.windows["TForm11"].visible);
}

TEST_F(Joining, HostModeShowsTheMonitorWhateverTheRaceCounterSays) {
    form.races().selectedGame = "PT";
    socket->deliver("~D~");
    EXPECT_TRUE(fakes.windows["TForm11"].modal);
    fakes.windows["TForm11"].close();
    EXPECT_EQ(socket->sent, "~X~");
}

TEST_F(Joining, ARefusedJoinAndAClosedRace) {
    socket->deliver("~F~");
    EXPECT_EQ(form.joining, 0);
    EXPECT_TRUE(said("Unable to Join Race"));
    form.races().selectedGame = "PT";
    socket->deliver("~D~~f~");
    EXPECT_FALSE(fakes.windows["TForm11"].visible);
    EXPECT_EQ(fakes.dialogs.shown.back().kind, platform::BoxKind::Error);
}

} // namespace
} // namespace tarmacia::races
