#pragma once
// Reading another process's memory: how the race monitor follows a running
// game. Nothing is ever written into the game.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarmacia::platform {

// Why the last read (or region listing) failed.
enum class MemoryFailure {
    None,
    Gone,         // no such process (it ended)
    NotPermitted, // the system forbids reading it (ptrace restriction, another user)
    Unreadable,   // the process is there but part of the range is not mapped readable
};

class ProcessMemory {
public:
    struct Region {
        std::uint64_t start = 0;
        std::uint64_t end = 0; // one past the last byte
        bool operator==(const Region&) const = default;
    };

    virtual ~ProcessMemory() = default;

    // Reads exactly `length` bytes at `address` into `out`. A range that is
    // only partly readable is a failed read; `out` is then unspecified.
    virtual bool read(int pid, std::uint64_t address, std::size_t length, std::string& out) = 0;

    // The readable mappings that meet [lo, hi), cut to it, in address order.
    // Empty when the process is gone or its map may not be read.
    virtual std::vector<Region> readableRegions(int pid, std::uint64_t lo, std::uint64_t hi) = 0;

    // What went wrong last, for the log and for the player: for NotPermitted
    // it names the cause ("the kernel's ptrace restriction (...) forbids it").
    virtual std::string lastError() const = 0;
    virtual MemoryFailure lastFailure() const = 0;
};

} // namespace tarmacia::platform
