#pragma once

#include "monitor/game_memory.h"
// Every address the client reads in the three games, and the values the fake
// game writes there. One table, so the monitor's tests and the fake agree on
// what a race looks like. Addresses are those of the supported game builds;
// the values marked "ours" are the fake's choice (any value the monitor does
// not single out would do).

#include <array>
#include <cstdint>
#include <string_view>

namespace tarmacia::fakegame {

using Address = std::uintptr_t;

enum class Game { PU, HS, HP };
enum class Phase { Opening, Lobby, Racing, Results };

// ---------------------------------------------------------------- PU
namespace pu {
constexpr Address kState = 0x5DFA1A;        // 2 bytes: 00 42 while a race runs
constexpr Address kLobbyTrack = 0x699F30;   // track chosen in the lobby
constexpr Address kLobbyMode = 0x699E44;    // 9A..9D = race mode 1..4
constexpr Address kTableAddress = 0x65B2A4; // u32: where the path table is
constexpr Address kInRaceName = 0x60C890;   // 12 bytes, zero-terminated
constexpr Address kResultName = 0x5E7644;   // row k: + 600 * k, 12 bytes
constexpr Address kRowStride = 600;
constexpr Address kRowTimeBack = 84;        // u16 race time at row - 84 (1/64 s)
constexpr Address kRowMonteCarloTime = 388; // u16 race time at row + 388
constexpr std::size_t kTableSize = 1300;    // bytes the install check reads

// Ours: where the game keeps its path table, and where "move" republishes it.
constexpr Address kPathTable = 0x00E00000;
constexpr Address kMovedPathTable = 0x00E10000;

constexpr std::array<std::uint8_t, 2> kRacingState{0x00, 0x42};
constexpr std::array<std::uint8_t, 2> kOpeningState{0x00, 0x00}; // ours
constexpr std::array<std::uint8_t, 2> kLobbyState{0x01, 0x00};   // ours
constexpr std::array<std::uint8_t, 2> kResultsState{0x02, 0x00}; // ours

constexpr std::uint8_t kTrack = 0x05;
constexpr std::uint8_t kMode = 0x9B; // race mode 2, backward

// The search paths of a clean installation (entries 2 to 48), as the
// client's install check knows them. Whatever does not fit in the 1300
// bytes the client reads is still written, as the game would.
inline constexpr const auto& kPaths = monitor::kPuInstallPaths;
// "tamper" rewrites entry 6 ("0nn.\gamedata\track\") with one letter changed
// in case, the smallest change the install check must still see.
constexpr std::size_t kTamperedEntry = 6;
constexpr std::string_view kTamperedPath = "0nn.\\gamedata\\Track\\";

// Ours: the race result. The player is in row 1.
constexpr std::string_view kPlayer = "Tester";
constexpr std::array<std::string_view, 8> kRowNames{"Rival1", "Tester", "Rival2", "Rival3",
                                                    "Rival4", "Rival5", "Rival6", "Rival7"};
constexpr std::array<std::uint16_t, 8> kRowTimes{7300, 7420, 7500, 7600, 7700, 7800, 7900, 999};
constexpr std::uint16_t kMonteCarloOffset = 64; // MC time = row time + 1 s
} // namespace pu

// ---------------------------------------------------------------- HS
namespace hs {
constexpr Address kState = 0x5B0950;     // 6F while the game is in its menus
constexpr Address kDirection = 0x7C4CF0; // 0 forward, otherwise backward
constexpr Address kMirror = 0x7C4CF4;    // 1 = mirrored
constexpr Address kOptionA = 0x7C4CF8;   // race option flags (1 = on)
constexpr Address kOptionB = 0x7C4CFC;
constexpr Address kOptionD = 0x7C4D0C;
constexpr Address kOtherTrack = 0x7C4CE4; // track for race types other than 0 and 3
constexpr Address kFinished = 0x7C4D40;   // 0 when the player did not finish
constexpr Address kRaceType = 0x821576;
constexpr Address kTrack = 0x821577; // lobby track (and the race's for types 0, 3)
constexpr Address kLaps = 0x821579;
constexpr Address kSettingHex = 0x821584;
constexpr Address kFlagE = 0x821588;
constexpr Address kFlagF = 0x82158C;
constexpr Address kFlagG = 0x821590;
constexpr Address kSettingDec = 0x821594;
constexpr Address kName = 0x821788;       // player's name in the race, zero-terminated
constexpr Address kFinishFlag = 0x821793; // 0 = not finished
constexpr Address kOutcome = 0x821794;    // outcome text; empty = not finished
constexpr Address kSlot = 0x7432D0;       // the player's row in the results (0-7)
constexpr std::array<Address, 8> kRows{0x661FB8, 0x662A8C, 0x663560, 0x664034,
                                       0x664B08, 0x6655DC, 0x666060, 0x666B84};
constexpr std::size_t kRowSize = 145;
constexpr std::size_t kRowTotal = 16;     // u16 total time
constexpr std::size_t kRowLaps = 24;      // u16 lap times, 4 bytes apart, 8 laps
constexpr std::size_t kRowTopSpeed = 124; // float
constexpr std::size_t kRowByteA = 132;
constexpr std::size_t kRowByteB = 144;

constexpr std::uint8_t kMenus = 0x6F;
constexpr std::uint8_t kLoading = 0x00; // ours
constexpr std::uint8_t kRacing = 0x01;  // ours

// Ours: a 4-lap race of type 0 on track 5, forward, the player in slot 2.
constexpr std::uint8_t kTrackValue = 0x05;
constexpr std::uint8_t kLapCount = 4;
constexpr std::string_view kPlayer = "Tester";
constexpr std::string_view kOutcomeText = "Winner";
constexpr std::uint8_t kPlayerSlot = 2;
constexpr std::array<std::uint16_t, 4> kLapTimes{1900, 1850, 1840, 1830};
constexpr std::uint16_t kTotalTime = 1900 + 1850 + 1840 + 1830;
constexpr float kTopSpeed = 55.5f;
} // namespace hs

// ---------------------------------------------------------------- HP
namespace hp {
constexpr Address kWindowStart = 0x06500000; // searched for the marker
constexpr Address kWindowEnd = 0x07000000;
constexpr std::string_view kMarker = "\\EAGL\\";
constexpr Address kStateBack = 0xCF9;   // 10 bytes at anchor - 0xCF9: all 01 racing
constexpr Address kNamesBack = 0x1FEB9; // racer i at anchor - 0x1FEB9 + 84 * i
constexpr Address kNameStride = 84;
constexpr std::size_t kNameSize = 14;
constexpr Address kEventText = 0x158B947; // race event text at anchor + this
constexpr std::size_t kEventTextSize = 256000;
constexpr Address kLobbyTrack = 0x7277A4; // track name, zero-terminated, 30 bytes
constexpr Address kLobbyMode = 0x72790C;  // 0..3 = race mode 1..4

// Ours: the marker sits inside a 5000-byte block of the search (not across
// two), 60 blocks into the window.
constexpr Address kAnchor = kWindowStart + 5000 * 60 + 100;
constexpr std::uint8_t kRacing = 0x01;
constexpr std::uint8_t kOpening = 0xFF; // ours, all ten bytes
constexpr std::uint8_t kLobby = 0x00;   // ours
constexpr std::uint8_t kResults = 0x02; // ours

constexpr std::string_view kTrackName = "Test Track";
constexpr std::uint8_t kMode = 0x01; // race mode 2
constexpr std::array<std::string_view, 8> kRacers{"[DF]Tester", "Rival1", "Rival2", "",
                                                  "",           "",       "",       ""};
// The event text after a race: an earlier race in which Rival2 won, then the
// last one, which Tester won and Rival1 finished. Rival2 has no line after
// the last start, so only the first two count as finished.
constexpr std::array<std::string_view, 5> kEvents{"zingracestart", "Rival2 won", "zingracestart",
                                                  "[DF]Tester won", "Rival1 fini"};
constexpr std::size_t kEventSpacing = 200; // bytes between event lines (ours)
} // namespace hp

} // namespace tarmacia::fakegame
