#pragma once
// Fakes of the game-process ports: a process table kept in memory, a
// launcher that "starts" a program by adding it to that table, and a list of
// desktop windows.

#include "platform/launcher.h"
#include "platform/process_table.h"
#include "platform/window_list.h"

#include <algorithm>
#include <set>

namespace tarmacia::platform::fake {

class FakeProcessTable : public ProcessTable {
public:
    std::vector<Process> processes;
    std::vector<int> terminated; // in the order asked
    std::set<int> refuse;        // pids that will not end (another user's)

    // Adds a process running `image` ("porsche.exe"); comm is cut as the
    // kernel cuts it.
    int add(const std::string& image, int pid = 0) {
        if (pid == 0) pid = nextPid_++;
        processes.push_back({pid, image.substr(0, 15), image});
        return pid;
    }

    std::vector<Process> list() const override { return processes; }

private:
    bool sendTerminate(int pid) override {
        terminated.push_back(pid);
        if (refuse.count(pid)) return false;
        auto it = std::find_if(processes.begin(), processes.end(),
                               [&](const Process& p) { return p.pid == pid; });
        if (it == processes.end()) return false;
        processes.erase(it);
        return true;
    }
    bool isAlive(int pid) const override {
        return std::any_of(processes.begin(), processes.end(),
                           [&](const Process& p) { return p.pid == pid; });
    }

    int nextPid_ = 1000;
};

class FakeLauncher : public Launcher {
public:
    struct Start {
        std::filesystem::path program;
        std::vector<std::string> arguments;
        std::filesystem::path workingFolder;
        bool operator==(const Start&) const = default;
    };

    explicit FakeLauncher(FakeProcessTable* table = nullptr) : table_(table) {}

    std::vector<Start> starts;
    // When set, only programs that exist on disk start (as the real one).
    bool requireFile = false;
    // When false, a started program does not appear in the table (as a Wine
    // program does until Wine has named its process).
    bool appearsInTable = true;

    std::optional<int> start(const std::filesystem::path& program,
                             const std::vector<std::string>& arguments,
                             const std::filesystem::path& workingFolder) override {
        starts.push_back({program, arguments, workingFolder});
        if (requireFile && !std::filesystem::is_regular_file(program)) return std::nullopt;
        int pid = nextPid_++;
        if (table_ && appearsInTable) table_->add(program.filename().string(), pid);
        return pid;
    }

private:
    FakeProcessTable* table_;
    int nextPid_ = 5000;
};

class FakeWindowList : public WindowList {
public:
    std::vector<TopWindow> windows;
    std::vector<unsigned long> closeRequests;
    // Whether a window goes away when asked to close (a hung one does not).
    bool closes = true;

    std::vector<TopWindow> list() const override { return windows; }
    void closeRequest(unsigned long id) override {
        closeRequests.push_back(id);
        if (closes)
            windows.erase(std::remove_if(windows.begin(), windows.end(),
                                         [&](const TopWindow& w) { return w.id == id; }),
                          windows.end());
    }
};

} // namespace tarmacia::platform::fake
