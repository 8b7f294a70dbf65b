#pragma once
// The races the lobby announces: twenty slots in arrival order, the tiles
// that show them, the selected race and its details panel.

#include "app/diagnostic_log.h"
#include "platform/clock.h"

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tarmacia::races {

struct RaceEntry {
    std::string gameCode;      // 5
    std::string occupancyText; // the tile's occupancy label
    std::string raceId;        // 15: "[flag]host"
    std::string raceTitle;     // 50
    std::string detailShort;   // 10
    std::string detailLong;    // 100
    std::string extraText;     // 20
    // The tile: colour, pictures, name label, shown or not.
    std::string colour = "FFFFFF";
    std::filesystem::path racePicture;
    std::filesystem::path flagPicture;
    std::string nameLabel;
    bool visible = false;
};

// The details panel of the selected race.
struct RaceDetails {
    bool visible = false;
    std::string colour = "FFFFFF";
    std::string line1, line2, line3;
    std::string titleLine1, titleLine2;
    std::string hostName;
    std::filesystem::path racePicture;
    std::filesystem::path flagPicture; // empty: the flag picture is hidden
};

// The host's name and flag code of a race id ("[gb]Ann" -> "Ann", "gb").
struct HostName {
    std::string name;
    std::string flag;
};
HostName doname(std::string_view raceId);

class RaceList {
public:
    static constexpr int kSlots = 20;
    static constexpr int kCloseCheckMs = 3000;

    RaceList(app::DiagnosticLog& log, platform::Clock& clock, std::filesystem::path clientFolder,
             std::function<void(const std::string&)> send);

    void clearracelist();                       // "~5~"
    void showrace(const std::string& payload);  // "~6~"
    // "~R~": the racers of the selected race; `creationGame` is the game the
    // race-creation panel shows.
    void showracers(const std::string& text, const std::string& creationGame);
    // A click on tile `slot` (raceClick0 ... raceClick19).
    void raceClickSlot(int slot);
    void raceClick(const std::string& raceId);

    const std::array<RaceEntry, kSlots>& entries() const { return slots_; }
    int lastRaceIndex() const { return lastRaceIndex_; }
    const std::string& raceIdAt(int slot) const { return raceIds_.at(static_cast<std::size_t>(slot)); }
    const std::string& selectedRaceId() const { return selectedRaceId_; }
    const std::string& lastAnnouncedRaceId() const { return lastAnnounced_; }
    const RaceDetails& details() const { return details_; }
    const std::string& racerStrip() const { return racerStrip_; }
    // The administration panel's list: raceId + " - " + title per race.
    const std::vector<std::string>& adminRaces() const { return adminRaces_; }

    // The game of the selected race; the race creation and joining set it too.
    std::string selectedGame;

    // The view shows the list again.
    std::function<void()> changed;
    // The close check found the selected race gone: close the details panel
    // (and the awards panel when it is open).
    std::function<void()> closePanels;

private:
    std::filesystem::path picture(const std::string& game) const;
    void notify() {
        if (changed) changed();
    }

    app::DiagnosticLog& log_;
    std::filesystem::path clientFolder_;
    std::function<void(const std::string&)> send_;
    std::unique_ptr<platform::Timer> closeCheck_;
    std::array<RaceEntry, kSlots> slots_{};
    std::array<std::string, kSlots> raceIds_{};
    int lastRaceIndex_ = -1;
    std::string selectedRaceId_;
    std::string lastAnnounced_;
    RaceDetails details_;
    std::string racerStrip_;
    std::vector<std::string> adminRaces_;
};

// The colour a tile of this game is drawn in.
std::string tileColour(std::string_view gameCode);

} // namespace tarmacia::races
