#include "races/race_creation.h"

#include <charconv>

namespace tarmacia::races {
namespace {

const std::string kSep = "\xC2\xAC"; // "¬"

GameRaceTypes puTypes() {
    GameRaceTypes t;
    t.raceTypes = {"Stock CD Off",
                   "Stock CD On",
                   "Stock C Off D On",
                   "Stock C On D Off",
                   "Mods CD Off",
                   "Mods CD On",
                   "Mods C Off D On",
                   "Mods C On D Off",
                   "Mixed CD Off",
                   "Mixed CD On",
                   "Mixed C Off D On",
                   "Mixed C On D Off",
                   "Players List CD Off",
                   "Players List CD On",
                   "Players List C Off D On",
                   "Players List C On D Off",
                   "Players List inc CD",
                   "Competition",
                   "Tournament"};
    t.defaultType = "Stock CD Off";
    t.raceTypeSelected = 0;
    t.tracksets = {"Default"};
    t.tracksetSelected = 0;
    return t;
}

GameRaceTypes hsTypes() {
    GameRaceTypes t;
    t.raceTypes = {"Single Race", "Stock CD on", "Stock CD off", "Mods CD on",
                   "Mods CD off", "Other CD on", "Other CD off", "Tournament"};
    t.defaultType = "Single Race";
    t.enablesRaceTypeBox = true;
    t.tracksets = {"default"};
    for (int i = 1; i <= 17; ++i)
        t.tracksets.push_back("Mod" + std::to_string(i));
    return t;
}

GameRaceTypes hpTypes() {
    GameRaceTypes t;
    t.raceTypes = {"Single Race C on", "Single Race C off", "Tournament"};
    // Not one of the items: the box shows it as typed text.
    t.defaultType = "Single Race";
    t.enablesRaceTypeBox = true;
    t.tracksets = {"Default"};
    t.tracksetSelected = 0;
    return t;
}

GameRaceTypes otherTypes() {
    GameRaceTypes t;
    t.raceTypes = {"Single Race", "Tournament"};
    t.defaultType = "Single Race";
    t.enablesRaceTypeBox = true;
    t.tracksets = {"Default"};
    return t;
}

// The "Max" field; digits only, but it may be empty or too long to convert.
bool parseMax(const std::string& text, int& out) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc() || end != text.data() + text.size() || value < 0)
        return false;
    out = value;
    return true;
}

} // namespace

GameRaceTypes raceTypesFor(std::string_view game) {
    if (game == "PU") return puTypes();
    if (game == "HS") return hsTypes();
    if (game == "HP") return hpTypes();
    return otherTypes();
}

std::string creationMessage(const CreationRequest& r) {
    return "~5~" + r.trackset + kSep + r.raceName + kSep + r.raceType + kSep +
           std::to_string(r.maxRacers) + kSep + kSep + "0" + kSep + r.game + kSep + r.hostAddress +
           kSep;
}

void RaceCreation::setGames(const settings::GameSelector& games) {
    panel_.games = games.codes;
    panel_.game = games.shown;
    notify();
}

void RaceCreation::createRaceButtonClick() {
    host_.log().label("Button 19 Create Race");
    if (host_.loginState() == 0) {
        host_.messagebox({.title = "Create Race",
                          .kind = "error",
                          .line1 = "Create Race Failed",
                          .line2 = "You must be logged in to create",
                          .line3 = "Click Continue.",
                          .button1 = "Continue"});
        return;
    }
    panel_.visible = true;
    notify();
    CreateClick();
}

void RaceCreation::CreateClick() {
    host_.log().label("Create Race 2");
    if (host_.loginState() < 1) {
        host_.chatLine("[df]Please Login");
        return;
    }
    if (host_.raceActive() != 0) {
        host_.localNotice("Race Already Started");
        return;
    }
    racescreen();
    host_.setHosting(1);
}

void RaceCreation::racescreen() {
    host_.log().label("Create Race");
    host_.setSelectedGame(panel_.game);
    const std::string player = host_.playerName();
    raceName_ = player + "'" + "s Game";
    panel_.host = player;
    panel_.description = player + "'s Game";

    GameRaceTypes t = raceTypesFor(panel_.game);
    defaultRaceType_ = t.defaultType;
    panel_.raceTypes = std::move(t.raceTypes);
    panel_.raceTypeSelected = t.raceTypeSelected;
    if (t.enablesRaceTypeBox) panel_.raceTypeEnabled = true;
    panel_.tracksets = std::move(t.tracksets);
    panel_.tracksetSelected = t.tracksetSelected;
    panel_.trackset =
        t.tracksetSelected < 0 ? std::string() : panel_.tracksets[std::size_t(t.tracksetSelected)];
    panel_.raceType = defaultRaceType_;
    notify();
}

void RaceCreation::gameChanged(const std::string& game) {
    panel_.game = game;
    racescreen();
}

void RaceCreation::createButtonClick() {
    host_.log().label("Create Race");
    const std::string game = panel_.game;
    host_.setSelectedGame(game);
    const std::filesystem::path folder = host_.useGameFolder(game);
    if (!game.empty() && !folder.empty()) {
        host_.startScan();
    } else {
        // Told, but not stopped: a game the client cannot scan may still be raced.
        host_.messagebox({.title = "Create Race",
                          .kind = "error",
                          .line1 = "Unable to scan " + game,
                          .line2 = "Create Race Aborted",
                          .button1 = "Abort"});
    }
    // The flag as the scan just started sets it: a game that failed its last
    // scan is not raced until it is fixed.
    if (host_.scanFailed() != 0) return;

    host_.setHosting(1);
    // An empty or overlong "Max" keeps the last maximum rather than failing
    // half-way through a creation.
    parseMax(panel_.max, maxRacers_);
    const std::string trackset = panel_.trackset.empty() ? "Default" : panel_.trackset;
    const std::string override = host_.hostingIp();
    if (!override.empty()) hostAddressOverride_ = override;
    host_.setCurrentTrackset(trackset);
    // The player's own description and race type: what they typed and picked
    // is what they expect the lobby to show.
    host_.send(creationMessage({.trackset = trackset,
                                .raceName = panel_.description,
                                .raceType = panel_.raceType,
                                .maxRacers = maxRacers_,
                                .game = game,
                                .hostAddress = hostAddressOverride_}));
    closeClick();
}

void RaceCreation::closeClick() {
    panel_.visible = false;
    host_.closeAllPanels();
    notify();
}

} // namespace tarmacia::races
