#pragma once
// The status report posted to the lobby after every scan: a small HTML table
// in a chat message that shows every player the state of the scanned game's
// installation.

#include "fixes/version.h"

#include <string>
#include <string_view>

namespace tarmacia::fixes {

struct StatusReportInput {
    std::string_view selectedGame; // "PU", "HS", "HP" or any other game code
    std::string_view errorCount;   // the scan's error count as text; "0" is a clean scan
    std::string_view playerName;   // as logged in, flag code included ("[gb]Ann")
    bool welcomeSeen = false;      // before the welcome the lobby gets "~2~" alone
    std::string_view windowsVersion;
    std::string_view gameColour; // gamecolor() of the selected game
    const Indicators* indicators = nullptr;
    std::string_view versionColour; // as showversion() left it
    bool wheelSupport = false;      // HP's G25 / G27 support is written
};

// The lobby message, "~2~" included, UTF-8 (the caller encodes it for the wire).
// Run showversion() first: the PU and HP tables show the version colour.
std::string statusReport(const StatusReportInput& input);

} // namespace tarmacia::fixes
