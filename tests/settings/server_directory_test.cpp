// The server directory against scripted web endpoints: what it requests,
// what it keeps, which server it picks and what it tells the player.

#include "settings/server_directory.h"

#include "platform/fake/fake_clock.h"
#include "platform/fake/fake_http.h"
#include "protocol/passenc.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tarmacia::settings {
namespace {

using platform::HttpReply;
using platform::fake::FakeClock;
using platform::fake::FakeHttpGet;

constexpr const char* kPrimary = "http://primary.test/";
constexpr const char* kBackup = "http://backup.test/";
constexpr const char* kServerLine = "[df]Server - ";
constexpr const char* kLoaded = "[df]IP Servers Loaded - Please Login";
constexpr const char* kPrevious = "[df]Server not loaded - looking for previous";
constexpr const char* kNoServers = "[df]No Servers Found - Please Add Server";

struct Directory {
    explicit Directory(protocol::PrefixSource prefix = protocol::randomPrefixSource())
        : directory(http, clock, kPrimary, kBackup, hooks(), std::move(prefix)) {}

    DirectoryHooks hooks() {
        return {
            .chatLine = [this](const std::string& line) { chat.push_back(line); },
            .closePleaseWait = [this] { ++pleaseWaitClosed; },
            .addserverfile = [this](const ServerEntry& e) { mirrored.push_back(e.name); },
            .savedSlot = [this](int index) { return saved.at(static_cast<std::size_t>(index)); },
            .loggedIn = [this] { return loggedIn; },
            .setSelector =
                [this](const std::vector<std::string>& items, const std::string& shown) {
                    selector = items;
                    selectorShown = shown;
                },
            .logLabel = [this](std::string_view label) { labels.emplace_back(label); }};
    }

    // "P" for each request to the primary, "B" for each to the backup.
    std::string requests() const {
        std::string out;
        for (const std::string& url : http.urls)
            out += url.rfind(kPrimary, 0) == 0 ? 'P' : url.rfind(kBackup, 0) == 0 ? 'B' : '?';
        return out;
    }
    std::vector<std::string> slotTexts() const {
        std::vector<std::string> out;
        for (const ServerEntry& slot : directory.directoryList()) {
            if (!slot.isFree()) out.push_back(slot.name + "|" + slot.ip + "|" + slot.port);
        }
        return out;
    }

