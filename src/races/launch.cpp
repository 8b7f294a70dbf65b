#include "races/launch.h"

#include "app/diagnostic_log.h"
#include "app/message_box.h"
#include "common/text.h"
#include "platform/clock.h"
#include "platform/launcher.h"
#include "platform/paths.h"
#include "platform/process_table.h"
#include "platform/window_list.h"
#include "races/game_paths.h"
#include "settings/game_list.h"
#include "settings/languages.h"

#include <algorithm>
#include <array>

namespace tarmacia::races {
namespace fs = std::filesystem;

namespace {

struct CarSet {
    std::string_view trackset;
    std::string_view cars;
};

constexpr std::array<CarSet, 18> kCarSets{{
    {"default", "original"}, {"Mod1", "ep"},   {"Mod2", "ep"},   {"Mod3", "ep"},
    {"Mod4", "ep"},          {"Mod5", "ep"},   {"Mod6", "ep"},   {"Mod7", "ep"},
    {"Mod8", "ep"},          {"Mod9", "ep3"},  {"Mod10", "ep3"}, {"Mod11", "ep3"},
    {"Mod12", "ep"},         {"Mod13", "ep4"}, {"Mod14", "ep4"}, {"Mod15", "ep4"},
    {"Mod16", "ep"},         {"Mod17", "ep3"},
}};

// Every occurrence, left to right, without looking again at what the removal
// joined together.
std::string removeAll(std::string text, std::string_view what) {
    std::string out;
    std::size_t from = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, from)) {
        out.append(text, from, at - from);
        from = at + what.size();
    }
    out.append(text, from, std::string::npos);
    return out;
}

const settings::game* entryFor(const settings::multigame& list, std::string_view code) {
    // Read through the slots: find() would move the list's current entry.
    for (int i = 0; i < settings::multigame::kSlots; ++i)
        if (!list.slot(i).isFree() && list.slot(i).abbrev == code) return &list.slot(i);
    return nullptr;
}


} // namespace

std::string mixerCarSet(std::string_view trackset) {
    for (const CarSet& entry : kCarSets)
        if (entry.trackset == trackset) return std::string(entry.cars);
    return {};
}

std::string mixerParameters(std::string_view trackset) {
    return "load:" + std::string(trackset) + " cars:" + mixerCarSet(trackset) + " start";
}

std::string hpParameters(std::string_view param) {
    std::string text = toUpper(param);
    text = removeAll(std::move(text), "-SERVER");
    text = removeAll(std::move(text), "+GHOST");
    text = toLower(text);
    return text.empty() ? "Nil" : text;
}

std::vector<std::string> splitParameters(std::string_view text) {
    std::vector<std::string> out;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
        if (i > start) out.emplace_back(text.substr(start, i - start));
    }
    return out;
}

GameLaunch::GameLaunch(LaunchHost& host, platform::Launcher& launcher,
                       platform::ProcessTable& processes, platform::WindowList& windows,
                       platform::Clock& clock)
    : host_(host), launcher_(launcher), processes_(processes), windows_(windows), clock_(clock) {}

GameLaunch::~GameLaunch() = default;

int GameLaunch::getprocesspid(std::string_view path) const {
    return processes_.find(platform::fileNamePart(path));
}

int GameLaunch::checkprocess(std::string_view name) const { return processes_.count(name); }

bool GameLaunch::KillTask(std::string_view name) {
    host_.log().label("Kill Task");
    return processes_.terminate(name);
}

void GameLaunch::KillProcess(unsigned long window) {
    host_.log().label("Kill Process");
    // The X close request is answered asynchronously, so the wait for the
    // window to go is a timer rather than a blocked event loop.
    closeWaits_.erase(std::remove_if(closeWaits_.begin(), closeWaits_.end(),
                                     [](const auto& t) { return !t->isActive(); }),
                      closeWaits_.end());
    windows_.closeRequest(window);
    auto timer = clock_.createTimer();
    timer->setSingleShot(true);
    timer->onTimeout([this, window] {
        for (const platform::TopWindow& w : windows_.list())
            if (w.id == window && w.pid > 0) processes_.terminate(w.pid);
    });
    timer->start(5000);
    closeWaits_.push_back(std::move(timer));
}

