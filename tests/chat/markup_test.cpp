#include "chat/flag_fetcher.h"
#include "chat/markup.h"
#include "chat/smileys.h"

#include "platform/fake/fake_http.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tarmacia::chat {
namespace {

namespace fs = std::filesystem;
using platform::HttpReply;
using platform::fake::FakeHttpGet;
using test::TempDir;
using test::writeFile;

const std::string kCell = "<td style = color:FF0000;";
const std::string kCellEnd = "valign=\"middle\" align \"Left\">";

std::string flagImg(const fs::path& picture, int height, int width) {
    return " <IMG SRC=\"" + picture.string() + "\"  Height=\"" + std::to_string(height) +
           "\" width=\"" + std::to_string(width) +
           "\"align = \"absmiddle\" hspace = \"2\" vspace = \"1\" alt=\"\"/> ";
}

// A client folder with a few flags, named in other cases than the codes, as
// they come from a Windows installation.
class GetFlagTest : public testing::Test {
protected:
    GetFlagTest() {
        writeFile(dir / "Flags/Teams/GBflag.bmp", "bmp");
        writeFile(dir / "Flags/Teams/dfflag.bmp", "bmp");
        writeFile(dir / "Flags/Teams/adflag.gif", "gif");
        writeFile(dir / "Flags/other/usflag.bmp", "bmp");
        context.clientFolder = dir.path();
        context.findflag = [this](const std::string& file) { asked.push_back(file); };
    }
    fs::path teams(const std::string& file) const { return dir / ("Flags/Teams/" + file); }

