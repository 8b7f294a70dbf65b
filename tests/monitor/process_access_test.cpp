#include "monitor/process_access.h"

#include "monitor/game_memory.h"
#include "platform/fake/fake_process_memory.h"
#include "platform/fake/fake_processes.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <stdexcept>

namespace tarmacia::monitor {
namespace {

using platform::fake::FakeProcessMemory;
using platform::fake::FakeProcessTable;
using platform::fake::FakeWindowList;
using testing::ElementsAre;
using testing::IsEmpty;

class FakeAccessHost : public ProcessAccessHost {
public:
    FakeProcessTable* table = nullptr;
    std::string game = "PU";
    int launched = 0;
    std::vector<int> sounds;
    std::vector<std::string> killed;
    std::vector<unsigned long> closed;
    std::vector<std::string> messages;
    std::vector<std::string> refusals;
    bool statusTimerStopped = false;

    std::string gameBeingMonitored() const override { return game; }
    int launchedPid() const override { return launched; }
    void makesound(int number) override { sounds.push_back(number); }
    bool KillTask(std::string_view name) override {
        killed.emplace_back(name);
        return table->terminate(name);
    }
    void KillProcess(unsigned long window) override { closed.push_back(window); }
    void stopStatusTimer() override { statusTimerStopped = true; }
    void showMessage(const std::string& text) override { messages.push_back(text); }
    void accessRefused(const std::string& text) override { refusals.push_back(text); }
};

class Access : public testing::Test {
protected:
    Access() { host.table = &processes; }

    FakeProcessTable processes;
    FakeProcessMemory memory;
    FakeWindowList windows;
    FakeAccessHost host;
    ProcessAccess access{host, processes, memory, windows};

