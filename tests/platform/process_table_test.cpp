#include "platform/linux/process_table.h"
#include "platform/linux/window_list.h"

#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarmacia::platform::os {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::Field;
using testing::IsEmpty;

// Starts `program` with `argv0` as its argv[0]; returns once the exec has
// happened (the close-on-exec pipe reaches its end).
pid_t startWithName(const fs::path& program, const std::string& argv0) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return -1;
    std::string file = program.string();
    std::string name = argv0;
    std::string seconds = "60";
    char* argv[] = {name.data(), seconds.data(), nullptr};
    pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        ::execv(file.c_str(), argv);
        ::_exit(127);
    }
    ::close(fds[1]);
    char byte;
    while (::read(fds[0], &byte, 1) < 0 && errno == EINTR) {
    }
    ::close(fds[0]);
    return pid;
}

TEST(ProcProcessTable, FindsCountsAndEndsARealGameProcessByName) {
    test::TempDir dir;
    fs::copy_file("/bin/sleep", dir / "porsche.exe");
    fs::permissions(dir / "porsche.exe", fs::perms::owner_all);
    // Wine gives a game its Windows path as argv[0].
    pid_t pid = startWithName(dir / "porsche.exe", "C:\\Games\\PU\\Porsche.exe");
    ASSERT_GT(pid, 0);

    ProcProcessTable table;
    std::vector<Process> all = table.list();
    auto it = std::find_if(all.begin(), all.end(), [&](const Process& p) { return p.pid == pid; });
    ASSERT_NE(it, all.end());
    EXPECT_EQ(it->comm, "porsche.exe");
    EXPECT_EQ(it->image, "Porsche.exe");
    EXPECT_EQ(table.find("PORSCHE.EXE"), pid);
    EXPECT_EQ(table.count("Porsche.exe"), 1);
    EXPECT_TRUE(table.alive(pid));

    EXPECT_TRUE(table.terminate("porsche.EXE"));
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM);
    EXPECT_FALSE(table.alive(pid));
    EXPECT_EQ(table.count("porsche.exe"), 0);
    EXPECT_FALSE(table.terminate("porsche.exe"));
}

TEST(ProcProcessTable, ReadsProcEntriesAndLeavesZombiesOut) {
    test::TempDir proc;
    struct Entry {
        std::string pid;
        std::string stat;
        std::string comm;
        std::string cmdline;
    };
    const Entry entries[] = {
        {"40", "40 (nfshp2.exe) S 1", "nfshp2.exe\n", std::string("C:\\EA\\NFSHP2.exe\0-w\0", 19)},
        {"41", "41 (sleep) Z 1", "sleep\n", ""},
        {"42", "42 (a) b) R 1", "a) b\n", std::string("/usr/bin/a) b\0", 14)},
        {"43", "43 (kthreadd) S 0", "kthreadd\n", ""},
        {"self", "1 (x) S 0", "x\n", ""},
        {"7x", "7 (x) S 0", "x\n", ""},
    };
    for (const Entry& e : entries) {
        test::writeFile(proc / (e.pid + "/stat"), e.stat);
        test::writeFile(proc / (e.pid + "/comm"), e.comm);
        test::writeFile(proc / (e.pid + "/cmdline"), e.cmdline);
    }
    ProcProcessTable table(proc.path());
    auto all = table.list();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].pid, 40);
    EXPECT_EQ(all[0].comm, "nfshp2.exe");
    EXPECT_EQ(all[0].image, "NFSHP2.exe");
    EXPECT_EQ(all[1].pid, 42);
    EXPECT_EQ(all[1].image, "a) b");
    EXPECT_EQ(all[2].image, "");
    EXPECT_TRUE(table.alive(42));
    EXPECT_FALSE(table.alive(41));
    EXPECT_FALSE(table.alive(99));
    EXPECT_EQ(table.find("nfshp2.EXE"), 40);
    EXPECT_EQ(table.count(""), 0);
}

TEST(X11WindowList, NoDisplayMeansNoWindows) {
    X11WindowList none(":9999");
    EXPECT_FALSE(none.connected());
    EXPECT_THAT(none.list(), IsEmpty());
    none.closeRequest(42); // nothing to ask; must not fail

    const char* display = std::getenv("DISPLAY");
    std::string saved = display ? display : "";
    ::unsetenv("DISPLAY");
    X11WindowList unset;
    EXPECT_THAT(unset.list(), IsEmpty());
    if (display) ::setenv("DISPLAY", saved.c_str(), 1);
}

} // namespace
} // namespace tarmacia::platform::os
