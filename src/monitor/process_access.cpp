#include "monitor/process_access.h"

#include "common/text.h"
#include "monitor/game_memory.h"
#include "monitor/hp_anchor.h"
#include "platform/paths.h"
#include "platform/process_memory.h"
#include "platform/process_table.h"
#include "platform/window_list.h"

#include <exception>
#include <filesystem>

namespace tarmacia::monitor {

namespace {
constexpr std::string_view kPuExecutable = "porsche.exe";

} // namespace

std::string monitoredExecutable(std::string_view game, const std::string& gameFolder,
                                int puEdition) {
    if (game == "PU") return gameFolder + (puEdition == 1 ? "porsche.icd" : "porsche.exe");
    if (game == "HS") {
        std::error_code ec;
        bool newer =
            !gameFolder.empty() && std::filesystem::is_regular_file(
                                       platform::resolvePath(gameFolder, "nfshsgame.exe"), ec);
        return gameFolder + (newer ? "nfshsgame.exe" : "nfshs.exe");
    }
    if (game == "HP") return gameFolder + "nfshp2.exe";
    return "";
}

ProcessAccess::ProcessAccess(ProcessAccessHost& host, platform::ProcessTable& processes,
                             platform::ProcessMemory& memory, platform::WindowList& windows)
    : host_(host), processes_(processes), memory_(memory), windows_(windows) {}

void ProcessAccess::reset(std::string executable) {
    executable_ = std::move(executable);
    pathTableAddressRead = false;
    problem_.clear();
    announced_ = false;
}

int ProcessAccess::getprocesspid(std::string_view path) const {
    return processes_.find(platform::fileNamePart(path));
}

int ProcessAccess::checkprocess(std::string_view name) {
    int n = 0;
    try {
        for (const platform::Process& p : processes_.list())
            if (platform::runs(p, name)) ++n;
    } catch (const std::exception&) {
        host_.showMessage("Error showing process list");
    }
    return n;
}

void ProcessAccess::refuse() {
    host_.makesound(2);
    host_.KillTask(kPuExecutable);
}

void ProcessAccess::noteRefusal() {
    problem_ = "Cannot read the game's memory: " + memory_.lastError();
    if (announced_) return;
    announced_ = true;
    host_.accessRefused(problem_);
}

std::uint16_t ProcessAccess::ReadProcessMem(std::string_view path, std::string& buffer,
                                            std::size_t& bytesRead, std::uint64_t address,
                                            std::size_t size) {
    bytesRead = 0;
    int pid = getprocesspid(path);
    if (pid == 0) {
        findpu();
        return kNoProcess;
    }
    // The guard against a PU started outside the lobby or swapped mid-race.
    if (host_.gameBeingMonitored() == "PU" && pid != host_.launchedPid()) {
        refuse();
        return kRefused;
    }
    if (memory_.read(pid, address, size, buffer)) {
        bytesRead = size;
        return kRead;
    }
    switch (memory_.lastFailure()) {
    case platform::MemoryFailure::Gone:
        findpu();
        return kNoProcess;
    case platform::MemoryFailure::NotPermitted:
        // The system's doing, not the game's: ending the player's own game
        // would not make it readable, so this is a failed read, explained.
        noteRefusal();
        return kReadFailed;
    default:
        return kReadFailed;
    }
}

void ProcessAccess::findpu() {
    if (host_.gameBeingMonitored() != "PU") return;
    for (const platform::TopWindow& w : windows_.list()) {
        if (!platform::isPuWindow(w)) continue;
        host_.stopStatusTimer();
        host_.makesound(2);
        host_.KillProcess(w.id);
        return;
    }
}

void ProcessAccess::geticaddy(std::int32_t& address) {
    if (host_.gameBeingMonitored() != "PU") return;
    address = 0;
    std::string block;
    std::size_t got = 0;
    const MemoryArea& at = kPu.pathTableAddress;
    if (ReadProcessMem(executable_, block, got, at.address, at.length) == kRead)
        address = static_cast<std::int32_t>(u32At(block, 0));
    pathTableAddressRead = true;
}

std::optional<std::uint64_t> ProcessAccess::hp2anchor(std::string_view path) {
    int pid = getprocesspid(path);
    if (pid == 0) return std::nullopt;
    auto anchor = findHpAnchor(memory_, pid);
    if (!anchor && memory_.lastFailure() == platform::MemoryFailure::NotPermitted) noteRefusal();
    return anchor;
}

} // namespace tarmacia::monitor
