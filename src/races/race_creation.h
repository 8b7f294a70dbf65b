#pragma once
// Creating (hosting) a race: the "Create Race" panel of the main window, what
// it proposes for each game, and the Create button that scans the game and
// sends the race to the lobby.

#include "app/diagnostic_log.h"
#include "app/message_box.h"
#include "settings/game_list.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::races {

// What a game's panel offers. The texts differ in case between games
// ("CD Off" for PU, "CD off" for HS); the lobby gets them exactly as listed.
struct GameRaceTypes {
    std::vector<std::string> raceTypes;
    std::string defaultType;         // the race type box's text after set-up
    int raceTypeSelected = -1;       // item selected in the race type box, -1 none
    bool enablesRaceTypeBox = false; // set-up enables the box (PU leaves it as it is)
    std::vector<std::string> tracksets;
    int tracksetSelected = -1; // -1: the trackset box's text is empty
};
GameRaceTypes raceTypesFor(std::string_view game);

// The eight fields of a race creation.
struct CreationRequest {
    std::string trackset; // "Default", "default", "Mod1" ... "Mod17"
    std::string raceName;
    std::string raceType;
    int maxRacers = 8;
    std::string game;
    std::string hostAddress; // the IP override; may be empty
};
// "~5~" + the fields, each followed by "¬" (UTF-8 here; the link encodes).
// Field 5 is always empty and field 6 always "0".
std::string creationMessage(const CreationRequest& request);

// What the panel shows; the Qt panel draws it and hands edits back.
struct CreationPanel {
    bool visible = false;
    std::string host;               // read-only: the player name
    std::vector<std::string> games; // every configured game but "XX"
    std::string game;               // the game box's text
    std::vector<std::string> raceTypes;
    int raceTypeSelected = -1;
    std::string raceType; // the race type box's text
    bool raceTypeEnabled = true;
    std::string max = "8"; // digits only
    std::vector<std::string> tracksets;
    int tracksetSelected = -1;
    std::string trackset = "default"; // the trackset box's text
    std::string description;          // the race name the player may edit
};

// What the creation needs of the main window. MainForm implements it; tests
// use a small fake.
class CreationHost {
public:
    virtual ~CreationHost() = default;

    virtual app::DiagnosticLog& log() = 0;
    // Shows the box modally; answers as app::messagebox does.
    virtual int messagebox(const app::MessageBoxRecord& record) = 0;
    virtual void send(const std::string& message) = 0;     // one lobby message (UTF-8)
    virtual void chatLine(const std::string& text) = 0;    // a system line ("[df]...")
    virtual void localNotice(const std::string& text) = 0; // a local notice in the chat view

    virtual int loginState() const = 0; // 0 logged out, 1 logged in, 2 while asking for a name
    virtual std::string playerName() const = 0;
    virtual int raceActive() const = 0;

    // Selected game := `game`.
    virtual void setSelectedGame(const std::string& game) = 0;
    // Game folder := the game list's folder of `game`; returns it, empty when
    // the game has no entry.
    virtual std::filesystem::path useGameFolder(const std::string& game) = 0;

    // The scan's values, and ScanClick for the selected game and folder.
    virtual int scanInProgress() const = 0;
    virtual int scanFailed() const = 0;
    virtual std::string lastScannedGame() const = 0;
    virtual void startScan() = 0;

    virtual void setHosting(int flag) = 0;
    // The options' "IP Override" (misc.ini "hostingip"); empty when not set.
    virtual std::string hostingIp() const = 0;
    virtual void setCurrentTrackset(const std::string& trackset) = 0;
    // Closes every panel of the main window (the creation panel closes itself).
    virtual void closeAllPanels() = 0;
};

class RaceCreation {
public:
    explicit RaceCreation(CreationHost& host) : host_(host) {}

    // The game selector's codes and the game it presets.
    void setGames(const settings::GameSelector& games);

    // The race strip's "Create Race" button.
    void createRaceButtonClick();
    void CreateClick();
    // Panel set-up for the game box's game.
    void racescreen();

    // The panel's fields, edited by the player.
    void gameChanged(const std::string& game);
    void setRaceType(const std::string& text) { panel_.raceType = text; }
    void setMax(const std::string& digits) { panel_.max = digits; }
    void setTrackset(const std::string& text) { panel_.trackset = text; }
    void setDescription(const std::string& text) { panel_.description = text; }

    // The panel's Create and Close buttons.
    void createButtonClick();
    void closeClick();

    const CreationPanel& panel() const { return panel_; }
    // Values set up for the race the player creates.
    const std::string& raceName() const { return raceName_; }
    const std::string& defaultRaceType() const { return defaultRaceType_; }
    int maxRacers() const { return maxRacers_; }
    const std::string& hostAddressOverride() const { return hostAddressOverride_; }

    // The panel shows its state again.
    std::function<void()> changed;

private:
    void notify() {
        if (changed) changed();
    }

    CreationHost& host_;
    CreationPanel panel_;
    std::string raceName_;
    std::string defaultRaceType_;
    int maxRacers_ = 8;
    // Kept from one creation to the next: an empty override field does not
    // take back an address the lobby was already given.
    std::string hostAddressOverride_;
};

} // namespace tarmacia::races
