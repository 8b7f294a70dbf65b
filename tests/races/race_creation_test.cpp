#include "races/race_creation.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

namespace tarmacia::races {
namespace {

using testing::ElementsAre;
using testing::IsEmpty;

const std::string kSep = "\xC2\xAC";

// Records what the creation does to the main window, in one event list so
// the order of the steps shows.
class FakeCreationHost : public CreationHost {
public:
    app::DiagnosticLog& log() override { return log_; }
    int messagebox(const app::MessageBoxRecord& record) override {
        boxes.push_back(record);
        events.push_back("box " + record.line1);
        return 3;
    }
    void send(const std::string& message) override {
        sent.push_back(message);
        events.push_back("send");
    }
    void chatLine(const std::string& text) override { events.push_back("chat " + text); }
    void localNotice(const std::string& text) override { events.push_back("notice " + text); }
    int loginState() const override { return login; }
    std::string playerName() const override { return player; }
    int raceActive() const override { return active; }
    void setSelectedGame(const std::string& game) override { selectedGame = game; }
    std::filesystem::path useGameFolder(const std::string& game) override {
        const auto found = folders.find(game);
        return found == folders.end() ? std::filesystem::path() : found->second;
    }
    int scanInProgress() const override { return 0; }
    int scanFailed() const override { return failed; }
    std::string lastScannedGame() const override { return ""; }
    void startScan() override {
        events.push_back("scan " + selectedGame);
        failed = failAtScan;
    }
    void setHosting(int flag) override {
        hosting = flag;
        events.push_back("hosting " + std::to_string(flag));
    }
    std::string hostingIp() const override { return ip; }
    void setCurrentTrackset(const std::string& trackset) override { currentTrackset = trackset; }
    void closeAllPanels() override { events.push_back("close panels"); }

    app::DiagnosticLog log_;
    int login = 1;
    std::string player = "Ann";
    int active = 0;
    std::map<std::string, std::filesystem::path> folders{
        {"PU", "/games/pu/"}, {"HS", "/games/hs/"}, {"HP", "/games/hp/"}};
    int failed = 0;
    int failAtScan = 0;
    std::string ip;
    std::string selectedGame;
    int hosting = 0;
    std::string currentTrackset;
    std::vector<app::MessageBoxRecord> boxes;
    std::vector<std::string> sent;
    std::vector<std::string> events;
};

class RaceCreationTest : public testing::Test {
protected:
    RaceCreationTest() { creation.setGames({{"PU", "HS", "HP", "ZZ"}, "PU"}); }

    void openPanelFor(const std::string& game) {
        creation.createRaceButtonClick();
        creation.gameChanged(game);
        host.events.clear();
    }

