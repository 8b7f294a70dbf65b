#include "monitor/race_monitor.h"

#include "monitor/game_memory.h"
#include "monitor_host_fake.h"
#include "scan/scan_lists.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>

namespace tarmacia::monitor {
namespace {

using Strings = std::vector<std::string>;

std::string bytes(std::initializer_list<int> values) {
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

std::string le32(std::uint32_t v) {
    return bytes({static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                  static_cast<int>((v >> 16) & 0xFF), static_cast<int>(v >> 24)});
}

constexpr std::uint64_t kHpAnchor = 0x06612345;
constexpr std::uint32_t kPathTable = 0x00400000;

std::uint64_t stateAddress(const std::string& game) {
    if (game == "PU") return kPu.gameState.address;
    if (game == "HS") return kHs.gameState.address;
    return kHp.gameState.at(kHpAnchor).address;
}

bool contains(const Strings& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// `wanted` appears in `events` in this order (other events may lie between).
bool inOrder(const Strings& events, const Strings& wanted) {
    auto it = events.begin();
    for (const auto& w : wanted) {
        it = std::find(it, events.end(), w);
        if (it == events.end()) return false;
        ++it;
    }
    return true;
}

class RaceMonitorTest : public ::testing::Test {
protected:
    test::FakeMonitorHost host;
    int puStep = 1;
    std::unique_ptr<RaceMonitor> monitor =
        std::make_unique<RaceMonitor>(host, [this] { return puStep; });

    void publishPathTable() { host.memory[kPu.pathTableAddress.address] = le32(kPathTable); }
    void setKey(const std::string& game, std::optional<std::string> key) {
        if (key)
            host.memory[stateAddress(game)] = *key;
        else
            host.memory.erase(stateAddress(game));
    }
};

// --- the state tables -------------------------------------------------------

struct Poll {
    std::optional<std::string> key; // none: the read fails
    std::string state;
};

struct StateCase {
    const char* name;
    std::string game;
    int hosting;
    std::string initial;
    std::vector<Poll> polls;
    Strings lobby;
    int setResults = 0;
    int racerReads = 0;
    int raceDumps = 0;
};

const std::string kHpRacing(10, '\x01');
const std::string kHpMenu(10, '\x00');

void PrintTo(const StateCase& c, std::ostream* os) { *os << c.name; }

const StateCase kStateCases[] = {
    {"HsRaceSeenByTheServer",
     "HS",
     1,
     "",
     {{bytes({0x00}), "Opening"},
      {bytes({0x6F}), "Lobby"},
      {bytes({0x01}), "Racing"},
      {bytes({0x6F}), "Results"},
      {bytes({0x6F}), "Results"},
      {bytes({0x6F}), "Lobby"}},
     {"~A~Opening", "~A~Lobby", "~A~Racing", "~A~Results", "~A~Lobby"},
     1},
    {"HsNotHostingTracksButSendsNothing",
     "HS",
     0,
     "",
     {{bytes({0x00}), "Opening"},
      {bytes({0x6F}), "Lobby"},
      {bytes({0x01}), "Racing"},
      {bytes({0x6F}), "Results"}},
     {},
     1},
    {"HsResultsNeverFromOpening",
     "HS",
     1,
     "",
     {{bytes({0x00}), "Opening"}, {bytes({0x00}), "Opening"}, {bytes({0x6F}), "Lobby"}},
     {"~A~Opening", "~A~Lobby"}},
    {"PuJoinedMidRaceWaitsForTheMenus",
     "PU",
     1,
     "",
     {{bytes({0x00, 0x42}), ""},
      {bytes({0x00, 0x42}), ""},
      {bytes({0x00, 0x00}), "Opening"},
      {bytes({0x00, 0x07}), "Lobby"},
      {bytes({0x00, 0x42}), "Racing"},
      {std::nullopt, "Racing"},
      {bytes({0x00, 0x42}), "Racing"},
      {bytes({0x00, 0x00}), "Lobby"}},
     {"~A~Opening", "~A~Lobby", "~A~Racing", "~A~Lobby"},
     1},
    {"PuRacingKeyNeedsBothBytes",
     "PU",
     1,
     "Lobby",
     {{bytes({0x01, 0x42}), "Lobby"}, {bytes({0x00, 0x43}), "Lobby"}},
     {}},
    {"HpRaceReadsRacersAndDumps",
     "HP",
     1,
     "",
     {{kHpRacing, ""},
      {kHpMenu, "Opening"},
      {kHpMenu, "Lobby"},
      {kHpRacing, "Racing"},
      {std::string(9, '\x01') + '\x00', "Lobby"}},
     {"~A~Opening", "~A~Lobby", "~A~Racing", "~A~Lobby"},
     0,
     1,
     1},
    {"CheatingFreezesTheState",
     "HS",
     1,
     "Cheating",
     {{bytes({0x6F}), "Cheating"}, {bytes({0x00}), "Cheating"}},
     {}},
};

class StateTableTest : public RaceMonitorTest, public ::testing::WithParamInterface<StateCase> {};

TEST_P(StateTableTest, FollowsTheGame) {
    const StateCase& c = GetParam();
    host.game = c.game;
    host.hostingFlag = c.hosting;
    host.hpAnchor = kHpAnchor;
    monitor->FormActivate();
    monitor->setRaceState(c.initial);
    for (std::size_t i = 0; i < c.polls.size(); ++i) {
        setKey(c.game, c.polls[i].key);
        monitor->GetStatus();
        EXPECT_EQ(monitor->raceState(), c.polls[i].state) << "poll " << i;
    }
    EXPECT_EQ(host.lobby, c.lobby);
    EXPECT_EQ(host.setResults, c.setResults);
    EXPECT_EQ(host.racerReads, c.racerReads);
    EXPECT_EQ(host.raceDumps, c.raceDumps);
}

INSTANTIATE_TEST_SUITE_P(Games, StateTableTest, ::testing::ValuesIn(kStateCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RaceMonitorTest, PuRaceStartArmsTheInstallCheckAndItsEndSpeedsUpThePoll) {
    host.game = "PU";
    monitor->FormActivate();
    monitor->setRaceState("Lobby");
    setKey("PU", bytes({0x00, 0x42}));
    monitor->GetStatus();
    EXPECT_TRUE(monitor->installTimer().isActive());
    EXPECT_EQ(monitor->statusTimer().interval(), 5000);

    setKey("PU", bytes({0x00, 0x00}));
    monitor->GetStatus();
    EXPECT_EQ(monitor->statusTimer().interval(), 1000);
    // The next opening polls at the normal rate again.
    monitor->FormClose();
    monitor->FormActivate();
    EXPECT_EQ(monitor->statusTimer().interval(), 5000);
}

TEST_F(RaceMonitorTest, HpSearchesTheAnchorUntilFound) {
    host.game = "HP";
    monitor->FormActivate();
    EXPECT_TRUE(monitor->statusTimer().isActive()); // HP polls at once
    host.fakeClock.advance(10000);
    EXPECT_EQ(host.hp2setCalls, 2);
    EXPECT_EQ(monitor->raceState(), "");

    host.hpAnchor = kHpAnchor;
    setKey("HP", kHpMenu);
    host.fakeClock.advance(10000);
    EXPECT_EQ(host.hp2setCalls, 3); // found once, kept
    EXPECT_EQ(monitor->raceState(), "Lobby");
}

// --- the track poll ---------------------------------------------------------

struct TrackCase {
    const char* name;
    std::string game;
    std::map<std::uint64_t, std::string> memory;
    Strings lobby;
};

void PrintTo(const TrackCase& c, std::ostream* os) { *os << c.name; }

const TrackCase kTrackCases[] = {
    {"PuTrackAndMode",
     "PU",
     {{kPu.lobbyTrack.address, bytes({0x07})}, {kPu.lobbyDirection.address, bytes({0x9B})}},
     {"~C~07 2"}},
    {"PuTrackZeroForward",
     "PU",
     {{kPu.lobbyTrack.address, bytes({0x00})}, {kPu.lobbyDirection.address, bytes({0x9A})}},
     {"~C~00 1"}},
    {"PuTrackZeroMirroredBackwardIsNotReported",
     "PU",
     {{kPu.lobbyTrack.address, bytes({0x00})}, {kPu.lobbyDirection.address, bytes({0x9D})}},
     {}},
    {"PuMirroredBackward",
     "PU",
     {{kPu.lobbyTrack.address, bytes({0x1A})}, {kPu.lobbyDirection.address, bytes({0x9D})}},
     {"~C~1A 4"}},
    {"PuUnknownModeByte",
     "PU",
     {{kPu.lobbyTrack.address, bytes({0x07})}, {kPu.lobbyDirection.address, bytes({0x99})}},
     {}},
    {"PuModeUnreadable", "PU", {{kPu.lobbyTrack.address, bytes({0x07})}}, {}},
    {"HsSingleDigitTrack",
     "HS",
     {{kHs.lobbyDirectionMirror.address, bytes({0, 0, 0, 0, 0})},
      {kHs.lobbyTrack.address, bytes({0x05})}},
     {"~C~ 5 1"}},
    {"HsBackward",
     "HS",
     {{kHs.lobbyDirectionMirror.address, bytes({0x01, 0, 0, 0, 0x00})},
      {kHs.lobbyTrack.address, bytes({0x05})}},
     {"~C~ 5 2"}},
    {"HsMirrored",
     "HS",
     {{kHs.lobbyDirectionMirror.address, bytes({0x00, 0, 0, 0, 0x01})},
      {kHs.lobbyTrack.address, bytes({0x12})}},
     {"~C~12 3"}},
    {"HsBackwardMirroredHighNibbleIgnored",
     "HS",
     {{kHs.lobbyDirectionMirror.address, bytes({0x11, 0, 0, 0, 0x01})},
      {kHs.lobbyTrack.address, bytes({0x12})}},
     {"~C~12 4"}},
    {"HsFlagOutOfRange",
     "HS",
     {{kHs.lobbyDirectionMirror.address, bytes({0x02, 0, 0, 0, 0x00})},
      {kHs.lobbyTrack.address, bytes({0x12})}},
     {}},
    {"HpTrackName",
     "HP",
     {{kHp.lobbyTrack.address, std::string("Alpine Trail\0junk", 17)},
      {kHp.lobbyMode.address, bytes({0x02})}},
     {"~C~Alpine Trail 3"}},
    {"HpNoTrackChosen",
     "HP",
     {{kHp.lobbyTrack.address, bytes({0})}, {kHp.lobbyMode.address, bytes({0x00})}},
     {}},
};

class TrackTableTest : public RaceMonitorTest, public ::testing::WithParamInterface<TrackCase> {};

TEST_P(TrackTableTest, ReportsEachNewTrackOnce) {
    const TrackCase& c = GetParam();
    host.game = c.game;
    monitor->FormActivate();
    host.memory = c.memory;
    monitor->GetTrack();
    monitor->GetTrack();
    EXPECT_EQ(host.lobby, c.lobby);
}

INSTANTIATE_TEST_SUITE_P(Games, TrackTableTest, ::testing::ValuesIn(kTrackCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RaceMonitorTest, TrackIsNotPolledDuringTheRaceAndAChangeIsReportedAfter) {
    host.game = "PU";
    monitor->FormActivate();
    host.memory[kPu.lobbyTrack.address] = bytes({0x03});
    host.memory[kPu.lobbyDirection.address] = bytes({0x9A});
    monitor->GetTrack();
    monitor->setRaceState("Racing");
    host.memory[kPu.lobbyTrack.address] = bytes({0x04});
    monitor->GetTrack();
    monitor->setRaceState("Lobby");
    monitor->GetTrack();
    EXPECT_EQ(host.lobby, (Strings{"~C~03 1", "~C~04 1"}));
    EXPECT_EQ(monitor->puLobbyTrack(), "04");
}

// HS through the timers: one second of start-up, then a poll every 5 s; the
// state and the " 5" track go out once, and only while hosting.
class HsPollingTest : public RaceMonitorTest, public ::testing::WithParamInterface<int> {};

TEST_P(HsPollingTest, SendsStateAndTrackOnlyWhileHosting) {
    host.game = "HS";
    host.hostingFlag = GetParam();
    host.memory[kHs.gameState.address] = bytes({0x00});
    host.memory[kHs.lobbyDirectionMirror.address] = bytes({0, 0, 0, 0, 0});
    host.memory[kHs.lobbyTrack.address] = bytes({0x05});
    monitor->FormActivate();
    host.fakeClock.advance(999);
    EXPECT_FALSE(monitor->statusTimer().isActive());
    host.fakeClock.advance(1 + 3 * 5000);
    EXPECT_EQ(monitor->tickCount(), 3);
    EXPECT_EQ(monitor->raceState(), "Opening");
    EXPECT_EQ(monitor->hsLobbyTrack(), GetParam() == 1 ? "05" : "");
    EXPECT_EQ(host.lobby, GetParam() == 1 ? (Strings{"~A~Opening", "~C~ 5 1"}) : Strings{});
}

INSTANTIATE_TEST_SUITE_P(Hosting, HsPollingTest, ::testing::Values(1, 0));

// --- the PU install check ---------------------------------------------------

const Strings kCleanTable(kPuInstallPaths.begin(), kPuInstallPaths.end());

// The table as the game lays it out: some header bytes, then the entries,
// each ended by 00 0A.
std::string pathTable(const Strings& entries) {
    std::string block = bytes({0x10, 0x20, 0x00, 0x0A});
    for (const auto& e : entries)
        block += e + std::string("\0\n", 2);
    return block;
}

struct InstallCase {
    const char* name;
    std::function<void(Strings&)> edit;
    bool moveTable;
    bool alarm;
};

void PrintTo(const InstallCase& c, std::ostream* os) { *os << c.name; }

const InstallCase kInstallCases[] = {
    {"CleanTablePasses", [](Strings&) {}, false, false},
    {"AnEntryPast48", [](Strings& t) { t.push_back("0nn.\\SaveData\\"); }, false, true},
    {"LetterCaseChanged", [](Strings& t) { t[30 - 2] = "0nn.\\gamedata\\Speech\\"; }, false, true},
    {"Entry48Redirected", [](Strings& t) { t[48 - 2] = "0nn.\\SaveData\\x\\"; }, false, true},
    {"EntriesSwapped", [](Strings& t) { std::swap(t[0], t[1]); }, false, true},
    {"TableMoved", [](Strings&) {}, true, true},
};

class InstallCheckTest : public RaceMonitorTest, public ::testing::WithParamInterface<InstallCase> {
protected:
    // A PU race starts on the first poll: the install check runs 10 ms later.
    void startRace(const Strings& table, bool moveTable) {
        host.game = "PU";
        publishPathTable();
        host.memory[kPathTable] = pathTable(table);
        host.beforeRead = [this, moveTable](const MemoryArea& area) {
            if (moveTable && area.address == kPathTable)
                host.memory[kPu.pathTableAddress.address] = le32(kPathTable + 0x100);
        };
        monitor->FormActivate();
        host.fakeClock.advance(1000);
        ASSERT_EQ(monitor->puPathTableAddress(), static_cast<std::int32_t>(kPathTable));
        monitor->setRaceState("Lobby");
        setKey("PU", bytes({0x00, 0x42}));
        host.fakeClock.advance(5000 + 10);
    }
};

TEST_P(InstallCheckTest, Verdict) {
    const InstallCase& c = GetParam();
    Strings table = kCleanTable;
    c.edit(table);
    startRace(table, c.moveTable);
    if (!c.alarm) {
        EXPECT_EQ(monitor->raceState(), "Racing");
        EXPECT_TRUE(monitor->isOpen());
        EXPECT_EQ(monitor->installAlarmLatch(), 0);
        EXPECT_FALSE(contains(host.events, "announce Install Cheat Detected"));
        return;
    }
    EXPECT_EQ(monitor->raceState(), "Cheating");
    EXPECT_FALSE(monitor->isOpen());
    EXPECT_EQ(monitor->installAlarmLatch(), 1);
    EXPECT_TRUE(inOrder(host.events, {"announce Install Cheat Detected", "kill porsche.exe",
                                      "close window", "box L484"}));
    EXPECT_EQ(std::count(host.events.begin(), host.events.end(), "announce Install Cheat Detected"),
              1);
    EXPECT_EQ(host.sounds, std::vector<int>{2});
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].kind, "error");
    EXPECT_EQ(host.boxes[0].line1, "L484");
    EXPECT_EQ(host.boxes[0].line2, "L458");
    EXPECT_EQ(host.boxes[0].button1, "L459");
    EXPECT_FALSE(monitor->statusTimer().isActive());
    EXPECT_FALSE(monitor->resultTimer().isActive());
}

INSTANTIATE_TEST_SUITE_P(PuPathTable, InstallCheckTest, ::testing::ValuesIn(kInstallCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstallCheckTest, AfterTheFirstAlarmAMovedTableIsLetThrough) {
    Strings table = kCleanTable;
    table[5] = "0nn.\\GAMEDATA\\tmptrk\\";
    startRace(table, false);
    ASSERT_EQ(monitor->installAlarmLatch(), 1);

    host.events.clear();
    startRace(kCleanTable, true);
    EXPECT_EQ(monitor->raceState(), "Racing");
    EXPECT_FALSE(contains(host.events, "announce Install Cheat Detected"));
}

TEST_F(InstallCheckTest, UnreadableTableMeansNoStats) {
    startRace(kCleanTable, false);
    ASSERT_EQ(monitor->raceState(), "Racing");
    host.memory.erase(kPathTable);
    monitor->setRaceState("Lobby");
    host.fakeClock.advance(5000 + 10);
    EXPECT_EQ(monitor->raceState(), "No Stats");
    EXPECT_TRUE(monitor->isOpen());
}

// --- the start-up wait ------------------------------------------------------

TEST_F(RaceMonitorTest, PuThatNeverPublishesItsTableIsEndedAfterSixtyOneSeconds) {
    host.game = "PU";
    monitor->FormActivate();
    EXPECT_EQ(host.monitoring, "/games/pu/porsche.exe");
    host.fakeClock.advance(61 * 1000);
    EXPECT_EQ(monitor->startupWaitCount(), 61);
    EXPECT_TRUE(monitor->isOpen());
    EXPECT_FALSE(contains(host.events, "announce PU Failed to start properly"));

    host.fakeClock.advance(1000);
    EXPECT_FALSE(monitor->isOpen());
    EXPECT_TRUE(inOrder(
        host.events, {"announce PU Failed to start properly", "kill porsche.exe", "close window"}));
    EXPECT_EQ(host.chat, Strings{"[df]PU Failed to start properly"});
    EXPECT_FALSE(monitor->startupTimer().isActive());
    EXPECT_FALSE(monitor->statusTimer().isActive());
}

TEST_F(RaceMonitorTest, PuPollsOnceItsTableIsPublished) {
    host.game = "PU";
    monitor->FormActivate();
    host.fakeClock.advance(4000);
    EXPECT_FALSE(monitor->statusTimer().isActive());
    publishPathTable();
    host.fakeClock.advance(1000);
    EXPECT_TRUE(monitor->statusTimer().isActive());
    EXPECT_FALSE(monitor->startupTimer().isActive());
    EXPECT_EQ(monitor->startupWaitCount(), 4);
}

TEST_F(RaceMonitorTest, PuCdEditionLooksItsGameUpEverySecond) {
    host.game = "PU";
    host.puEditionFlag = true;
    host.pidOnStart = 100; // the launcher
    host.pidsByPath["/games/pu/porsche.icd"] = 777;
    monitor->FormActivate();
    EXPECT_EQ(monitor->monitoredExecutable(), "/games/pu/porsche.icd");
    EXPECT_EQ(host.pid, 100);
    host.fakeClock.advance(1000);
    EXPECT_EQ(host.pid, 777);
    host.pidsByPath["/games/pu/porsche.icd"] = 778;
    host.fakeClock.advance(1000);
    EXPECT_EQ(host.pid, 778);
}

TEST_F(RaceMonitorTest, AGameThatDidNotStartClosesTheMonitorAtOnce) {
    host.game = "HS";
    host.pidOnStart = 0;
    monitor->FormActivate();
    EXPECT_FALSE(monitor->isOpen());
    EXPECT_EQ(host.windowCloses, 1);
    EXPECT_FALSE(monitor->startupTimer().isActive());
}

TEST_F(RaceMonitorTest, PtIsLeftToThePlayer) {
    host.game = "PT";
    host.pidOnStart = 0;
    monitor->FormActivate();
    EXPECT_TRUE(monitor->isOpen());
    EXPECT_EQ(host.monitorTexts,
              Strings{"Start your game now\nClick on suspend screen when finished"});
    host.fakeClock.advance(60000);
    EXPECT_FALSE(monitor->statusTimer().isActive());
    EXPECT_TRUE(host.executablesRead.empty());
}

// --- closing ----------------------------------------------------------------

struct CloseCase {
    int polls;
    bool warned;
};

class HsCloseTest : public RaceMonitorTest, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(HsCloseTest, WarnsBeforeEndingAnHsStillLoading) {
    host.game = "HS";
    monitor->FormActivate();
    host.fakeClock.advance(1000 + GetParam().polls * 5000);
    ASSERT_EQ(monitor->tickCount(), std::min(GetParam().polls, 10));
    monitor->FormClose();

    const std::string warning =
        "message Warning - do not press OK until HS has finished loading or corruption may occur";
    EXPECT_EQ(contains(host.events, warning), GetParam().warned);
    Strings order = {"kill porsche.exe"};
    if (GetParam().warned) order.push_back(warning);
    for (const char* e : {"kill nfshs.exe", "kill mixer.exe", "kill nfshp2.exe",
                          "ipsetup 127.0.0.1\xC2\xAC"
                          "default",
                          "close window"})
        order.push_back(e);
    EXPECT_TRUE(inOrder(host.events, order));
    EXPECT_EQ(host.hostingFlag, 0);
    EXPECT_EQ(host.gameLaunchedFlag, 0);
    EXPECT_EQ(host.scanPos, 99);
    EXPECT_FALSE(monitor->statusTimer().isActive());
}

INSTANTIATE_TEST_SUITE_P(Polls, HsCloseTest,
                         ::testing::Values(CloseCase{4, true}, CloseCase{9, true},
                                           CloseCase{10, false}, CloseCase{12, false}));

TEST_F(RaceMonitorTest, AClickWithinTheSecondAfterARaceStillCollectsItsResult) {
    host.game = "PU";
    publishPathTable();
    // What result capture does with a usable result.
    host.onSetResult = [this] {
        monitor->stopStatusPoll();
        monitor->startResultCollection();
    };
    monitor->FormActivate();
    host.fakeClock.advance(1000);
    monitor->setRaceState("Racing");
    setKey("PU", bytes({0x00, 0x00}));
    host.fakeClock.advance(5000);
    ASSERT_EQ(host.setResults, 1);
    ASSERT_TRUE(monitor->resultTimer().isActive());

    host.fakeClock.advance(400);
    monitor->FormClose();
    EXPECT_FALSE(monitor->isOpen());
    EXPECT_EQ(host.getResults, 0);

    host.fakeClock.advance(600);
    EXPECT_EQ(host.getResults, 1);
    EXPECT_FALSE(host.checkedNames.empty());
    EXPECT_EQ(monitor->raceScanPassed(), 1);
    EXPECT_EQ(host.scanPos, 99);
    // Result capture asking to poll again must not wake a closed monitor.
    monitor->resumeStatusPoll();
    host.fakeClock.advance(20000);
    EXPECT_EQ(host.getResults, 1);
    EXPECT_FALSE(monitor->statusTimer().isActive());
}

// --- the post-race scan -----------------------------------------------------

Strings namesOf(const std::string& game, std::initializer_list<int> indexes) {
    Strings names;
    for (int i : indexes) {
        const std::string path = scan::getnextfile(game, i);
        names.push_back(path.substr(path.rfind('\\') + 1));
    }
    return names;
}

TEST_F(RaceMonitorTest, PuSamplesItsListInRandomSteps) {
    host.game = "PU";
    puStep = 22;
    monitor->FormActivate();
    monitor->racescan();
    EXPECT_EQ(host.checkedNames, namesOf("PU", {100, 122, 144, 166, 188, 210, 232, 254}));
    EXPECT_EQ(monitor->raceScanPassed(), 1);
    EXPECT_FALSE(host.scanFailedFlag.has_value());
    EXPECT_TRUE(monitor->isOpen());
}

TEST_F(RaceMonitorTest, HsChecksItsWholeListAndAFailureEndsTheRace) {
    host.game = "HS";
    monitor->FormActivate();
    const Strings all = namesOf("HS", {100, 101, 102, 103});
    host.badFiles[all[2]] = "notok~" + all[2] + "~Unknown Version";
    host.fileChangeNotice = true;
    monitor->racescan();

    EXPECT_EQ(host.checkedNames, all);
    EXPECT_EQ(host.scanFailures, (Strings{"File Swap Error", all[2] + "~Unknown Version"}));
    EXPECT_EQ(monitor->raceScanPassed(), 0);
    EXPECT_EQ(host.scanFailedFlag, 1);
    EXPECT_FALSE(monitor->isOpen());
    EXPECT_TRUE(
        inOrder(host.events, {"announce Race Scan Failed", "kill porsche.exe", "kill nfshp2.exe",
                              "close window", "showmess Race Scan Failed", "showbox"}));
    EXPECT_EQ(host.sounds, std::vector<int>{2});
}

TEST_F(RaceMonitorTest, APendingFileChangeAloneFailsTheScan) {
    host.game = "HP";
    host.fileChangeNotice = true;
    monitor->FormActivate();
    monitor->racescan();
    EXPECT_EQ(host.checkedNames.size(), 50u); // 100..149
    EXPECT_EQ(host.scanFailures, Strings{"File Swap Error"});
    EXPECT_EQ(monitor->raceScanPassed(), 0);
}

} // namespace
} // namespace tarmacia::monitor
