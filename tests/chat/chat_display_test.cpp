// What the chat view shows for a chat text, what goes into the chat log, and
// which clicked addresses leave the view.

#include "chat/rtf.h"
#include "chat_fixture.h"

#include <gmock/gmock.h>

namespace tarmacia::app {
namespace {

namespace fs = std::filesystem;
using testing::HasSubstr;
using testing::Not;

using ChatDisplay = test::ChatWorld;

// The automatic size (10 until the themes compute it) + 5, black, no weight.
constexpr const char* kCell = "<td style= color:000000;font-size:15;font-weight:;";

TEST_F(ChatDisplay, TextsBecomeCellsWithFlagsSmileysAndLinks) {
    struct Case {
        std::string text;
        std::string shown;       // what the player reads (pictures by file name)
        std::string markup;      // a piece of the fragment
        std::string notInMarkup; // must not be there
    };
    const std::string rich = chat::writeRtf("[gb]Eve: <script>alert(1)</script>", {255, 0, 0});
    const std::vector<Case> cases = {
        {"[df]Attempting to connect", "{dfflag.bmp} Attempting to connect",
         std::string(kCell) + "valign=\"middle\" align \"Left\">", "[df]"},
        {"Attempting to connect", "{dfflag.bmp} Attempting to connect", kCell, "[df]"},
        {"[gb]Ann: see <12> and www.example.net", "{gbflag.bmp} Ann: see {12.gif} and http://www.example.net",
         "HREF=\"http://www.example.net\"", "<12>"},
        // Players' markup is shown, never obeyed.
        {"[gb]Eve: <img src=x onerror=alert(1)>", "{gbflag.bmp} Eve: <img src=x onerror=alert(1)>",
         "&lt;img src=x", "<img src=x"},
        {"[gb]Eve: <a href='file:///etc/passwd'>x</a>", "{gbflag.bmp} Eve: <a href='file:///etc/passwd'>x</a>",
         "&lt;a href=", "<a href"},
        {rich, "{gbflag.bmp} Eve: <script>alert(1)</script>", "color:FF0000", "<script>"},
        // A server table is markup; its flags (and any 36 or 24) shrink.
        {"<table border=1><tr><td>[gb]Ann</td><td>1:36.24</td></tr></table>", "{gbflag.bmp} Ann 1:18.12",
         "Height=\"12\" width=\"18\"", "<td style"},
    };
    for (const Case& c : cases) {
        fakes.view.chatHtml.clear();
        form.showchat(c.text);
        ASSERT_EQ(fakes.view.chatHtml.size(), 1u) << c.text;
        EXPECT_EQ(fakes.view.chatTexts()[0], c.shown) << c.text;
        EXPECT_THAT(lastHtml(), HasSubstr(c.markup)) << c.text;
        EXPECT_THAT(lastHtml(), Not(HasSubstr(c.notInMarkup))) << c.text;
    }
}

TEST_F(ChatDisplay, TheWelcomeLineNamesThePlayerAndMayMakeAnAdmin) {
    form.showchat("Welcome to Tarmacia - v5.42 Bob\xC2\xAC[gb]Bob");
    EXPECT_EQ(form.playerName, "[gb]Bob");
    EXPECT_EQ(form.welcomeSeen, 1);
    EXPECT_EQ(form.adminFlag, 0);
    EXPECT_THAT(lastHtml(), testing::StartsWith("<table><tr><td valign=\"top\">"));
    // The automatic-size cell of this line carries the font family too.
    EXPECT_THAT(lastHtml(), HasSubstr("<td style= color:000000;font-family:Arial;font-size:15;"));
    EXPECT_EQ(fakes.view.chatTexts().back(), "{dfflag.bmp} Welcome to Tarmacia - v5.42 Bob {gbflag.bmp} Bob");

    form.showchat("Welcome to Tarmacia - v5.42 1.000 as admin\xC2\xAC[gb]Root");
    EXPECT_EQ(form.playerName, "[gb]Root");
    EXPECT_EQ(form.adminFlag, 1);
}

TEST_F(ChatDisplay, TheChatLogTakesShownLinesButNeverWhispers) {
    const fs::path log = client() / "chatlog.htm";
    fs::remove(log); // the start-up's directory notices went in
    form.settings.user.options.logChat = false;
    form.showchat("[gb]Ann: not kept");
    EXPECT_FALSE(fs::exists(log));

    form.settings.user.options.logChat = true;
    form.whisshow("[gb]Ann\xC2\xAC" + chat::writeRtf("[gb]Ann: psst", {0, 0, 255}));
    EXPECT_FALSE(fs::exists(log));
    EXPECT_THAT(fakes.view.chatTexts().back(), HasSubstr("Whisper from {gbflag.bmp} Ann: "));
    EXPECT_THAT(fakes.view.chatTexts().back(), HasSubstr("Ann: psst"));
    EXPECT_THAT(lastHtml(), HasSubstr("color:0000FF"));

    form.showchat("[gb]Ann: kept");
    const std::string first = lastHtml();
    form.showchat("[gb]Ann: kept too");
    EXPECT_EQ(test::readFile(log), first + "\r\n" + lastHtml() + "\r\n");
}

TEST_F(ChatDisplay, OnlyWebAddressesAreOpened) {
    struct Case {
        const char* url;
        bool opened;
    };
    for (const Case& c : {Case{"http://lobby.example.net/x", true}, Case{"HTTPS://example.org", true},
                          Case{"file:///etc/passwd", false}, Case{"javascript:alert(1)", false},
                          Case{"ftp://example.net/", false}, Case{"www.example.net", false},
                          Case{"/home/player/chatlog.htm", false}}) {
        fakes.app.openedUrls.clear();
        form.chatLinkClicked(c.url);
        EXPECT_EQ(fakes.app.openedUrls.size(), c.opened ? 1u : 0u) << c.url;
    }
    EXPECT_TRUE(fakes.view.loadedPages.size() == 1u); // nothing but the chat page was loaded
}

} // namespace
} // namespace tarmacia::app