    TempDir dir;
    FlagContext context;
    std::vector<std::string> asked;
};

TEST_F(GetFlagTest, TurnsCodesIntoPictures) {
    struct Case {
        std::string text;
        std::string html;
        std::vector<std::string> asked;
    };
    const fs::path gb = teams("GBflag.bmp");
    const fs::path df = teams("dfflag.bmp");
    const std::vector<Case> cases = {
        {"[gb]Bob: hi", kCell + kCellEnd + flagImg(gb, 24, 36) + "Bob: hi", {}},
        {"hi", kCell + kCellEnd + flagImg(df, 24, 36) + "hi", {}},
        // One cell for the line, however many flags it has.
        {"a[gb]b", kCell + kCellEnd + flagImg(df, 24, 36) + "a" + flagImg(gb, 24, 36) + "b", {}},
        {"[us]x", kCell + kCellEnd + flagImg(dir / "Flags/other/usflag.bmp", 24, 36) + "x", {}},
        {"[ad]Race at 8",
         kCell + kCellEnd + flagImg(teams("adflag.gif"), 75, 75) + "Race at 8",
         {}},
        // Unknown codes stay as typed and are asked for.
        {"[zz]hi [ok]", "[zz]hi [ok]", {"zzflag.bmp", "okflag.bmp"}},
        // Server HTML: no cell, and "<table c" halves the sizes (toward zero).
        {"<table c>[gb]</table>", "<table c>" + flagImg(gb, 12, 18) + "</table>", {}},
        {"<table b>[gb]", "<table b>" + flagImg(gb, 24, 36), {}},
        // Codes that could name a path or are too long are only text.
        {"[../../x]hi", "[../../x]hi", {}},
        {"[a b]x [abcdefghijk]", "[a b]x [abcdefghijk]", {}},
        {"[]x", "[]x", {}},
    };
    for (const Case& c : cases) {
        asked.clear();
        EXPECT_EQ(getflag(c.text, kCell, context), c.html) << c.text;
        EXPECT_EQ(asked, c.asked) << c.text;
    }
}

TEST_F(GetFlagTest, OddSizesHalveTowardZero) {
    context.flagWidth = 37;
    context.flagHeight = 25;
    EXPECT_EQ(getflag("<table c>[gb]", "", context),
              "<table c>" + flagImg(teams("GBflag.bmp"), 12, 18));
}

TEST(GetSmiley, ReplacesTokensAndEscapesPlayerText) {
    const fs::path install = "/opt/tarmacia";
    const std::string smiley12 = "<IMG SRC=\"/opt/tarmacia/smileygif/12.gif\" border=\"0\" align = "
                                 "\"absmiddle\" hspace = \"3\" ></img>";
    struct Case {
        std::string text;
        bool escape;
        std::string html;
    };
    const std::vector<Case> cases = {
        {"see <12> now", true, "see " + smiley12 + " now"},
        {"<12><12>", true, smiley12 + smiley12},
        {"<1a> <123> <12", true, "&lt;1a&gt; &lt;123&gt; &lt;12"},
        {"<img src=x onerror=alert(1)>", true, "&lt;img src=x onerror=alert(1)&gt;"},
        {"<a href='file:///etc/passwd'>x</a>", true,
         "&lt;a href=&#39;file:///etc/passwd&#39;&gt;x&lt;/a&gt;"},
        {"Tom & \"Jerry\"", true, "Tom &amp; &quot;Jerry&quot;"},
        // Server tables are markup already.
        {"<table><12>", false, "<table>" + smiley12},
    };
    for (const Case& c : cases)
        EXPECT_EQ(getsmiley(c.text, install, c.escape), c.html) << c.text;
}

std::string link(const std::string& address) {
    return "<A Target = \"New\" HREF=\"" + address + "\"> " + address + "</A>";
}

TEST(GetLink, LinksWebAddressesOnly) {
    struct Case {
        std::string text;
        std::string html;
    };
    const std::vector<Case> cases = {
        {"go www.x.com now", "go " + link("http://www.x.com") + " now "},
        {"at the end http://a.b/c", "at the end " + link("http://a.b/c") + " "},
        {"HTTPS://A.B\rx", link("HTTPS://A.B") + "\rx "},
        {"http://www.x.com", link("http://www.x.com") + " "},
        // One address that begins another is not linked inside it.
        {"http://a.b http://a.b/c http://a.b",
         link("http://a.b") + " " + link("http://a.b/c") + " " + link("http://a.b") + " "},
        // Only web addresses: a player cannot link a file or a script.
        {"httpx://evil file:///etc/passwd", "httpx://evil file:///etc/passwd "},
        // Escaped player text: the quote stays an entity inside the HREF.
        {"http://x&quot;onclick=a()", link("http://x&quot;onclick=a()") + " "},
        // Raw quotes (server text) end the address rather than the attribute.
        {"http://x\"onclick=a()", link("http://x") + "\"onclick=a() "},
        {"no address", "no address "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(getlink(c.text), c.html) << c.text;
}

TEST(GetLink, LinksTenAddressesAtMost) {
    std::string text;
    for (int i = 0; i < 11; ++i)
        text += "http://h" + std::to_string(i) + ".x ";
    std::string html = getlink(text);
    EXPECT_NE(html.find(link("http://h9.x")), std::string::npos);
    EXPECT_EQ(html.find(link("http://h10.x")), std::string::npos);
    EXPECT_NE(html.find("http://h10.x"), std::string::npos);
}

TEST(Colours, ConvertBothWays) {
    EXPECT_EQ(HexToDec("ff"), 255);
    EXPECT_EQ(HexToDec("1g"), 16); // other characters count as 0
    EXPECT_EQ(StrToColor("FF8000"), 0x0080FFu);
    EXPECT_EQ(ColorToHex(StrToColor("FF8000")), "FF8000");
    EXPECT_EQ(ColorToHex(0x00123456), "563412");
    EXPECT_EQ(getnumber("\\red255\\"), "255");

    EXPECT_EQ(getcolor("clNavy", "FFFFFF"), "000080");
    EXPECT_EQ(getcolor("clPink", "FFFFFF"), "");
    EXPECT_EQ(getcolor("hello", "A0B0C0"), "A0B0C0");
    // Only colours before the first "\fs" count.
    EXPECT_EQ(getcolor("{\\rtf1{\\colortbl ;\\red1\\green2\\blue3;}\\fs20 \\red9", ""), "010203");
    EXPECT_EQ(getcolor("{\\rtf1\\fs20 {\\colortbl ;\\red1\\green2\\blue3;}", ""), "");
}

TEST(SplitFlaggedName, TakesCodeAndName) {
    FlaggedName a = splitFlaggedName("[gb]Ann");
    EXPECT_TRUE(a.hasCode);
    EXPECT_EQ(a.code, "gb");
    EXPECT_EQ(a.name, "Ann");
    FlaggedName b = splitFlaggedName("x[gb]y[us]Ann");
    EXPECT_EQ(b.code, "us");
    EXPECT_EQ(b.name, "Ann");
    FlaggedName c = splitFlaggedName("gb]Ann");
    EXPECT_EQ(c.code, "gb");
    FlaggedName d = splitFlaggedName("[gbAnn");
    EXPECT_FALSE(d.hasCode);
    EXPECT_EQ(d.name, "[gbAnn");
}

TEST(SmileySlots, AddRemoveAndShift) {
    SmileySlots slots;
    slots.resetsmiley();
    slots.addsmiley("12", 1);
    slots.addsmiley("34", 5);
    slots.addsmiley("12345", 9);
    EXPECT_EQ(slots.slots()[2].number, "1234");

    slots.removesmiley(5);
    EXPECT_EQ(slots.slots()[0].position, 1);
    EXPECT_EQ(slots.slots()[1].position, 9);
    EXPECT_EQ(slots.slots()[1].number, "1234");
    EXPECT_EQ(slots.slots()[2].position, -1);

    // 100 pictures fill slots 0-99; the one after that is not recorded.
    slots.resetsmiley();
    for (int i = 0; i < 101; ++i)
        slots.addsmiley("10", i);
    EXPECT_EQ(slots.slots()[99].position, 99);
    EXPECT_EQ(slots.slots()[100].position, -1);
    slots.removesmiley(0);
    EXPECT_EQ(slots.slots()[0].position, 1);
    EXPECT_EQ(slots.slots()[98].position, 99);
    EXPECT_EQ(slots.slots()[99].position, -1);
    slots.addsmiley("11", 500);
    EXPECT_EQ(slots.slots()[99].position, 500);
}

class FlagFetcherTest : public testing::Test {
protected:
    FlagFetcherTest() {
        fetcher.arrived = [this](const fs::path& saved) { arrived.push_back(saved); };
    }
    std::vector<fs::path> filesInFolder() const {
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            if (entry.is_regular_file()) files.push_back(entry.path());
        return files;
    }

    TempDir dir;
    FakeHttpGet http;
    std::string host = "10.0.0.5";
    FlagFetcher fetcher{http, dir.path(), [this] { return host; }};
    std::vector<fs::path> arrived;
    const HttpReply notFound{false, 404, {}, "Not Found"};
};

TEST_F(FlagFetcherTest, TriesTeamsThenOtherAndSavesTheFile) {
    http.script("http://10.0.0.5:5450/flags/teams/", notFound);
    http.script("http://10.0.0.5:5450/flags/other/", FakeHttpGet::page("BMflag"));
    fetcher.findflag("zzflag.bmp");
    http.answerAll();

    EXPECT_EQ(http.urls, (std::vector<std::string>{"http://10.0.0.5:5450/flags/teams/zzflag.bmp",
                                                   "http://10.0.0.5:5450/flags/other/zzflag.bmp"}));
    const fs::path saved = dir / "flags/other/zzflag.bmp";
    EXPECT_EQ(arrived, std::vector<fs::path>{saved});
    EXPECT_EQ(filesInFolder(), std::vector<fs::path>{saved});
    EXPECT_EQ(test::readFile(saved), "BMflag");
}

TEST_F(FlagFetcherTest, SavesNothingForAFailureOrAnEmptyReply) {
    http.script("http://10.0.0.5:5450/flags/teams/", FakeHttpGet::page(""));
    http.script("http://10.0.0.5:5450/flags/other/", notFound);
    fetcher.findflag("zzflag.bmp");
    http.answerAll();
    EXPECT_EQ(http.urls.size(), 2u);
    EXPECT_TRUE(arrived.empty());
    EXPECT_TRUE(filesInFolder().empty());
}

TEST_F(FlagFetcherTest, AsksOncePerSessionAndNeverForUnsafeNames) {
    fetcher.findflag("gbflag.bmp");
    http.respond(FakeHttpGet::page("teams"));
    fetcher.findflag("gbflag.bmp");
    fetcher.findflag("GBflag.bmp");
    EXPECT_EQ(http.urls.size(), 1u);
    EXPECT_EQ(arrived, std::vector<fs::path>{dir / "flags/teams/gbflag.bmp"});

    // Through the chat display: a code that could leave the folder is never
    // looked up, let alone requested.
    FlagContext context{dir.path(), 36, 24, [this](const std::string& f) { fetcher.findflag(f); }};
    EXPECT_EQ(getflag("[../../x]hi", "", context), "[../../x]hi");
    fetcher.findflag("../../xflag.bmp");
    fetcher.findflag("a/bflag.bmp");
    fetcher.findflag("gbflag.exe");
    EXPECT_EQ(http.urls, std::vector<std::string>{"http://10.0.0.5:5450/flags/teams/gbflag.bmp"});
}

TEST_F(FlagFetcherTest, WaitsForAHost) {
    host.clear();
    fetcher.findflag("gbflag.bmp");
    EXPECT_TRUE(http.urls.empty());
    host = "lobby";
    fetcher.findflag("gbflag.bmp");
    EXPECT_EQ(http.urls, std::vector<std::string>{"http://lobby:5450/flags/teams/gbflag.bmp"});
}

} // namespace
} // namespace tarmacia::chat
