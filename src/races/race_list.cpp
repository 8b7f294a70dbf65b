#include "races/race_list.h"

#include "common/text.h"
#include "platform/paths.h"

#include <system_error>

namespace tarmacia::races {
namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSep = "\xC2\xAC"; // "¬"

// Field k (1-based) of a payload; field 9 keeps the rest, separators and all.
std::array<std::string, 9> fields(std::string_view payload) {
    std::array<std::string, 9> out;
    for (std::size_t k = 0; k < 9; ++k) {
        std::size_t end = k == 8 ? std::string_view::npos : payload.find(kSep);
        out[k] = std::string(payload.substr(0, end));
        if (end == std::string_view::npos) break;
        payload.remove_prefix(end + kSep.size());
    }
    return out;
}

std::string withoutBlanks(std::string text) {
    std::erase(text, ' ');
    return text;
}

bool fileExists(const fs::path& file) {
    std::error_code ec;
    return fs::exists(file, ec);
}

} // namespace

HostName doname(std::string_view raceId) {
    const std::size_t open = raceId.rfind('[');
    const std::size_t close = raceId.rfind(']');
    if (open == std::string_view::npos || close == std::string_view::npos)
        return {std::string(raceId), {}};
    // The code is read from the second character up to the last "]".
    std::string flag = close >= 1 ? std::string(raceId.substr(1, close - 1)) : std::string();
    return {std::string(raceId.substr(close + 1)), flag};
}

std::string tileColour(std::string_view gameCode) {
    if (gameCode == "PU") return "42BDF7";
    if (gameCode == "HS") return "FF91E6";
    if (gameCode == "HP") return "80FF80";
    return "EFD652";
}

RaceList::RaceList(app::DiagnosticLog& log, platform::Clock& clock, fs::path clientFolder,
                   std::function<void(const std::string&)> send)
    : log_(log), clientFolder_(std::move(clientFolder)), send_(std::move(send)),
      closeCheck_(clock.createTimer()) {
    closeCheck_->setSingleShot(true);
    closeCheck_->setInterval(kCloseCheckMs);
    closeCheck_->onTimeout([this] {
        // The selected race was not announced again: its panel goes.
        if (details_.line1.empty()) {
            details_.visible = false;
            if (closePanels) closePanels();
            notify();
        }
    });
}

fs::path RaceList::picture(const std::string& game) const {
    fs::path own = platform::resolvePath(clientFolder_, "images\\" + game + "race.jpg");
    return fileExists(own) ? own : platform::resolvePath(clientFolder_, "images\\xxrace.jpg");
}

void RaceList::clearracelist() {
    log_.label("Clear Race List");
    adminRaces_.clear();
    lastRaceIndex_ = -1;
    for (RaceEntry& slot : slots_) slot = RaceEntry{};
    if (details_.visible) {
        details_.line1.clear();
        details_.line2.clear();
        details_.line3.clear();
        closeCheck_->start();
    }
    notify();
}

void RaceList::showrace(const std::string& payload) {
    log_.label("Show Race");
    if (lastRaceIndex_ + 1 >= kSlots) return; // twenty races at most
    const int i = ++lastRaceIndex_;
    const auto f = fields(payload);
    RaceEntry& slot = slots_[static_cast<std::size_t>(i)];
    raceIds_[static_cast<std::size_t>(i)] = f[1];
    lastAnnounced_ = f[1];
    slot.racePicture = picture(f[4]);
    slot.colour = tileColour(f[4]);
    details_.colour = slot.colour;
    slot.gameCode = cut(f[4], 5);
    slot.occupancyText = withoutBlanks(f[0]);
    slot.raceId = cut(f[1], 15);
    HostName host = doname(f[1]);
    slot.nameLabel = host.name;
    if (host.flag.empty()) host.flag = "df";
    fs::path teams = platform::resolvePath(clientFolder_, "flags\\teams\\" + host.flag + "flag.bmp");
    slot.flagPicture = fileExists(teams)
                           ? teams
                           : platform::resolvePath(clientFolder_, "flags\\other\\" + host.flag + "flag.bmp");
    slot.raceTitle = cut(f[3], 50);
    slot.detailShort = cut(f[5], 10);
    slot.detailLong = cut(f[6], 100);
    slot.extraText = cut(f[8], 20);
    slot.visible = true;
    adminRaces_.push_back(f[1] + " - " + f[3]);
    if (selectedRaceId_ == f[1]) {
        details_.line1 = slot.detailShort;
        details_.line2 = slot.occupancyText;
        details_.line3 = slot.detailLong;
    }
    notify();
}

void RaceList::showracers(const std::string& text, const std::string& creationGame) {
    log_.label("Show Racers");
    if (text.empty()) return;
    racerStrip_ = selectedGame + " " + creationGame + " Pit >> " + text;
    notify();
}

void RaceList::raceClickSlot(int slot) {
    if (slot < 0 || slot >= kSlots) return;
    selectedRaceId_ = raceIds_[static_cast<std::size_t>(slot)];
    raceClick(selectedRaceId_);
}

void RaceList::raceClick(const std::string& raceId) {
    int index = 0;
    for (int i = 0; i < kSlots; ++i) {
        if (slots_[static_cast<std::size_t>(i)].raceId == raceId) {
            index = i;
            break;
        }
    }
    const RaceEntry& slot = slots_[static_cast<std::size_t>(index)];
    details_.line1 = raceId;
    details_.flagPicture.clear();
    selectedGame = slot.gameCode;
    send_("~R~" + std::to_string(index));
    details_.racePicture = picture(selectedGame);

    // The same split as the host name, with the brackets dropped from the code.
    HostName host = doname(slot.raceId);
    std::string flag = host.flag.empty() ? "df" : host.flag;
    std::erase(flag, '[');
    std::erase(flag, ']');
    for (const char* folder : {"flags\\teams\\", "flags\\other\\"}) {
        fs::path candidate = platform::resolvePath(clientFolder_, folder + flag + "flag.bmp");
        if (fileExists(candidate)) details_.flagPicture = candidate; // "other" wins when both exist
    }
    const std::size_t dash = slot.raceTitle.rfind('-');
    details_.titleLine1 = dash == std::string::npos ? slot.raceTitle : slot.raceTitle.substr(0, dash);
    details_.titleLine2 = dash == std::string::npos ? std::string() : slot.raceTitle.substr(dash + 1);
    details_.hostName = host.name;
    details_.line1 = slot.detailShort;
    details_.line2 = slot.occupancyText;
    details_.line3 = slot.detailLong;
    details_.visible = true;
    notify();
}

} // namespace tarmacia::races
