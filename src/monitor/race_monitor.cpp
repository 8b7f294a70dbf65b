#include "monitor/race_monitor.h"

#include "common/cp1252.h"
#include "monitor/process_access.h"
#include "scan/scan_lists.h"

#include <algorithm>
#include <array>
#include <random>

namespace tarmacia::monitor {
namespace {

constexpr const char* kLoopbackDefault = "127.0.0.1\xC2\xAC" "default"; // "¬" between
constexpr const char* kPuRacingKey = "0042";
constexpr const char* kHsMenuKey = "6F";
constexpr const char* kHpRacingKey = "01010101010101010101";

std::string hex2(unsigned char byte) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[byte >> 4], kDigits[byte & 0x0F]};
}

unsigned char at(const std::string& block, std::size_t i) {
    return static_cast<unsigned char>(block[i]);
}

bool isPolledGame(const std::string& game) {
    return game == "PU" || game == "HS" || game == "HP";
}


// The last scan-list index the quiet re-check reaches; 0 for none.
int quietScanLast(const std::string& game) {
    if (game == "PU") return 268;
    if (game == "HS") return 103;
    if (game == "HP") return 149;
    return 0;
}

} // namespace

RaceMonitor::StepSource RaceMonitor::randomStepSource() {
    auto engine = std::make_shared<std::mt19937>(std::random_device{}());
    return [engine] { return std::uniform_int_distribution<int>(1, 22)(*engine); };
}

RaceMonitor::RaceMonitor(MonitorHost& host, StepSource puSteps) : host_(host), puSteps_(std::move(puSteps)) {
    auto make = [this](int ms, bool singleShot, void (RaceMonitor::*handler)()) {
        auto timer = host_.clock().createTimer();
        timer->setInterval(ms);
        timer->setSingleShot(singleShot);
        timer->onTimeout([this, handler] { (this->*handler)(); });
        return timer;
    };
    timer1_ = make(kStatusIntervalMs, false, &RaceMonitor::Timer1Timer);
    timer2_ = make(kInstallCheckDelayMs, true, &RaceMonitor::Timer2Timer);
    // One collection per race end; SetResult arms it again for the next.
    timer3_ = make(kResultDelayMs, true, &RaceMonitor::Timer3Timer);
    timer5_ = make(kStartupTickMs, false, &RaceMonitor::Timer5Timer);
}

RaceMonitor::~RaceMonitor() = default;

void RaceMonitor::FormActivate() {
    host_.log().label("Race Monitor Activate");
    open_ = true;
    ticks_ = 0;
    startupWait_ = 0;
    pathTable_ = 0;
    hpAnchor_ = 0;
    hpAnchorFound_ = false;
    puLobbyTrack_ = "00";
    hsLobbyTrack_.clear();
    raceState_.clear();
    lastTrack_.clear();
    host_.setLaunchedPid(0);
    host_.setScanPosition(100);
    // A PU race of the last opening may have left the poll at its fast rate.
    timer1_->setInterval(kStatusIntervalMs);

    const std::string game = host_.selectedGame();
    executable_ = monitor::monitoredExecutable(game, host_.gameFolder(), host_.puEdition() ? 1 : 0);
    host_.startMonitoring(executable_);

    host_.pustart(host_.currentTrackset());
    if (host_.launchedPid() == 0 && game != "PT") {
        closeMonitor(); // the game did not start
        return;
    }
    timer5_->start();
    if (game == "PT") {
        // The player runs this game by hand; nothing can be read from it.
        timer5_->stop();
        host_.showMonitorText("Start your game now\nClick on suspend screen when finished");
    } else if (game == "HP") {
        timer5_->stop();
        timer1_->start();
    }
}

