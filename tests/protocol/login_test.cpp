// The lobby connection as the player sees it: what goes on the wire, what
// the chat says, which boxes and windows come up. The core runs on fakes.

#include "app/main_form.h"
#include "platform/fake/fake_ports.h"
#include "support/form_world.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <regex>

namespace tarmacia::app {
namespace {

namespace fs = std::filesystem;
using platform::BoxButton;
using testing::Contains;
using testing::HasSubstr;

// A language file as the client reads it: UTF-16LE with a byte-order mark,
// a header line, then string n on line n.
void writeLanguage(const fs::path& file, const std::map<int, std::string>& strings) {
    std::string text = "header\r\n";
    for (int n = 1; n <= strings.rbegin()->first; ++n) {
        auto it = strings.find(n);
        text += (it == strings.end() ? std::string() : it->second) + "\r\n";
    }
    std::string bytes = "\xFF\xFE";
    for (char c : text) {
        bytes += c;
        bytes += '\0';
    }
    test::writeFile(file, bytes);
}

class Login : public testing::Test, protected test::FormWorld {
protected:
    Login() {
        writeLanguage(home / "program/languages/[gbr]english.uni",
                      {{4, "Server Notice"}, {9, "Security Question"}, {11, "Registration"},
                       {16, "Logged Out"}, {142, "Race Time"}, {458, "Press Continue"},
                       {459, "Continue"}, {469, "Please download"}, {470, "Download"},
                       {471, "Close"}, {478, "Answer sent"}, {479, "No answer"},
                       {480, "Check failed"}});
        test::writeFile(home / "program/sounds/trm.wav", "RIFF");
        test::writeFile(home / "program/flags/teams/dfflag.bmp", "BM");
        startUp();
    }

