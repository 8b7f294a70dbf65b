// The race list as the lobby drives it: real lobby text through the
// dispatcher of a logged-in main form.

#include "support/form_world.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarmacia::races {
namespace {

const std::string kSep = "\xAC"; // as on the wire

class RacesFromTheLobby : public testing::Test, protected test::FormWorld {
protected:
    RacesFromTheLobby() {
        test::writeFile(home / "program/images/purace.jpg", "jpg");
        test::writeFile(home / "program/images/xxrace.jpg", "jpg");
        startUp();
        logIn("bob").sent.clear();
    }
    platform::fake::FakeTcpClient& socket() { return fakes.network.last(); }
    static std::string race(const std::string& id, const std::string& game) {
        return "~6~2 / 8" + kSep + id + kSep + kSep + "Cup - 3 laps" + kSep + game + kSep + "3 laps" +
               kSep + "Forest" + kSep + kSep + "x";
    }
};

TEST_F(RacesFromTheLobby, TheListIsRebuiltFromEachAnnouncement) {
    socket().deliver("~5~" + race("[gb]Ann", "PU") + race("Bob", "HS"));
    const RaceList& list = form.races();
    ASSERT_EQ(list.lastRaceIndex(), 1);
    EXPECT_EQ(list.entries()[0].nameLabel, "Ann");
    EXPECT_EQ(list.entries()[0].occupancyText, "2/8");
    EXPECT_EQ(list.entries()[1].colour, "FF91E6");
    EXPECT_GT(fakes.view.raceRefreshes, 0);

    // A tile click asks for the racers; the answer fills the racer strip.
    form.races().raceClickSlot(1);
    EXPECT_EQ(socket().sent, "~R~1");
    socket().deliver("~R~Ann, Cat");
    EXPECT_EQ(list.racerStrip(), "HS  Pit >> Ann, Cat");

    // Cleared and not announced again: the details close three seconds later.
    socket().deliver("~5~" + race("[gb]Ann", "PU"));
    fakes.clock.advance(3000);
    EXPECT_FALSE(list.details().visible);
    EXPECT_EQ(fakes.view.racePanelCloses, 1);
}

TEST_F(RacesFromTheLobby, TheDoorbellRingsThePitOfTheRaceAnnouncedLast) {
    socket().deliver("~5~" + race("[gb]Ann", "PU") + race("Bob", "HS"));
    form.JvImgBtn39Click();
    EXPECT_EQ(socket().sent, "~a~1");
    // A host name cut in its slot no longer names it: nothing is sent.
    socket().sent.clear();
    socket().deliver("~5~" + race("[gb]AVeryLongHostName", "PU"));
    form.JvImgBtn39Click();
    EXPECT_EQ(socket().sent, "");
}

TEST_F(RacesFromTheLobby, TrackMessagesAreAcceptedAndIgnored) {
    socket().deliver("~C~tracks~N~1");
    EXPECT_EQ(form.races().lastRaceIndex(), -1);
    EXPECT_TRUE(form.loggedIn());
}

} // namespace
} // namespace tarmacia::races