void GameLaunch::mixerdetect() {
    host_.log().label("Mixer Detect");
    std::string folder = host_.gameFolder();
    std::error_code ec;
    mixer = !folder.empty() &&
                    fs::exists(platform::resolvePath(folder, "NFS HS Mixer\\mixer.exe"), ec)
                ? 1
                : 0;
}

void GameLaunch::findpu() {
    if (host_.selectedGame() != "PU") return;
    for (const platform::TopWindow& w : windows_.list()) {
        if (!platform::isPuWindow(w)) continue;
        host_.stopStatusTimer();
        host_.makesound(2);
        KillProcess(w.id);
        return;
    }
}

int GameLaunch::pidAfterStart(const fs::path& program, std::optional<int> started) const {
    // The game is looked up by name as it runs; a Wine program only takes
    // its name once Wine has loaded it, and until then the process we
    // started is the game.
    int found = processes_.find(program.filename().string());
    if (found == 0 && started) found = *started;
    return found;
}

int GameLaunch::startInGameFolder(std::string_view relative,
                                  const std::vector<std::string>& arguments) {
    std::string folder = host_.gameFolder();
    fs::path program = platform::resolvePath(folder, relative);
    return pidAfterStart(program, launcher_.start(program, arguments, folder));
}

fs::path GameLaunch::companionPath(const std::string& stats) const {
    if (stats.front() == '/') return stats;
    if (stats.size() >= 2 && stats[1] == ':') return linuxPath(host_.winePrefix(), stats);
    return platform::resolvePath(host_.gameFolder(), stats);
}

void GameLaunch::alreadyRunning(std::string_view exe, const std::string& announcement) {
    host_.setHosting(0);
    host_.clearRaceState();
    launchedPid = 0;
    host_.stopStatusTimer();
    KillTask(exe);
    host_.crcmess(announcement);
    const settings::LanguageStrings& lang = host_.lang();
    app::MessageBoxRecord box;
    box.title = lang[473];
    box.kind = "warn";
    box.line1 = host_.selectedGame() + " " + lang[473];
    box.line2 = lang[458];
    box.button1 = lang[459];
    host_.messagebox(box);
    host_.closeMonitor();
}

void GameLaunch::pustart(const std::string& trackset) {
    host_.log().label("Start PU");
    const std::string game = host_.selectedGame();
    const std::string folder = host_.gameFolder();

    if (game == "PU") {
        launchedPid = 0;
        bool running = getprocesspid(folder + "porsche.exe") != 0 ||
                       checkprocess("porsche.exe") != 0;
        findpu();
        if (running) {
            alreadyRunning("porsche.exe", "PU Already running");
            return;
        }
        host_.setRaceActive(1);
        gameLaunched = 1;
        launchedPid = startInGameFolder("porsche.exe", {});
    } else if (game == "HS") {
        mixerdetect();
        host_.setRaceActive(1);
        if (mixer == 1) {
            launchedPid = startInGameFolder("NFS HS Mixer\\Mixer.exe",
                                            splitParameters(mixerParameters(trackset)));
        } else {
            gameLaunched = 1;
            launchedPid = startInGameFolder("nfshs.exe", {});
        }
    } else if (game == "HP") {
        const settings::game* entry = entryFor(host_.gameList(), "HP");
        std::string parameters = hpParameters(entry ? entry->param : "");
        std::string companion = entry ? entry->stats : "";
        launchedPid = 0;
        if (getprocesspid(folder + "NFSHP2.exe") != 0) {
            alreadyRunning("nfshp2.exe", "HP2 Already running");
            host_.redraw();
            return;
        }
        host_.setRaceActive(1);
        gameLaunched = 1;
        if (!companion.empty() && getprocesspid(companion) == 0)
            launcher_.start(companionPath(companion), {}, folder);
        launchedPid = startInGameFolder("nfshp2.exe", splitParameters(parameters));
    } else if (game == "PT") {
        // The player starts this one; the monitor tells them so.
        host_.setRaceActive(1);
        gameLaunched = 1;
    } else if (!game.empty()) {
        host_.setRaceActive(1);
        gameLaunched = 1;
        const settings::game* entry = entryFor(host_.gameList(), game);
        launchedPid = startInGameFolder(entry ? entry->exename : "", {});
    }
}

} // namespace tarmacia::races
