#include "platform/linux/process_memory.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace tarmacia::platform::os {
namespace fs = std::filesystem;

namespace {

bool refused(int err) {
    return err == EPERM || err == EACCES;
}

// Either call may stop short at the end of a mapping; whatever is left is
// asked for again, and the kernel then says why it cannot go on.
bool readVm(int pid, std::uint64_t address, char* into, std::size_t length, int& err) {
    std::size_t done = 0;
    while (done < length) {
        iovec local{into + done, length - done};
        iovec remote{reinterpret_cast<void*>(static_cast<std::uintptr_t>(address + done)),
                     length - done};
        ssize_t n = ::process_vm_readv(pid, &local, 1, &remote, 1, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            err = n == 0 ? EFAULT : errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool readMemFile(const fs::path& mem, std::uint64_t address, char* into, std::size_t length,
                 int& err) {
    int fd = ::open(mem.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    std::size_t done = 0;
    bool ok = true;
    while (done < length) {
        ssize_t n = ::pread(fd, into + done, length - done, static_cast<off_t>(address + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // /proc/PID/mem reports an unmapped address as EIO.
            err = n == 0 || errno == EIO ? EFAULT : errno;
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return ok;
}

int ptraceScope(const fs::path& proc) {
    std::ifstream in(proc / "sys/kernel/yama/ptrace_scope");
    int scope = -1;
    if (!(in >> scope)) return -1;
    return scope;
}

} // namespace

std::string refusalCause(bool otherUser, int ptraceScope, int err) {
    if (otherUser) return "the game runs as another user";
    if (ptraceScope >= 1)
        return "the kernel's ptrace restriction (/proc/sys/kernel/yama/ptrace_scope is " +
               std::to_string(ptraceScope) + ") forbids it";
    return std::string("the system refuses it (") + std::strerror(err) + ")";
}

bool ProcProcessMemory::fail(int pid, int err) {
    if (err == ESRCH || err == ENOENT) {
        failure_ = MemoryFailure::Gone;
        error_ = "the game's process has ended";
    } else if (refused(err)) {
        struct stat st {};
        bool otherUser =
            ::stat((proc_ / std::to_string(pid)).c_str(), &st) == 0 && st.st_uid != ::getuid();
        failure_ = MemoryFailure::NotPermitted;
        error_ = refusalCause(otherUser, ptraceScope(proc_), err);
    } else {
        failure_ = MemoryFailure::Unreadable;
        error_ = std::strerror(err);
    }
    return false;
}

bool ProcProcessMemory::read(int pid, std::uint64_t address, std::size_t length, std::string& out) {
    if (pid <= 0) return fail(pid, ESRCH);
    out.resize(length);
    int err = 0;
    if (readVm(pid, address, out.data(), length, err)) {
        failure_ = MemoryFailure::None;
        error_.clear();
        return true;
    }
    // ENOSYS: a kernel without the call; EPERM may be a seccomp filter
    // rather than the ptrace check, and the mem file is checked on its own.
    if (err == ENOSYS || err == EPERM) {
        int memErr = 0;
        if (readMemFile(proc_ / std::to_string(pid) / "mem", address, out.data(), length, memErr)) {
            failure_ = MemoryFailure::None;
            error_.clear();
            return true;
        }
        err = memErr;
    }
    return fail(pid, err);
}

std::vector<ProcessMemory::Region> ProcProcessMemory::readableRegions(int pid, std::uint64_t lo,
                                                                      std::uint64_t hi) {
    std::vector<Region> out;
    std::ifstream maps(proc_ / std::to_string(pid) / "maps");
    if (!maps) {
        fail(pid, fs::exists(proc_ / std::to_string(pid)) ? EACCES : ESRCH);
        return out;
    }
    std::string line;
    while (std::getline(maps, line)) {
        // "start-end perms offset dev inode path", addresses in hex.
        auto dash = line.find('-');
        auto space = line.find(' ', dash);
        if (dash == std::string::npos || space == std::string::npos || space + 1 >= line.size())
            continue;
        std::uint64_t start = 0, end = 0;
        const char* text = line.data();
        if (std::from_chars(text, text + dash, start, 16).ec != std::errc() ||
            std::from_chars(text + dash + 1, text + space, end, 16).ec != std::errc())
            continue;
        if (line[space + 1] != 'r') continue;
        std::uint64_t s = std::max(start, lo), e = std::min(end, hi);
        if (s < e) out.push_back({s, e});
    }
    failure_ = MemoryFailure::None;
    error_.clear();
    std::sort(out.begin(), out.end(),
              [](const Region& a, const Region& b) { return a.start < b.start; });
    return out;
}

} // namespace tarmacia::platform::os
