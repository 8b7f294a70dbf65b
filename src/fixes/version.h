#pragma once
// The Fix Menu's indicators and version detection: turns the version text
// the scan found for a game's executable into a version name and the colour
// of the "Patches" row.

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace tarmacia::fixes {

// Indicator colours as the status report writes them: six hex digits, red first.
namespace colour {
inline constexpr std::string_view lime = "00FF00";
inline constexpr std::string_view red = "FF0000";
inline constexpr std::string_view yellow = "FFFF00";
inline constexpr std::string_view skyBlue = "A6CAF0";
inline constexpr std::string_view orange = "FFA500";
inline constexpr std::string_view white = "FFFFFF"; // no verdict yet
} // namespace colour

// The twelve check rows of the Fix Menu page, numbered from 1 as on the page.
class Indicators {
public:
    static constexpr int kRows = 12;

    Indicators() { reset(); }
    void reset() { rows_.fill(std::string(colour::white)); }

    // Throws std::out_of_range outside 1..12.
    const std::string& row(int number) const { return rows_.at(index(number)); }
    void set(int number, std::string_view colour) { rows_.at(index(number)) = colour; }

private:
    static std::size_t index(int number) { return static_cast<std::size_t>(number - 1); }
    std::array<std::string, kRows> rows_;
};

struct VersionState {
    static constexpr std::string_view kUndetermined = "Undetermined";

    // The version text of the last scan of each game.
    std::string puText{kUndetermined};
    std::string hsText{kUndetermined};
    std::string hpText{kUndetermined};
    // The last detected version; empty when the text named none.
    std::string versionName;
    std::string versionColour{colour::orange};
    // The PU build with both speed patches runs under DirectX.
    bool directX = false;
    // The standard CD build keeps its data in "porsche.icd"; the monitor needs to know.
    bool puEdition = false;

    // The version text slot of "PU", "HS" or "HP"; nullptr for any other code.
    std::string* versionText(std::string_view game);
    const std::string* versionText(std::string_view game) const;
};

// Version detection for the selected game. `mixerFlag` is what `mixerdetect`
// found; `hsGameExeExists` says whether "nfshsgame.exe" is in the HS game
// folder (only read for HS). `runChecks` runs the installation checks once
// the version is stored, so the Patches row and the rest agree.
void setversion(VersionState& state, Indicators& indicators, std::string_view selectedGame,
                std::string_view text, bool mixerFlag, bool hsGameExeExists,
                const std::function<void()>& runChecks);

// The name of the stored version ("Undetermined" when none), and the version
// colour set to match it.
std::string showversion(VersionState& state);

} // namespace tarmacia::fixes
