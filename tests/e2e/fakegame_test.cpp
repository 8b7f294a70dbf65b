// The fake game is what the race monitor's end-to-end tests read, so it must
// put the right bytes at the right addresses. These tests read it as the
// monitor will: by pid, with process_vm_readv, at the games' literal
// addresses (not the fake's own table, so a wrong entry there shows).

#include "fakegame/fakegame_control.h"
#include "fakegame/game_script.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/uio.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

using tarmacia::fakegame::FakeGameProcess;
namespace script = tarmacia::fakegame;
using Bytes = std::vector<std::uint8_t>;

const std::filesystem::path kProgram = TARMACIA_BUILD_DIR "/tarmacia-fakegame";

std::optional<Bytes> readAt(pid_t pid, std::uintptr_t address, std::size_t size) {
    Bytes bytes(size);
    iovec local{bytes.data(), size};
    iovec remote{reinterpret_cast<void*>(address), size};
    if (process_vm_readv(pid, &local, 1, &remote, 1, 0) != static_cast<ssize_t>(size))
        return std::nullopt;
    return bytes;
}

Bytes mustRead(pid_t pid, std::uintptr_t address, std::size_t size) {
    auto bytes = readAt(pid, address, size);
    if (!bytes) {
        ADD_FAILURE() << "cannot read " << std::hex << address;
        return Bytes(size);
    }
    return *bytes;
}

std::string textAt(pid_t pid, std::uintptr_t address, std::size_t size) {
    const Bytes bytes = mustRead(pid, address, size);
    return {bytes.begin(), std::find(bytes.begin(), bytes.end(), 0)};
}

unsigned u16At(pid_t pid, std::uintptr_t address) {
    const Bytes b = mustRead(pid, address, 2);
    return b[0] | b[1] << 8;
}

std::uint32_t u32At(pid_t pid, std::uintptr_t address) {
    const Bytes b = mustRead(pid, address, 4);
    return b[0] | b[1] << 8 | b[2] << 16 | static_cast<std::uint32_t>(b[3]) << 24;
}

// The path-table entries as the install check cuts them from 1300 bytes:
// an entry starts before "nn" and ends before 00 0A.
std::vector<std::string> pathEntries(const Bytes& table) {
    std::vector<std::string> entries;
    std::string entry;
    bool collecting = false;
    for (std::size_t i = 0; i + 2 < table.size(); ++i) {
        if (!collecting && table[i + 1] == 'n' && table[i + 2] == 'n') collecting = true;
        if (!collecting) continue;
        entry += static_cast<char>(table[i]);
        if (table[i + 1] == 0x00 && table[i + 2] == 0x0A) {
            entries.push_back(entry);
            entry.clear();
            collecting = false;
        }
    }
    return entries;
}

std::string commOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/comm");
    std::string comm;
    std::getline(in, comm);
    return comm;
}

