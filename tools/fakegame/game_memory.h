#pragma once
// The fake game's memory: maps the game's fixed addresses in this process
// and writes the script's values there as the race goes on.

#include "game_script.h"

#include <string>

namespace tarmacia::fakegame {

class GameMemory {
public:
    // Maps every page the client reads for this game; throws when an address
    // is taken (MAP_FIXED_NOREPLACE refuses rather than clobbering).
    explicit GameMemory(Game game);
    GameMemory(const GameMemory&) = delete;
    GameMemory& operator=(const GameMemory&) = delete;

    // Writes the lobby settings, the path table (PU) and the marker (HP);
    // the PU table address stays 0 until publish() when told so.
    void setUp(bool publishTable);

    void enter(Phase phase);
    Phase phase() const { return phase_; }

    // PU only: change one path-table entry, publish a moved copy, or
    // publish / withdraw the table address. False for other games.
    bool tamper();
    bool move();
    bool publish(bool on);

private:
    void writeState();
    void writeResults(bool on);
    void writePuResults(bool on);
    void writeHsResults(bool on);
    void writeHpResults(bool on);

    Game game_;
    Phase phase_ = Phase::Opening;
    Address table_ = pu::kPathTable;
};

Game gameFromName(const std::string& name, bool& known);
const char* phaseName(Phase phase);

} // namespace tarmacia::fakegame
