#include "platform/paths.h"
#include "platform/wine_paths.h"

#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace tarmacia::platform {
namespace {

using test::TempDir;
using test::writeFile;

TEST(ResolvePath, MatchesEachComponentWithoutRegardToCase) {
    TempDir dir;
    writeFile(dir / "gamedata/carmodel/928.CRP", "car");
    EXPECT_EQ(resolvePath(dir.path(), "GameData\\CarModel\\928.crp"),
              dir / "gamedata/carmodel/928.CRP");
    // Missing parts stay as written, so a new file can be named.
    EXPECT_EQ(resolvePath(dir.path(), "GameData\\NewFolder\\x.txt"),
              dir / "gamedata/NewFolder/x.txt");
    // A game-relative path never climbs out of its base.
    EXPECT_EQ(resolvePath(dir.path(), "..\\..\\etc/passwd"), dir / "etc/passwd");
    EXPECT_EQ(resolvePath(dir.path(), ""), dir.path());
}

TEST(ResolvePath, AnExactMatchWinsOverAFoldedOne) {
    TempDir dir;
    writeFile(dir / "FEdata/a", "upper");
    writeFile(dir / "fedata/a", "lower");
    EXPECT_EQ(resolvePath(dir.path(), "fedata\\a"), dir / "fedata/a");
    EXPECT_EQ(resolvePath(dir.path(), "FEdata\\a"), dir / "FEdata/a");
}

TEST(MapWindowsPath, GoesThroughTheDosDevices) {
    TempDir prefix;
    std::filesystem::create_directories(prefix / "drive_c/Program Files/EA Games");
    std::filesystem::create_directories(prefix / "dosdevices");
    std::filesystem::create_directory_symlink("../drive_c", prefix / "dosdevices/c:");
    EXPECT_EQ(mapWindowsPath(prefix.path(), "C:\\PROGRAM FILES\\ea games\\"),
              std::filesystem::canonical(prefix / "drive_c") / "Program Files/EA Games");
    EXPECT_EQ(mapWindowsPath(prefix.path(), "Q:\\x"), std::filesystem::path());
    EXPECT_EQ(mapWindowsPath(prefix.path(), "relative\\x"), std::filesystem::path());
    EXPECT_EQ(mapWindowsPath(prefix.path(), ""), std::filesystem::path());
}

} // namespace
} // namespace tarmacia::platform
