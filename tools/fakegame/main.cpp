// tarmacia-fakegame: stands in for PU, HS or HP so the race monitor can be
// tried end to end with the real /proc and process_vm_readv. Copy it into a
// game folder under the game's executable name; it maps the game's addresses,
// prints "ready <pid>" and then plays the race one command at a time:
//
//   opening lobby racing results   enter that phase      -> "ok <phase>"
//   tamper                         PU: change a path     -> "ok <phase>"
//   move                           PU: table moves       -> "ok <phase>"
//   publish unpublish              PU: table address     -> "ok <phase>"
//   quit (or end of input)         exit 0                -> "ok <phase>"
//   anything else                                        -> "error <why>"
//
//   tarmacia-fakegame [--game PU|HS|HP] [--unpublished] [--window[=TITLE]]

#include "game_memory.h"
#include "x11_window.h"

#include <chrono>
#include <sys/stat.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>
#include <fstream>
#include <string>

using namespace tarmacia::fakegame;

namespace {

// stdout may be a pipe or a socket; write whole lines, unbuffered, so the
// test sees each answer at once.
void say(const std::string& line) {
    const std::string text = line + "\n";
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(STDOUT_FILENO, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::string ownComm() {
    std::ifstream in("/proc/self/comm");
    std::string comm;
    std::getline(in, comm);
    return comm;
}

struct Options {
    Game game = Game::PU;
    bool publish = true;
    bool window = false;
    std::string title = "Porsche";
};

bool parse(int argc, char* argv[], Options& options) {
    bool known = false;
    options.game = gameFromName(argv[0], known);
    if (!known) options.game = gameFromName(ownComm(), known);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--game" && i + 1 < argc) {
            options.game = gameFromName(argv[++i], known);
            if (!known) return false;
        } else if (arg == "--unpublished") {
            options.publish = false;
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg.rfind("--window=", 0) == 0) {
            options.window = true;
            options.title = arg.substr(9);
        } else {
            return false;
        }
    }
    return known;
}

std::string apply(GameMemory& memory, const std::string& word, bool& quit) {
    bool done = true;
    if (word == "opening")
        memory.enter(Phase::Opening);
    else if (word == "lobby")
        memory.enter(Phase::Lobby);
    else if (word == "racing")
        memory.enter(Phase::Racing);
    else if (word == "results")
        memory.enter(Phase::Results);
    else if (word == "tamper")
        done = memory.tamper();
    else if (word == "move")
        done = memory.move();
    else if (word == "publish")
        done = memory.publish(true);
    else if (word == "unpublish")
        done = memory.publish(false);
    else if (word == "quit")
        quit = true;
    else
        return "error unknown command " + word;
    if (!done) return "error " + word + " is for PU only";
    return std::string("ok ") + phaseName(memory.phase());
}

// Reads stdin a line at a time, handling window events in between.
int run(GameMemory& memory, X11Window* window) {
    std::string pending;
    for (;;) {
        pollfd fds[2] = {{STDIN_FILENO, POLLIN, 0}, {window ? window->fd() : -1, POLLIN, 0}};
        if (poll(fds, window ? 2 : 1, -1) < 0) {
            if (errno == EINTR) continue;
            return 1;
        }
        if (window && window->closeRequested())
            return 0; // closed like the game: the window goes, the process ends
        if (!(fds[0].revents & (POLLIN | POLLHUP | POLLERR))) continue;
        char buffer[256];
        const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return 0; // the test went away
        pending.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = pending.find('\n')) != std::string::npos;) {
            std::string word = pending.substr(0, end);
            pending.erase(0, end + 1);
            while (!word.empty() && (word.back() == '\r' || word.back() == ' '))
                word.pop_back();
            if (word.empty()) continue;
            bool quit = false;
            say(apply(memory, word, quit));
            if (quit) return 0;
        }
    }
}

// Started by the client rather than by a test (no command socket on stdin):
// plays races by itself, lobby, racing and results in turn, until ended.
int playByItself(GameMemory& memory, X11Window* window) {
    struct Step {
        const char* phase;
        int milliseconds;
    };
    static constexpr Step kScript[] = {{"lobby", 15000}, {"racing", 30000}, {"results", 10000}};
    for (std::size_t step = 0;; step = (step + 1) % std::size(kScript)) {
        bool quit = false;
        apply(memory, kScript[step].phase, quit);
        const auto until = std::chrono::steady_clock::now() +
                           std::chrono::milliseconds(kScript[step].milliseconds);
        for (auto now = std::chrono::steady_clock::now(); now < until;
             now = std::chrono::steady_clock::now()) {
            const int left = static_cast<int>(
                std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count());
            pollfd fd{window ? window->fd() : -1, POLLIN, 0};
            if (poll(&fd, window ? 1 : 0, left) < 0 && errno != EINTR) return 1;
            if (window && window->closeRequested()) return 0;
        }
    }
}

bool drivenByATest() {
    struct stat info {};
    return fstat(STDIN_FILENO, &info) == 0 && (S_ISSOCK(info.st_mode) || S_ISFIFO(info.st_mode));
}

} // namespace

int main(int argc, char* argv[]) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr, "usage: porsche.exe|nfshs.exe|nfshp2.exe [--game PU|HS|HP] "
                             "[--unpublished] [--window[=TITLE]]\n");
        return 2;
    }
    try {
        GameMemory memory(options.game);
        memory.setUp(options.publish);
        std::unique_ptr<X11Window> window;
        if (options.window) window = X11Window::open(options.title);
        say("ready " + std::to_string(getpid()));
        return drivenByATest() ? run(memory, window.get()) : playByItself(memory, window.get());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "tarmacia-fakegame: %s\n", error.what());
        return 1;
    }
}
