#include "platform/qt/qt_folder_watch.h"

#include "support/qt_app.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarmacia::platform::qt {
namespace {

TEST(QtFolderWatch, ChangesDeepInsideAndInNewFoldersFire) {
    test::ensureQtApp();
    test::TempDir dir;
    test::writeFile(dir / "fedata/models/garage.crp", "one");
    test::writeFile(dir / "gamedata/track/alps.crp", "one");

    QtFolderWatch watch;
    std::vector<std::filesystem::path> changed;
    watch.onChanged([&](const std::filesystem::path& folder) { changed.push_back(folder); });
    ASSERT_TRUE(watch.watch(dir / "fedata"));
    ASSERT_TRUE(watch.watch(dir / "gamedata"));
    EXPECT_FALSE(watch.watch(dir / "missing"));

    // An existing file rewritten two levels down.
    test::writeFile(dir / "fedata/models/garage.crp", "two");
    ASSERT_TRUE(test::waitFor([&] { return !changed.empty(); }, 5000));
    EXPECT_EQ(changed.back(), dir / "fedata");

    // A folder made after the watch started is watched too.
    std::filesystem::create_directories(dir / "gamedata/new");
    ASSERT_TRUE(test::waitFor([&] { return changed.back() == dir / "gamedata"; }, 5000));
    changed.clear();
    test::writeFile(dir / "gamedata/new/x.crp", "x");
    ASSERT_TRUE(test::waitFor([&] { return !changed.empty(); }, 5000));
    EXPECT_EQ(changed.back(), dir / "gamedata");

    // After clear() only what is watched anew reports; events arrive in
    // order, so a change of the old folder would come before this one.
    watch.clear();
    ASSERT_TRUE(watch.watch(dir / "gamedata"));
    changed.clear();
    test::writeFile(dir / "fedata/models/garage.crp", "three");
    test::writeFile(dir / "gamedata/track/alps.crp", "three");
    ASSERT_TRUE(test::waitFor([&] { return !changed.empty(); }, 5000));
    EXPECT_EQ(changed, std::vector<std::filesystem::path>{dir / "gamedata"});
}

} // namespace
} // namespace tarmacia::platform::qt
