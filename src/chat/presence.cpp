#include "chat/presence.h"

#include "chat/markup.h"
#include "common/text.h"
#include "platform/paths.h"

#include <cctype>
#include <system_error>
#include <utility>

namespace tarmacia::chat {
namespace fs = std::filesystem;

namespace {

// "¬" as it is inside the client (Windows-1252 0xAC on the wire).
constexpr std::string_view kFieldEnd = "\xC2\xAC";

bool isDrivePath(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) != 0 &&
           path[1] == ':';
}

std::string withoutBrackets(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c != '[' && c != ']') out += c;
    }
    return out;
}

} // namespace

Presence::Presence(settings::Settings& settings, platform::Sound& sound, Send send,
                   fs::path clientFolder, FindFlag findflag)
    : settings_(settings), sound_(sound), send_(std::move(send)),
      clientFolder_(std::move(clientFolder)), findflag_(std::move(findflag)) {}

bool Presence::listuser(const std::string& payload) {
    if (payload.empty()) {
        const bool had = !users_.empty() || !adminSelector_.empty();
        clearUsers();
        return had;
    }
    if (!known_.insert(payload).second) return false;
    users_.push_back(payload);
    adminSelector_.push_back(payload);
    return true;
}

void Presence::clearUsers() {
    users_.clear();
    known_.clear();
    adminSelector_.clear();
    // The administrator may be typing a name in the selector; leave it then.
    if (!adminWindowVisible || !adminWindowVisible()) adminSelectorText.clear();
}

fs::path Presence::existing(const std::string& relative) const {
    fs::path path = platform::resolvePath(clientFolder_, relative);
    std::error_code ec;
    return fs::is_regular_file(path, ec) ? path : fs::path{};
}

fs::path Presence::codeFlag(const std::string& code) const {
    fs::path found = existing("flags\\teams\\" + code + "flag.bmp");
    if (found.empty()) found = existing("flags\\other\\" + code + "flag.bmp");
    return found;
}

fs::path Presence::defaultFlag() const {
    return platform::resolvePath(clientFolder_, "flags\\teams\\dfflag.bmp");
}

UserRow Presence::userRow(const std::string& itemText) {
    const FlaggedName split = splitFlaggedName(itemText);
    UserRow row{split.name, {}};
    // A code that could not be a file name is never looked up or asked for.
    if (!split.hasCode || !isSafeFlagCode(split.code)) {
        row.flag = defaultFlag();
        return row;
    }
    row.flag = codeFlag(split.code);
    if (row.flag.empty() && findflag_) {
        findflag_(split.code + "flag.bmp");
        row.flag = codeFlag(split.code);
    }
    if (row.flag.empty()) row.flag = defaultFlag();
    return row;
}

fs::path Presence::flagPicture(const std::string& itemText) {
    return userRow(itemText).flag;
}

FlagSize Presence::flagSizeFor(int fontSize, bool autoSizing) const {
    if (!autoSizing) return {settings_.misc.flagWidth, settings_.misc.flagLength};
    FlagSize size{settings_.misc.flagWidth, settings_.misc.flagLength};
    // Applied in this order; the later rules win.
    if (fontSize > 13) size = {54, 36};
    if (fontSize > 18) size = {72, 48};
    if (fontSize < 14) size = {36, 24};
    return size;
}

fs::path Presence::soundFile(const std::string& stored) const {
    if (stored.empty()) return {};
    if (stored.front() == '/') return stored;
    if (isDrivePath(stored)) {
        // A path kept from a Windows install: the client's own sounds are the
        // only ones we can know, so look for the file there.
        const std::size_t slash = stored.find_last_of("\\/");
        const std::string file = stored.substr(slash == std::string::npos ? 2 : slash + 1);
        return platform::resolvePath(clientFolder_, "sounds\\" + file);
    }
    return platform::resolvePath(clientFolder_, stored);
}

void Presence::makesound(int number) {
    if (number < 0 || number >= static_cast<int>(settings::kSoundEventCount)) return;
    if (!settings_.user.options.useSounds) return;
    const settings::SoundEvent& event = settings_.sounds[static_cast<std::size_t>(number)];
    if (!event.enabled && !forceSound) return;
    sound_.setVolume(event.leftVolume, event.rightVolume);
    const fs::path file = soundFile(event.filePath);
    if (!file.empty()) sound_.play(file);
}

Volume Presence::GetVolume() const {
    return {sound_.leftVolume(), sound_.rightVolume()};
}

void Presence::setvolume(Volume volume) {
    sound_.setVolume(volume.left, volume.right);
}

void Presence::doweekly(const std::string& payload) {
    awards_ = {};
    std::size_t start = 0;
    for (std::size_t field = 0; field < kAwardLists * kAwardEntries; ++field) {
        const std::size_t end = payload.find(kFieldEnd, start);
        // Text after the last "¬" is not a field: the rest stays empty.
        if (end == std::string::npos) break;
        awards_[field / kAwardEntries][field % kAwardEntries] = payload.substr(start, end - start);
        start = end + kFieldEnd.size();
    }
}

std::array<AwardView, kAwardLists> Presence::firstEntries() const {
    std::array<AwardView, kAwardLists> views;
    for (std::size_t list = 0; list < kAwardLists; ++list) {
        const std::string& entry = awards_[list][0];
        AwardView& view = views[list];
        switch (list % 3) {
        case 0: { // racers: a flag-tagged name
            const FlaggedName split = splitFlaggedName(entry);
            view.text = split.name;
            if (split.hasCode && isSafeFlagCode(split.code)) view.flag = codeFlag(split.code);
            break;
        }
        case 1: // teams: "[TAG]"
            view.text = withoutBrackets(entry);
            if (isSafeFlagCode(view.text))
                view.flag = existing("flags\\teams\\" + view.text + "flag.bmp");
            break;
        default: // nations: a flag code
            view.text = entry;
            if (isSafeFlagCode(entry)) view.flag = existing("flags\\other\\" + entry + "flag.bmp");
            break;
        }
    }
    return views;
}

void Presence::setteam(const std::string& payload) {
    std::array<std::string, 3> fields;
    std::size_t start = 0;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::size_t end = payload.find('~', start);
        fields[i] = payload.substr(start, end == std::string::npos ? end : end - start);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    std::string tag = startsWith(fields[0], "[") ? cut(fields[0], 12) : "[" + cut(fields[0], 10) + "]";

    TeamEntry* target = nullptr;
    for (TeamEntry& entry : teams_) {
        if (entry.tag == tag) {
            target = &entry;
            break;
        }
    }
    if (target == nullptr) {
        for (TeamEntry& entry : teams_) {
            if (entry.tag.empty()) {
                target = &entry;
                break;
            }
        }
    }
    if (target == nullptr) return; // a full table drops it
    target->tag = std::move(tag);
    target->name = cut(fields[1], 50);
    target->info = cut(fields[2], 100);
}

std::string Presence::getteamname(const std::string& tag) {
    const std::string key = "[" + cut(tag, 10) + "]";
    for (const TeamEntry& entry : teams_) {
        if (entry.tag == key && !entry.name.empty()) return entry.name;
    }
    if (send_) send_("~r~" + tag);
    return tag;
}

} // namespace tarmacia::chat
