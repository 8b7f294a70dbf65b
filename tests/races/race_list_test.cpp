#include "races/race_list.h"

#include "platform/fake/fake_clock.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarmacia::races {
namespace {

using testing::ElementsAre;

const std::string kSep = "\xC2\xAC";

std::string race(const std::string& occupancy, const std::string& id, const std::string& title,
                 const std::string& game, const std::string& shortText = "3 laps",
                 const std::string& longText = "Forest", const std::string& extra = "x") {
    return occupancy + kSep + id + kSep + kSep + title + kSep + game + kSep + shortText + kSep +
           longText + kSep + kSep + extra;
}

class RaceListTest : public testing::Test {
protected:
    RaceListTest() {
        test::writeFile(home / "images/purace.jpg", "jpg");
        test::writeFile(home / "images/xxrace.jpg", "jpg");
        test::writeFile(home / "flags/teams/dfflag.bmp", "bmp");
        test::writeFile(home / "flags/other/gbflag.bmp", "bmp");
        list.closePanels = [this] { ++closed; };
    }

    test::TempDir home;
    platform::fake::FakeClock clock;
    app::DiagnosticLog log;
    std::vector<std::string> sent;
    RaceList list{log, clock, home.path(), [this](const std::string& m) { sent.push_back(m); }};
    int closed = 0;
};

TEST_F(RaceListTest, ARaceFillsTheNextSlotAndItsTile) {
    list.clearracelist();
    list.showrace(race("2 / 8", "[gb]Ann", "Sunday cup - 3 laps", "PU"));
    list.showrace(race("1/4", "Bob", "Quick one", "ZZ"));
    ASSERT_EQ(list.lastRaceIndex(), 1);
    const RaceEntry& first = list.entries()[0];
    EXPECT_EQ(first.occupancyText, "2/8");
    EXPECT_EQ(first.colour, "42BDF7");
    EXPECT_EQ(first.racePicture, home / "images/purace.jpg");
    EXPECT_EQ(first.nameLabel, "Ann");
    EXPECT_EQ(first.flagPicture, home / "flags/other/gbflag.bmp");
    EXPECT_TRUE(first.visible);
    // Another game: its own colour, the fallback picture and the default flag.
    const RaceEntry& second = list.entries()[1];
    EXPECT_EQ(second.colour, "EFD652");
    EXPECT_EQ(second.racePicture, home / "images/xxrace.jpg");
    EXPECT_EQ(second.flagPicture, home / "flags/teams/dfflag.bmp");
    EXPECT_EQ(list.lastAnnouncedRaceId(), "Bob");
    EXPECT_THAT(list.adminRaces(), ElementsAre("[gb]Ann - Sunday cup - 3 laps", "Bob - Quick one"));
}

TEST_F(RaceListTest, FieldsAreSplitCutAndMissingOnesEmpty) {
    list.showrace("1/2" + kSep + "[gb]Ann");
    EXPECT_EQ(list.entries()[0].gameCode, "");
    EXPECT_EQ(list.entries()[0].raceTitle, "");
    list.showrace(race("1", "[gb]Ann", std::string(60, 't'), "HSXXXX", "0123456789AB", "d", "e" + kSep + "f"));
    const RaceEntry& slot = list.entries()[1];
    EXPECT_EQ(slot.gameCode, "HSXXX");
    EXPECT_EQ(slot.raceTitle, std::string(50, 't'));
    EXPECT_EQ(slot.detailShort, "0123456789");
    EXPECT_EQ(slot.extraText, "e" + kSep + "f"); // the rest stays in the last field
    for (int i = 0; i < 30; ++i) list.showrace(race("1", "x", "t", "PU"));
    EXPECT_EQ(list.lastRaceIndex(), 19);
}

TEST_F(RaceListTest, AClickShowsTheDetailsAndAsksForTheRacers) {
    list.showrace(race("2/8", "[gb]Ann", "Sunday cup - 3 laps", "PU"));
    list.showrace(race("1/4", "Bob", "Quick one", "HS"));
    list.raceClickSlot(0);
    EXPECT_THAT(sent, ElementsAre("~R~0"));
    EXPECT_EQ(list.selectedGame, "PU");
    const RaceDetails& d = list.details();
    EXPECT_TRUE(d.visible);
    EXPECT_EQ(d.titleLine1, "Sunday cup ");
    EXPECT_EQ(d.titleLine2, " 3 laps");
    EXPECT_EQ(d.hostName, "Ann");
    EXPECT_EQ(d.flagPicture, home / "flags/other/gbflag.bmp");
    EXPECT_EQ(d.line1, "3 laps");
    EXPECT_EQ(d.line2, "2/8");
    EXPECT_EQ(d.line3, "Forest");

    list.showracers("", "HS");
    EXPECT_EQ(list.racerStrip(), "");
    list.showracers("Ann, Cat", "HS");
    EXPECT_EQ(list.racerStrip(), "PU HS Pit >> Ann, Cat");
}

TEST_F(RaceListTest, AnIdCutInItsSlotFallsBackToSlotZero) {
    list.showrace(race("1", "Somebody", "First", "HS"));
    list.showrace(race("1", "[gb]AVeryLongHostName", "Second", "PU"));
    list.raceClickSlot(1);
    EXPECT_THAT(sent, ElementsAre("~R~0"));
    EXPECT_EQ(list.details().hostName, "Somebody");
}

TEST_F(RaceListTest, TheDetailsCloseWhenTheSelectedRaceIsNotAnnouncedAgain) {
    list.showrace(race("2/8", "[gb]Ann", "Cup", "PU"));
    list.raceClickSlot(0);
    // Announced again within three seconds: the panel stays, with new texts.
    list.clearracelist();
    list.showrace(race("3/8", "[gb]Ann", "Cup", "PU", "4 laps"));
    clock.advance(RaceList::kCloseCheckMs);
    EXPECT_TRUE(list.details().visible);
    EXPECT_EQ(list.details().line1, "4 laps");
    EXPECT_EQ(list.details().line2, "3/8");
    EXPECT_EQ(closed, 0);
    // Gone: closed after three seconds, not before.
    list.clearracelist();
    list.showrace(race("1/2", "Bob", "Other", "HS"));
    clock.advance(RaceList::kCloseCheckMs - 1);
    EXPECT_TRUE(list.details().visible);
    clock.advance(1);
    EXPECT_FALSE(list.details().visible);
    EXPECT_EQ(closed, 1);
}

TEST(Doname, SplitsHostNameAndFlag) {
    struct Case {
        const char* id;
        const char* name;
        const char* flag;
    };
    for (const Case& c : {Case{"[gb]Ann", "Ann", "gb"}, Case{"Bob", "Bob", ""},
                          Case{"[gb Ann", "[gb Ann", ""}, Case{"]x", "]x", ""}}) {
        HostName host = doname(c.id);
        EXPECT_EQ(host.name, c.name) << c.id;
        EXPECT_EQ(host.flag, c.flag) << c.id;
    }
}

} // namespace
} // namespace tarmacia::races