    FakeCreationHost host;
    RaceCreation creation{host};
};

TEST(RaceTypes, EachGameHasItsListDefaultAndTracksets) {
    struct Case {
        std::string game;
        std::size_t types;
        std::string first, last, defaultType;
        int typeSelected;
        bool enables;
        std::vector<std::string> tracksetsHead;
        std::size_t tracksets;
        int tracksetSelected;
    };
    const Case cases[] = {
        {"PU", 19, "Stock CD Off", "Tournament", "Stock CD Off", 0, false, {"Default"}, 1, 0},
        {"HS",
         8,
         "Single Race",
         "Tournament",
         "Single Race",
         -1,
         true,
         {"default", "Mod1"},
         18,
         -1},
        {"HP", 3, "Single Race C on", "Tournament", "Single Race", -1, true, {"Default"}, 1, 0},
        {"ZZ", 2, "Single Race", "Tournament", "Single Race", -1, true, {"Default"}, 1, -1},
        {"", 2, "Single Race", "Tournament", "Single Race", -1, true, {"Default"}, 1, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        const GameRaceTypes t = raceTypesFor(c.game);
        ASSERT_EQ(t.raceTypes.size(), c.types);
        EXPECT_EQ(t.raceTypes.front(), c.first);
        EXPECT_EQ(t.raceTypes.back(), c.last);
        EXPECT_EQ(t.defaultType, c.defaultType);
        EXPECT_EQ(t.raceTypeSelected, c.typeSelected);
        EXPECT_EQ(t.enablesRaceTypeBox, c.enables);
        ASSERT_EQ(t.tracksets.size(), c.tracksets);
        for (std::size_t i = 0; i < c.tracksetsHead.size(); ++i)
            EXPECT_EQ(t.tracksets[i], c.tracksetsHead[i]);
        EXPECT_EQ(t.tracksetSelected, c.tracksetSelected);
    }
    EXPECT_EQ(raceTypesFor("HS").tracksets.back(), "Mod17");
    // The case differs between games and is kept as listed.
    EXPECT_THAT(raceTypesFor("HS").raceTypes,
                ElementsAre("Single Race", "Stock CD on", "Stock CD off", "Mods CD on",
                            "Mods CD off", "Other CD on", "Other CD off", "Tournament"));
    EXPECT_THAT(raceTypesFor("PU").raceTypes,
                ElementsAre("Stock CD Off", "Stock CD On", "Stock C Off D On", "Stock C On D Off",
                            "Mods CD Off", "Mods CD On", "Mods C Off D On", "Mods C On D Off",
                            "Mixed CD Off", "Mixed CD On", "Mixed C Off D On", "Mixed C On D Off",
                            "Players List CD Off", "Players List CD On", "Players List C Off D On",
                            "Players List C On D Off", "Players List inc CD", "Competition",
                            "Tournament"));
    EXPECT_THAT(raceTypesFor("HP").raceTypes,
                ElementsAre("Single Race C on", "Single Race C off", "Tournament"));
}

TEST(CreationMessage, CarriesEightFieldsEachEndedBySeparator) {
    EXPECT_EQ(creationMessage({"Mod5", "Ann's Game", "Stock CD off", 6, "HS", "10.0.0.2"}),
              "~5~Mod5" + kSep + "Ann's Game" + kSep + "Stock CD off" + kSep + "6" + kSep + kSep +
                  "0" + kSep + "HS" + kSep + "10.0.0.2" + kSep);
    EXPECT_EQ(creationMessage({"Default", "", "", 0, "", ""}),
              "~5~Default" + kSep + kSep + kSep + "0" + kSep + kSep + "0" + kSep + kSep + kSep);
}

TEST_F(RaceCreationTest, SwitchingGamesReplacesTheListsAndTheBoxTexts) {
    openPanelFor("HS");
    const CreationPanel& p = creation.panel();
    EXPECT_EQ(host.selectedGame, "HS");
    EXPECT_EQ(p.host, "Ann");
    EXPECT_EQ(p.description, "Ann's Game");
    EXPECT_EQ(creation.raceName(), "Ann's Game");
    EXPECT_EQ(p.tracksets.size(), 18u);
    EXPECT_EQ(p.trackset, ""); // nothing selected until the player picks
    EXPECT_EQ(p.raceType, "Single Race");

    creation.gameChanged("PU");
    EXPECT_EQ(host.selectedGame, "PU");
    EXPECT_THAT(p.tracksets, ElementsAre("Default"));
    EXPECT_EQ(p.trackset, "Default");
    EXPECT_EQ(p.raceTypes.size(), 19u);
    EXPECT_EQ(p.raceTypeSelected, 0);
    EXPECT_EQ(p.raceType, "Stock CD Off");
    EXPECT_EQ(creation.defaultRaceType(), "Stock CD Off");

    creation.gameChanged("HP");
    EXPECT_EQ(p.raceType, "Single Race"); // shown although it is no item of the list
    EXPECT_EQ(p.raceTypeSelected, -1);
}

TEST_F(RaceCreationTest, CreateSendsWhatThePanelHoldsAndClosesThePanels) {
    openPanelFor("HS");
    creation.setDescription("Night \xC3\xA9tape");
    creation.setRaceType("Mods CD off");
    creation.setMax("6");
    creation.setTrackset("Mod5");
    host.ip = "10.0.0.2";
    creation.createButtonClick();
    EXPECT_THAT(host.events, ElementsAre("scan HS", "hosting 1", "send", "close panels"));
    EXPECT_THAT(host.sent,
                ElementsAre("~5~Mod5" + kSep + "Night \xC3\xA9tape" + kSep + "Mods CD off" + kSep +
                            "6" + kSep + kSep + "0" + kSep + "HS" + kSep + "10.0.0.2" + kSep));
    EXPECT_EQ(host.currentTrackset, "Mod5");
    EXPECT_EQ(host.hosting, 1);
    EXPECT_FALSE(creation.panel().visible);
}

TEST_F(RaceCreationTest, EmptyTracksetSendsDefaultAndTheOverrideOutlivesAnEmptyField) {
    openPanelFor("HS"); // the trackset box is empty after set-up
    host.ip = "10.0.0.2";
    creation.createButtonClick();
    host.ip = "";
    openPanelFor("HS");
    creation.setMax("");
    creation.createButtonClick();
    ASSERT_EQ(host.sent.size(), 2u);
    const std::string tail = "HS" + kSep + "10.0.0.2" + kSep;
    for (const std::string& m : host.sent) {
        EXPECT_EQ(m.rfind("~5~Default" + kSep, 0), 0u) << m;
        EXPECT_EQ(m.substr(m.size() - tail.size()), tail) << m;
        // An empty "Max" keeps the last maximum.
        EXPECT_NE(m.find(kSep + "8" + kSep + kSep + "0" + kSep), std::string::npos) << m;
    }
    EXPECT_EQ(host.currentTrackset, "Default");
}

TEST_F(RaceCreationTest, CreateStepsRefuseInOrder) {
    struct Case {
        std::string name;
        std::string game;
        int failedBefore;
        int failAtScan;
        std::vector<std::string> events;
        bool sends;
    };
    const std::vector<Case> cases = {
        {"scanned and sent", "PU", 0, 0, {"scan PU", "hosting 1", "send", "close panels"}, true},
        // A scan start clears or sets the flag: the one it leaves counts.
        {"earlier failure cleared",
         "PU",
         1,
         0,
         {"scan PU", "hosting 1", "send", "close panels"},
         true},
        {"scan fails", "PU", 0, 1, {"scan PU"}, false},
        {"no folder: told, still created",
         "ZZ",
         0,
         0,
         {"box Unable to scan ZZ", "hosting 1", "send", "close panels"},
         true},
        {"no folder and a failed scan", "ZZ", 1, 0, {"box Unable to scan ZZ"}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCreationHost h;
        RaceCreation rc(h);
        rc.setGames({{"PU", "ZZ"}, c.game});
        rc.createRaceButtonClick();
        h.events.clear();
        h.failed = c.failedBefore;
        h.failAtScan = c.failAtScan;
        rc.createButtonClick();
        EXPECT_EQ(h.events, c.events);
        EXPECT_EQ(h.sent.size(), c.sends ? 1u : 0u);
    }
    // The box of a game that cannot be scanned, exactly.
    FakeCreationHost h;
    RaceCreation rc(h);
    rc.setGames({{"ZZ"}, "ZZ"});
    rc.createButtonClick();
    ASSERT_EQ(h.boxes.size(), 1u);
    const app::MessageBoxRecord& box = h.boxes[0];
    EXPECT_EQ(box.title, "Create Race");
    EXPECT_EQ(box.kind, "error");
    EXPECT_EQ(box.line2, "Create Race Aborted");
    EXPECT_EQ(box.line3, "");
    EXPECT_EQ(box.button1, "Abort");
    EXPECT_EQ(box.button2, "");
}

TEST_F(RaceCreationTest, OpeningThePanelNeedsALoginAndNoRaceUnderWay) {
    struct Case {
        int login;
        int active;
        std::vector<std::string> events;
        bool visible;
        int hosting;
    };
    const Case cases[] = {
        {0, 0, {"box Create Race Failed"}, false, 0},
        // Only a login state of 0 keeps the panel shut.
        {2, 0, {"hosting 1"}, true, 1},
        {1, 1, {"notice Race Already Started"}, true, 0},
        {1, 0, {"hosting 1"}, true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.login << "/" << c.active);
        FakeCreationHost h;
        RaceCreation rc(h);
        rc.setGames({{"PU"}, "PU"});
        h.login = c.login;
        h.active = c.active;
        rc.createRaceButtonClick();
        EXPECT_EQ(h.events, c.events);
        EXPECT_EQ(rc.panel().visible, c.visible);
        EXPECT_EQ(h.hosting, c.hosting);
        EXPECT_THAT(h.sent, IsEmpty());
    }
    FakeCreationHost h;
    h.login = 0;
    RaceCreation rc(h);
    rc.CreateClick();
    EXPECT_THAT(h.events, ElementsAre("chat [df]Please Login"));
}

} // namespace
} // namespace tarmacia::races
