#include "protocol/dispatcher.h"

#include "settings/settings_values.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

namespace tarmacia::protocol {
namespace {

using testing::ElementsAre;

// Writes down every handler call as "name(argument)".
class Recorder : public InboundHandlers {
public:
    std::vector<std::string> calls;

    void notice(int t, const std::string& p, std::size_t b) override {
        add("notice", std::to_string(t) + "," + p + "," + std::to_string(b));
    }
    void makesound(int n) override { add("makesound", std::to_string(n)); }
    void closerace() override { add("closerace", ""); }
    void showchat(const std::string& p) override { add("showchat", p); }
    void listuser(const std::string& p) override { add("listuser", p); }
    void showuser(const std::string& p) override { add("showuser", p); }
    void clearracelist() override { add("clearracelist", ""); }
    void showracers(const std::string& p) override { add("showracers", p); }
    void showrace(const std::string& p) override { add("showrace", p); }
    void norace() override { add("norace", ""); }
    void updateteam(const std::string& p) override { add("updateteam", p); }
    void showteam(const std::string& p) override { add("showteam", p); }
    void setteam(const std::string& p) override { add("setteam", p); }
    void ipsetup(const std::string& p) override { add("ipsetup", p); }
    void racehostmode(const std::string& p) override { add("racehostmode", p); }
    void doweekly(const std::string& p) override { add("doweekly", p); }
    void logout(const std::string& r) override { add("logout", r); }
    void raceTime(const std::string& t) override { add("raceTime", t); }
    void sleeper() override { add("sleeper", ""); }
    void setpchange(const std::string& p) override { add("setpchange", p); }
    void setpval(const std::string& p) override { add("setpval", p); }
    void whisshow(const std::string& p) override {
        if (p == "boom") throw std::runtime_error("handler failed");
        add("whisshow", p);
    }
    void tracklist(const std::string& p) override { add("tracklist", p); }
    void trackset(const std::string& p) override { add("trackset", p); }
    void passset(const std::string& p) override { add("passset", p); }
    void storeRaceToken(const std::string& p) override { add("storeRaceToken", p); }

private:
    void add(const char* name, const std::string& arg) { calls.push_back(std::string(name) + "(" + arg + ")"); }
};

class DispatcherTest : public testing::Test {
protected:
    std::vector<std::string> visible(const std::string& read) {
        handlers.calls.clear();
        dispatcher.ClientSocketRead(read, true);
        return handlers.calls;
    }
    std::vector<std::string> hidden(const std::string& read) {
        handlers.calls.clear();
        dispatcher.ClientSocketRead(read, false);
        return handlers.calls;
    }

    Recorder handlers;
    app::DiagnosticLog log;
    Dispatcher dispatcher{handlers, log};
};

TEST_F(DispatcherTest, EveryRowReachesItsHandler) {
    struct Row {
        std::string read;
        std::string call;
    };
    const std::string longText(60, 'x');
    for (const Row& row : std::vector<Row>{
             {"~p~" + longText, "notice(4," + longText + ",50)"},
             {"~a~5", "makesound(5)"},
             {"~f~", "closerace()"},
             {"~m~", "closerace()"},
             {"~2~hi", "showchat(hi)"},
             {"~3~[gb]Ann", "listuser([gb]Ann)"},
             {"~4~Bob", "listuser(Bob)"},
             {"~d~x", "showuser(x)"},
             {"~5~", "clearracelist()"},
             {"~R~r", "showracers(r)"},
             {"~6~race", "showrace(race)"},
             {"~F~", "norace()"},
             {"~h~n", "notice(460,n,50)"},
             {"~i~n", "notice(461,n,50)"},
             {"~j~n", "notice(462,n,50)"},
             {"~k~t", "updateteam(t)"},
             {"~l~t", "showteam(t)"},
             {"~r~t", "setteam(t)"},
             {"~K~1.2.3.4", "ipsetup(1.2.3.4)"},
             {"~D~", "racehostmode()"},
             {"~c~w", "doweekly(w)"},
             {"~9~Bye", "logout(Bye)"},
             {"~T~12:34:56", "raceTime(12:34)"},
             {"~T~9:15:00", "raceTime(9:15)"},
             {"~T~12", "raceTime(12)"},
             {"~H~", "sleeper()"},
             {"~I~ok", "setpchange(ok)"},
             {"~e~ok", "setpval(ok)"},
             {"~W~w", "whisshow(w)"},
             {"~C~c", "tracklist(c)"},
             {"~N~n", "trackset(n)"},
             {"~Y~123", "passset(123)"},
         })
        EXPECT_THAT(visible(row.read), ElementsAre(row.call)) << row.read;
    // No effect, unknown codes, and the hidden-only code.
    EXPECT_TRUE(visible("~M~x~z~y~q~123").empty());
}

TEST_F(DispatcherTest, MessagesOfAReadRunInArrivalOrder) {
    EXPECT_THAT(visible("~3~[gb]Ann~3~[fr]Bob~5~"),
                ElementsAre("listuser([gb]Ann)", "listuser([fr]Bob)", "clearracelist()"));
    std::string many;
    for (int i = 0; i < 102; ++i) many += "~a~3";
    EXPECT_EQ(visible(many).size(), 101u);
}

TEST_F(DispatcherTest, AFailingHandlerEndsItsReadOnly) {
    EXPECT_THROW(dispatcher.ClientSocketRead("~2~a~W~boom~2~b", true), std::runtime_error);
    EXPECT_THAT(handlers.calls, ElementsAre("showchat(a)"));
    // The next read starts with nothing left of the failed one.
    EXPECT_THAT(visible("~2~c"), ElementsAre("showchat(c)"));
    EXPECT_THROW(visible("~a~loud"), settings::ConversionError);
}

TEST_F(DispatcherTest, WhileRacingOnlySoundsLogoutAndTheRaceTokenCount) {
    EXPECT_THAT(hidden("~q~123"), ElementsAre("storeRaceToken(123)"));
    EXPECT_TRUE(hidden("~2~hello").empty());
    EXPECT_THAT(hidden("~a~7"), ElementsAre("makesound(7)"));
    EXPECT_TRUE(hidden("~a~12").empty()); // only the fourth character: 1
    EXPECT_TRUE(hidden("~a~0").empty());
    EXPECT_THROW(hidden("~a~x"), settings::ConversionError);
    // Not split: the whole rest is the reason.
    EXPECT_THAT(hidden("~9~Suspend~2~x"), ElementsAre("logout(Suspend~2~x)"));
    EXPECT_TRUE(hidden("").empty());
}

TEST(Catalogue, EveryDispatchedCodeIsAnInboundCodeOfTheCatalogue) {
    std::set<std::string_view> inbound;
    for (const auto& entry : kCatalogue)
        if (entry.direction == Direction::In) inbound.insert(entry.code);
    std::set<std::string_view> dispatched;
    for (const auto& row : kDispatchRows) {
        EXPECT_TRUE(inbound.count(row.code)) << row.code;
        EXPECT_TRUE(dispatched.insert(row.code).second) << "twice: " << row.code;
    }
    // Only the race token is read elsewhere (while racing).
    for (std::string_view code : inbound)
        if (!dispatched.count(code)) EXPECT_EQ(code, "~q~");
    EXPECT_EQ(kDispatchRows.front().code, "~p~");
    EXPECT_EQ(kDispatchRows.back().code, "~M~");
}

} // namespace
} // namespace tarmacia::protocol
