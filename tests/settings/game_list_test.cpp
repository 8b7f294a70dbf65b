#include "settings/game_list.h"

#include "app/diagnostic_log.h"
#include "platform/fake/fake_dialogs.h"
#include "platform/fake/fake_ini_files.h"
#include "platform/fake/fake_registry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace tarmacia::settings {
namespace {

namespace fs = std::filesystem;
using platform::BoxButton;
using platform::BoxKind;
using platform::Hive;
using testing::ElementsAre;
using testing::HasSubstr;
using testing::Not;

const fs::path kClient = "/home/player/Documents/Tarmacia";
const std::string kAppPaths =
    "SOFTWARE\\Wow6432Node\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";

std::vector<std::string> codes(const multigame& list) {
    std::vector<std::string> out;
    for (int i = 0; i < multigame::kSlots; ++i)
        out.push_back(list.slot(i).abbrev);
    while (!out.empty() && out.back().empty())
        out.pop_back();
    return out;
}

class GameList : public testing::Test {
protected:
    GameList() {
        // A value that already names a Linux folder is taken as it is.
        registry.setString(Hive::LocalMachine, kAppPaths + "porsche.exe", "Path",
                           "/opt/games/porsche");
    }

    fs::path file() const { return kClient / "gamelist.ini"; }
    std::string ini() const { return ini_.text(file()); }
    void setIni(std::string text) { ini_.setText(file(), std::move(text)); }

    platform::fake::FakeIniFiles ini_;
    platform::fake::FakeRegistry registry;
    platform::fake::FakeDialogs dialogs;
    app::DiagnosticLog log;
    GameListStore store{ini_, registry, log, kClient};
    multigame list;
};

TEST_F(GameList, WithoutAFileTheSupportedGamesAreBuiltFromTheRegistry) {
    GameListViews views = store.Readgamelist(list);

    EXPECT_EQ(list.slot(0), (game{"", "XX", "", "FFFFFF", "", "", "", ""}));
    EXPECT_EQ(list.slot(1), (game{"Porsche Unleashed", "PU", "/opt/games/porsche/", "80FFFF",
                                  "False", "porsche.exe", "", ""}));
    EXPECT_EQ(list.slot(2),
              (game{"High Stakes", "HS", "", "F9A5A5", "False", "nfshs.exe", "", ""}));
    EXPECT_EQ(list.slot(3),
              (game{"Hot Pursuit 2", "HP", "", "F6F78F", "False", "nfshp2.exe", "", ""}));
    EXPECT_TRUE(list.slot(4).isFree());
    EXPECT_EQ(list.defaultGame(), "");

    ASSERT_EQ(views.pictures.size(), 4u);
    EXPECT_EQ(views.pictures[0].caption, "Add New");
    EXPECT_EQ(views.pictures[0].picture, kClient / "images/xxrace.bmp");
    EXPECT_EQ(views.pictures[3].caption, "Hot Pursuit 2");
    EXPECT_EQ(views.pictures[3].picture, kClient / "images/nfshp2.bmp");
    EXPECT_THAT(views.selector.codes, ElementsAre("PU", "HS", "HP"));
    EXPECT_EQ(views.selector.shown, "");
}

TEST_F(GameList, SlotOneIsAlwaysPuButKeepsTheFilesValuesWhenItHasAPath) {
    setIni("[game1]\r\npath=D:\\Games\\PU\\\r\nname=My PU\r\ncolor=010203\r\ndefault=True\r\n"
           "abbrev=ZZ\r\nexename=p.exe\r\nparam=-x\r\nstats=s\r\n");
    GameListViews views = store.Readgamelist(list);

    EXPECT_EQ(list.slot(1),
              (game{"My PU", "PU", "D:\\Games\\PU\\", "010203", "True", "p.exe", "-x", "s"}));
    EXPECT_EQ(list.find("ZZ"), -1);
    EXPECT_EQ(list.defaultGame(), "PU");
    EXPECT_EQ(views.selector.shown, "PU");
    EXPECT_EQ(editorFields(list, 1).heading, "NFS My PU");
    EXPECT_TRUE(editorFields(list, 1).isDefault);
    EXPECT_EQ(editorFields(list, 0).heading, "Add New");
}

TEST_F(GameList, ACodeTwiceInTheFileKeepsItsFirstSlotWithItsLastValues) {
    setIni("[game4]\r\nabbrev=A1\r\nname=first\r\n"
           "[game5]\r\nabbrev=B2\r\nname=second\r\n"
           "[game6]\r\nabbrev=A1\r\nname=last\r\n");
    store.Readgamelist(list);
    EXPECT_THAT(codes(list), ElementsAre("XX", "PU", "HS", "HP", "A1", "B2"));
    EXPECT_EQ(list.slot(4).name, "last");
}

TEST_F(GameList, SavingUpperCasesTheCodeAndWritingStopsAtTheFirstFreeSlot) {
    store.Readgamelist(list);
    ASSERT_TRUE(saveGame(list, store, {"pt", "Test", "B5F7B5", "pt.exe", "C:\\PT\\"}));

    EXPECT_EQ(list.slot(4), (game{"Test", "PT", "C:\\PT\\", "B5F7B5", "False", "pt.exe", "", ""}));
    EXPECT_TRUE(list.slot(5).isFree());
    std::string text = ini();
    EXPECT_THAT(text, HasSubstr("[game4]\npath=C:\\PT\\\nname=Test\ncolor=B5F7B5\n"
                                "default=False\nabbrev=PT\nexename=pt.exe\nparam=\n"
                                "stats=\n"));
    EXPECT_THAT(text, HasSubstr("[game0]\npath=\nname=\ncolor=FFFFFF\n"));
    EXPECT_THAT(text, Not(HasSubstr("[game5]")));
    // A section beyond the list is left alone by a write.
    setIni(text + "[game9]\nabbrev=OLD\n");
    store.WriteGamelist(list);
    EXPECT_THAT(ini(), HasSubstr("[game9]\nabbrev=OLD"));

    EXPECT_FALSE(saveGame(list, store, {"", "Nothing", "", "", ""}));
    EXPECT_EQ(list.find("OLD"), -1);
}

TEST_F(GameList, TheProtectedGamesCannotBeDeleted) {
    store.Readgamelist(list);
    for (const char* code : {"HS", "hs", "XX", ""}) {
        dialogs.shown.clear();
        EXPECT_FALSE(deleteGame(list, store, dialogs, log, code));
        ASSERT_EQ(dialogs.shown.size(), 1u) << code;
        const auto& box = dialogs.shown[0];
        EXPECT_EQ(box.title, "Delete Game");
        EXPECT_EQ(box.kind, BoxKind::Error);
        EXPECT_EQ(box.text, "Unable to delete " +
                                std::string(code == std::string("hs") ? "HS" : code) +
                                "\rProtected or non existant game\rPress Continue");
        EXPECT_THAT(box.buttons, ElementsAre(BoxButton::Ok));
        EXPECT_EQ(box.okCaption, "Continue");
    }
    EXPECT_THAT(codes(list), ElementsAre("XX", "PU", "HS", "HP"));
}

TEST_F(GameList, DeletingMovesLaterGamesDownAfterConfirmation) {
    store.Readgamelist(list);
    saveGame(list, store, {"a1", "One", "", "a1.exe", ""});
    saveGame(list, store, {"b2", "Two", "", "b2.exe", ""});
    ASSERT_THAT(codes(list), ElementsAre("XX", "PU", "HS", "HP", "A1", "B2"));

    dialogs.answers = {BoxButton::Cancel, BoxButton::Ok};
    EXPECT_FALSE(deleteGame(list, store, dialogs, log, "a1"));
    EXPECT_THAT(codes(list), ElementsAre("XX", "PU", "HS", "HP", "A1", "B2"));

    EXPECT_TRUE(deleteGame(list, store, dialogs, log, "a1"));
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].kind, BoxKind::Warning);
    EXPECT_EQ(dialogs.shown[1].text, "Confirm deletetion of A1\rPress Confirm or Cancel");
    EXPECT_EQ(dialogs.shown[1].okCaption, "Confirm");
    EXPECT_EQ(dialogs.shown[1].cancelCaption, "Cancel");

    EXPECT_THAT(codes(list), ElementsAre("XX", "PU", "HS", "HP", "B2"));
    EXPECT_EQ(list.slot(4).name, "Two");
    EXPECT_TRUE(list.slot(5).isFree());
    // The old last section must not come back on the next start.
    EXPECT_THAT(ini(), Not(HasSubstr("[game5]")));
    multigame reread;
    store.Readgamelist(reread);
    EXPECT_THAT(codes(reread), ElementsAre("XX", "PU", "HS", "HP", "B2"));
}

