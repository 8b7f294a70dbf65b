#pragma once
// A fake of the memory reader: each process's memory is a few blocks of
// bytes at given addresses; anything outside them is unmapped.

#include "platform/process_memory.h"

#include <algorithm>
#include <map>
#include <set>

namespace tarmacia::platform::fake {

class FakeProcessMemory : public ProcessMemory {
public:
    // pid -> start address -> bytes. Blocks that touch count as one range.
    std::map<int, std::map<std::uint64_t, std::string>> memory;
    std::set<int> forbidden; // reads fail as the ptrace restriction makes them
    std::set<int> gone;      // reads fail as for a process that ended
    int reads = 0;           // read() calls, failed ones included

    void put(int pid, std::uint64_t address, std::string bytes) {
        memory[pid][address] = std::move(bytes);
    }

    bool read(int pid, std::uint64_t address, std::size_t length, std::string& out) override {
        ++reads;
        if (!reachable(pid)) return false;
        out.clear();
        std::uint64_t at = address;
        std::uint64_t end = address + length;
        const auto& blocks = memory[pid];
        while (at < end) {
            auto it = blocks.upper_bound(at);
            if (it == blocks.begin()) return unreadable();
            --it;
            std::uint64_t blockEnd = it->first + it->second.size();
            if (at >= blockEnd) return unreadable();
            std::uint64_t take = std::min(end, blockEnd) - at;
            out.append(it->second, at - it->first, take);
            at += take;
        }
        return succeed();
    }

    std::vector<Region> readableRegions(int pid, std::uint64_t lo, std::uint64_t hi) override {
        std::vector<Region> out;
        if (!reachable(pid)) return out;
        for (const auto& [start, bytes] : memory[pid]) {
            std::uint64_t s = std::max(start, lo), e = std::min(start + bytes.size(), hi);
            if (s < e) out.push_back({s, e});
        }
        succeed();
        return out;
    }

    std::string lastError() const override { return error_; }
    MemoryFailure lastFailure() const override { return failure_; }

private:
    bool reachable(int pid) {
        if (gone.count(pid) || !memory.count(pid))
            return fail(MemoryFailure::Gone, "no such process");
        if (forbidden.count(pid))
            return fail(MemoryFailure::NotPermitted,
                        "the kernel's ptrace restriction (/proc/sys/kernel/yama/ptrace_scope is 1) "
                        "forbids it");
        return true;
    }
    bool unreadable() { return fail(MemoryFailure::Unreadable, "Bad address"); }
    bool succeed() {
        failure_ = MemoryFailure::None;
        error_.clear();
        return true;
    }
    bool fail(MemoryFailure failure, std::string error) {
        failure_ = failure;
        error_ = std::move(error);
        return false;
    }

    MemoryFailure failure_ = MemoryFailure::None;
    std::string error_;
};

} // namespace tarmacia::platform::fake