    platform::fake::FakeTcpClient& loggedIn(const std::string& password = "pw") {
        return logIn("bob", password);
    }
    const platform::BoxRequest& lastBox() const { return fakes.dialogs.shown.back(); }

};

TEST_F(Login, TheLoginMessageCarriesTheScrambledPasswordAndTheVersion) {
    auto& socket = loggedIn("pw");
    EXPECT_EQ(socket.host, "127.0.0.1");
    EXPECT_EQ(socket.port, 5445);
    EXPECT_TRUE(std::regex_match(socket.sent, std::regex("~1~bob\xAC[0-9]{12}\xACv5\\.42")))
        << socket.sent;
    EXPECT_THAT(fakes.view.chatTexts(),
                testing::ElementsAre("{dfflag.bmp} Attempting to connect",
                                     "{dfflag.bmp} Connected as bob on (Main Prim)",
                                     "{nfspu.jpg} {nfshp2.jpg} {nfshs.jpg}"));
    EXPECT_EQ(form.loginState, 1);
    EXPECT_EQ(form.messageName, "bob");
    EXPECT_THAT(fakes.view.chatHtml.back(), HasSubstr("nfshp2.jpg"));
    EXPECT_FALSE(fakes.windows["TForm27"].visible); // the first chat line closed it
}

TEST_F(Login, AnEmptyPasswordStillHasTheRandomPrefix) {
    auto& socket = loggedIn("");
    EXPECT_TRUE(std::regex_match(socket.sent, std::regex("~1~bob\xAC[0-9]{6}\xACv5\\.42")));
}

TEST_F(Login, AConnectionForARegistrationDeliversItAndNothingElse) {
    form.connectMode = 1;
    form.pendingRegistration = "Zed\xC2\xACpw";
    auto& socket = loggedIn();
    EXPECT_EQ(socket.sent, "~U~Zed\xACpw");
    EXPECT_EQ(form.connectMode, 0);
    EXPECT_EQ(form.loginState, 0);
}

TEST_F(Login, WhatStopsALoginBeforeItStarts) {
    // No user name.
    fakes.dialogs.answers = {BoxButton::Cancel};
    form.LoginClick();
    EXPECT_EQ(lastBox().title, "Login Error");
    EXPECT_EQ(lastBox().text, "No User Name Selected\rWould you like to enter a name now");
    EXPECT_EQ(form.loginState, 0);
    EXPECT_TRUE(fakes.network.sockets.empty());

    // A port that is not a number.
    form.Edit1Change("bob");
    fakes.http.urls.clear();
    form.directory()->getservers();
    fakes.http.respond(platform::fake::FakeHttpGet::page("ok - Main Prim(127.0.0.1/port)"));
    form.LoginClick();
    EXPECT_THAT(fakes.view.chatTexts(), Contains("{dfflag.bmp} Error Connecting"));
    EXPECT_TRUE(fakes.network.sockets.empty());
}

TEST_F(Login, ARefusedConnectionSaysSoAndThePleaseWaitDialogGoes) {
    form.Edit1Change("bob");
    form.LoginClick();
    EXPECT_TRUE(fakes.windows["TForm27"].visible);
    fakes.view.chatHtml.clear();
    fakes.network.last().refuse("Connection refused");
    EXPECT_THAT(fakes.view.chatTexts(),
                testing::ElementsAre("{dfflag.bmp} Unable to connect at this time - Please try later"));
    EXPECT_THAT(test::readFile(form.log().path()), HasSubstr("*****Error***** Socket Error: Connection refused"));
    fakes.windows["TForm27"].showModal();
    fakes.clock.advance(5000);
    EXPECT_FALSE(fakes.windows["TForm27"].visible);
}

TEST_F(Login, AnEmptyLogoutReasonEndsTheLoginSilently) {
    auto& socket = loggedIn();
    socket.deliver("~3~[gb]Ann~3~[fr]Bob~3~[gb]Ann");
    EXPECT_THAT(fakes.view.users, testing::ElementsAre("[gb]Ann", "[fr]Bob"));
    fakes.dialogs.shown.clear();
    socket.deliver("~9~");
    EXPECT_TRUE(fakes.view.users.empty());
    EXPECT_EQ(form.loginState, 0);
    EXPECT_TRUE(fakes.dialogs.shown.empty());
    EXPECT_EQ(fakes.view.chatTexts().back(), "{dfflag.bmp} Disconnected - Logout");
}

TEST_F(Login, LogoutReasonsAndTheirBoxes) {
    auto& socket = loggedIn();
    fakes.dialogs.answers = {BoxButton::Ok};
    socket.deliver("~9~Incorrect Version of TRM");
    EXPECT_EQ(lastBox().title, "Logged Out");
    EXPECT_EQ(lastBox().text, "Incorrect Version of TRM\rPlease download");
    EXPECT_EQ(lastBox().okCaption, "Download");
    EXPECT_EQ(fakes.app.openedUrls.size(), 1u);
    EXPECT_EQ(fakes.app.quits, 0);

    auto& again = loggedIn();
    fakes.dialogs.answers = {BoxButton::Cancel};
    again.deliver("~9~Incorrect Version of TRM");
    EXPECT_EQ(fakes.app.quits, 1);

    auto& third = loggedIn();
    third.deliver("~9~Registered - thanks");
    EXPECT_EQ(lastBox().title, "Registration");
    EXPECT_EQ(lastBox().text,
              "Registered - thanks\rYou can save your details in options\rWould you like to this now?");

    auto& fourth = loggedIn();
    fourth.deliver("~9~Banned");
    EXPECT_EQ(lastBox().title, "Logged Out");
    EXPECT_EQ(lastBox().text, "Banned\rPress Continue");
}

TEST_F(Login, ARaceSuspensionKeepsTheLoginAliveUntilTheRaceIsOver) {
    auto& socket = loggedIn();
    // No race joined: hidden and shown at once, back at the lobby.
    socket.deliver("~9~Suspend");
    EXPECT_TRUE(fakes.windows["TForm1"].visible);
    EXPECT_THAT(socket.sent, testing::EndsWith("~X~"));

    form.raceCounter = 1;
    form.races().selectedGame = "PT"; // started by hand: the monitor only waits
    socket.sent.clear();
    socket.deliver("~9~Suspend");
    EXPECT_FALSE(fakes.windows["TForm1"].visible);
    EXPECT_TRUE(fakes.windows["TForm11"].modal);
    fakes.clock.advance(600000);
    EXPECT_EQ(socket.sent, "~O~bob~O~bob");
    // While racing, a read is one message and chat is not shown.
    socket.deliver("~q~token~2~x");
    EXPECT_EQ(form.raceToken, "token~2~x");
    fakes.windows["TForm11"].close();
    EXPECT_TRUE(fakes.windows["TForm1"].visible);
    EXPECT_EQ(socket.sent, "~O~bob~O~bob~X~");
    EXPECT_EQ(form.raceCounter, 0);
    fakes.clock.advance(600000);
    EXPECT_EQ(socket.sent, "~O~bob~O~bob~X~");
}

TEST_F(Login, TheIdleQuestionIsAnsweredOrTimesOut) {
    auto& socket = loggedIn();
    socket.sent.clear();
    form.WMSysCommand(SysCommand::Minimize);
    socket.deliver("~H~");
    auto& question = fakes.windows["TForm7"];
    EXPECT_TRUE(question.modal);
    EXPECT_EQ(question.left, 100 + 400 - 180);
    EXPECT_EQ(question.top, 50 + 300 - 100);
    EXPECT_EQ(fakes.windows["TForm1"].restores, 1);
    EXPECT_EQ(fakes.sound.played.size(), 1u);
    socket.deliver("~H~"); // already asking
    form.autoLogoutAnswer(true);
    EXPECT_EQ(socket.sent, "~H~");
    EXPECT_FALSE(question.visible);
    fakes.clock.advance(60000);
    EXPECT_EQ(form.loginState, 1);

    socket.deliver("~H~");
    fakes.clock.advance(59999);
    EXPECT_EQ(form.loginState, 1);
    fakes.clock.advance(1);
    EXPECT_EQ(form.loginState, 0);
    // As it stands: no flag, no cell.
    EXPECT_EQ(fakes.view.chatHtml.back(), "[df]Idle Time Exceeded - Auto Logout");
    EXPECT_EQ(form.logoutRequested, 1);
}

TEST_F(Login, TheSecurityQuestionIsAskedAndAnswered) {
    auto& socket = loggedIn();
    socket.sent.clear();
    auto ask = [&](const std::string& plain) {
        socket.deliver("~Y~" + protocol::passenc(plain, protocol::randomPrefixSource()));
    };
    ask("sq\xC2\xAC" "First pet?");
    EXPECT_EQ(fakes.view.securityQuestion, "First pet?");
    EXPECT_TRUE(fakes.windows["TForm4"].modal);
    form.securityAnswer("Rex");
    EXPECT_EQ(socket.sent, "~Y~bob\xACRex");
    EXPECT_EQ(lastBox().text, "Answer sent\rPress Continue");

    ask("sq\xC2\xAC" "Again?");
    form.securityAnswer("");
    EXPECT_EQ(lastBox().kind, platform::BoxKind::Warning);
    EXPECT_FALSE(socket.isConnected());

    auto& next = loggedIn();
    next.deliver("~Y~" + protocol::passenc("not a question", protocol::randomPrefixSource()));
    EXPECT_EQ(lastBox().text, "Check failed\rPress Continue");
    EXPECT_FALSE(next.isConnected());
}

TEST_F(Login, TheLoginButtonLogsOutWithoutAWord) {
    auto& socket = loggedIn();
    socket.sent.clear();
    form.JvImgBtn1Click();
    EXPECT_EQ(socket.sent, "");
    EXPECT_FALSE(socket.isConnected());
    EXPECT_EQ(fakes.view.chatTexts().back(), "{dfflag.bmp} Disconnected - Logout");
    EXPECT_FALSE(fakes.view.loggedIn);
}

TEST_F(Login, NoticesAndTheRaceTime) {
    auto& socket = loggedIn();
    socket.deliver("~p~" + std::string(70, 'n') + "~T~12:34:56");
    EXPECT_EQ(lastBox().title, "Server Notice");
    EXPECT_EQ(lastBox().text, std::string(50, 'n') + "\rPress Continue");
    EXPECT_EQ(fakes.view.raceTime, "Race Time 12:34");
}

TEST_F(Login, LoginDetails) {
    // A flag code typed before the name.
    form.Edit1Change("[gbr]Bob");
    EXPECT_EQ(form.settings.user.login.name, "Bob");
    EXPECT_EQ(form.settings.user.login.flag, "[GBR]");

    // "Use as Default" needs both fields.
    form.setLoginPassword("");
    form.CheckBox2Click(true);
    EXPECT_EQ(lastBox().text, "Please Enter Login Details\rPress Continue");
    EXPECT_FALSE(form.settings.user.login.useAsDefault);
    form.setLoginPassword("pw");
    form.CheckBox2Click(true);
    EXPECT_EQ(lastBox().text, "Current Login Details Saved\rPress Continue");
    const fs::path settingsIni = form.clientFolder() / "settings.ini";
    EXPECT_EQ(fakes.ini.readString(settingsIni, "login", "default", ""), "true");
    EXPECT_EQ(fakes.ini.readString(settingsIni, "login", "name", ""), "Bob");

    // The login button then logs in at once.
    form.JvImgBtn1Click();
    EXPECT_EQ(fakes.network.sockets.size(), 1u);
}

} // namespace
} // namespace tarmacia::app
