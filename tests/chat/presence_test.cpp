#include "chat/presence.h"

#include "platform/fake/fake_sound.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarmacia::chat {
namespace {

namespace fs = std::filesystem;

struct PresenceWorld {
    test::TempDir folder;
    settings::Settings settings = settings::defaultSettings(folder.path());
    platform::fake::FakeSound sound;
    std::vector<std::string> sent;
    std::vector<std::string> asked;
    Presence presence{settings, sound, [this](const std::string& m) { sent.push_back(m); },
                      folder.path(), [this](const std::string& f) { asked.push_back(f); }};

    fs::path flag(const std::string& relative) {
        const fs::path file = folder / relative;
        test::writeFile(file, "BM");
        return file;
    }
};

TEST(PresenceUsers, KeepsArrivalOrderDropsExactDuplicatesAndEmptyPayloadClears) {
    PresenceWorld w;
    w.presence.adminSelectorText = "[gb]Ann";
    EXPECT_TRUE(w.presence.listuser("[gb]Ann"));
    EXPECT_FALSE(w.presence.listuser("[gb]Ann"));
    EXPECT_TRUE(w.presence.listuser("Bob"));
    EXPECT_TRUE(w.presence.listuser("[gb]ann")); // exact comparison: case counts
    const std::vector<std::string> expected{"[gb]Ann", "Bob", "[gb]ann"};
    EXPECT_EQ(w.presence.users(), expected);
    EXPECT_EQ(w.presence.adminSelector(), expected);

    EXPECT_TRUE(w.presence.listuser(""));
    EXPECT_TRUE(w.presence.users().empty());
    EXPECT_TRUE(w.presence.adminSelector().empty());
    EXPECT_EQ(w.presence.adminSelectorText, "");
    // After a clear the same player is listed again.
    EXPECT_TRUE(w.presence.listuser("[gb]Ann"));
    EXPECT_EQ(w.presence.users().size(), 1u);
}

TEST(PresenceUsers, ClearKeepsTheSelectorTextWhileTheAdminWindowIsUp) {
    PresenceWorld w;
    w.presence.adminWindowVisible = [] { return true; };
    w.presence.adminSelectorText = "Bob";
    w.presence.listuser("Bob");
    w.presence.listuser("");
    EXPECT_TRUE(w.presence.adminSelector().empty());
    EXPECT_EQ(w.presence.adminSelectorText, "Bob");
}

TEST(PresenceFlags, RowPictureFollowsTeamsThenOtherThenAsksOnceThenDefault) {
    PresenceWorld w;
    const fs::path gbTeams = w.flag("flags/teams/gbflag.bmp");
    const fs::path frOther = w.flag("flags/other/frflag.bmp");
    const fs::path dflt = w.folder / "flags/teams/dfflag.bmp";
    w.flag("flags/other/gbflag.bmp"); // teams wins over other

    struct Case {
        std::string item;
        std::string name;
        fs::path flag;
        std::vector<std::string> asked;
    };
    const std::vector<Case> cases{
        {"[gb]Ann", "Ann", gbTeams, {}},
        {"[fr]Jean", "Jean", frOther, {}},
        {"Bob", "Bob", dflt, {}},                        // no code: default, nothing asked
        {"[zz]Zed", "Zed", dflt, {"zzflag.bmp"}},        // missing: asked once, default
        {"[../x]Eve", "Eve", dflt, {}},                  // unsafe: never asked
        {"[abcdefghijk]Long", "Long", dflt, {}},         // eleven characters: unsafe
        {"[a.b]Dot", "Dot", dflt, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        w.asked.clear();
        const UserRow row = w.presence.userRow(c.item);
        EXPECT_EQ(row.name, c.name);
        EXPECT_EQ(row.flag, c.flag);
        EXPECT_EQ(w.asked, c.asked);
    }
}

TEST(PresenceFlags, APictureThatArrivesDuringTheRequestIsUsedAtOnce) {
    PresenceWorld w;
    Presence presence{w.settings, w.sound, {}, w.folder.path(), [&](const std::string& file) {
                          test::writeFile(w.folder / ("flags/other/" + file), "BM");
                      }};
    EXPECT_EQ(presence.flagPicture("[nz]Kiri"), w.folder / "flags/other/nzflag.bmp");
}

TEST(PresenceFlags, SizesFromSettingsOrFromTheFontSize) {
    PresenceWorld w;
    w.settings.misc.flagWidth = 40;
    w.settings.misc.flagLength = 30;
    struct Case {
        int font;
        bool autoSizing;
        FlagSize size;
    };
    const std::vector<Case> cases{
        {20, false, {40, 30}}, {10, true, {36, 24}}, {13, true, {36, 24}}, {14, true, {54, 36}},
        {18, true, {54, 36}},  {19, true, {72, 48}}, {30, true, {72, 48}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.font);
        EXPECT_EQ(w.presence.flagSizeFor(c.font, c.autoSizing), c.size);
    }
}

TEST(PresenceSounds, PlaysOnlyWhenSoundsAreOnAndTheEventIsEnabledOrForced) {
    struct Case {
        const char* what;
        bool useSounds;
        bool enabled;
        bool forced;
        int number;
        bool plays;
    };
    const std::vector<Case> cases{
        {"enabled", true, true, false, 4, true},
        {"whisper disabled", true, false, false, 4, false},
        {"use sounds off", false, true, false, 4, false},
        {"use sounds off, forced", false, true, true, 4, false},
        {"disabled but forced", true, false, true, 10, true},
        {"below range", true, true, false, -1, false},
        {"above range", true, true, false, 12, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PresenceWorld w;
        w.settings.user.options.useSounds = c.useSounds;
        for (auto& event : w.settings.sounds) event.enabled = c.enabled;
        w.presence.forceSound = c.forced;
        w.presence.makesound(c.number);
        EXPECT_EQ(w.sound.played.size(), c.plays ? 1u : 0u);
        if (!c.plays) {
            EXPECT_EQ(w.sound.left, 65535); // the volume is untouched too
        }
    }
}

TEST(PresenceSounds, EachEventSetsItsOwnVolumeThenPlaysItsFile) {
    PresenceWorld w;
    auto& doorbell = w.settings.sounds[5];
    doorbell.enabled = true;
    doorbell.leftVolume = 1000;
    doorbell.rightVolume = 64000;
    auto& whisper = w.settings.sounds[4];
    whisper.leftVolume = 20000;
    whisper.rightVolume = 30000;

    w.presence.makesound(5);
    EXPECT_EQ(w.presence.GetVolume(), (Volume{1000, 64000}));
    ASSERT_EQ(w.sound.played.size(), 1u);
    EXPECT_EQ(w.sound.played[0], fs::path(doorbell.filePath)); // absolute: as it is
    w.presence.makesound(4);
    EXPECT_EQ(w.presence.GetVolume(), (Volume{20000, 30000}));

    w.presence.setvolume({7, 9});
    EXPECT_EQ(w.sound.left, 7);
    EXPECT_EQ(w.sound.right, 9);
}

TEST(PresenceSounds, WindowsStylePathsResolveInTheClientFolder) {
    PresenceWorld w;
    test::writeFile(w.folder / "Sounds/Trm.wav", "RIFF");
    EXPECT_EQ(w.presence.soundFile("sounds\\trm.wav"), w.folder / "Sounds/Trm.wav");
    EXPECT_EQ(w.presence.soundFile("C:\\Program Files\\Tarmacia\\sounds\\TRM.WAV"),
              w.folder / "Sounds/Trm.wav");
    EXPECT_EQ(w.presence.soundFile("/usr/share/sounds/x.wav"), fs::path("/usr/share/sounds/x.wav"));
    EXPECT_EQ(w.presence.soundFile(""), fs::path());
}

std::string fields(const std::vector<std::string>& texts) {
    std::string payload;
    for (const auto& text : texts) payload += text + "\xC2\xAC";
    return payload;
}

TEST(PresenceAwards, FillsNineListsInOrderAndFewerFieldsLeaveTheRestEmpty) {
    PresenceWorld w;
    std::vector<std::string> all;
    for (int i = 0; i < 81; ++i) all.push_back("f" + std::to_string(i));
    w.presence.doweekly(fields(all));
    EXPECT_EQ(w.presence.awards()[RacerOfWeek][0], "f0");
    EXPECT_EQ(w.presence.awards()[TeamOfWeek][0], "f9");
    EXPECT_EQ(w.presence.awards()[NationOfYear][8], "f80");

    // A shorter payload replaces everything; an unterminated tail is no field.
    w.presence.doweekly(fields({"[gb]Ann", "", "x"}) + "tail");
    const AwardLists& lists = w.presence.awards();
    EXPECT_EQ(lists[RacerOfWeek][0], "[gb]Ann");
    EXPECT_EQ(lists[RacerOfWeek][1], "");
    EXPECT_EQ(lists[RacerOfWeek][2], "x");
    EXPECT_EQ(lists[RacerOfWeek][3], "");
    EXPECT_EQ(lists[TeamOfWeek][0], "");
    EXPECT_EQ(lists[NationOfYear][8], "");
}

TEST(PresenceAwards, FirstEntriesShowNamesTagsAndExistingFlags) {
    PresenceWorld w;
    const fs::path gb = w.flag("flags/teams/gbflag.bmp");
    const fs::path us = w.flag("flags/other/usflag.bmp");
    const fs::path abc = w.flag("flags/teams/ABCflag.bmp");
    std::vector<std::string> all(81);
    all[RacerOfWeek * 9] = "[gb]Ann";
    all[TeamOfWeek * 9] = "[ABC]";
    all[NationOfWeek * 9] = "us";
    all[RacerOfMonth * 9] = "[us]Sam"; // only in "other"
    all[TeamOfMonth * 9] = "[XYZ]";    // no picture
    all[NationOfMonth * 9] = "gb";     // nations look only in "other"
    all[RacerOfYear * 9] = "[zz]Zed";
    w.presence.doweekly(fields(all));

    const auto views = w.presence.firstEntries();
    EXPECT_EQ(views[RacerOfWeek].text, "Ann");
    EXPECT_EQ(views[RacerOfWeek].flag, gb);
    EXPECT_EQ(views[TeamOfWeek].text, "ABC");
    EXPECT_EQ(views[TeamOfWeek].flag, abc);
    EXPECT_EQ(views[NationOfWeek].flag, us);
    EXPECT_EQ(views[RacerOfMonth].flag, us);
    EXPECT_EQ(views[TeamOfMonth].text, "XYZ");
    EXPECT_EQ(views[TeamOfMonth].flag, fs::path());
    EXPECT_EQ(views[NationOfMonth].flag, fs::path());
    EXPECT_EQ(views[RacerOfYear].text, "Zed");
    EXPECT_EQ(views[RacerOfYear].flag, fs::path());
    EXPECT_TRUE(w.asked.empty()); // the awards never ask the flag server
}

TEST(PresenceTeams, StoredTeamsAnswerWithoutAskingUnknownOnesAreAskedFor) {
    PresenceWorld w;
    w.presence.setteam("ABC~Alpha Team~info");
    EXPECT_EQ(w.presence.teams()[0].tag, "[ABC]");
    EXPECT_EQ(w.presence.getteamname("ABC"), "Alpha Team");
    EXPECT_TRUE(w.sent.empty());

    w.presence.setteam("[ABC]~Alpha Two~more"); // same tag: replaced in place
    EXPECT_EQ(w.presence.teams()[0].name, "Alpha Two");
    EXPECT_EQ(w.presence.teams()[1].tag, "");

    EXPECT_EQ(w.presence.getteamname("XYZ"), "XYZ");
    EXPECT_EQ(w.sent, (std::vector<std::string>{"~r~XYZ"}));
}

TEST(PresenceTeams, FieldsAreCutAndAFullTableDropsNewTeams) {
    PresenceWorld w;
    w.presence.setteam("ABCDEFGHIJKL~" + std::string(60, 'n') + "~" + std::string(120, 'i'));
    EXPECT_EQ(w.presence.teams()[0].tag, "[ABCDEFGHIJ]");
    EXPECT_EQ(w.presence.teams()[0].name.size(), 50u);
    EXPECT_EQ(w.presence.teams()[0].info.size(), 100u);
    for (int i = 1; i < 61; ++i) w.presence.setteam("T" + std::to_string(i) + "~Team~");
    EXPECT_EQ(w.presence.teams()[60].tag, "[T60]");
    w.presence.setteam("LATE~Late~");
    EXPECT_EQ(w.presence.getteamname("LATE"), "LATE");
    EXPECT_EQ(w.sent, (std::vector<std::string>{"~r~LATE"}));
    EXPECT_EQ(w.presence.getteamname("T60"), "Team");
}

} // namespace
} // namespace tarmacia::chat
