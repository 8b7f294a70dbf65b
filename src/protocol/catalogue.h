#pragma once
// Every message code of the lobby protocol, in both directions, with the
// part of the client that owns it; and the order in which the dispatcher
// tries the inbound codes. Tests read the same tables.

#include <array>
#include <string_view>

namespace tarmacia::protocol {

enum class Direction { In, Out };

struct CatalogueEntry {
    std::string_view code;
    Direction direction;
    std::string_view owner; // the subsystem folder that handles or sends it
    std::string_view purpose;
};

// What a dispatch row does; one entry per row of the dispatch table.
enum class Inbound {
    ServerNotice, Sound, CloseRaceF, CloseRaceM, Chat, User3, User4, AccountDetails,
    ClearRaces, Racers, Race, NoRace, NoticeH, NoticeI, NoticeJ, TeamUpdate, TeamList,
    TeamRecord, HostAddress, HostMode, WeeklyAwards, Logout, RaceTime, IdleCheck,
    PasswordChange, NameCheck, Whisper, TrackList, TrackSetting, SecurityQuestion, Nothing,
};

struct DispatchRow {
    std::string_view code;
    Inbound action;
};

// The rows in the order the dispatcher compares them.
inline constexpr std::array<DispatchRow, 31> kDispatchRows = {{
    {"~p~", Inbound::ServerNotice},   {"~a~", Inbound::Sound},
    {"~f~", Inbound::CloseRaceF},     {"~m~", Inbound::CloseRaceM},
    {"~2~", Inbound::Chat},           {"~3~", Inbound::User3},
    {"~4~", Inbound::User4},          {"~d~", Inbound::AccountDetails},
    {"~5~", Inbound::ClearRaces},     {"~R~", Inbound::Racers},
    {"~6~", Inbound::Race},           {"~F~", Inbound::NoRace},
    {"~h~", Inbound::NoticeH},        {"~i~", Inbound::NoticeI},
    {"~j~", Inbound::NoticeJ},        {"~k~", Inbound::TeamUpdate},
    {"~l~", Inbound::TeamList},       {"~r~", Inbound::TeamRecord},
    {"~K~", Inbound::HostAddress},    {"~D~", Inbound::HostMode},
    {"~c~", Inbound::WeeklyAwards},   {"~9~", Inbound::Logout},
    {"~T~", Inbound::RaceTime},       {"~H~", Inbound::IdleCheck},
    {"~I~", Inbound::PasswordChange}, {"~e~", Inbound::NameCheck},
    {"~W~", Inbound::Whisper},        {"~C~", Inbound::TrackList},
    {"~N~", Inbound::TrackSetting},   {"~Y~", Inbound::SecurityQuestion},
    {"~M~", Inbound::Nothing},
}};

using enum Direction;
inline constexpr std::array<CatalogueEntry, 66> kCatalogue = {{
    {"~0~", Out, "monitor", "result report"},
    {"~1~", Out, "protocol", "login: name, scrambled password, version"},
    {"~2~", In, "chat", "chat line to show"},
    {"~2~", Out, "chat", "chat line from the player, and notices posted into the chat"},
    {"~3~", In, "chat", "user list entry"},
    {"~4~", In, "chat", "user list entry"},
    {"~5~", In, "races", "clear the race list"},
    {"~5~", Out, "races", "create a race"},
    {"~6~", In, "races", "one race of the race list"},
    {"~9~", In, "protocol", "logout or race suspension, with reason text"},
    {"~9~", Out, "races", "start of a race by the host"},
    {"~A~", Out, "monitor", "race status report"},
    {"~C~", In, "races", "track list"},
    {"~C~", Out, "monitor", "track report"},
    {"~D~", In, "races", "enter race-host mode"},
    {"~F~", In, "races", "the race could not be joined"},
    {"~G~", Out, "monitor", "result report"},
    {"~H~", In, "protocol", "idle check"},
    {"~H~", Out, "protocol", "the player is still present"},
    {"~I~", In, "account", "password-change result"},
    {"~J~", Out, "races", "join a race"},
    {"~K~", In, "races", "host address for joining"},
    {"~M~", In, "protocol", "no effect"},
    {"~N~", In, "races", "track setting"},
    {"~O~", Out, "protocol", "keep-alive during a race suspension"},
    {"~R~", In, "races", "racers of a race"},
    {"~R~", Out, "races", "request the racers of a race"},
    {"~T~", In, "protocol", "race time shown in the header"},
    {"~U~", Out, "account", "registration, sent on connect"},
    {"~W~", In, "chat", "whisper to show"},
    {"~W~", Out, "chat", "whisper or nudge"},
    {"~X~", Out, "protocol", "back from the race"},
    {"~Y~", In, "protocol", "security question (scrambled)"},
    {"~Y~", Out, "protocol", "security answer"},
    {"~Z~", Out, "account", "administrator command"},
    {"~a~", In, "chat", "play a sound by number"},
    {"~a~", Out, "chat", "doorbell sound to another player"},
    {"~c~", In, "chat", "weekly awards"},
    {"~d~", In, "account", "account details"},
    {"~d~", Out, "account", "request account details"},
    {"~e~", In, "account", "name-check result"},
    {"~e~", Out, "account", "check a name"},
    {"~f~", In, "races", "close the player's race"},
    {"~f~", Out, "account", "close (kill) a race, administrator"},
    {"~g~", Out, "monitor", "result report of Hot Pursuit 2"},
    {"~h~", In, "protocol", "notice with a fixed title"},
    {"~i~", In, "protocol", "notice with a fixed title"},
    {"~j~", In, "protocol", "notice with a fixed title"},
    {"~h~", Out, "account", "administrator command"},
    {"~i~", Out, "account", "administrator command"},
    {"~j~", Out, "account", "administrator command"},
    {"~k~", Out, "account", "administrator command"},
    {"~l~", Out, "account", "administrator command"},
    {"~o~", Out, "account", "administrator command"},
    {"~s~", Out, "account", "administrator command"},
    {"~k~", In, "account", "team update"},
    {"~l~", In, "account", "team list"},
    {"~m~", In, "races", "close the player's race"},
    {"~n~", Out, "fixes", "port test request"},
    {"~p~", In, "protocol", "server notice box"},
    {"~q~", In, "monitor", "data for the result capture, during a race suspension"},
    {"~r~", In, "chat", "team record"},
    {"~r~", Out, "chat", "ask for a team record"},
    {"~u~", Out, "account", "account update"},
    // The administrator's reset code goes out as the whole message; "-" and
    // the code cancels it.
    {"", Out, "account", "administrator reset code"},
    {"", Out, "account", "cancel an administrator reset"},
}};

} // namespace tarmacia::protocol