    FakeHttpGet http;
    FakeClock clock;
    std::vector<std::string> chat;
    std::vector<std::string> mirrored;
    std::vector<std::string> labels;
    std::vector<std::string> selector;
    std::string selectorShown;
    std::vector<ServerEntry> saved = std::vector<ServerEntry>(10);
    int pleaseWaitClosed = 0;
    bool loggedIn = false;
    ServerDirectory directory;
};

HttpReply page(std::string body) {
    return FakeHttpGet::page(std::move(body));
}

std::string records(int count) {
    std::string text = "ok";
    for (int i = 1; i <= count; ++i)
        text += " - S" + std::to_string(i) + "(10.0.0." + std::to_string(i) + "/5445)";
    return text;
}

struct Scenario {
    const char* name;
    std::optional<HttpReply> primary; // nullopt: the endpoint is down
    std::optional<HttpReply> backup;
    int fetches;
    std::string requests;
    std::vector<std::string> chat;
    std::vector<std::string> slots; // name|ip|port of the occupied slots
    std::string current;
    std::vector<std::string> selector;
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

const HttpReply kTwo = page("ok - Primary One(10.0.0.1/5445) - Backup(10.0.0.2/5446)");

const Scenario kScenarios[] = {
    {"two records are added",
     kTwo,
     std::nullopt,
     1,
     "P",
     {std::string(kServerLine) + "added", kLoaded},
     {"Primary One|10.0.0.1|5445", "Backup|10.0.0.2|5446"},
     "Primary One",
     {"Primary One", "Backup"}},
    {"the same reply again updates them",
     kTwo,
     std::nullopt,
     2,
     "PP",
     {std::string(kServerLine) + "added", kLoaded, std::string(kServerLine) + "update", kLoaded},
     {"Primary One|10.0.0.1|5445", "Backup|10.0.0.2|5446"},
     "Primary One",
     {"Primary One", "Backup"}},
    {"a BU name is the backup and beats Last",
     page("ok - Server Last(1.1.1.1/1) - Main BU(2.2.2.2/2)"),
     std::nullopt,
     1,
     "P",
     {std::string(kServerLine) + "added", kLoaded},
     {"Server Last|1.1.1.1|1", "Main BU|2.2.2.2|2"},
     "Main BU",
     {"Main BU", "Server Last"}},
    {"the primary beats a later backup",
     page("ok - Net Prim(1.0.0.1/1) - A(1.0.0.2/2) - B(1.0.0.3/3) - Net Back(1.0.0.4/4)"),
     std::nullopt,
     1,
     "P",
     {std::string(kServerLine) + "added", kLoaded},
     {"Net Prim|1.0.0.1|1", "A|1.0.0.2|2", "B|1.0.0.3|3", "Net Back|1.0.0.4|4"},
     "Net Prim",
     {"Net Prim", "Net Back", "A", "B"}},
    {"primary down, backup answers",
     std::nullopt,
     kTwo,
     1,
     "PB",
     {std::string(kServerLine) + "added", kLoaded},
     {"Primary One|10.0.0.1|5445", "Backup|10.0.0.2|5446"},
     "Primary One",
     {"Primary One", "Backup"}},
    {"an error page from the primary is no directory",
     page("<html><body>Database error</body></html>"),
     kTwo,
     1,
     "PB",
     {std::string(kServerLine) + "added", kLoaded},
     {"Primary One|10.0.0.1|5445", "Backup|10.0.0.2|5446"},
     "Primary One",
     {"Primary One", "Backup"}},
    {"both down at start-up",
     std::nullopt,
     std::nullopt,
     1,
     "PB",
     {kPrevious, kNoServers},
     {},
     "",
     {}},
    {"the eleventh new name is dropped",
     page(records(11)),
     std::nullopt,
     1,
     "P",
     {std::string(kServerLine) + "added", kLoaded},
     {"S1|10.0.0.1|5445", "S2|10.0.0.2|5445", "S3|10.0.0.3|5445", "S4|10.0.0.4|5445",
      "S5|10.0.0.5|5445", "S6|10.0.0.6|5445", "S7|10.0.0.7|5445", "S8|10.0.0.8|5445",
      "S9|10.0.0.9|5445", "S10|10.0.0.10|5445"},
     "S1",
     {"S1", "S2", "S3", "S4", "S5", "S6", "S7", "S8", "S9", "S10"}},
    {"markup is stripped and the page is Windows-1252",
     page("<html>\r\n<head><title>Directory</title></head>\r\n<body><p>ok - Alpha &amp; Co Prim"
          "(1.2.3.4/5445) - B\xE9ta(5.6.7.8/5446)</p></body></html>\r\n"),
     std::nullopt,
     1,
     "P",
     {std::string(kServerLine) + "added", kLoaded},
     {"Alpha & Co Prim|1.2.3.4|5445", "B\xC3\xA9ta|5.6.7.8|5446"},
     "Alpha & Co Prim",
     {"Alpha & Co Prim", "B\xC3\xA9ta"}},
    // Without "(" the name is empty: the entry lands on a free slot and
    // leaves it free. Without "/" the port runs from the start of what is
    // left of the reply (cut to its 10 characters).
    {"records without ( or /",
     page("ok - NoParen/1) - NoSlash(1.2.3.4) - Good(5.6.7.8/9)"),
     std::nullopt,
     1,
     "P",
     {std::string(kServerLine) + "update", kLoaded},
     {"NoSlash|| - NoSlash", "Good|5.6.7.8|9"},
     "NoSlash",
     {"NoSlash", "Good"}},
};

class DirectoryScenario : public testing::TestWithParam<Scenario> {};

TEST_P(DirectoryScenario, Fetches) {
    const Scenario& s = GetParam();
    Directory d;
    if (s.primary) d.http.script(kPrimary, *s.primary);
    if (s.backup) d.http.script(kBackup, *s.backup);
    for (int i = 0; i < s.fetches; ++i) {
        d.directory.fetch();
        d.http.answerAll();
    }
    EXPECT_EQ(d.requests(), s.requests);
    EXPECT_EQ(d.chat, s.chat);
    EXPECT_EQ(d.slotTexts(), s.slots);
    EXPECT_EQ(d.directory.current().name, s.current);
    EXPECT_EQ(d.selector, s.selector);
    EXPECT_EQ(d.selectorShown, s.current);
    EXPECT_EQ(d.directory.retryPending(), s.slots.empty());
    // Every directory server is mirrored into the saved list on each load.
    std::vector<std::string> names;
    for (const std::string& slot : s.slots)
        names.push_back(slot.substr(0, slot.find('|')));
    std::vector<std::string> lastMirror(d.mirrored.end() - static_cast<long>(names.size()),
                                        d.mirrored.end());
    EXPECT_EQ(lastMirror, names);
    EXPECT_EQ(d.pleaseWaitClosed, s.slots.empty() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(, DirectoryScenario, testing::ValuesIn(kScenarios),
                         [](const testing::TestParamInfo<Scenario>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != '\0'; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

TEST(ServerDirectory, BothDownRetriesAPairEvery30SecondsWithoutFurtherLines) {
    Directory d;
    d.directory.fetch();
    d.http.answerAll();
    ASSERT_EQ(d.requests(), "PB");
    const std::vector<std::string> firstLines = d.chat;

    d.clock.advance(ServerDirectory::kRetryMs - 1);
    EXPECT_EQ(d.http.pendingCount(), 0u);
    d.clock.advance(1);
    ASSERT_EQ(d.http.pendingCount(), 1u);
    d.http.answerAll();
    d.clock.advance(ServerDirectory::kRetryMs);
    d.http.answerAll();
    EXPECT_EQ(d.requests(), "PBPBPB");
    EXPECT_EQ(d.chat, firstLines);
    EXPECT_EQ(d.directory.attempts(), 6);

    // The backup comes back: the next retry loads it and the retries end.
    d.http.script(kBackup, kTwo);
    d.clock.advance(ServerDirectory::kRetryMs);
    d.http.answerAll();
    EXPECT_EQ(d.requests(), "PBPBPBPB");
    EXPECT_EQ(d.directory.current().name, "Primary One");
    EXPECT_FALSE(d.directory.retryPending());
    d.clock.advance(10 * ServerDirectory::kRetryMs);
    EXPECT_EQ(d.http.urls.size(), 8u);
}

TEST(ServerDirectory, AsksWithTheCallerAndAFreshlyScrambledPassword) {
    int next = 46;
    Directory d([&next] { return next++; });
    d.directory.fetch();
    d.directory.fetch();
    ASSERT_EQ(d.http.urls.size(), 2u);
    const std::string prefix =
        std::string(kPrimary) + "TRM/server1.php?callername=system&callerpass=";
    for (const std::string& url : d.http.urls) {
        ASSERT_EQ(url.rfind(prefix, 0), 0u) << url;
        EXPECT_EQ(protocol::passdec2(url.substr(prefix.size())), "plover");
    }
    EXPECT_NE(d.http.urls[0], d.http.urls[1]);
}

TEST(ServerDirectory, LoginTakesTheServerFromTheListTheSwitchNames) {
    Directory d;
    d.http.script(kPrimary, kTwo);
    d.directory.fetch();
    d.http.answerAll();

    d.directory.selectorChosen("Backup");
    EXPECT_EQ(d.directory.selectedIndex(), 1);
    EXPECT_EQ(d.directory.takeCurrentForLogin().ip, "10.0.0.2");
    d.directory.stampLastLogin(1'800'000'000 - 1'800'000'000 % 86400);
    EXPECT_EQ(d.directory.directoryList()[1].lastLogin, 1'800'000'000 - 1'800'000'000 % 86400);

    // A name no directory slot has: nothing selected, slot 0 is taken.
    d.directory.selectorChosen("Elsewhere");
    EXPECT_EQ(d.directory.selectedIndex(), -1);
    EXPECT_EQ(d.directory.takeCurrentForLogin().name, "Primary One");

    d.saved[2] = {.name = "My Own", .ip = "192.168.1.5", .port = "6000"};
    d.directory.savedListDoubleClicked(2);
    EXPECT_EQ(d.directory.selectedIndex(), 2);
    EXPECT_EQ(d.selectorShown, "My Own");
    d.directory.setFromDirectory(false);
    const ServerEntry& current = d.directory.takeCurrentForLogin();
    EXPECT_EQ(current.ip + ":" + current.port, "192.168.1.5:6000");
}

TEST(ServerDirectory, AReplyThatOutlivesTheDirectoryIsIgnored) {
    FakeHttpGet http;
    FakeClock clock;
    {
        ServerDirectory directory(http, clock, kPrimary, kBackup, {});
        directory.fetch();
    }
    ASSERT_EQ(http.pendingCount(), 1u);
    http.respond(kTwo); // must not touch the gone directory
}

TEST(ServerDirectory, LoggedInPlayersAreNotAskedToLogIn) {
    Directory d;
    d.loggedIn = true;
    d.http.script(kPrimary, kTwo);
    d.directory.fetch();
    d.http.answerAll();
    EXPECT_EQ(d.chat, std::vector<std::string>{std::string(kServerLine) + "added"});
    EXPECT_EQ(d.labels, (std::vector<std::string>{"Decrypt", "Save Servers", "Load Servers"}));
}

} // namespace
} // namespace tarmacia::settings
