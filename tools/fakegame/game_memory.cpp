#include "game_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tarmacia::fakegame {

namespace {

using Range = std::pair<Address, Address>; // [first, second)

// Room mapped for each path table; the table itself is about 1.3 KB.
constexpr std::size_t kTableRoom = 8192;

std::vector<Range> rangesOf(Game game) {
    switch (game) {
    case Game::PU:
        return {{pu::kState, pu::kState + 12},
                {pu::kLobbyTrack, pu::kLobbyTrack + 12},
                {pu::kLobbyMode, pu::kLobbyMode + 12},
                {pu::kTableAddress, pu::kTableAddress + 4},
                {pu::kInRaceName, pu::kInRaceName + 12},
                {pu::kResultName - pu::kRowTimeBack,
                 pu::kResultName + 7 * pu::kRowStride + pu::kRowMonteCarloTime + 12},
                {pu::kPathTable, pu::kPathTable + kTableRoom},
                {pu::kMovedPathTable, pu::kMovedPathTable + kTableRoom}};
    case Game::HS:
        return {{hs::kState, hs::kState + 12},
                {hs::kOtherTrack, hs::kFinished + 4},
                {hs::kSlot, hs::kSlot + 4},
                {hs::kRows.front(), hs::kRows.back() + hs::kRowSize},
                {hs::kRaceType, hs::kOutcome + 64}};
    case Game::HP:
        // The search's last 5000-byte block starts below the window's end
        // and runs past it; map that too so every block reads whole.
        return {{hp::kWindowStart, hp::kWindowEnd + 5000},
                {hp::kAnchor + hp::kEventText, hp::kAnchor + hp::kEventText + hp::kEventTextSize},
                {hp::kLobbyTrack, hp::kLobbyTrack + 30},
                {hp::kLobbyMode, hp::kLobbyMode + 30}};
    }
    return {};
}

// Whole pages, sorted, with touching ranges joined: one mapping each.
std::vector<Range> pagesOf(std::vector<Range> ranges) {
    const Address page = static_cast<Address>(sysconf(_SC_PAGESIZE));
    for (auto& [first, last] : ranges) {
        first -= first % page;
        last = (last + page - 1) / page * page;
    }
    std::sort(ranges.begin(), ranges.end());
    std::vector<Range> joined;
    for (const auto& range : ranges) {
        if (!joined.empty() && range.first <= joined.back().second)
            joined.back().second = std::max(joined.back().second, range.second);
        else
            joined.push_back(range);
    }
    return joined;
}

void mapFixed(const Range& range) {
    const std::size_t size = range.second - range.first;
    void* wanted = reinterpret_cast<void*>(range.first);
    // NORESERVE: the HP window is 11 MB of which a few pages are ever touched.
    void* got = mmap(wanted, size, PROT_READ | PROT_WRITE,
                     MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED_NOREPLACE | MAP_NORESERVE, -1, 0);
    if (got == MAP_FAILED)
        throw std::runtime_error("cannot map " + std::to_string(range.first) + ": " +
                                 std::strerror(errno));
    if (got != wanted) { // a kernel older than 4.17 takes the flag as a hint
        munmap(got, size);
        throw std::runtime_error("address taken: " + std::to_string(range.first));
    }
}

std::uint8_t* at(Address address) {
    return reinterpret_cast<std::uint8_t*>(address);
}

void poke(Address address, const void* bytes, std::size_t size) {
    std::memcpy(at(address), bytes, size);
}
void pokeByte(Address address, std::uint8_t value) {
    *at(address) = value;
}
void pokeU16(Address address, std::uint16_t value) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value),
                                   static_cast<std::uint8_t>(value >> 8)};
    poke(address, bytes, 2);
}
void pokeU32(Address address, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        pokeByte(address + i, static_cast<std::uint8_t>(value >> (8 * i)));
}
// Zero-terminated, and zero-filled up to room so an old longer text is gone.
void pokeText(Address address, std::string_view text, std::size_t room) {
    std::memset(at(address), 0, room);
    poke(address, text.data(), std::min(text.size(), room - 1));
}

void writeTable(Address table) {
    std::memset(at(table), 0, kTableRoom);
    Address cursor = table;
    for (std::string_view path : pu::kPaths) {
        poke(cursor, path.data(), path.size());
        cursor += path.size();
        pokeByte(cursor++, 0x00);
        pokeByte(cursor++, 0x0A);
    }
}

Address entryAddress(Address table, std::size_t entry) {
    Address cursor = table;
    for (std::size_t k = 2; k < entry; ++k)
        cursor += pu::kPaths[k - 2].size() + 2;
    return cursor;
}

} // namespace

GameMemory::GameMemory(Game game) : game_(game) {
    for (const Range& range : pagesOf(rangesOf(game)))
        mapFixed(range);
}

void GameMemory::setUp(bool publishTable) {
    switch (game_) {
    case Game::PU:
        pokeByte(pu::kLobbyTrack, pu::kTrack);
        pokeByte(pu::kLobbyMode, pu::kMode);
        pokeText(pu::kInRaceName, pu::kPlayer, 12);
        writeTable(pu::kPathTable);
        publish(publishTable);
        break;
    case Game::HS:
        pokeByte(hs::kDirection, 0);
        pokeByte(hs::kMirror, 0);
        pokeByte(hs::kOptionA, 1);
        pokeByte(hs::kOptionB, 0);
        pokeByte(hs::kOptionD, 1);
        pokeByte(hs::kOtherTrack, 0x09);
        pokeByte(hs::kRaceType, 0);
        pokeByte(hs::kTrack, hs::kTrackValue);
        pokeByte(hs::kLaps, hs::kLapCount);
        pokeByte(hs::kSettingHex, 0x0B);
        pokeByte(hs::kFlagE, 1);
        pokeByte(hs::kFlagF, 0);
        pokeByte(hs::kFlagG, 1);
        pokeByte(hs::kSettingDec, 12);
        pokeText(hs::kName, hs::kPlayer, hs::kFinishFlag - hs::kName);
        break;
    case Game::HP:
        poke(hp::kAnchor, hp::kMarker.data(), hp::kMarker.size());
        pokeText(hp::kLobbyTrack, hp::kTrackName, 30);
        pokeByte(hp::kLobbyMode, hp::kMode);
        for (std::size_t i = 0; i < hp::kRacers.size(); ++i)
            pokeText(hp::kAnchor - hp::kNamesBack + hp::kNameStride * i, hp::kRacers[i],
                     hp::kNameSize);
        break;
    }
    writeState();
}

