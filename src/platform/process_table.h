#pragma once
// The running processes, as the client looks for games among them: by
// executable name, without regard to case. Under Wine a game's `comm` is its
// executable name and argv[0] is its Windows path, so either may match.

#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::platform {

struct Process {
    int pid = 0;
    std::string comm;  // the kernel's name (at most 15 characters)
    std::string image; // argv[0] after its last "/" or "\"
};

// Whether `process` runs the executable `name` ("porsche.exe", any case).
bool runs(const Process& process, std::string_view name);

// The part of a path after its last "/" or "\".
std::string_view fileNamePart(std::string_view path);

class ProcessTable {
public:
    virtual ~ProcessTable() = default;

    // A fresh snapshot, in the table's own order.
    virtual std::vector<Process> list() const = 0;

    // The first process running `name`; 0 when none.
    int find(std::string_view name) const;
    int count(std::string_view name) const;
    // Ends every process running `name`. True when the last one asked to end
    // accepted; false when none was asked or the last refused.
    bool terminate(std::string_view name);
    // Asks the process to end (SIGTERM). Only this user's own processes.
    bool terminate(int pid) { return sendTerminate(pid); }
    // Still there and not a zombie.
    bool alive(int pid) const { return isAlive(pid); }

private:
    virtual bool sendTerminate(int pid) = 0;
    virtual bool isAlive(int pid) const = 0;
};

} // namespace tarmacia::platform
