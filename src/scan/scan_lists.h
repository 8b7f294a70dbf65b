#pragma once
// The fixed list of files the scan checks for each game, in the order the
// scan takes them. Indexes start at 100, as the scan position counts them.

#include <string>
#include <string_view>

namespace tarmacia::scan {

constexpr int kFirstFileIndex = 100;

// Path relative to the game folder, Windows-style with a leading "\"
// ("\GameData\CarModel\928.crp"); empty outside the game's list.
std::string getnextfile(std::string_view game, int index);

// One past the last index of the game's list: 284 (PU), 104 (HS), 150 (HP);
// 0 for a game without a list.
int scanEnd(std::string_view game);

// Whether the game has a file list ("PU", "HS", "HP").
bool hasScanList(std::string_view game);

} // namespace tarmacia::scan
