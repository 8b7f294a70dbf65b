#include "platform/linux/hosts_file.h"
#include "races/hosts_redirect.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <vector>

namespace tarmacia::platform {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

mode_t modeOf(const fs::path& file) {
    struct stat info {};
    EXPECT_EQ(::stat(file.c_str(), &info), 0);
    return info.st_mode & 07777;
}

ino_t inodeOf(const fs::path& file) {
    struct stat info {};
    EXPECT_EQ(::stat(file.c_str(), &info), 0);
    return info.st_ino;
}

os::LinuxHostsFile::Rename failingWith(int error) {
    return [error](const char*, const char*) {
        errno = error;
        return -1;
    };
}

TEST(LinuxHostsFile, RewriteKeepsTheModeAndLeavesNoTemporary) {
    TempDir dir;
    const fs::path file = dir / "hosts";
    for (mode_t mode : {0644, 0640, 0600}) {
        test::writeFile(file, "127.0.0.1 localhost\n");
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
        os::LinuxHostsFile hosts(file);
        ASSERT_TRUE(hosts.rewrite("127.0.0.1 localhost\n10.0.0.5 tarmacia\n")) << hosts.lastError();
        EXPECT_EQ(test::readFile(file), "127.0.0.1 localhost\n10.0.0.5 tarmacia\n");
        EXPECT_EQ(modeOf(file), mode) << std::oct << mode;
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"hosts"});
    }
}

TEST(LinuxHostsFile, ANewFileIsReadableByEveryone) {
    TempDir dir;
    const mode_t old = ::umask(077);
    os::LinuxHostsFile hosts(dir / "hosts");
    EXPECT_TRUE(hosts.rewrite("10.0.0.5 tarmacia\n"));
    ::umask(old);
    EXPECT_EQ(modeOf(dir / "hosts"), 0644u);
}

TEST(LinuxHostsFile, AFailedRenameLeavesTheOldFileAndNoTemporary) {
    TempDir dir;
    const fs::path file = dir / "hosts";
    test::writeFile(file, "127.0.0.1 localhost\n");
    os::LinuxHostsFile hosts(file, failingWith(EIO));
    EXPECT_FALSE(hosts.rewrite("10.0.0.5 tarmacia\n"));
    EXPECT_FALSE(hosts.lastError().empty());
    EXPECT_EQ(test::readFile(file), "127.0.0.1 localhost\n");
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"hosts"});
}

// A container's /etc/hosts is a bind mount: it cannot be renamed over, only written.
TEST(LinuxHostsFile, AFileThatCannotBeReplacedIsWrittenInPlace) {
    TempDir dir;
    const fs::path file = dir / "hosts";
    test::writeFile(file, "127.0.0.1 localhost\n10.1.1.1 a-long-name-that-goes-away\n");
    const ino_t inode = inodeOf(file);
    os::LinuxHostsFile hosts(file, failingWith(EBUSY));
    ASSERT_TRUE(hosts.rewrite("10.0.0.5 tarmacia\n")) << hosts.lastError();
    EXPECT_EQ(test::readFile(file), "10.0.0.5 tarmacia\n");
    EXPECT_EQ(inodeOf(file), inode);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"hosts"});
}

// A user granted rw on the file alone (setfacl) may not create files beside it.
TEST(LinuxHostsFile, AWritableFileInALockedFolderIsWrittenInPlace) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write in any folder";
    TempDir dir;
    const fs::path folder = dir / "etc";
    const fs::path file = folder / "hosts";
    test::writeFile(file, "127.0.0.1 localhost\n");
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    os::LinuxHostsFile hosts(file);
    const bool written = hosts.rewrite("127.0.0.1 localhost\n10.0.0.5 tarmacia\n");
    ::chmod(folder.c_str(), 0755);
    ASSERT_TRUE(written) << hosts.lastError();
    EXPECT_EQ(test::readFile(file), "127.0.0.1 localhost\n10.0.0.5 tarmacia\n");
}

TEST(LinuxHostsFile, ALinkStaysALink) {
    TempDir dir;
    test::writeFile(dir / "real-hosts", "127.0.0.1 localhost\n");
    fs::create_symlink(dir / "real-hosts", dir / "hosts");
    os::LinuxHostsFile hosts(dir / "hosts");
    ASSERT_TRUE(hosts.rewrite("10.0.0.5 tarmacia\n"));
    EXPECT_TRUE(fs::is_symlink(dir / "hosts"));
    EXPECT_EQ(test::readFile(dir / "real-hosts"), "10.0.0.5 tarmacia\n");
}

TEST(LinuxHostsFile, CopyNeverReplacesAnExistingFile) {
    TempDir dir;
    test::writeFile(dir / "hosts", "127.0.0.1 localhost\n");
    ::chmod((dir / "hosts").c_str(), 0644);
    os::LinuxHostsFile hosts(dir / "hosts");
    ASSERT_TRUE(hosts.copy(dir / "hosts", dir / "hosts.bak")) << hosts.lastError();
    EXPECT_EQ(test::readFile(dir / "hosts.bak"), "127.0.0.1 localhost\n");
    EXPECT_EQ(modeOf(dir / "hosts.bak"), 0644u);

    test::writeFile(dir / "hosts", "changed\n");
    EXPECT_FALSE(hosts.copy(dir / "hosts", dir / "hosts.bak"));
    EXPECT_EQ(test::readFile(dir / "hosts.bak"), "127.0.0.1 localhost\n");
    EXPECT_FALSE(hosts.copy(dir / "missing", dir / "other.bak"));
    EXPECT_FALSE(fs::exists(dir / "other.bak"));
}

TEST(LinuxHostsFile, ReadGivesNothingForAMissingFileOrAFolder) {
    TempDir dir;
    EXPECT_EQ(os::LinuxHostsFile(dir / "missing").read(), std::nullopt);
    EXPECT_EQ(os::LinuxHostsFile(dir.path()).read(), std::nullopt);
    EXPECT_FALSE(os::LinuxHostsFile(dir.path()).rewrite("x\n"));
}

// The whole way on disk: two races on a Windows-style file, one backup.
TEST(LinuxHostsFile, TwoRacesOnARealFile) {
    TempDir dir;
    const fs::path file = dir / "hosts";
    const std::string mine = "127.0.0.1 localhost\r\n10.1.1.1 nas";
    test::writeFile(file, mine);
    ::chmod(file.c_str(), 0644);
    os::LinuxHostsFile hosts(file);
    races::HostsRedirect redirect(hosts);

    EXPECT_TRUE(redirect.ipsetup("10.0.0.5").inPlace);
    EXPECT_TRUE(redirect.restoreLoopback().inPlace);
    EXPECT_TRUE(redirect.ipsetup("10.0.0.6").inPlace);
    EXPECT_TRUE(redirect.restoreLoopback().inPlace);
    EXPECT_EQ(test::readFile(file), mine + "\r\n#tarmacia setup\r\n127.0.0.1 tarmacia\r\n");
    EXPECT_EQ(test::readFile(dir / "hosts.bak"), mine);
    EXPECT_EQ(modeOf(file), 0644u);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"hosts", "hosts.bak"}));
}

} // namespace
} // namespace tarmacia::platform
