#include "platform/linux/launcher.h"

#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <sstream>

#include <fcntl.h>
#include <unistd.h>

namespace tarmacia::platform::os {
namespace {

namespace fs = std::filesystem;
using testing::ElementsAre;
using testing::ElementsAreArray;

// Each script writes what it was started with into $RECORD: the prefix Wine
// would use, its working folder and its arguments, one per line.
const char* kRecorder = "#!/bin/sh\n"
                        "{ printf '%s\\n' \"${WINEPREFIX-unset}\"; pwd -P; printf '%s\\n' \"$@\"; }"
                        " > \"$RECORD\"\n";

class SavedEnv {
public:
    explicit SavedEnv(const char* name) : name_(name) {
        const char* v = std::getenv(name);
        if (v) value_ = v;
        had_ = v != nullptr;
    }
    ~SavedEnv() {
        if (had_)
            ::setenv(name_, value_.c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::string value_;
    bool had_ = false;
};

class Launcher : public testing::Test {
protected:
    Launcher() {
        fs::create_directories(dir / "bin");
        fs::create_directories(dir / "Game");
        ::setenv("RECORD", (dir / "record").c_str(), 1);
        ::unsetenv("WINEPREFIX");
        ::setenv("PATH", ((dir / "bin").string() + ":" + savedPathText()).c_str(), 1);
    }

    static std::string savedPathText() {
        const char* p = std::getenv("PATH");
        return p ? p : "/usr/bin:/bin";
    }

    void executable(const fs::path& file, const std::string& content) {
        test::writeFile(file, content);
        fs::permissions(file, fs::perms::owner_all);
    }

    // Starts and waits for the program to end: it inherits the write end of
    // a pipe, whose reading side reaches its end once the program is gone.
    std::optional<int> startAndWait(const fs::path& program, const std::vector<std::string>& args,
                                    LinuxLauncher& launcher) {
        int fds[2];
        if (::pipe(fds) != 0) return std::nullopt;
        ::fcntl(fds[0], F_SETFD, FD_CLOEXEC);
        auto pid = launcher.start(program, args, dir / "Game");
        ::close(fds[1]);
        char byte;
        while (::read(fds[0], &byte, 1) < 0 && errno == EINTR) {
        }
        ::close(fds[0]);
        return pid;
    }

    std::vector<std::string> record() const {
        std::istringstream in(test::readFile(dir / "record"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    SavedEnv path_{"PATH"};
    SavedEnv prefix_{"WINEPREFIX"};
    SavedEnv record_{"RECORD"};
    test::TempDir dir;
};

TEST_F(Launcher, AWindowsProgramRunsUnderWineInThePrefix) {
    executable(dir / "bin/wine", kRecorder);
    test::writeFile(dir / "Game/PORSCHE.EXE", std::string("MZ\x90\0\3\0", 6));
    LinuxLauncher launcher("wine", dir / "prefix");

    auto pid = startAndWait(dir / "Game/PORSCHE.EXE", {"load:Mod1", "cars:ep", "start"}, launcher);

    ASSERT_TRUE(pid.has_value());
    EXPECT_GT(*pid, 0);
    const std::string game = fs::canonical(dir / "Game").string();
    EXPECT_THAT(record(), ElementsAre((dir / "prefix").string(), game,
                                      (dir / "Game/PORSCHE.EXE").string(), "load:Mod1", "cars:ep",
                                      "start"));
}

TEST_F(Launcher, ANativeProgramRunsDirectly) {
    executable(dir / "bin/wine", "#!/bin/sh\necho wine > \"$RECORD\"\n");
    executable(dir / "Game/hp2stats", kRecorder);
    LinuxLauncher launcher("wine", dir / "prefix");

    auto pid = startAndWait(dir / "Game/hp2stats", {"Nil"}, launcher);

    ASSERT_TRUE(pid.has_value());
    EXPECT_THAT(record(), ElementsAreArray({std::string("unset"),
                                            fs::canonical(dir / "Game").string(),
                                            std::string("Nil")}));
}

TEST_F(Launcher, WhatCannotStartGivesNoPid) {
    test::writeFile(dir / "Game/nfshs.exe", "MZ");
    executable(dir / "Game/native", "#!/bin/sh\n");
    LinuxLauncher noWine("wine-that-is-not-there", dir / "prefix");
    LinuxLauncher launcher("wine", dir / "prefix");

    EXPECT_EQ(noWine.start(dir / "Game/nfshs.exe", {}, dir / "Game"), std::nullopt);
    EXPECT_EQ(launcher.start(dir / "Game/missing.exe", {}, dir / "Game"), std::nullopt);
    EXPECT_EQ(launcher.start(dir / "Game/native", {}, dir / "Gone"), std::nullopt);
    test::writeFile(dir / "Game/plain", "not a program");
    EXPECT_EQ(launcher.start(dir / "Game/plain", {}, dir / "Game"), std::nullopt);
}

} // namespace
} // namespace tarmacia::platform::os