TEST(FakeGame, PuPublishesItsPathTableAndPlaysARace) {
    tarmacia::test::TempDir folder;
    FakeGameProcess game(FakeGameProcess::install(kProgram, folder.path(), "porsche.exe"));
    const pid_t pid = game.pid();
    EXPECT_EQ(commOf(pid), "porsche.exe");

    EXPECT_EQ(mustRead(pid, 0x699F30, 12)[0], 0x05);
    EXPECT_EQ(mustRead(pid, 0x699E44, 12)[0], 0x9B);

    const std::uint32_t table = u32At(pid, 0x65B2A4);
    ASSERT_GT(static_cast<std::int32_t>(table), 0);
    std::vector<std::string> clean = pathEntries(mustRead(pid, table, 1300));
    ASSERT_GE(clean.size(), 40u);
    EXPECT_EQ(clean[0], "0nn.\\gamedata\\simulation\\ai\\"); // entry 2
    EXPECT_EQ(clean[4], "0nn.\\gamedata\\track\\");          // entry 6

    // Tampering changes exactly one entry, in place.
    EXPECT_EQ(game.command("tamper"), "ok opening");
    std::vector<std::string> tampered = pathEntries(mustRead(pid, table, 1300));
    ASSERT_EQ(tampered.size(), clean.size());
    EXPECT_EQ(tampered[4], "0nn.\\gamedata\\Track\\");
    tampered[4] = clean[4];
    EXPECT_EQ(tampered, clean);

    // Moving republishes a clean table at another address.
    EXPECT_EQ(game.command("move"), "ok opening");
    const std::uint32_t moved = u32At(pid, 0x65B2A4);
    EXPECT_NE(moved, table);
    EXPECT_EQ(pathEntries(mustRead(pid, moved, 1300)), clean);

    auto state = [&] { return mustRead(pid, 0x5DFA1A, 12); };
    auto racing = [&] {
        const Bytes s = state();
        return s[0] == 0x00 && s[1] == 0x42;
    };
    EXPECT_EQ(game.command("lobby"), "ok lobby");
    EXPECT_FALSE(racing());
    EXPECT_EQ(game.command("racing"), "ok racing");
    EXPECT_TRUE(racing());
    EXPECT_EQ(textAt(pid, 0x5E7644, 12), ""); // no results during the race
    EXPECT_EQ(game.command("results"), "ok results");
    EXPECT_FALSE(racing());

    // The player's row is the one named like the in-race name.
    const std::string player = textAt(pid, 0x60C890, 12);
    EXPECT_EQ(player, script::pu::kPlayer);
    std::optional<int> row;
    for (int k = 0; k < 8 && !row; ++k)
        if (textAt(pid, 0x5E7644 + 600 * k, 12) == player) row = k;
    ASSERT_TRUE(row);
    const std::uintptr_t name = 0x5E7644 + 600 * *row;
    EXPECT_EQ(u16At(pid, name - 84), script::pu::kRowTimes[*row]);
    EXPECT_EQ(u16At(pid, name + 388), script::pu::kRowTimes[*row] + script::pu::kMonteCarloOffset);

    EXPECT_EQ(game.command("quit"), "ok results");
    const int status = game.wait();
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(FakeGame, HpMarkerIsFoundInTheWindowAndStateFollowsIt) {
    tarmacia::test::TempDir folder;
    FakeGameProcess game(FakeGameProcess::install(kProgram, folder.path(), "nfshp2.exe"));
    const pid_t pid = game.pid();

    // Searched the way the client does: 5000-byte blocks from the window start.
    const std::string marker = "\\EAGL\\";
    std::vector<std::uintptr_t> found;
    for (std::uintptr_t block = 0x06500000; block < 0x07000000; block += 5000) {
        const auto bytes = readAt(pid, block, 5000);
        ASSERT_TRUE(bytes) << "window not readable at " << std::hex << block;
        const std::string text(bytes->begin(), bytes->end());
        for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at + 1))
            found.push_back(block + at);
    }
    ASSERT_EQ(found.size(), 1u);
    const std::uintptr_t anchor = found[0];

    EXPECT_EQ(textAt(pid, 0x7277A4, 30), script::hp::kTrackName);
    EXPECT_EQ(mustRead(pid, 0x72790C, 30)[0], 0x01);
    EXPECT_EQ(textAt(pid, anchor - 0x1FEB9, 14), "[DF]Tester");
    EXPECT_EQ(textAt(pid, anchor - 0x1FEB9 + 84, 14), "Rival1");

    auto racing = [&] {
        const Bytes s = mustRead(pid, anchor - 0xCF9, 12);
        return std::all_of(s.begin(), s.begin() + 10, [](std::uint8_t b) { return b == 0x01; });
    };
    auto events = [&] {
        const Bytes text = mustRead(pid, anchor + 0x158B947, 256000);
        std::string printable;
        for (std::uint8_t b : text)
            if (b > 30 && b != ' ') printable += static_cast<char>(b);
        return printable;
    };
    EXPECT_EQ(game.command("lobby"), "ok lobby");
    EXPECT_FALSE(racing());
    EXPECT_EQ(game.command("racing"), "ok racing");
    EXPECT_TRUE(racing());
    EXPECT_EQ(events(), "");
    EXPECT_EQ(game.command("results"), "ok results");
    EXPECT_FALSE(racing());
    EXPECT_EQ(events(), "zingracestartRival2wonzingracestart[DF]TesterwonRival1fini");

    EXPECT_EQ(game.command("tamper"), "error tamper is for PU only");
}

TEST(FakeGame, HsIsChosenByNameInAnyCaseAndUnknownNamesAreRefused) {
    tarmacia::test::TempDir folder;
    {
        FakeGameProcess game(FakeGameProcess::install(kProgram, folder.path(), "NFSHS.EXE"));
        const pid_t pid = game.pid();
        auto state = [&] { return mustRead(pid, 0x5B0950, 12)[0]; };
        EXPECT_NE(state(), 0x6F); // still loading
        EXPECT_EQ(game.command("lobby"), "ok lobby");
        EXPECT_EQ(state(), 0x6F);
        EXPECT_EQ(mustRead(pid, 0x821577, 12)[0], 0x05);
        const Bytes layout = mustRead(pid, 0x7C4CF0, 12);
        EXPECT_EQ(layout[0], 0); // forward
        EXPECT_EQ(layout[4], 0); // not mirrored
        EXPECT_EQ(game.command("racing"), "ok racing");
        EXPECT_NE(state(), 0x6F);
        EXPECT_EQ(game.command("results"), "ok results");
        EXPECT_EQ(state(), 0x6F);

        const unsigned slot = mustRead(pid, 0x7432D0, 4)[0];
        ASSERT_LT(slot, 8u);
        const std::uintptr_t rows[8] = {0x661FB8, 0x662A8C, 0x663560, 0x664034,
                                        0x664B08, 0x6655DC, 0x666060, 0x666B84};
        EXPECT_EQ(u16At(pid, rows[slot] + 16), script::hs::kTotalTime);
        EXPECT_EQ(textAt(pid, 0x821788, 11), script::hs::kPlayer);
        EXPECT_NE(mustRead(pid, 0x821793, 4)[0], 0);
        EXPECT_EQ(textAt(pid, 0x821794, 32), script::hs::kOutcomeText);
    }
    EXPECT_THROW(FakeGameProcess(FakeGameProcess::install(kProgram, folder.path(), "other.exe")),
                 std::runtime_error);
}

} // namespace