    std::uint16_t read(std::string_view path, std::uint64_t address, std::size_t size) {
        got = 99;
        return access.ReadProcessMem(path, buffer, got, address, size);
    }
    std::string buffer;
    std::size_t got = 0;
};

struct ReadCase {
    const char* name;
    std::string game;
    std::vector<std::string> running; // images, pids 100, 101, ... in table order
    int launched;                     // 0 = none
    std::string path;
    std::uint16_t status;
    std::string bytes; // what was read, for status 0
    std::vector<int> terminated;
    std::vector<int> sounds;
};

TEST_F(Access, ReadProcessMemStatusesAndThePuGuard) {
    const std::vector<ReadCase> cases = {
        {"launched PU is read", "PU", {"porsche.exe"}, 100, "/g/porsche.exe", 0, "P100", {}, {}},
        {"first porsche.exe is not ours: every one ended",
         "PU",
         {"porsche.exe", "porsche.exe"},
         101,
         "/g/porsche.exe",
         2,
         "",
         {100, 101},
         {2}},
        {"PU started outside the lobby",
         "PU",
         {"porsche.exe"},
         0,
         "/g/porsche.exe",
         2,
         "",
         {100},
         {2}},
        {"HS: the first of two is read",
         "HS",
         {"nfshs.exe", "nfshs.exe"},
         0,
         "/g/nfshs.exe",
         0,
         "P100",
         {},
         {}},
        {"path in another case",
         "HP",
         {"nfshp2.exe"},
         0,
         "C:\\GAMES\\HP2\\NFSHP2.EXE",
         0,
         "P100",
         {},
         {}},
        {"PT: empty path matches nothing", "PT", {"porsche.exe"}, 100, "", 1, "", {}, {}},
        {"not running", "HS", {"other.exe"}, 0, "/g/nfshs.exe", 1, "", {}, {}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeProcessTable table;
        FakeProcessMemory mem;
        FakeAccessHost h;
        h.table = &table;
        h.game = c.game;
        h.launched = c.launched;
        int pid = 100;
        for (const std::string& image : c.running) {
            table.add(image, pid);
            mem.put(pid, 0x5DFA1A, "P" + std::to_string(pid) + "........");
            ++pid;
        }
        ProcessAccess a{h, table, mem, windows};
        std::size_t n = 99;
        std::string out;
        EXPECT_EQ(a.ReadProcessMem(c.path, out, n, 0x5DFA1A, 4), c.status);
        if (c.status == 0) {
            EXPECT_EQ(out, c.bytes);
            EXPECT_EQ(n, 4u);
        } else {
            EXPECT_EQ(n, 0u);
        }
        EXPECT_EQ(table.terminated, c.terminated);
        EXPECT_EQ(h.sounds, c.sounds);
    }
}

TEST_F(Access, AnUnreadableRangeIsStatus3WithNothingElseDone) {
    host.launched = processes.add("porsche.exe");
    memory.put(host.launched, 0x1000, std::string(16, 'x'));
    EXPECT_EQ(read("porsche.exe", 0x1008, 16), 3); // runs past the mapping
    EXPECT_EQ(got, 0u);
    EXPECT_THAT(processes.terminated, IsEmpty());
    EXPECT_THAT(host.sounds, IsEmpty());
    EXPECT_THAT(host.refusals, IsEmpty());
    EXPECT_EQ(access.accessProblem(), "");
}

TEST_F(Access, ARefusedReadIsExplainedOncePerMonitorAndTheGameLeftRunning) {
    host.launched = processes.add("porsche.exe");
    memory.put(host.launched, 0x1000, std::string(16, 'x'));
    memory.forbidden.insert(host.launched);

    EXPECT_EQ(read("porsche.exe", 0x1000, 4), 3);
    EXPECT_EQ(read("porsche.exe", 0x1000, 4), 3);
    const std::string text = "Cannot read the game's memory: the kernel's ptrace restriction "
                             "(/proc/sys/kernel/yama/ptrace_scope is 1) forbids it";
    EXPECT_THAT(host.refusals, ElementsAre(text));
    EXPECT_EQ(access.accessProblem(), text);
    EXPECT_THAT(processes.terminated, IsEmpty());
    EXPECT_THAT(host.sounds, IsEmpty());

    access.reset("porsche.exe"); // the next race tells again
    EXPECT_EQ(read("porsche.exe", 0x1000, 4), 3);
    EXPECT_EQ(host.refusals.size(), 2u);
}

TEST_F(Access, AGameThatEndsBeforeTheReadIsNotRunning) {
    host.game = "HS";
    int pid = processes.add("nfshs.exe");
    memory.put(pid, 0x1000, "abcd");
    memory.gone.insert(pid);
    EXPECT_EQ(read("nfshs.exe", 0x1000, 4), 1);
}

TEST_F(Access, AMissingPuClosesItsLeftoverWindow) {
    windows.windows = {
        {1, "", 7}, {2, "Porsche Club", 8}, {3, " p O r s C h e ", 9}, {4, "PORSCHE", 10}};
    EXPECT_EQ(read("porsche.exe", 0x5DFA1A, 12), 1);
    EXPECT_TRUE(host.statusTimerStopped);
    EXPECT_THAT(host.sounds, ElementsAre(2));
    EXPECT_THAT(host.closed, ElementsAre(3u)); // the first match only

    FakeAccessHost hs;
    hs.table = &processes;
    hs.game = "HS";
    ProcessAccess other{hs, processes, memory, windows};
    other.findpu();
    EXPECT_THAT(hs.closed, IsEmpty());
}

TEST_F(Access, GeticaddyReadsThePathTableAddressOfPuOnly) {
    host.launched = processes.add("porsche.icd");
    memory.put(host.launched, kPu.pathTableAddress.address, std::string("\x10\x32\x54\x06", 4));
    access.reset(monitoredExecutable("PU", "/games/pu/", 1));
    std::int32_t address = -5;
    access.geticaddy(address);
    EXPECT_EQ(address, 0x06543210);
    EXPECT_TRUE(access.pathTableAddressRead);

    memory.put(host.launched, kPu.pathTableAddress.address, std::string("\xFF\xFF\xFF\xFF", 4));
    access.geticaddy(address);
    EXPECT_EQ(address, -1); // compared signed: not set yet

    host.game = "HS";
    address = 1234;
    access.geticaddy(address);
    EXPECT_EQ(address, 1234);
}

class ThrowingTable : public FakeProcessTable {
public:
    std::vector<platform::Process> list() const override { throw std::runtime_error("proc"); }
};

TEST_F(Access, CheckprocessCountsExactNamesAndReportsAFailedListing) {
    processes.add("NFSHS.EXE");
    processes.add("nfshs.exe");
    processes.add("nfshsgame.exe");
    EXPECT_EQ(access.checkprocess("nfshs.exe"), 2);

    ThrowingTable broken;
    ProcessAccess a{host, broken, memory, windows};
    EXPECT_EQ(a.checkprocess("nfshs.exe"), 0);
    EXPECT_THAT(host.messages, ElementsAre("Error showing process list"));
}

TEST(MonitoredExecutable, PerGame) {
    EXPECT_EQ(monitoredExecutable("PU", "/g/", 0), "/g/porsche.exe");
    EXPECT_EQ(monitoredExecutable("PU", "/g/", 1), "/g/porsche.icd");
    EXPECT_EQ(monitoredExecutable("HS", "/no/such/folder/", 0), "/no/such/folder/nfshs.exe");
    EXPECT_EQ(monitoredExecutable("HP", "/g/", 0), "/g/nfshp2.exe");
    EXPECT_EQ(monitoredExecutable("PT", "/g/", 0), "");
    test::TempDir hs;
    std::ofstream(hs / "NFSHSGame.exe") << "MZ";
    std::string folder = hs.path().string() + "/";
    EXPECT_EQ(monitoredExecutable("HS", folder, 0), folder + "nfshsgame.exe");
}

} // namespace
} // namespace tarmacia::monitor
