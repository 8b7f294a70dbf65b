#pragma once
// Where a game is installed: the Wine prefix's registry (App Paths and the
// publishers' own keys), or the game list.

#include <filesystem>
#include <string>
#include <string_view>

namespace tarmacia::platform {
class Registry;
}
namespace tarmacia::app {
class DiagnosticLog;
}
namespace tarmacia::settings {
class multigame;
}

namespace tarmacia::races {

// The folder App Paths gives for `exename`, as a Linux path ending in "/";
// "" when the key or value is missing.
std::string getgamepath(const platform::Registry& registry, app::DiagnosticLog& log,
                        std::string_view exename);

// The install folder the publisher's key gives for PU, HS or HP, as a Linux
// path without a separator added; "" for other codes or missing keys.
std::string getinstalldir(const platform::Registry& registry, app::DiagnosticLog& log,
                          std::string_view code);

// The game list's folder for `code` ("" when the code is not listed). A
// Windows-form path ("C:\Games\PU\") is mapped through `prefix`, and the
// folder always ends in "/" so that an executable name can be appended.
std::string getrunpath(settings::multigame& list, app::DiagnosticLog& log, std::string_view code,
                       const std::filesystem::path& prefix);

// A path text read from the registry or typed by the player, as a Linux
// path: an absolute Linux path stays, "X:\..." maps through the prefix's
// drives, anything else gives "".
std::string linuxPath(const std::filesystem::path& prefix, std::string_view text);

} // namespace tarmacia::races
