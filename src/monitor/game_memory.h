#pragma once
// Where the three supported game builds keep what the race monitor reads.
// Every address the monitor uses comes from these tables; the builds are
// fixed, so there is no fallback for any other build. Values are
// little-endian; a read is always of the length given here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::monitor {

struct MemoryArea {
    std::uint64_t address = 0;
    std::size_t length = 0;
    bool operator==(const MemoryArea&) const = default;
};

// An HP area given relative to the anchor (where "\EAGL\" was found).
struct AnchoredArea {
    std::int64_t offset = 0;
    std::size_t length = 0;
    constexpr MemoryArea at(std::uint64_t anchor) const {
        return {static_cast<std::uint64_t>(static_cast<std::int64_t>(anchor) + offset), length};
    }
};

// Porsche Unleashed.
struct PuMemory {
    MemoryArea gameState{0x5DFA1A, 12};       // bytes 0-1: 0x00 0x42 while racing
    MemoryArea lobbyTrack{0x699F30, 12};      // byte 0
    MemoryArea lobbyDirection{0x699E44, 12};  // byte 0: 0x9A..0x9D = mode 1..4
    MemoryArea pathTableAddress{0x65B2A4, 4}; // 32-bit pointer to the path table
    std::size_t pathTableLength = 1300;
    MemoryArea playerName{0x60C890, 12};
    int resultRows = 8;
    std::uint64_t resultRow0 = 0x5E7644;
    std::uint64_t resultRowStride = 600;
    std::size_t resultLength = 12;
    std::int64_t rowTimeOffset = -84;           // u16, 1/64 s
    std::int64_t rowMonteCarloTimeOffset = 388; // u16, 1/64 s

    constexpr MemoryArea pathTable(std::uint64_t address) const {
        return {address, pathTableLength};
    }
    constexpr MemoryArea resultName(int row) const {
        return {resultRow0 + resultRowStride * static_cast<std::uint64_t>(row), resultLength};
    }
    constexpr MemoryArea resultTime(int row) const {
        return {resultName(row).address + rowTimeOffset, resultLength};
    }
    constexpr MemoryArea resultMonteCarloTime(int row) const {
        return {resultName(row).address + rowMonteCarloTimeOffset, resultLength};
    }
};

// Need for Speed: High Stakes.
struct HsMemory {
    MemoryArea gameState{0x5B0950, 12}; // byte 0: 0x6F in the menus
    std::uint8_t menuState = 0x6F;
    MemoryArea lobbyDirectionMirror{0x7C4CF0, 12}; // byte 0 direction, byte 4 mirror
    MemoryArea mirror{0x7C4CF4, 4};
    MemoryArea optionA{0x7C4CF8, 4};
    MemoryArea optionB{0x7C4CFC, 4};
    MemoryArea optionD{0x7C4D0C, 4};
    MemoryArea otherTrack{0x7C4CE4, 4}; // track for race types other than 0 and 3
    MemoryArea playerFinished{0x7C4D40, 4};
    MemoryArea raceType{0x821576, 4};
    MemoryArea lobbyTrack{0x821577, 12};
    MemoryArea track{0x821577, 4};
    MemoryArea lapsHex{0x821578, 4}; // byte 1
    MemoryArea laps{0x821579, 4};
    MemoryArea settingHex{0x821584, 4};
    MemoryArea settingE{0x821588, 4};
    MemoryArea settingF{0x82158C, 4};
    MemoryArea settingG{0x821590, 4};
    MemoryArea settingDecimal{0x821594, 4};
    MemoryArea playerNameText{0x821788, 4}; // read 4 at a time, advanced by 1
    MemoryArea finishFlag{0x821793, 4};
    MemoryArea outcomeText{0x821794, 4}; // as the name
    MemoryArea playerRow{0x7432D0, 4};
    std::array<std::uint64_t, 8> resultRows{0x661FB8, 0x662A8C, 0x663560, 0x664034,
                                            0x664B08, 0x6655DC, 0x666060, 0x666B84};
    std::size_t resultRowLength = 145;
    // Within a row.
    std::size_t totalTimeAt = 16; // u16
    std::size_t lap1TimeAt = 24;  // u16 each, 4 apart, laps 1-8
    std::size_t topSpeedAt = 124; // float
    std::size_t byte132At = 132;
    std::size_t byte144At = 144;

    constexpr MemoryArea resultRow(int row) const {
        return {resultRows[static_cast<std::size_t>(row)], resultRowLength};
    }
    constexpr std::size_t lapTimeAt(int lap) const {
        return lap1TimeAt + 4 * static_cast<std::size_t>(lap - 1);
    }
};

