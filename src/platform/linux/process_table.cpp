#include "platform/linux/process_table.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <optional>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tarmacia::platform::os {
namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::optional<int> pidOf(const std::string& name) {
    int pid = 0;
    auto [end, ec] = std::from_chars(name.data(), name.data() + name.size(), pid);
    if (ec != std::errc() || end != name.data() + name.size() || pid <= 0) return std::nullopt;
    return pid;
}

// The state letter of /proc/<pid>/stat; the name before it is in
// parentheses and may itself hold spaces or ")".
char stateOf(const fs::path& dir) {
    std::string stat = slurp(dir / "stat");
    auto close = stat.rfind(')');
    if (close == std::string::npos || close + 2 >= stat.size()) return '?';
    return stat[close + 2];
}

} // namespace

std::vector<Process> ProcProcessTable::list() const {
    std::vector<Process> out;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(proc_, ec)) {
        auto pid = pidOf(entry.path().filename().string());
        if (!pid) continue;
        // A process that ended between the listing and these reads is
        // simply left out; a zombie has ended too.
        char state = stateOf(entry.path());
        if (state == '?' || state == 'Z' || state == 'X') continue;
        Process p;
        p.pid = *pid;
        p.comm = slurp(entry.path() / "comm");
        if (!p.comm.empty() && p.comm.back() == '\n') p.comm.pop_back();
        std::string cmdline = slurp(entry.path() / "cmdline");
        std::string argv0 = cmdline.substr(0, cmdline.find('\0'));
        p.image = std::string(fileNamePart(argv0));
        out.push_back(std::move(p));
    }
    std::sort(out.begin(), out.end(), [](const Process& a, const Process& b) { return a.pid < b.pid; });
    return out;
}

bool ProcProcessTable::sendTerminate(int pid) {
    if (pid <= 0) return false;
    // Only the player's own games: even with the rights to, the client has
    // no business ending someone else's process.
    struct stat st {};
    fs::path dir = proc_ / std::to_string(pid);
    if (::stat(dir.c_str(), &st) != 0 || st.st_uid != ::getuid()) return false;
    return ::kill(pid, SIGTERM) == 0;
}

bool ProcProcessTable::isAlive(int pid) const {
    if (pid <= 0) return false;
    char state = stateOf(proc_ / std::to_string(pid));
    return state != '?' && state != 'Z' && state != 'X';
}

} // namespace tarmacia::platform::os
