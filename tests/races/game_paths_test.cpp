#include "races/game_paths.h"

#include "app/diagnostic_log.h"
#include "platform/fake/fake_registry.h"
#include "settings/game_list.h"
#include "support/temp_dir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarmacia::races {
namespace {

namespace fs = std::filesystem;
using platform::Hive;

const std::string kWow = "SOFTWARE\\Wow6432Node\\";
const std::string kPlain = "SOFTWARE\\";
const std::string kAppPaths = "Microsoft\\Windows\\CurrentVersion\\App Paths\\";

class GamePaths : public testing::Test {
protected:
    GamePaths() {
        fs::create_directories(prefix / "drive_c/Program Files/EA Games/Porsche 2000");
        fs::create_directories(prefix / "drive_c/Games/HS");
        fs::create_directories(prefix / "dosdevices");
        fs::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
        registry.prefixPath = prefix.path();
    }

    std::string porsche() const {
        return (fs::canonical(prefix / "drive_c") / "Program Files/EA Games/Porsche 2000").string();
    }

    test::TempDir prefix;
    platform::fake::FakeRegistry registry;
    app::DiagnosticLog log;
};

TEST_F(GamePaths, AppPathsGivesTheRealFolderWithASeparator) {
    registry.setString(Hive::LocalMachine, kWow + kAppPaths + "porsche.exe", "Path",
                       "c:\\PROGRAM FILES\\ea games\\porsche 2000");
    // A 32-bit prefix has no Wow6432Node.
    registry.setString(Hive::LocalMachine, kPlain + kAppPaths + "nfshs.exe", "Path",
                       "C:\\Games\\HS\\");
    registry.setString(Hive::LocalMachine, kWow + kAppPaths + "native.exe", "Path", "/opt/game");

    EXPECT_EQ(getgamepath(registry, log, "porsche.exe"), porsche() + "/");
    EXPECT_EQ(getgamepath(registry, log, "nfshs.exe"),
              (fs::canonical(prefix / "drive_c") / "Games/HS").string() + "/");
    EXPECT_EQ(getgamepath(registry, log, "native.exe"), "/opt/game/");
    EXPECT_EQ(getgamepath(registry, log, "nfshp2.exe"), "");
}

TEST_F(GamePaths, InstallDirTriesThePublishersKeysInOrder) {
    auto set = [&](const std::string& key, const char* name, const char* value) {
        registry.setString(Hive::LocalMachine, kWow + key, name, value);
    };
    set("Electronic Arts\\Need For Speed - Porsche 2000", "Install Dir", "");
    set("Electronic Arts\\Need For Speed - Porsche Unleashed", "Install Dir",
        "C:\\Program Files\\EA GAMES\\Porsche 2000");
    set("Electronic Arts\\Need For Speed - Porsche", "Install Dir", "C:\\elsewhere");
    set("Electronic Arts\\High Stakes", "InstallPath", "/srv/hs");
    set("EA Games\\Need For Speed Hot Pursuit 2", "InstallPath", "/wrong/value/name");

    EXPECT_EQ(getinstalldir(registry, log, "PU"), porsche());
    EXPECT_EQ(getinstalldir(registry, log, "HS"), "/srv/hs");
    EXPECT_EQ(getinstalldir(registry, log, "HP"), "");
    EXPECT_EQ(getinstalldir(registry, log, "pu"), "");
    EXPECT_EQ(getinstalldir(registry, log, "XX"), "");
}

TEST_F(GamePaths, RunPathComesFromTheGameList) {
    settings::multigame list;
    list.addOrUpdate("PU", "PU", "", "", "porsche.exe", "", "",
                     "C:\\program files\\EA Games\\Porsche 2000\\");
    list.addOrUpdate("HS", "HS", "", "", "nfshs.exe", "", "", "/srv/hs");
    list.addOrUpdate("HP", "HP", "", "", "nfshp2.exe", "", "", "");

    EXPECT_EQ(getrunpath(list, log, "PU", prefix.path()), porsche() + "/");
    EXPECT_EQ(getrunpath(list, log, "HS", prefix.path()), "/srv/hs/");
    EXPECT_EQ(getrunpath(list, log, "HP", prefix.path()), "");
    EXPECT_EQ(getrunpath(list, log, "PT", prefix.path()), "");
}

TEST_F(GamePaths, LookUpsWriteTheirLabels) {
    log.setFolder(prefix.path());
    log.setEnabled(true);
    getgamepath(registry, log, "porsche.exe");
    getinstalldir(registry, log, "PU");
    settings::multigame list;
    getrunpath(list, log, "PU", prefix.path());
    EXPECT_EQ(test::readFile(log.path()),
              "Get Game Path from registry porsche.exe\nGet Install Dir\nGet Run path\n");
}

} // namespace
} // namespace tarmacia::races
