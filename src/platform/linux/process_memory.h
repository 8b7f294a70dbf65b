#pragma once

#include "platform/process_memory.h"

#include <filesystem>

namespace tarmacia::platform::os {

// process_vm_readv, with /proc/PID/mem as the way round where the call
// itself is missing or filtered (some container seccomp profiles).
class ProcProcessMemory : public ProcessMemory {
public:
    explicit ProcProcessMemory(std::filesystem::path proc = "/proc") : proc_(std::move(proc)) {}

    bool read(int pid, std::uint64_t address, std::size_t length, std::string& out) override;
    std::vector<Region> readableRegions(int pid, std::uint64_t lo, std::uint64_t hi) override;
    std::string lastError() const override { return error_; }
    MemoryFailure lastFailure() const override { return failure_; }

private:
    bool fail(int pid, int err);

    std::filesystem::path proc_;
    MemoryFailure failure_ = MemoryFailure::None;
    std::string error_;
};

// The player-facing cause of a refused read: `otherUser` when the game runs
// under another user id, `ptraceScope` from Yama (-1 when there is none),
// `err` the errno the kernel gave.
std::string refusalCause(bool otherUser, int ptraceScope, int err);

} // namespace tarmacia::platform::os