void RaceMonitor::Timer5Timer() {
    host_.log().label("Start-up Wait");
    const std::string game = host_.selectedGame();
    if (game != "PU") {
        timer1_->start();
        timer5_->stop();
        return;
    }
    // The CD edition's launcher hands over to porsche.icd, whose PID is the
    // one the reads must insist on.
    if (host_.puEdition()) host_.setLaunchedPid(host_.getprocesspid(host_.gameFolder() + "porsche.icd"));
    if (host_.launchedPid() == 0) return;

    pathTable_ = readPathTableAddress().value_or(0);
    if (pathTable_ > 0) {
        timer1_->start();
        timer5_->stop();
    } else if (startupWait_ <= kStartupTicks) {
        ++startupWait_;
    } else {
        timer5_->stop();
        host_.crcmess("PU Failed to start properly");
        host_.KillTask("porsche.exe");
        closeMonitor();
        host_.chatLine("[df]PU Failed to start properly");
    }
}

void RaceMonitor::Timer1Timer() {
    if (ticks_ < kTickLimit) ++ticks_;
    GetStatus();
    if (host_.hosting() == 1) GetTrack();
}

void RaceMonitor::GetStatus() {
    if (raceState_ == "Cheating") return;
    const std::string game = host_.selectedGame();
    MemoryArea area;
    if (game == "PU") {
        area = kPu.gameState;
    } else if (game == "HS") {
        area = kHs.gameState;
    } else if (game == "HP") {
        if (!hpAnchorFound_) {
            if (const auto anchor = host_.hp2set()) {
                hpAnchor_ = *anchor;
                hpAnchorFound_ = true;
            }
        }
        if (!hpAnchorFound_) return;
        area = kHp.gameState.at(hpAnchor_);
    } else {
        return;
    }
    const auto bytes = read(area);
    if (!bytes) return;

    std::string key;
    const std::size_t keyBytes = game == "PU" ? 2 : game == "HS" ? 1 : 10;
    for (std::size_t i = 0; i < keyBytes && i < bytes->size(); ++i) key += hex2(at(*bytes, i));

    const std::string next = nextState(game, key);
    if (next.empty() || next == raceState_) return;
    if (host_.hosting() == 1) host_.sendLobby("~A~" + next);
    raceState_ = next;
}

std::string RaceMonitor::nextState(const std::string& game, const std::string& key) {
    if (game == "HS") {
        if (key == kHsMenuKey) {
            if (raceState_ == "Results" && resultsHold_ > 0) {
                --resultsHold_;
                return "Results";
            }
            if (raceState_ == "Racing") {
                host_.SetResult();
                resultsHold_ = 1;
                return "Results";
            }
            return "Lobby";
        }
        if (raceState_.empty()) return "Opening";
        if (raceState_ == "Lobby") return "Racing";
        return {};
    }
    if (game == "PU") {
        if (key == kPuRacingKey) {
            if (raceState_ != "Lobby") return {}; // a race already under way when we came in
            timer1_->setInterval(kStatusIntervalMs);
            timer2_->start();
            return "Racing";
        }
        if (raceState_.empty()) return "Opening";
        if (raceState_ == "Racing") {
            host_.SetResult();
            // Between races PU is watched closely, so the next start is seen
            // before the install check matters.
            timer1_->setInterval(kPuBetweenRacesIntervalMs);
        }
        return "Lobby";
    }
    // HP
    if (key == kHpRacingKey) {
        if (raceState_ != "Lobby") return {};
        host_.hp2getracers();
        return "Racing";
    }
    if (raceState_.empty()) return "Opening";
    if (raceState_ == "Racing") host_.hp2racedump();
    return "Lobby";
}