TEST(MultiGame, AddOrUpdateRefusesAnEmptyCodeAndAFullList) {
    multigame list;
    EXPECT_EQ(list.addOrUpdate("n", "", "", "", "", "", "", ""), "No Game Specified");
    for (int i = 0; i < multigame::kSlots; ++i)
        list.addOrUpdate("n", "C" + std::to_string(i), "", "", "", "", "", "");
    EXPECT_EQ(list.addOrUpdate("n", "NEW", "", "", "", "", "", ""), "");
    EXPECT_EQ(list.find("NEW"), -1);
    EXPECT_EQ(list.addOrUpdate("changed", "C7", "", "", "", "", "", ""), "");
    EXPECT_EQ(list.current(), 7);
    EXPECT_EQ(list.name(), "changed");
    EXPECT_FALSE(list.get(-1).has_value());
}

TEST(GameColour, ListColourFirstThenTheFixedTable) {
    multigame list;
    list.addOrUpdate("Mine", "ZZ", "", "", "", "", "123456", "");
    const std::pair<const char*, const char*> table[] = {
        {"PU", "80FFFF"}, {"HS", "F9A5A5"}, {"HP", "F6F78F"}, {"PT", "B5F7B5"},
        {"XX", "B5F7B5"}, {"pu", "FFFFFF"}, {"Q", "FFFFFF"},  {"ZZ", "123456"},
    };
    for (const auto& [code, colour] : table)
        EXPECT_EQ(gamecolor(list, code), colour) << code;
    list.addOrUpdate("PU", "PU", "", "", "", "", "000080", "");
    EXPECT_EQ(gamecolor(list, "PU"), "000080");
}

} // namespace
} // namespace tarmacia::settings
