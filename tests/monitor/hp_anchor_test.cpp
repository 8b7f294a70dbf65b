#include "monitor/hp_anchor.h"

#include "platform/fake/fake_process_memory.h"

#include <gtest/gtest.h>

namespace tarmacia::monitor {
namespace {

using platform::fake::FakeProcessMemory;

const std::string kMarker = "\\EAGL\\";

// `size` bytes of filler with the marker written at each of `at`.
std::string bytesWith(std::size_t size, std::initializer_list<std::size_t> at) {
    std::string s(size, '\x01');
    for (std::size_t a : at)
        s.replace(a, kMarker.size(), kMarker);
    return s;
}

TEST(FindInBlocks, FirstMarkerWhollyInsideABlock) {
    struct Case {
        const char* name;
        std::initializer_list<std::size_t> markers;
        std::optional<std::size_t> found;
    };
    const Case cases[] = {
        {"none", {}, std::nullopt},
        {"first of two", {7000, 300}, 300},
        {"ends exactly at a block end", {5000 - 6, 9000}, 5000 - 6},
        {"straddling is passed over for the next", {5000 - 3, 12000}, 12000},
        {"only a straddling one", {10000 - 1}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(findInBlocks(bytesWith(15000, c.markers), 5000, kMarker), c.found);
    }
}

class Anchor : public testing::Test {
protected:
    static constexpr int kPid = 42;
    static constexpr std::uint64_t kFrom = 0x06500000;
    FakeProcessMemory memory;
};

TEST_F(Anchor, FoundWithAFewLargeReadsOverTheWholeWindow) {
    const std::uint64_t size = kHp.anchorTo - kFrom + 5000; // all the blocks
    const std::size_t at = 9'000'123;
    memory.put(kPid, kFrom, bytesWith(size, {at, 10'000'000}));
    EXPECT_EQ(findHpAnchor(memory, kPid), kFrom + at);
    EXPECT_LE(memory.reads, 5); // 2 MB pieces, not 5000-byte ones
}

TEST_F(Anchor, PiecesAreWholeBlocksSoOnlyBlockBoundariesCount) {
    // Asked for 12345-byte pieces, the search reads 10000: the marker at
    // 12342 is inside block 2 and found; the one across 5000 is not.
    memory.put(kPid, kFrom, bytesWith(30'000, {5000 - 2, 12'342}));
    EXPECT_EQ(findHpAnchor(memory, kPid, {}, 12'345), kFrom + 12'342);
}

TEST_F(Anchor, OnlyWholeReadableBlocksAreSearched) {
    // Block 0 is half mapped, so it was never readable in one read and its
    // marker does not count; block 4 is whole.
    memory.put(kPid, kFrom + 2500, bytesWith(2500, {100}));
    memory.put(kPid, kFrom + 20000, bytesWith(5000, {4000}));
    EXPECT_EQ(findHpAnchor(memory, kPid), kFrom + 24000);
}

TEST_F(Anchor, BlocksAcrossTwoMappingsAndAGameThatIsNotThere) {
    memory.put(kPid, kFrom, bytesWith(4000, {}));
    memory.put(kPid, kFrom + 4000, bytesWith(6000, {500})); // marker in block 0
    EXPECT_EQ(findHpAnchor(memory, kPid), kFrom + 4500);
    EXPECT_EQ(findHpAnchor(memory, 7), std::nullopt);
}

TEST_F(Anchor, TheLastBlockRunsPastTheWindowEnd) {
    // Blocks start below 0x07000000; the last one starts at 0x06FFFB6C.
    const std::uint64_t lastBlock = kFrom + 2306ull * 5000;
    memory.put(kPid, lastBlock, bytesWith(5000, {4900}));
    EXPECT_EQ(findHpAnchor(memory, kPid), lastBlock + 4900);
    EXPECT_GT(lastBlock + 4900, kHp.anchorTo);
}

} // namespace
} // namespace tarmacia::monitor
