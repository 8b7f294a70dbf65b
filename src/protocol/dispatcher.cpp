#include "protocol/dispatcher.h"

#include "common/text.h"
#include "protocol/multicomm.h"
#include "settings/settings_values.h"

namespace tarmacia::protocol {

void Dispatcher::ClientSocketRead(const std::string& text, bool mainWindowVisible) {
    log_.label("Read Data from Server");
    if (!mainWindowVisible) {
        hidden(text);
        return;
    }
    // A list of its own for every read: a handler that waits in a dialog may
    // let a later read run meanwhile without disturbing this one.
    multicomm messages;
    int count = messages.split(text);
    messages.first();
    for (int i = 0; i < count; ++i) {
        const std::string& code = messages.code();
        for (const DispatchRow& row : kDispatchRows) {
            if (row.code == code) {
                dispatch(row.action, messages.payload());
                break;
            }
        }
        messages.next();
    }
}

void Dispatcher::dispatch(Inbound action, const std::string& payload) {
    InboundHandlers& h = handlers_;
    switch (action) {
    case Inbound::ServerNotice: h.notice(4, payload, 50); break;
    case Inbound::Sound: h.makesound(settings::textToInt(payload)); break;
    case Inbound::CloseRaceF:
    case Inbound::CloseRaceM: h.closerace(); break;
    case Inbound::Chat: h.showchat(payload); break;
    case Inbound::User3:
    case Inbound::User4: h.listuser(payload); break;
    case Inbound::AccountDetails: h.showuser(payload); break;
    case Inbound::ClearRaces: h.clearracelist(); break;
    case Inbound::Racers: h.showracers(payload); break;
    case Inbound::Race: h.showrace(payload); break;
    case Inbound::NoRace: h.norace(); break;
    case Inbound::NoticeH: h.notice(460, payload, 50); break;
    case Inbound::NoticeI: h.notice(461, payload, 50); break;
    case Inbound::NoticeJ: h.notice(462, payload, 50); break;
    case Inbound::TeamUpdate: h.updateteam(payload); break;
    case Inbound::TeamList: h.showteam(payload); break;
    case Inbound::TeamRecord: h.setteam(payload); break;
    case Inbound::HostAddress: h.ipsetup(payload); break;
    case Inbound::HostMode: h.racehostmode(payload); break;
    case Inbound::WeeklyAwards: h.doweekly(payload); break;
    case Inbound::Logout: h.logout(payload); break;
    case Inbound::RaceTime: {
        std::string time = cut(payload, 5);
        if (charCount(time) == 5 && time.back() == ':') time = cut(time, 4);
        h.raceTime(time);
        break;
    }
    case Inbound::IdleCheck: h.sleeper(); break;
    case Inbound::PasswordChange: h.setpchange(payload); break;
    case Inbound::NameCheck: h.setpval(payload); break;
    case Inbound::Whisper: h.whisshow(payload); break;
    case Inbound::TrackList: h.tracklist(payload); break;
    case Inbound::TrackSetting: h.trackset(payload); break;
    case Inbound::SecurityQuestion: h.passset(payload); break;
    case Inbound::Nothing: break;
    }
}

void Dispatcher::hidden(const std::string& text) {
    // The read is one message: its first three characters are the code.
    const std::size_t codeBytes = byteLengthOfChars(text, 3);
    const std::string code = text.substr(0, codeBytes);
    const std::string payload = text.substr(codeBytes);
    if (code == "~a~") {
        // Only the fourth character counts; sounds 0 and 1 are never played
        // while racing.
        int n = settings::textToInt(cut(payload, 1));
        if (n != 0 && n != 1) handlers_.makesound(n);
    } else if (code == "~9~") {
        handlers_.logout(payload);
    } else if (code == "~q~") {
        handlers_.storeRaceToken(payload);
    }
}

} // namespace tarmacia::protocol
