#include "monitor/game_memory.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace tarmacia::monitor {
namespace {

struct Entry {
    const char* game;
    const char* name;
    std::uint64_t address;
    std::size_t length;
};

TEST(GameMemory, NamedAreasSitAtTheBuildsAddresses) {
    const Entry entries[] = {
        {"PU", "gameState", 0x5DFA1A, 12},
        {"PU", "pathTableAddress", 0x65B2A4, 4},
        {"PU", "resultName[7]", 0x5E7644 + 7 * 600, 12},
        {"PU", "resultTime[1]", 0x5E7644 + 600 - 84, 12},
        {"PU", "resultMonteCarloTime[0]", 0x5E7644 + 388, 12},
        {"HS", "lobbyDirectionMirror", 0x7C4CF0, 12},
        {"HS", "lobbyTrack", 0x821577, 12},
        {"HS", "track", 0x821577, 4},
        {"HS", "optionD", 0x7C4D0C, 4},
        {"HS", "resultRow[3]", 0x664034, 145},
        {"HS", "resultRow[7]", 0x666B84, 145},
        {"HP", "lobbyTrack", 0x7277A4, 30},
        {"HP", "lobbyMode", 0x72790C, 30},
    };
    for (const Entry& e : entries) {
        SCOPED_TRACE(std::string(e.game) + " " + e.name);
        auto areas = fixedAreas(e.game);
        auto it = std::find_if(areas.begin(), areas.end(),
                               [&](const NamedArea& a) { return a.name == e.name; });
        ASSERT_NE(it, areas.end());
        EXPECT_EQ(it->area, (MemoryArea{e.address, e.length}));
    }
    EXPECT_TRUE(fixedAreas("PT").empty());
}

TEST(GameMemory, HpAreasFollowTheAnchor) {
    const std::uint64_t anchor = 0x06812345;
    EXPECT_EQ(kHp.gameState.at(anchor), (MemoryArea{anchor - 0xCF9, 12}));
    EXPECT_EQ(kHp.racerName(0).at(anchor), (MemoryArea{anchor - 0x1FEB9, 14}));
    EXPECT_EQ(kHp.racerName(7).at(anchor), (MemoryArea{anchor - 130745 + 7 * 84, 14}));
    EXPECT_EQ(kHp.raceEvents.at(anchor), (MemoryArea{anchor + 0x158B947, 256000}));
    EXPECT_EQ(kHs.lapTimeAt(1), 24u);
    EXPECT_EQ(kHs.lapTimeAt(8), 52u);
}

TEST(GameMemory, LittleEndianValuesAndShortBlocks) {
    const std::string block("\x34\x12\xFF\x80", 4);
    EXPECT_EQ(u16At(block, 0), 0x1234);
    EXPECT_EQ(u32At(block, 0), 0x80FF1234u);
    EXPECT_EQ(u16At(block, 3), 0); // runs past the block
    EXPECT_EQ(u32At(block, 1), 0u);
}

} // namespace
} // namespace tarmacia::monitor
