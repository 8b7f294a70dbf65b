#include "platform/linux/process_memory.h"

#include "monitor/hp_anchor.h"

#include <gtest/gtest.h>

#include <cstring>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarmacia::platform::os {
namespace {

// A child holding one readable page of a known pattern followed by a page it
// may not read. It sends the page's address up a pipe and stays until
// released (its end of the second pipe closes), so no test waits on time.
class Child {
public:
    static constexpr char kMarker[] = "\\EAGL\\";
    static constexpr std::size_t kMarkerAt = 3000;

    Child() {
        page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
        int up[2], hold[2];
        if (::pipe(up) != 0 || ::pipe(hold) != 0) return;
        pid = ::fork();
        if (pid == 0) {
            ::close(up[0]);
            ::close(hold[1]);
            void* mem = ::mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE,
                               MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
            auto* bytes = static_cast<unsigned char*>(mem);
            for (std::size_t i = 0; i < page; ++i)
                bytes[i] = static_cast<unsigned char>(i * 7 + 3);
            std::memcpy(bytes + kMarkerAt, kMarker, 6);
            ::mprotect(bytes + page, page, PROT_NONE);
            std::uint64_t address = reinterpret_cast<std::uintptr_t>(mem);
            if (::write(up[1], &address, sizeof address) != sizeof address) ::_exit(1);
            char c;
            while (::read(hold[0], &c, 1) > 0) {
            }
            ::_exit(0);
        }
        ::close(up[1]);
        ::close(hold[0]);
        release_ = hold[1];
        if (::read(up[0], &address, sizeof address) != sizeof address) address = 0;
        ::close(up[0]);
    }
    ~Child() { end(); }

    void end() {
        if (release_ >= 0) ::close(release_);
        release_ = -1;
        if (pid > 0) ::waitpid(pid, nullptr, 0);
    }

    std::string expected(std::size_t from, std::size_t length) const {
        std::string s;
        for (std::size_t i = from; i < from + length; ++i)
            s += i >= kMarkerAt && i < kMarkerAt + 6
                     ? kMarker[i - kMarkerAt]
                     : static_cast<char>(static_cast<unsigned char>(i * 7 + 3));
        return s;
    }

    int pid = -1;
    std::uint64_t address = 0;
    std::size_t page = 0;

private:
    int release_ = -1;
};

TEST(ProcProcessMemory, ReadsAChildsMemoryAndFailsPastTheReadableEnd) {
    Child child;
    ASSERT_GT(child.pid, 0);
    ASSERT_NE(child.address, 0u);
    ProcProcessMemory memory;

    std::string out;
    ASSERT_TRUE(memory.read(child.pid, child.address, child.page, out)) << memory.lastError();
    EXPECT_EQ(out, child.expected(0, child.page));
    ASSERT_TRUE(memory.read(child.pid, child.address + 100, 12, out));
    EXPECT_EQ(out, child.expected(100, 12));

    // The last 8 readable bytes and 8 of the forbidden page: the whole read fails.
    EXPECT_FALSE(memory.read(child.pid, child.address + child.page - 8, 16, out));
    EXPECT_EQ(memory.lastFailure(), MemoryFailure::Unreadable);
    EXPECT_FALSE(memory.read(child.pid, 0, 4, out)); // page zero is never mapped
    EXPECT_EQ(memory.lastFailure(), MemoryFailure::Unreadable);

    auto regions = memory.readableRegions(child.pid, child.address - child.page,
                                          child.address + 2 * child.page);
    EXPECT_NE(std::find(regions.begin(), regions.end(),
                        ProcessMemory::Region{child.address, child.address + child.page}),
              regions.end());
    for (const auto& r : regions)
        EXPECT_FALSE(r.start < child.address + 2 * child.page &&
                     r.end > child.address + child.page);

    // The anchor search through the real adapter: 1000-byte blocks from the
    // page start put the marker at 3000, the start of block 3.
    monitor::AnchorWindow window{child.address, child.address + child.page, 1000, "\\EAGL\\"};
    EXPECT_EQ(monitor::findHpAnchor(memory, child.pid, window), child.address + Child::kMarkerAt);
    window.block = 1001; // now it straddles blocks 2 and 3, and there is no other
    EXPECT_EQ(monitor::findHpAnchor(memory, child.pid, window), std::nullopt);

    int pid = child.pid;
    child.end();
    EXPECT_FALSE(memory.read(pid, child.address, 4, out));
    EXPECT_EQ(memory.lastFailure(), MemoryFailure::Gone);
}

TEST(ProcProcessMemory, ARefusalNamesItsCause) {
    EXPECT_EQ(refusalCause(true, 1, EPERM), "the game runs as another user");
    EXPECT_EQ(
        refusalCause(false, 1, EPERM),
        "the kernel's ptrace restriction (/proc/sys/kernel/yama/ptrace_scope is 1) forbids it");
    EXPECT_EQ(
        refusalCause(false, 3, EPERM),
        "the kernel's ptrace restriction (/proc/sys/kernel/yama/ptrace_scope is 3) forbids it");
    EXPECT_EQ(refusalCause(false, -1, EPERM), "the system refuses it (Operation not permitted)");
}

} // namespace
} // namespace tarmacia::platform::os
