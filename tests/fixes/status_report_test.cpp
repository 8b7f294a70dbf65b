#include "fixes/status_report.h"

#include <gtest/gtest.h>

#include <string>

namespace tarmacia::fixes {
namespace {

// Every row its own colour, so a cell that reads the wrong row shows.
Indicators numberedRows() {
    Indicators rows;
    for (int row = 1; row <= Indicators::kRows; ++row) {
        const std::string number = std::to_string(row);
        rows.set(row, "AA00" + std::string(2 - number.size(), '0') + number);
    }
    return rows;
}

struct Report {
    const char* label;
    std::string game;
    std::string errors;
    std::string player;
    bool wheel;
    std::string expected;
};

void PrintTo(const Report& r, std::ostream* out) {
    *out << r.label;
}

class StatusReport : public testing::TestWithParam<Report> {};

TEST_P(StatusReport, WritesTheTableTheLobbyShows) {
    const Report& r = GetParam();
    const Indicators rows = numberedRows();
    const std::string message = statusReport({.selectedGame = r.game,
                                              .errorCount = r.errors,
                                              .playerName = r.player,
                                              .welcomeSeen = true,
                                              .windowsVersion = "Windows 10 Pro",
                                              .gameColour = "42BDF7",
                                              .indicators = &rows,
                                              .versionColour = "C0FFEE",
                                              .wheelSupport = r.wheel});
    EXPECT_EQ(message, r.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Games, StatusReport,
    testing::Values(
        Report{
            "PU clean", "PU", "0", "[gb]Ann", false,
            R"(~2~<table class = "showtable"><tr><td >[gb]Ann</font></td>)"
            R"(<td bgcolor = "C0FFEE" >3.5</td><td bgcolor = "AA0003" >EACars</td>)"
            R"(<td bgcolor = "AA0001" >Registry</td></tr><tr>)"
            R"(<td bgcolor = "42BDF7" >Windows 10 Pro</td><td bgcolor = "AA0010" >Hosts File</td>)"
            R"(<td bgcolor = "AA0011" >Ports / FW</td><td bgcolor = "42BDF7" >Errors 0</td>)"
            R"(</tr></table>)"},
        // With errors only the table's class changes: every cell stays.
        Report{
            "PU errors", "PU", "3", "Ann", false,
            R"(~2~<table class = "redtable"><tr><td >[df]Ann</font></td>)"
            R"(<td bgcolor = "C0FFEE" >3.5</td><td bgcolor = "AA0003" >EACars</td>)"
            R"(<td bgcolor = "AA0001" >Registry</td></tr><tr>)"
            R"(<td bgcolor = "42BDF7" >Windows 10 Pro</td><td bgcolor = "AA0010" >Hosts File</td>)"
            R"(<td bgcolor = "AA0011" >Ports / FW</td><td bgcolor = "42BDF7" >Errors 3</td>)"
            R"(</tr></table>)"},
        Report{"HS clean", "HS", "0", "[nl]Bas", false,
               R"(~2~<table class = "showtable" ><tr Width "100%"><td >[nl]Bas</td>)"
               R"(<td bgcolor = "AA0002" >EP Cars</td><td bgcolor = "AA0002" >EP Mixer</td>)"
               R"(<td bgcolor = "AA0001" >Registry</td></tr>)"
               R"(<tr><td bgcolor = "42BDF7" >Windows 10 Pro</td>)"
               R"(<td bgcolor = "AA0003" >Hosts File</td><td bgcolor = "AA0004" >Ports / FW</td>)"
               R"(<td bgcolor = "42BDF7" > Errors 0</td></tr></table>)"},
        Report{"HS errors", "HS", "12", "[nl]Bas", false,
               R"(~2~<table class = "redtable" ><tr Width "100%"><td >[nl]Bas</td>)"
               R"(<td bgcolor = "AA0002" >EP Cars</td><td bgcolor = "AA0002" >EP Mixer</td>)"
               R"(<td bgcolor = "AA0001" >Registry</td></tr>)"
               R"(<tr><td bgcolor = "42BDF7" >Windows 10 Pro</td>)"
               R"(<td bgcolor = "AA0003" >Hosts File</td><td bgcolor = "AA0004" >Ports / FW</td>)"
               R"(<td bgcolor = "42BDF7" > Errors 12</td></tr></table>)"},
        Report{
            "HP clean, no wheel support", "HP", "0", "[us]Cy", false,
            R"(~2~<table class = "showtable"><tr><td >[us]Cy</td>)"
            R"(<td bgcolor = "C0FFEE" >2.40</td><td bgcolor = "AA0003" >Hosts File</td>)"
            R"(<td bgcolor = "AA0001" >Registry</td></tr><tr>)"
            R"(<td bgcolor = "42BDF7" >Windows 10 Pro</td><td bgcolor = "FFA500" >G25 / G27</td>)"
            R"(<td bgcolor = "AA0004" >Ports / FW</td><td bgcolor = "42BDF7" >Errors 0</td>)"
            R"(</tr></table>)"},
        Report{
            "HP clean, wheel support", "HP", "0", "[us]Cy", true,
            R"(~2~<table class = "showtable"><tr><td >[us]Cy</td>)"
            R"(<td bgcolor = "C0FFEE" >2.40</td><td bgcolor = "AA0003" >Hosts File</td>)"
            R"(<td bgcolor = "AA0001" >Registry</td></tr><tr>)"
            R"(<td bgcolor = "42BDF7" >Windows 10 Pro</td><td bgcolor = "00FF00" >G25 / G27</td>)"
            R"(<td bgcolor = "AA0004" >Ports / FW</td><td bgcolor = "42BDF7" >Errors 0</td>)"
            R"(</tr></table>)"},
        Report{"HP errors", "HP", "1", "[us]Cy", true,
               R"(~2~<table class = "redtable"><tr><td >[us]Cy</td>)"
               R"(<td bgcolor = "AA0003" >Hosts File</td><td bgcolor = "AA0001" >Registry</td>)"
               R"(</tr><tr><td bgcolor = "42BDF7" >Windows 10 Pro</td>)"
               R"(<td bgcolor = "AA0004" >Ports / FW</td><td bgcolor = "42BDF7" >Errors 1</td>)"
               R"(</tr></table>)"},
        // Games without checks report the same whatever the scan found.
        Report{"other game", "MC", "5", "[gb]Ann", false,
               R"(~2~<table class = "showtable" ><tr Width "100%"><td >[gb]Ann</td>)"
               R"(<td bgcolor = "00FF00" >Windows 10 Pro</td>)"
               R"(<td bgcolor = "FFFF00" >MC No Scan</td>)"
               R"(<td bgcolor = "00FF00" >Hosts File</td></tr></table>)"}));

TEST(StatusReportBeforeWelcome, IsTheBareChatCode) {
    const Indicators rows = numberedRows();
    for (const char* game : {"PU", "HS", "HP", "MC"}) {
        EXPECT_EQ(statusReport({.selectedGame = game,
                                .errorCount = "0",
                                .playerName = "[gb]Ann",
                                .welcomeSeen = false,
                                .windowsVersion = "Windows 10 Pro",
                                .gameColour = "42BDF7",
                                .indicators = &rows,
                                .versionColour = "C0FFEE"}),
                  "~2~")
            << game;
    }
}

} // namespace
} // namespace tarmacia::fixes
