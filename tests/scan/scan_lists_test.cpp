#include "scan/scan_lists.h"

#include "platform/paths.h"
#include "scan/crc.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <set>

namespace tarmacia::scan {
namespace {

TEST(ScanLists, LengthsAndEnds) {
    struct Case {
        const char* game;
        int end;
    } cases[] = {{"PU", 284}, {"HS", 104}, {"HP", 150}, {"XX", 0}, {"", 0}, {"pu", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.game);
        EXPECT_EQ(scanEnd(c.game), c.end);
        const int last = c.end == 0 ? kFirstFileIndex : c.end;
        for (int i = kFirstFileIndex; i < last; ++i) EXPECT_FALSE(getnextfile(c.game, i).empty()) << i;
        EXPECT_EQ(getnextfile(c.game, last), "");
        EXPECT_EQ(getnextfile(c.game, 99), "");
    }
}

TEST(ScanLists, EntriesInIndexOrder) {
    struct Case {
        const char* game;
        int index;
        const char* path;
    } cases[] = {
        {"PU", 100, "\\Porsche.exe"},
        {"PU", 101, "\\GameData\\Track\\animdefs.txt"},
        {"PU", 103, "\\FEData\\Data\\nfs5.prt"},
        {"PU", 111, "\\FEData\\Models\\victory.crp"},
        {"PU", 112, "\\GameData\\CarModel\\356a.crp"},
        {"PU", 154, "\\GameData\\CarModel\\postship.crp"},
        {"PU", 155, "\\GameData\\Track\\alps.crp"},
        {"PU", 184, "\\GameData\\Track\\skidpad.edg"},
        {"PU", 185, "\\GameData\\Simulation\\CarData\\356Acabrio13.sim"},
        {"PU", 269, "\\GameData\\Simulation\\CarData\\GT3race.sim"},
        {"PU", 270, "\\GameData\\Track\\Sky\\alps.txt"},
        {"PU", 283, "\\GameData\\Track\\Sky\\Monaco5.txt"},
        {"HS", 100, "\\clokspl.exe"},
        {"HS", 103, "\\PatchNFS.exe"},
        {"HP", 100, "\\NFSHP2.exe"},
        {"HP", 101, "\\AI\\racetune.ini"},
        {"HP", 102, "\\Cars\\911t\\car.ini"},
        {"HP", 103, "\\Cars\\911t\\carracer.ini"},
        {"HP", 104, "\\Cars\\barch\\car.ini"},
        {"HP", 149, "\\Cars\\z8\\carracer.ini"},
    };
    for (const Case& c : cases) EXPECT_EQ(getnextfile(c.game, c.index), c.path) << c.game << c.index;
}

TEST(ScanLists, NoGameListsAFileTwice) {
    for (const char* game : {"PU", "HS", "HP"}) {
        std::set<std::string> seen;
        for (int i = kFirstFileIndex; i < scanEnd(game); ++i)
            EXPECT_TRUE(seen.insert(getnextfile(game, i)).second) << game << i;
    }
}

TEST(ScanLists, ListPathFindsTheFileWhateverItsCase) {
    test::TempDir game;
    test::writeFile(game / "gamedata/carmodel/928.CRP", "abc");
    const std::string relative = getnextfile("PU", 118);
    ASSERT_EQ(relative, "\\GameData\\CarModel\\928.crp");
    EXPECT_EQ(getcrc(platform::resolvePath(game.path(), relative)), 3403398717u);
}

} // namespace
} // namespace tarmacia::scan