void GameMemory::enter(Phase phase) {
    phase_ = phase;
    // Results appear when the race ends and are gone when the next starts.
    if (phase == Phase::Results)
        writeResults(true);
    else if (phase == Phase::Racing)
        writeResults(false);
    writeState();
}

void GameMemory::writeState() {
    switch (game_) {
    case Game::PU: {
        const auto& bytes = phase_ == Phase::Opening  ? pu::kOpeningState
                            : phase_ == Phase::Lobby  ? pu::kLobbyState
                            : phase_ == Phase::Racing ? pu::kRacingState
                                                      : pu::kResultsState;
        poke(pu::kState, bytes.data(), bytes.size());
        break;
    }
    case Game::HS:
        pokeByte(hs::kState, phase_ == Phase::Opening  ? hs::kLoading
                             : phase_ == Phase::Racing ? hs::kRacing
                                                       : hs::kMenus);
        break;
    case Game::HP:
        std::memset(at(hp::kAnchor - hp::kStateBack),
                    phase_ == Phase::Opening  ? hp::kOpening
                    : phase_ == Phase::Lobby  ? hp::kLobby
                    : phase_ == Phase::Racing ? hp::kRacing
                                              : hp::kResults,
                    10);
        break;
    }
}

void GameMemory::writeResults(bool on) {
    switch (game_) {
    case Game::PU:
        writePuResults(on);
        break;
    case Game::HS:
        writeHsResults(on);
        break;
    case Game::HP:
        writeHpResults(on);
        break;
    }
}

void GameMemory::writePuResults(bool on) {
    for (std::size_t k = 0; k < pu::kRowNames.size(); ++k) {
        const Address row = pu::kResultName + pu::kRowStride * k;
        pokeText(row, on ? pu::kRowNames[k] : "", 12);
        const std::uint16_t time = on ? pu::kRowTimes[k] : 0;
        pokeU16(row - pu::kRowTimeBack, time);
        pokeU16(row + pu::kRowMonteCarloTime, on ? time + pu::kMonteCarloOffset : 0);
    }
}

void GameMemory::writeHsResults(bool on) {
    pokeByte(hs::kFinished, on ? 1 : 0);
    pokeByte(hs::kFinishFlag, on ? 1 : 0);
    pokeText(hs::kOutcome, on ? hs::kOutcomeText : "", 64);
    pokeByte(hs::kSlot, on ? hs::kPlayerSlot : 0);
    const Address row = hs::kRows[hs::kPlayerSlot];
    std::memset(at(row), 0, hs::kRowSize);
    if (!on) return;
    pokeU16(row + hs::kRowTotal, hs::kTotalTime);
    for (std::size_t lap = 0; lap < hs::kLapTimes.size(); ++lap)
        pokeU16(row + hs::kRowLaps + 4 * lap, hs::kLapTimes[lap]);
    poke(row + hs::kRowTopSpeed, &hs::kTopSpeed, sizeof hs::kTopSpeed);
    pokeByte(row + hs::kRowByteA, 0x03);
    pokeByte(row + hs::kRowByteB, 0x01);
}

void GameMemory::writeHpResults(bool on) {
    const Address text = hp::kAnchor + hp::kEventText;
    std::memset(at(text), 0, hp::kEventTextSize);
    if (!on) return;
    for (std::size_t i = 0; i < hp::kEvents.size(); ++i)
        poke(text + hp::kEventSpacing * (i + 1), hp::kEvents[i].data(), hp::kEvents[i].size());
}

bool GameMemory::tamper() {
    if (game_ != Game::PU) return false;
    const Address entry = entryAddress(table_, pu::kTamperedEntry);
    poke(entry, pu::kTamperedPath.data(), pu::kTamperedPath.size());
    return true;
}

bool GameMemory::move() {
    if (game_ != Game::PU) return false;
    table_ = table_ == pu::kPathTable ? pu::kMovedPathTable : pu::kPathTable;
    writeTable(table_);
    return publish(true);
}

bool GameMemory::publish(bool on) {
    if (game_ != Game::PU) return false;
    pokeU32(pu::kTableAddress, on ? static_cast<std::uint32_t>(table_) : 0);
    return true;
}

Game gameFromName(const std::string& name, bool& known) {
    std::string lower = name.substr(name.find_last_of("/\\") + 1);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    known = true;
    if (lower == "porsche.exe" || lower == "porsche.icd" || lower == "pu") return Game::PU;
    if (lower == "nfshs.exe" || lower == "nfshsgame.exe" || lower == "hs") return Game::HS;
    if (lower == "nfshp2.exe" || lower == "hp") return Game::HP;
    known = false;
    return Game::PU;
}

const char* phaseName(Phase phase) {
    switch (phase) {
    case Phase::Opening:
        return "opening";
    case Phase::Lobby:
        return "lobby";
    case Phase::Racing:
        return "racing";
    case Phase::Results:
        return "results";
    }
    return "?";
}

} // namespace tarmacia::fakegame
