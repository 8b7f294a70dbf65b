#include "fixes/version.h"

#include <gtest/gtest.h>

#include <string>

namespace tarmacia::fixes {
namespace {

struct Detection {
    std::string game;
    std::string text;
    bool mixer = false;
    bool hsGameExe = false;
    // expected
    std::string storedText;
    std::string name; // empty: no version
    std::string_view colour;
};

void PrintTo(const Detection& d, std::ostream* out) {
    *out << d.game << " \"" << d.text << '"';
}

class SetVersion : public testing::TestWithParam<Detection> {};

TEST_P(SetVersion, StoresNameColourAndTextThenRunsTheChecks) {
    const Detection& d = GetParam();
    VersionState state;
    Indicators indicators;
    int checksRun = 0;
    // The checks see the version already stored.
    std::string colourSeenByChecks;
    setversion(state, indicators, d.game, d.text, d.mixer, d.hsGameExe, [&] {
        ++checksRun;
        colourSeenByChecks = indicators.row(2);
    });

    EXPECT_EQ(state.versionName, d.name);
    EXPECT_EQ(state.versionColour, d.colour);
    EXPECT_EQ(indicators.row(2), d.colour);
    EXPECT_EQ(*state.versionText(d.game), d.storedText);
    EXPECT_EQ(checksRun, 1);
    EXPECT_EQ(colourSeenByChecks, d.colour);
    for (std::string_view other : {"PU", "HS", "HP"}) {
        if (other == d.game) continue;
        EXPECT_EQ(*state.versionText(other), "Undetermined");
    }
    for (int row : {1, 3, 12})
        EXPECT_EQ(indicators.row(row), colour::white);
}

const std::string kHs = "4.01 SP/EP Build (SP/EP)";

INSTANTIATE_TEST_SUITE_P(
    VersionTable, SetVersion,
    testing::Values(
        Detection{"PU", "3.5 Standard CD Version", false, false, "3.5 Standard CD Version",
                  "3.5 Std CD Vers", colour::yellow},
        Detection{"PU", "3.5 Enhanced Version (Original)", false, false,
                  "3.5 Enhanced Version (Original)", "3.5 Enh Vers", colour::skyBlue},
        Detection{"PU", "3.5 Enhanced Version (Updated)", false, false,
                  "3.5 Enhanced Version (Updated)", "3.5 Enh Vers", colour::skyBlue},
        Detection{"PU", "3.5 Enhanced Version (with Speed Patch)", false, false,
                  "3.5 Enhanced Version (with Speed Patch)", "3.5 Enh Vers (S)", colour::skyBlue},
        Detection{"PU", "3.5 Enhanced Version (with B Button Patch)", false, false,
                  "3.5 Enhanced Version (with B Button Patch)", "3.5 Enh Vers (B)",
                  colour::skyBlue},
        Detection{"PU", "3.5 Enhanced Version (with B Button + Speed Patch)", false, false,
                  "3.5 Enhanced Version (with B Button + Speed Patch)", "3.5 Enh Vers (SB)",
                  colour::skyBlue},
        Detection{"PU", "3.5 Enhanced Version (with B Button + Speed Patch2)", false, false,
                  "3.5 Enhanced Version (with B Button + Speed Patch2)", "3.5 Enh Vers (S2B)",
                  colour::skyBlue},
        Detection{"HP", "2.40 Standard Version", false, false, "2.40 Standard Version",
                  "2.40 Std Vers", colour::lime},
        Detection{"PU", "", false, false, "Unknown or not Installed", "", colour::red},
        Detection{"PU", "Unknown Version", false, false, "Unknown Version", "", colour::red},
        // The table is matched whole: a near miss names no version.
        Detection{"PU", "3.5 standard cd version", false, false, "3.5 standard cd version", "",
                  colour::red},
        Detection{"HP", "2.30 Standard Version", false, false, "2.30 Standard Version", "",
                  colour::red},
        // HS: the edition on disk completes the server's text.
        Detection{"HS", kHs, true, true, "4.01 Expansion Pack Build (Expansion Pack)",
                  "HS Expansion", colour::lime},
        Detection{"HS", kHs, false, true, "4.01 Stock Pack Build (Stock Pack)", "HS Stock",
                  colour::skyBlue},
        Detection{"HS", kHs, false, false, "4.01 EA Original Build (EA Original)", "HS Original",
                  colour::yellow},
        Detection{"HS", "Unknown Version", true, true, "Unknown or not Installed", "",
                  colour::red}));

TEST(SetVersionFlags, OnlyTheirOwnVersionsSetThePuEditionAndDirectXFlags) {
    const struct {
        std::string text;
        bool puEdition;
        bool directX;
    } cases[] = {
        {"3.5 Standard CD Version", true, false},
        {"3.5 Enhanced Version (with B Button + Speed Patch2)", false, true},
        {"3.5 Enhanced Version (with B Button + Speed Patch)", false, false},
        {"3.5 Enhanced Version (Original)", false, false},
        {"", false, false},
    };
    for (const auto& c : cases) {
        VersionState state;
        Indicators indicators;
        setversion(state, indicators, "PU", c.text, false, false, {});
        EXPECT_EQ(state.puEdition, c.puEdition) << c.text;
        EXPECT_EQ(state.directX, c.directX) << c.text;
    }
}

TEST(ShowVersion, NamesTheStoredVersionAndItsColour) {
    VersionState state;
    Indicators indicators;
    EXPECT_EQ(showversion(state), "Undetermined");
    EXPECT_EQ(state.versionColour, colour::orange);

    setversion(state, indicators, "HS", kHs, false, true, {});
    state.versionColour = "123456"; // whatever was shown since
    EXPECT_EQ(showversion(state), "HS Stock");
    EXPECT_EQ(state.versionColour, colour::skyBlue);

    // A text that names no version leaves the row red but reports orange.
    setversion(state, indicators, "PU", "garbage", false, false, {});
    EXPECT_EQ(showversion(state), "Undetermined");
    EXPECT_EQ(state.versionColour, colour::orange);
    EXPECT_EQ(indicators.row(2), colour::red);
}

TEST(Indicators, StartWhiteAndRefuseRowsOffThePage) {
    Indicators indicators;
    for (int row = 1; row <= Indicators::kRows; ++row)
        EXPECT_EQ(indicators.row(row), "FFFFFF");
    EXPECT_THROW(indicators.row(0), std::out_of_range);
    EXPECT_THROW(indicators.set(13, colour::red), std::out_of_range);
}

} // namespace
} // namespace tarmacia::fixes
