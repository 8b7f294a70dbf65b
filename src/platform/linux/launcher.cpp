#include "platform/linux/launcher.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include <fcntl.h>
#include <sys/wait.h>
#include <sys/prctl.h>
#include <unistd.h>

extern char** environ;

namespace tarmacia::platform::os {
namespace fs = std::filesystem;

namespace {

std::filesystem::path homePrefix() {
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "") / ".wine";
}

// Resolved before forking: between fork and exec only async-signal-safe
// calls are allowed, and Qt's threads make that matter.
std::optional<fs::path> onPath(const std::string& name) {
    if (name.find('/') != std::string::npos) return fs::path(name);
    const char* path = std::getenv("PATH");
    std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    while (true) {
        auto colon = dirs.find(':');
        fs::path dir(std::string(dirs.substr(0, colon)));
        if (dir.empty()) dir = ".";
        fs::path candidate = dir / name;
        if (::access(candidate.c_str(), X_OK) == 0) return candidate;
        if (colon == std::string_view::npos) return std::nullopt;
        dirs.remove_prefix(colon + 1);
    }
}

struct Report {
    int kind; // 0: the game's pid, 1: errno of a failed step
    int value;
};

void report(int fd, Report r) {
    // A pipe write this small is atomic; nothing more can be done if it fails.
    [[maybe_unused]] auto ignored = ::write(fd, &r, sizeof r);
}

} // namespace

bool isWindowsProgram(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    char magic[2] = {};
    return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

LinuxLauncher::LinuxLauncher(std::string wine, fs::path prefix)
    : wine_(std::move(wine)), prefix_(prefix.empty() ? homePrefix() : std::move(prefix)) {}

std::optional<int> LinuxLauncher::start(const fs::path& program,
                                        const std::vector<std::string>& arguments,
                                        const fs::path& workingFolder) {
    std::error_code ec;
    if (!fs::is_regular_file(program, ec)) return std::nullopt;

    std::vector<std::string> argv;
    std::vector<std::string> env;
    fs::path executable;
    if (isWindowsProgram(program)) {
        auto wine = onPath(wine_);
        if (!wine) return std::nullopt;
        executable = *wine;
        argv.push_back(wine_);
        argv.push_back(program.string());
        for (char** e = environ; *e; ++e)
            if (std::strncmp(*e, "WINEPREFIX=", 11) != 0) env.emplace_back(*e);
        env.push_back("WINEPREFIX=" + prefix_.string());
    } else {
        executable = program;
        argv.push_back(program.string());
        for (char** e = environ; *e; ++e) env.emplace_back(*e);
    }
    argv.insert(argv.end(), arguments.begin(), arguments.end());

    std::vector<char*> argvp;
    for (auto& a : argv) argvp.push_back(a.data());
    argvp.push_back(nullptr);
    std::vector<char*> envp;
    for (auto& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    const std::string folder = workingFolder.string();
    const std::string file = executable.string();

    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return std::nullopt;

    // Started through an intermediate child that exits at once, so the game
    // is nobody's child here: it never lingers as a zombie that the process
    // table would still show, and the client needs no SIGCHLD handling.
    const pid_t client = ::getpid();
    pid_t middle = ::fork();
    if (middle < 0) {
        ::close(fds[0]);
        ::close(fds[1]);
        return std::nullopt;
    }
    if (middle == 0) {
        ::close(fds[0]);
        pid_t game = ::fork();
        if (game == 0) {
            ::setsid(); // a Ctrl-C meant for the client leaves the game alone
            // The game is not our descendant: with the kernel's ptrace
            // restriction on, only this lets the client read its memory.
            ::prctl(PR_SET_PTRACER, client, 0, 0, 0);
            if (!folder.empty() && ::chdir(folder.c_str()) != 0) {
                report(fds[1], {1, errno});
                ::_exit(127);
            }
            ::execve(file.c_str(), argvp.data(), envp.data());
            report(fds[1], {1, errno});
            ::_exit(127);
        }
        if (game < 0)
            report(fds[1], {1, errno});
        else
            report(fds[1], {0, game});
        ::_exit(0);
    }
    ::close(fds[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }

    // The write end closes on a successful exec, so the end of the pipe is
    // the moment the program is running (or has failed to).
    std::optional<int> pid;
    bool failed = false;
    Report r{};
    while (true) {
        ssize_t n = ::read(fds[0], &r, sizeof r);
        if (n < 0 && errno == EINTR) continue;
        if (n != static_cast<ssize_t>(sizeof r)) break;
        if (r.kind == 0)
            pid = r.value;
        else
            failed = true;
    }
    ::close(fds[0]);
    if (failed) return std::nullopt;
    return pid;
}

} // namespace tarmacia::platform::os