// Hot Pursuit 2.
struct HpMemory {
    // The anchor search: 5000-byte blocks starting from `anchorFrom`, while
    // the block start is below `anchorTo`.
    std::uint64_t anchorFrom = 0x06500000;
    std::uint64_t anchorTo = 0x07000000;
    std::size_t anchorBlock = 5000;
    std::string_view anchorMarker = "\\EAGL\\";

    AnchoredArea gameState{-0xCF9, 12}; // bytes 0-9 all 0x01 while racing
    AnchoredArea racerName0{-0x1FEB9, 14};
    std::int64_t racerNameStride = 84;
    int racers = 8;
    AnchoredArea raceEvents{0x158B947, 256000};
    MemoryArea lobbyTrack{0x7277A4, 30};
    MemoryArea lobbyMode{0x72790C, 30}; // byte 0: 0..3 = mode 1..4

    constexpr AnchoredArea racerName(int i) const {
        return {racerName0.offset + racerNameStride * i, racerName0.length};
    }
};

inline constexpr PuMemory kPu{};
inline constexpr HsMemory kHs{};
inline constexpr HpMemory kHp{};

// Every fixed area of a game ("PU", "HS", "HP") by name, rows expanded
// ("resultName[3]"); HP's anchored areas are left out. For the fake game,
// which maps these, and for checking the tables against the builds.
struct NamedArea {
    std::string name;
    MemoryArea area;
};
std::vector<NamedArea> fixedAreas(std::string_view game);

// Little-endian readers over a block read from the game.
std::uint16_t u16At(std::string_view block, std::size_t at);
std::uint32_t u32At(std::string_view block, std::size_t at);

// The search paths a clean PU installation keeps in its path table, entries
// 2 to 48 in the order the game builds it (each ends with 00 0A in memory).
// The install check compares against them; the fake game writes them.
inline constexpr std::array<std::string_view, 47> kPuInstallPaths = {
    "0nn.\\gamedata\\simulation\\ai\\",
    "0nn.\\gamedata\\simulation\\cardata\\",
    "0nn.\\gamedata\\simulation\\aicardata\\",
    "0nn.\\gamedata\\simulation\\aicardata\\work\\",
    "0nn.\\gamedata\\track\\",
    "0nn.\\gamedata\\tmptrk\\",
    "0nn.\\gamedata\\track\\data\\",
    "0nn.\\gamedata\\track\\tutor\\",
    "0nn.\\gamedata\\track\\curve\\",
    "0nn.\\gamedata\\track\\curve\\work\\",
    "0nn.\\gamedata\\track\\best\\",
    "0nn.\\gamedata\\track\\best\\work\\",
    "0nn.\\gamedata\\track\\aibest\\",
    "0nn.\\gamedata\\track\\aibest\\work\\",
    "0nn.\\gamedata\\track\\racer\\",
    "0nn.\\gamedata\\track\\racer\\work\\",
    "0nn.\\gamedata\\track\\traffic\\",
    "0nn.\\gamedata\\track\\traffic\\work\\",
    "0nn.\\gamedata\\track\\profile\\",
    "0nn.\\gamedata\\track\\profile\\work\\",
    "0nn.\\gamedata\\track\\cops\\",
    "0nn.\\gamedata\\track\\cops\\work\\",
    "0nn.\\gamedata\\carmodel\\",
    "0nn.\\drivers\\",
    "0nn.\\drivers\\",
    "0nn.\\gamedata\\render\\",
    "0nn.\\gamedata\\dashhud\\",
    "0nn.\\gamedata\\music\\",
    "0nn.\\gamedata\\sounds\\",
    "0nn.\\gamedata\\speech\\",
    "0nn.\\gamedata\\prefs\\",
    "0nn.\\gamedata\\force\\",
    "0nn.\\",
    "0nn.\\FeData\\movies\\",
    "0nn.\\FEData\\controls\\",
    "0nn.\\FEData\\art\\",
    "0nn.\\FEData\\showcase\\",
    "0nn.\\FEData\\chron\\",
    "0nn.\\FEData\\locale\\",
    "0nn.\\FEData\\layouts\\",
    "0nn.\\FEData\\data\\",
    "0nn.\\FEData\\models\\",
    "0nn.\\FEData\\trackart\\",
    "0nn.\\FEData\\factory\\",
    "0nn.\\gamedata\\oldtrack\\",
    "0nn.\\gamedata\\oldtrack\\data\\",
    "0nn.\\SaveData\\",
};

} // namespace tarmacia::monitor
