#include "races/hosts_redirect.h"

#include "platform/fake/fake_system.h"

#include <gtest/gtest.h>

#include <string>

namespace tarmacia::races {
namespace {

using platform::fake::FakeHostsFile;

// "@" in an expected file stands for the address the entry points at.
std::string expand(std::string text, const std::string& address) {
    for (std::size_t at; (at = text.find('@')) != std::string::npos;)
        text.replace(at, 1, address);
    return text;
}

struct TwoRaces {
    const char* name;
    const char* before;   // nullptr: no HOSTS file yet
    const char* expected; // after a race, and again after it ended
};

class HostsRedirectRaces : public ::testing::TestWithParam<TwoRaces> {};

TEST_P(HostsRedirectRaces, KeepsTheUserLinesAcrossTwoRaces) {
    const TwoRaces& c = GetParam();
    FakeHostsFile hosts;
    hosts.file = "/etc/hosts";
    if (c.before) hosts.setContent(c.before);
    HostsRedirect redirect(hosts);

    for (const std::string host : {"10.0.0.5", "192.168.1.20"}) {
        HostsSetup joined = redirect.ipsetup(host);
        EXPECT_TRUE(joined.inPlace) << host;
        EXPECT_EQ(hosts.content(), expand(c.expected, host)) << host;

        HostsSetup ended = redirect.restoreLoopback();
        EXPECT_TRUE(ended.inPlace) << host;
        EXPECT_EQ(hosts.content(), expand(c.expected, "127.0.0.1")) << host;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, HostsRedirectRaces,
    ::testing::Values(
        TwoRaces{"NoFile", nullptr, "#tarmacia setup\n@ tarmacia\n"},
        TwoRaces{"Empty", "", "#tarmacia setup\n@ tarmacia\n"},
        TwoRaces{"UserEntries", "127.0.0.1 localhost\n::1 localhost ip6-localhost\n",
                 "127.0.0.1 localhost\n::1 localhost ip6-localhost\n#tarmacia setup\n@ tarmacia\n"},
        TwoRaces{
            "Crlf", "127.0.0.1 localhost\r\n# my NAS\r\n10.1.1.1 nas\r\n",
            "127.0.0.1 localhost\r\n# my NAS\r\n10.1.1.1 nas\r\n#tarmacia setup\r\n@ tarmacia\r\n"},
        TwoRaces{"NoTrailingLineBreak", "127.0.0.1 localhost",
                 "127.0.0.1 localhost\n#tarmacia setup\n@ tarmacia\n"},
        TwoRaces{"MarkerInTheMiddle",
                 "127.0.0.1 localhost\n#tarmacia setup\n1.2.3.4 tarmacia\n10.1.1.1 nas\n",
                 "127.0.0.1 localhost\n#tarmacia setup\n@ tarmacia\n10.1.1.1 nas\n"},
        TwoRaces{"StaleSecondMarker",
                 "#tarmacia setup\r\n1.2.3.4  tarmacia \r\n127.0.0.1 localhost\r\n"
                 "#tarmacia setup\r\n5.6.7.8 tarmacia\r\n10.1.1.1 nas\r\n",
                 "#tarmacia setup\r\n@ tarmacia\r\n127.0.0.1 localhost\r\n10.1.1.1 nas\r\n"},
        // An older client wrote " tarmacia" when the lobby gave no address.
        TwoRaces{"EntryWithoutAddress", "#tarmacia setup\n tarmacia\n127.0.0.1 localhost\n",
                 "#tarmacia setup\n@ tarmacia\n127.0.0.1 localhost\n"},
        // The line after the marker is the user's when it is not our entry.
        TwoRaces{"UserLineAfterMarker",
                 "#tarmacia setup\n10.1.1.1 nas tarmacia\n127.0.0.1 localhost",
                 "#tarmacia setup\n@ tarmacia\n10.1.1.1 nas tarmacia\n127.0.0.1 localhost"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HostsRedirect, BacksUpTheUserFileOnceAndNeverOverwritesIt) {
    FakeHostsFile hosts;
    hosts.file = "/etc/hosts";
    const std::string mine = "127.0.0.1 localhost\n10.1.1.1 nas\n";
    hosts.setContent(mine);
    HostsRedirect redirect(hosts);

    EXPECT_TRUE(redirect.ipsetup("10.0.0.5").backupMade);
    EXPECT_EQ(hosts.files["/etc/hosts.bak"], mine);

    // Between races the user edits the file and even removes our lines.
    hosts.setContent("127.0.0.1 localhost\n");
    EXPECT_FALSE(redirect.ipsetup("10.0.0.6").backupMade);
    EXPECT_TRUE(redirect.restoreLoopback().inPlace);
    EXPECT_EQ(hosts.files["/etc/hosts.bak"], mine);
}

TEST(HostsRedirect, NoBackupOfAFileThatAlreadyHoldsOurLines) {
    FakeHostsFile hosts;
    hosts.file = "/etc/hosts";
    hosts.setContent("#tarmacia setup\n127.0.0.1 tarmacia\n");
    HostsRedirect redirect(hosts);
    EXPECT_FALSE(redirect.ipsetup("10.0.0.5").backupMade);
    EXPECT_FALSE(hosts.exists("/etc/hosts.bak"));
}

TEST(HostsRedirect, AFailedBackupDoesNotStopTheRace) {
    FakeHostsFile hosts;
    hosts.setContent("127.0.0.1 localhost\n");
    hosts.failCopy = true;
    HostsSetup result = HostsRedirect(hosts).ipsetup("10.0.0.5");
    EXPECT_TRUE(result.inPlace);
    EXPECT_FALSE(result.backupMade);
    EXPECT_NE(result.note.find(".bak"), std::string::npos);
}

struct Failure {
    const char* name;
    void (*arrange)(FakeHostsFile&);
};

class HostsRedirectFailure : public ::testing::TestWithParam<Failure> {};

TEST_P(HostsRedirectFailure, LeavesTheFileAndReportsTheError) {
    FakeHostsFile hosts;
    const std::string mine = "#tarmacia setup\n127.0.0.1 tarmacia\n10.1.1.1 nas\n";
    hosts.setContent(mine);
    hosts.error = "Permission denied";
    GetParam().arrange(hosts);

    HostsSetup result = HostsRedirect(hosts).ipsetup("10.0.0.5");
    EXPECT_FALSE(result.inPlace);
    EXPECT_EQ(result.error, "Permission denied");
    EXPECT_FALSE(result.unableToCreate());
    EXPECT_EQ(hosts.content(), mine);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HostsRedirectFailure,
    ::testing::Values(Failure{"ReadOnly", [](FakeHostsFile& h) { h.rewritable = false; }},
                      Failure{"RewriteFails", [](FakeHostsFile& h) { h.failRewrite = true; }},
                      // Never rewrite what could not be read: the user's lines would go.
                      Failure{"Unreadable", [](FakeHostsFile& h) { h.failRead = true; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A rewrite that claims success but leaves nothing (a file system that drops
// writes, a second program putting its own file back).
class ForgetfulHosts : public FakeHostsFile {
public:
    bool rewrite(const std::string&) override { return true; }
};

TEST(HostsRedirect, TheEntryCountsOnlyWhenReadBack) {
    ForgetfulHosts hosts;
    hosts.setContent("127.0.0.1 localhost\n#tarmacia setup\n127.0.0.1 tarmacia\n");
    HostsSetup result = HostsRedirect(hosts).ipsetup("10.0.0.5");
    EXPECT_FALSE(result.inPlace);
    EXPECT_TRUE(result.error.empty());
    EXPECT_TRUE(result.unableToCreate());
}

TEST(HostsRedirect, OnlyALiteralAddressIsWritten) {
    struct Case {
        std::string address;
        bool accepted;
    };
    for (const Case& c :
         {Case{"10.0.0.5", true}, Case{"::1", true}, Case{"fe80::1", true}, Case{"", false},
          Case{"racehost.example", false}, Case{"1.2.3.4\n5.6.7.8 evil", false},
          Case{"1.2.3.4 evil", false}, Case{"1.2.3.4\r", false}}) {
        FakeHostsFile hosts;
        hosts.setContent("127.0.0.1 localhost\n");
        HostsSetup result = HostsRedirect(hosts).ipsetup(c.address);
        EXPECT_EQ(result.inPlace, c.accepted) << c.address;
        EXPECT_EQ(hosts.rewrites, c.accepted ? 1 : 0) << c.address;
        if (!c.accepted) {
            EXPECT_TRUE(result.unableToCreate()) << c.address;
            EXPECT_EQ(hosts.content(), "127.0.0.1 localhost\n");
        }
    }
}

TEST(HostsRedirect, AnEntryAlreadyInPlaceIsNotRewritten) {
    FakeHostsFile hosts;
    hosts.setContent("127.0.0.1 localhost\n#tarmacia setup\n127.0.0.1 tarmacia\n");
    EXPECT_TRUE(HostsRedirect(hosts).restoreLoopback().inPlace);
    EXPECT_EQ(hosts.rewrites, 0);
}

} // namespace
} // namespace tarmacia::races