void RaceMonitor::GetTrack() {
    if (raceState_ == "Racing") return;
    const std::string game = host_.selectedGame();
    std::string track;
    std::string mode;
    if (game == "PU") {
        if (const auto b = read(kPu.lobbyTrack); b && !b->empty()) {
            track = hex2(at(*b, 0));
            puLobbyTrack_ = track;
        }
        if (const auto b = read(kPu.lobbyDirection); b && !b->empty()) {
            const unsigned char v = at(*b, 0);
            if (v >= 0x9A && v <= 0x9D) mode = std::string(1, static_cast<char>('1' + (v - 0x9A)));
        }
    } else if (game == "HS") {
        if (const auto b = read(kHs.lobbyDirectionMirror); b && b->size() > 4) {
            // Only the low digit of each flag counts, as the game sets 0 or 1.
            const int backward = at(*b, 0) & 0x0F;
            const int mirrored = at(*b, 4) & 0x0F;
            if (backward <= 1 && mirrored <= 1) mode = std::string(1, static_cast<char>('1' + backward + 2 * mirrored));
        }
        if (const auto b = read(kHs.lobbyTrack); b && !b->empty()) {
            hsLobbyTrack_ = hex2(at(*b, 0));
            track = hsLobbyTrack_[0] != '0' ? hsLobbyTrack_ : " " + hsLobbyTrack_.substr(1);
        }
    } else if (game == "HP") {
        if (const auto b = read(kHp.lobbyTrack)) track = cp1252::decode(b->substr(0, b->find('\0')));
        if (const auto b = read(kHp.lobbyMode); b && !b->empty()) {
            const unsigned char v = at(*b, 0);
            if (v <= 3) mode = std::string(1, static_cast<char>('1' + v));
        }
    } else {
        return;
    }

    // A lobby with no track name yet has nothing to tell the server.
    if (track.empty()) return;
    const bool reportable = mode == "1" || mode == "2" || mode == "3" || (mode == "4" && track != "00");
    if (!reportable) return;
    const std::string key = track + mode;
    if (key == lastTrack_) return;
    if (host_.hosting() == 1) host_.sendLobby("~C~" + track + " " + mode);
    lastTrack_ = key;
}

void RaceMonitor::Timer2Timer() {
    timer2_->stop();
    if (host_.selectedGame() != "PU" || pathTable_ <= 0) return;
    host_.log().label("Install Check");
    const auto block = read(kPu.pathTable(static_cast<std::uint32_t>(pathTable_)));
    if (!block) {
        raceState_ = "No Stats";
        return;
    }
    const std::string& b = *block;
    int k = kFirstPathEntry;
    bool collecting = false;
    std::string entry;
    for (std::size_t i = 0; i + 2 < b.size(); ++i) {
        if (!collecting && b[i + 1] == 'n' && b[i + 2] == 'n') collecting = true;
        if (!collecting) continue;
        entry += b[i];
        if (b[i + 1] == '\0' && b[i + 2] == '\n') {
            const bool passed = checkinstall(k++, entry);
            entry.clear();
            collecting = false;
            if (!passed) {
                // One alarm is enough: the game is gone and the window closed.
                raceState_ = "Cheating";
                return;
            }
        }
    }
}

bool RaceMonitor::checkinstall(int k, const std::string& entry) {
    if (host_.selectedGame() != "PU") return true;
    bool passed = k >= kFirstPathEntry && k <= kLastPathEntry &&
                  entry == kPuInstallPaths[static_cast<std::size_t>(k - kFirstPathEntry)];
    // A table moved since start-up means the game was redirected to another
    // one. A re-read that fails is a game that has gone, not a move.
    if (const auto now = readPathTableAddress(); now && *now != pathTable_ && installAlarm_ == 0) passed = false;
    if (!passed) installAlarm(k, entry);
    return passed;
}

void RaceMonitor::installAlarm(int k, const std::string& entry) {
    host_.log().label("Install Cheat - entry " + std::to_string(k) + ": " + entry);
    host_.crcmess("Install Cheat Detected");
    host_.KillTask("porsche.exe");
    timer1_->stop();
    timer2_->stop();
    timer3_->stop();
    timer5_->stop();
    closeMonitor();
    host_.makesound(2);
    host_.messagebox({.title = host_.lang(484), .kind = "error", .line1 = host_.lang(484),
                      .line2 = host_.lang(458), .button1 = host_.lang(459)});
    installAlarm_ = 1;
}

