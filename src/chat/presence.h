#pragma once
// Who is in the lobby, the sound events, the awards and the received team
// table. The lobby drives all of it; the views only show what is here.

#include "platform/sound.h"
#include "settings/settings.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

namespace tarmacia::chat {

struct FlagSize {
    int width = 36;
    int height = 24;
    bool operator==(const FlagSize&) const = default;
};

// What a user list row shows: the name and the flag picture to draw.
struct UserRow {
    std::string name;
    std::filesystem::path flag;
};

// The awards lists, in the order the lobby sends them.
enum AwardList : std::size_t {
    RacerOfWeek,
    TeamOfWeek,
    NationOfWeek,
    RacerOfMonth,
    TeamOfMonth,
    NationOfMonth,
    RacerOfYear,
    TeamOfYear,
    NationOfYear,
};
inline constexpr std::size_t kAwardLists = 9;
inline constexpr std::size_t kAwardEntries = 9;
using AwardLists = std::array<std::array<std::string, kAwardEntries>, kAwardLists>;

// One first entry of the awards panel: the text to show (a racer's name, a
// team tag without brackets, a nation's code) and its flag; `flag` is empty
// when no picture exists.
struct AwardView {
    std::string text;
    std::filesystem::path flag;
};

struct TeamEntry {
    std::string tag; // "[" tag "]"; empty = free
    std::string name;
    std::string info;
};
inline constexpr std::size_t kTeamEntries = 61;

struct Volume {
    int left = 0;
    int right = 0;
    bool operator==(const Volume&) const = default;
};

class Presence {
public:
    using Send = std::function<void(const std::string& message)>;
    using FindFlag = std::function<void(const std::string& file)>;

    Presence(settings::Settings& settings, platform::Sound& sound, Send send,
             std::filesystem::path clientFolder, FindFlag findflag);

    // "~3~" and "~4~": an empty payload clears, anything else is appended
    // once. Answers whether the list changed.
    bool listuser(const std::string& payload);
    // Logout empties the list the same way an empty "~3~" does.
    void clearUsers();
    const std::vector<std::string>& users() const { return users_; }
    // The administration window's user selector follows the list.
    const std::vector<std::string>& adminSelector() const { return adminSelector_; }
    std::string adminSelectorText;
    // Whether the administration window is up; its selector text survives a
    // clear while it is.
    std::function<bool()> adminWindowVisible;

    // The flag picture and name of a user list row; asks the flag server for
    // a missing picture once per call and falls back to the default flag.
    UserRow userRow(const std::string& itemText);
    std::filesystem::path flagPicture(const std::string& itemText);
    // Fixed sizes from the settings; with automatic sizing they follow the
    // user list's font size.
    FlagSize flagSizeFor(int fontSize, bool autoSizing) const;

    // Plays sound event `number` (0-11) when sounds are on and the event is
    // enabled or forced.
    void makesound(int number);
    // The Hot Pursuit 2 result capture plays its sound even when disabled.
    bool forceSound = false;
    Volume GetVolume() const;
    void setvolume(Volume volume);
    // Where event `number`'s stored file is on this machine.
    std::filesystem::path soundFile(const std::string& stored) const;

    // "~c~": 81 fields, each ended by "¬".
    void doweekly(const std::string& payload);
    const AwardLists& awards() const { return awards_; }
    std::array<AwardView, kAwardLists> firstEntries() const;

    // "~r~" inbound: tag "~" name "~" information.
    void setteam(const std::string& payload);
    // The racing team's name for `tag`; unknown ones are asked for ("~r~"
    // + tag) and answered with the tag meanwhile.
    std::string getteamname(const std::string& tag);
    const std::array<TeamEntry, kTeamEntries>& teams() const { return teams_; }

private:
    std::filesystem::path existing(const std::string& relative) const;
    std::filesystem::path codeFlag(const std::string& code) const;
    std::filesystem::path defaultFlag() const;

    settings::Settings& settings_;
    platform::Sound& sound_;
    Send send_;
    std::filesystem::path clientFolder_;
    FindFlag findflag_;
    std::vector<std::string> users_;
    std::unordered_set<std::string> known_; // keeps a 10 000-user refresh linear
    std::vector<std::string> adminSelector_;
    AwardLists awards_{};
    std::array<TeamEntry, kTeamEntries> teams_{};
};

} // namespace tarmacia::chat
