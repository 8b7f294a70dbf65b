#include "fixes/version.h"

#include <array>

namespace tarmacia::fixes {
namespace {

constexpr std::string_view kUnknownVersion = "Unknown Version";
constexpr std::string_view kNotInstalled = "Unknown or not Installed";
constexpr std::string_view kStandardCd = "3.5 Standard CD Version";
constexpr std::string_view kBothSpeedPatches =
    "3.5 Enhanced Version (with B Button + Speed Patch2)";

struct KnownVersion {
    std::string_view text; // empty for the HS editions, which are found by name only
    std::string_view name;
    std::string_view colour;
};

// Every version the client names. showversion reads the colours back by name.
constexpr std::array<KnownVersion, 11> kVersions{{
    {kStandardCd, "3.5 Std CD Vers", colour::yellow},
    {"3.5 Enhanced Version (Original)", "3.5 Enh Vers", colour::skyBlue},
    {"3.5 Enhanced Version (Updated)", "3.5 Enh Vers", colour::skyBlue},
    {"3.5 Enhanced Version (with Speed Patch)", "3.5 Enh Vers (S)", colour::skyBlue},
    {"3.5 Enhanced Version (with B Button Patch)", "3.5 Enh Vers (B)", colour::skyBlue},
    {"3.5 Enhanced Version (with B Button + Speed Patch)", "3.5 Enh Vers (SB)", colour::skyBlue},
    {kBothSpeedPatches, "3.5 Enh Vers (S2B)", colour::skyBlue},
    {"2.40 Standard Version", "2.40 Std Vers", colour::lime},
    {{}, "HS Expansion", colour::lime},
    {{}, "HS Stock", colour::skyBlue},
    {{}, "HS Original", colour::yellow},
}};

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

struct Detected {
    std::string text; // as stored for the game
    std::string_view name;
    std::string_view colour;
};

Detected detectHs(std::string_view text, bool mixerFlag, bool hsGameExeExists) {
    if (text == kUnknownVersion) return {std::string(kNotInstalled), {}, colour::red};
    // The server's texts leave the edition open ("SP/EP"); the files on disk settle it.
    if (mixerFlag)
        return {replaceAll(std::string(text), "SP/EP", "Expansion Pack"), "HS Expansion",
                colour::lime};
    if (hsGameExeExists)
        return {replaceAll(std::string(text), "SP/EP", "Stock Pack"), "HS Stock", colour::skyBlue};
    return {replaceAll(std::string(text), "SP/EP", "EA Original"), "HS Original", colour::yellow};
}

Detected detectByTable(std::string_view text) {
    if (text.empty()) return {std::string(kNotInstalled), {}, colour::red};
    for (const KnownVersion& known : kVersions)
        if (!known.text.empty() && known.text == text)
            return {std::string(text), known.name, known.colour};
    return {std::string(text), {}, colour::red};
}

} // namespace

std::string* VersionState::versionText(std::string_view game) {
    if (game == "PU") return &puText;
    if (game == "HS") return &hsText;
    if (game == "HP") return &hpText;
    return nullptr;
}

const std::string* VersionState::versionText(std::string_view game) const {
    return const_cast<VersionState*>(this)->versionText(game);
}

void setversion(VersionState& state, Indicators& indicators, std::string_view selectedGame,
                std::string_view text, bool mixerFlag, bool hsGameExeExists,
                const std::function<void()>& runChecks) {
    const Detected found =
        selectedGame == "HS" ? detectHs(text, mixerFlag, hsGameExeExists) : detectByTable(text);
    if (selectedGame != "HS") {
        if (text == kStandardCd) state.puEdition = true;
        if (text == kBothSpeedPatches) state.directX = true;
    }
    state.versionName = found.name;
    state.versionColour = found.colour;
    indicators.set(2, found.colour);
    if (std::string* slot = state.versionText(selectedGame)) *slot = found.text;
    if (runChecks) runChecks();
}

std::string showversion(VersionState& state) {
    for (const KnownVersion& known : kVersions) {
        if (known.name == state.versionName) {
            state.versionColour = known.colour;
            return state.versionName;
        }
    }
    state.versionName.clear();
    state.versionColour = colour::orange;
    return std::string(VersionState::kUndetermined);
}

} // namespace tarmacia::fixes