void RaceMonitor::Timer3Timer() {
    host_.log().label("Result Collection");
    timer3_->stop();
    racescan();
    host_.getresult();
}

void RaceMonitor::racescan() {
    const std::string game = host_.selectedGame();
    if (!isPolledGame(game)) return;
    host_.log().label("Race Scan");
    raceScanPassed_ = 0;
    host_.clearScanFailures();
    host_.setScanPosition(100);
    const int failures = newquietscan();
    // After the window has closed the scan keeps the position closing left.
    if (!open_) host_.setScanPosition(99);
    if (failures == 0) {
        raceScanPassed_ = 1;
        return;
    }
    // Changed files fail the main window's scan too, so the player cannot
    // join another race before a clean scan.
    host_.setScanFailed(1);
    host_.crcmess("Race Scan Failed");
    host_.KillTask("porsche.exe");
    host_.KillTask("nfshp2.exe");
    closeMonitor();
    host_.makesound(2);
    host_.showmess("Race Scan Failed");
    host_.showbox();
}

int RaceMonitor::newquietscan() {
    host_.clearScanFailures();
    int failures = 0;
    if (host_.takeFileChangeNotice()) {
        ++failures;
        host_.addScanFailure("File Swap Error");
    }
    int position = host_.scanPosition();
    if (position <= 99) return failures;

    const std::string game = host_.selectedGame();
    const int last = quietScanLast(game);
    while (position <= last) {
        const std::string relative = scan::getnextfile(game, position);
        const std::string name = relative.substr(relative.rfind('\\') + 1);
        const std::string reply = host_.checkscan(name, std::to_string(host_.getcrc(relative)));
        if (reply.starts_with("notok")) {
            ++failures;
            host_.addScanFailure(reply.size() > 6 ? reply.substr(6) : std::string());
        }
        // PU's list is long: a random sample keeps the pause between races short.
        position += game == "PU" ? std::clamp(puSteps_(), 1, 22) : 1;
    }
    return failures;
}

void RaceMonitor::FormClose() {
    if (!open_) return;
    open_ = false;
    host_.log().label("Race Monitor Close");
    // Timer3 keeps running: a race that ended just before the click still
    // gets its scan and its result.
    timer1_->stop();
    timer2_->stop();
    timer5_->stop();
    host_.setHosting(0);
    raceState_.clear();
    lastTrack_.clear();
    host_.setGameLaunched(0);
    pathTable_ = 0;
    host_.KillTask("porsche.exe");
    // HS writes its files while it loads; ending it then can corrupt them.
    if (host_.selectedGame() == "HS" && ticks_ < kTickLimit)
        host_.showMessage("Warning - do not press OK until HS has finished loading or corruption may occur");
    host_.KillTask("nfshs.exe");
    host_.KillTask("mixer.exe");
    host_.KillTask("nfshp2.exe");
    host_.ipsetup(kLoopbackDefault);
    host_.setScanPosition(99);
    host_.closeMonitorWindow();
}

void RaceMonitor::closeMonitor() { FormClose(); }

void RaceMonitor::startResultCollection() { timer3_->start(); }
void RaceMonitor::stopResultCollection() { timer3_->stop(); }
void RaceMonitor::stopStatusPoll() { timer1_->stop(); }
void RaceMonitor::resumeStatusPoll() {
    // A result collected after the window closed must not start polling a
    // game that has been ended.
    if (open_) timer1_->start();
}

std::optional<std::string> RaceMonitor::read(const MemoryArea& area) {
    return host_.readMemory(executable_, area);
}

std::optional<std::int32_t> RaceMonitor::readPathTableAddress() {
    const auto bytes = read(kPu.pathTableAddress);
    if (!bytes || bytes->size() < 4) return std::nullopt;
    return static_cast<std::int32_t>(u32At(*bytes, 0));
}

} // namespace tarmacia::monitor
