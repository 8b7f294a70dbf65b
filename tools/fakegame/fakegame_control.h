#pragma once
// Starts tarmacia-fakegame under a game's executable name and drives it one
// command at a time, for tests. Every call blocks on the game's answer, so a
// test steps the race deterministically and never sleeps.
//
//   auto exe = FakeGameProcess::install(program, folder, "porsche.exe");
//   FakeGameProcess game(exe);            // waits for "ready <pid>"
//   game.command("racing");               // -> "ok racing"

#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

extern char** environ;

namespace tarmacia::fakegame {

class FakeGameProcess {
public:
    // Copies the program into folder under name (a copy, not a link, so the
    // process's comm, argv[0] and /proc/<pid>/exe all carry the game's name).
    static std::filesystem::path install(const std::filesystem::path& program,
                                         const std::filesystem::path& folder,
                                         const std::string& name) {
        namespace fs = std::filesystem;
        fs::create_directories(folder);
        const fs::path target = folder / name;
        fs::copy_file(program, target, fs::copy_options::overwrite_existing);
        fs::permissions(target, fs::perms::owner_all, fs::perm_options::add);
        return target;
    }

    explicit FakeGameProcess(const std::filesystem::path& executable,
                             std::vector<std::string> args = {}) {
        // One socket pair serves as the game's stdin and stdout; writes use
        // MSG_NOSIGNAL so a game that has died is an error, not a SIGPIPE.
        int ends[2];
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0)
            throw std::runtime_error("socketpair failed");
        fd_ = ends[0];
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDIN_FILENO);
        posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
        std::vector<std::string> words{executable.string()};
        words.insert(words.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (auto& word : words)
            argv.push_back(word.data());
        argv.push_back(nullptr);
        const int failed = posix_spawn(&pid_, argv[0], &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        close(ends[1]);
        if (failed != 0) {
            close(fd_);
            throw std::runtime_error("cannot start " + executable.string());
        }
        std::string ready;
        try {
            ready = readLine();
        } catch (...) {
            finish();
            throw;
        }
        if (ready != "ready " + std::to_string(pid_)) {
            finish();
            throw std::runtime_error("fake game did not start: \"" + ready + "\"");
        }
    }

    ~FakeGameProcess() { finish(); }
    FakeGameProcess(const FakeGameProcess&) = delete;
    FakeGameProcess& operator=(const FakeGameProcess&) = delete;

    pid_t pid() const { return pid_; }

    // Sends one command and returns the game's answer ("ok <phase>", "error ...").
    std::string command(const std::string& word) {
        const std::string line = word + "\n";
        if (send(fd_, line.data(), line.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(line.size()))
            throw std::runtime_error("fake game is gone");
        return readLine();
    }

    // Waits for the game to end (after "quit", or when something killed it)
    // and returns its wait status.
    int wait() {
        if (pid_ <= 0) return status_;
        if (fd_ >= 0) shutdown(fd_, SHUT_WR); // end of input: the game exits on its own
        while (waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return status_;
    }

private:
    std::string readLine() {
        for (;;) {
            const auto end = buffer_.find('\n');
            if (end != std::string::npos) {
                std::string line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                return line;
            }
            char chunk[256];
            const ssize_t n = read(fd_, chunk, sizeof chunk);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) throw std::runtime_error("fake game closed its output");
            buffer_.append(chunk, static_cast<std::size_t>(n));
        }
    }

    void finish() {
        wait();
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    int status_ = 0;
    std::string buffer_;
};

} // namespace tarmacia::fakegame
