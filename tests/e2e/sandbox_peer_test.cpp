// The sandbox peer answers the lobby protocol; the client's end-to-end tests
// and the "try it" run lean on it, so these tests hold it to exact bytes,
// driven from plain sockets.

#include "protocol/passenc.h"
#include "sandbox/lobby.h"
#include "sandbox/peer.h"
#include "sandbox/scenario.h"
#include "sandbox/scenario_player.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QTcpSocket>

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

// Failures show wire bytes in hex; 0xAC and the high bytes are not printable.
static void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toHex(' ').toStdString() << '"';
}

namespace {

constexpr int kTimeoutMs = 5000;
const QByteArray kSep("\xAC");

QByteArray loginMessage(const QByteArray& name, const std::string& password,
                        const QByteArray& version = "v5.42") {
    const std::string scrambled =
        tarmacia::protocol::passenc(password, tarmacia::protocol::randomPrefixSource());
    return "~1~" + name + kSep + QByteArray::fromStdString(scrambled) + kSep + version;
}

QByteArray welcome(const QByteArray& taggedName) {
    return "~2~Welcome to Tarmacia - v5.43 - Sandbox lobby - logged in as " + kSep + taggedName;
}

class RawClient {
public:
    explicit RawClient(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket,
                         [this] { bytes += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        waitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }
    bool waitFor(const std::function<bool()>& condition) {
        return tarmacia::test::waitFor(condition, kTimeoutMs);
    }
    bool waitForBytes(const QByteArray& needle) {
        return waitFor([&] { return bytes.contains(needle); });
    }
    void send(const QByteArray& message) {
        socket.write(message);
        socket.flush();
    }

    QTcpSocket socket;
    QByteArray bytes;
};

struct PeerLobby : ::testing::Test {
    PeerLobby() { tarmacia::test::ensureQtApp(); }
    void SetUp() override {
        ASSERT_TRUE(lobby.listen(QHostAddress::LocalHost)) << lobby.errorString().toStdString();
    }

    std::unique_ptr<RawClient> connectClient() {
        const int expected = lobby.connectionCount() + 1;
        auto client = std::make_unique<RawClient>(lobby.serverPort());
        EXPECT_TRUE(lobby.waitForConnections(expected, kTimeoutMs));
        return client;
    }
    // Logs in on a new connection and forgets what the login brought.
    std::unique_ptr<RawClient> loggedIn(const QByteArray& name,
                                        const std::string& password = "pw") {
        auto client = connectClient();
        const int connection = lobby.connectionCount() - 1;
        client->send(loginMessage(name, password));
        EXPECT_TRUE(peer.waitForLogin(connection, kTimeoutMs)) << name.toStdString();
        EXPECT_TRUE(client->waitForBytes("~5~"));
        client->bytes.clear();
        return client;
    }

    sandbox::Lobby lobby;
    sandbox::Peer peer{lobby};
};

TEST(SandboxPeerSplit, CutsReadsAsTheClientDoes) {
    struct Case {
        QByteArray read;
        std::vector<std::pair<QByteArray, QByteArray>> messages;
    };
    const Case cases[] = {
        {"~2~hello~3~abc\xAC"
         "def",
         {{"~2~", "hello"},
          {"~3~", "abc\xAC"
                  "def"}}},
        {"~5~~6~xyz", {{"~5~", ""}, {"~6~", "xyz"}}},
        {"~5~", {{"~5~", ""}}},
        // A rich-text chat line takes the rest of its read.
        {"~2~{\\rtf1 a~b~c}~3~x", {{"~2~", "{\\rtf1 a~b~c}~3~x"}}},
        {"lo~3~abc", {{"~3~", "abc"}}},
        {QByteArray("~2~ab\0~3~cd", 11), {{"~2~", "ab"}}},
        {"~2~x~o~y", {{"~2~", "x"}, {"~o~", "y"}}},
        {"no code", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.read.toStdString());
        std::vector<std::pair<QByteArray, QByteArray>> got;
        for (const sandbox::LobbyMessage& m : sandbox::splitMessages(c.read))
            got.emplace_back(m.code, m.payload);
        EXPECT_EQ(got, c.messages);
    }
}

TEST_F(PeerLobby, AcceptedLoginGetsWelcomeUserListAndRacesAndTheOthersTheNewList) {
    peer.addPlayer(QStringLiteral("Bob"), QStringLiteral("fr"));
    peer.addAccount(QStringLiteral("Ann"), QStringLiteral("s\u00E9cret"), false,
                    QStringLiteral("gb"));
    peer.setOpen(true);
    sandbox::HostedRace race;
    race.host = QStringLiteral("Bob");
    race.flag = QStringLiteral("fr");
    race.title = QStringLiteral("Caf\u00E9 cup - 3 laps");
    race.game = QStringLiteral("HS");
    race.maxRacers = 6;
    race.detailShort = QStringLiteral("3 laps");
    race.detailLong = QStringLiteral("No ghosting");
    race.extra = QStringLiteral("x");
    race.racers = {QStringLiteral("Bob"), QStringLiteral("Eve")};
    EXPECT_EQ(peer.hostRace(race), 0);

    auto ann = connectClient();
    ann->send(loginMessage("Ann", "s\xC3\xA9"
                                  "cret"));
    const QByteArray races = "~5~~6~2/6" + kSep + "[fr]Bob" + kSep + kSep + "Caf\xE9 cup - 3 laps" +
                             kSep + "HS" + kSep + "3 laps" + kSep + "No ghosting" + kSep + kSep +
                             "x";
    ASSERT_TRUE(ann->waitForBytes(races));
    EXPECT_EQ(ann->bytes, welcome("[gb]Ann") + "~3~~3~[fr]Bob~3~[gb]Ann" + races);
    EXPECT_EQ(peer.playerName(0), QStringLiteral("Ann"));

    // A newcomer (open lobby: no account) is listed after Ann, for both.
    ann->bytes.clear();
    auto cat = connectClient();
    cat->send(loginMessage("Cat", "anything"));
    const QByteArray list = "~3~~3~[fr]Bob~3~[gb]Ann~3~[df]Cat";
    ASSERT_TRUE(cat->waitForBytes(races));
    EXPECT_EQ(cat->bytes, welcome("[df]Cat") + list + races);
    ASSERT_TRUE(ann->waitForBytes(list));
    EXPECT_EQ(ann->bytes, list);

    // Cat leaves: Ann gets the list without Cat.
    ann->bytes.clear();
    cat->socket.disconnectFromHost();
    ASSERT_TRUE(ann->waitForBytes("~3~~3~[fr]Bob~3~[gb]Ann"));
    EXPECT_EQ(ann->bytes, QByteArray("~3~~3~[fr]Bob~3~[gb]Ann"));
    EXPECT_EQ(peer.loggedInCount(), 1);
}

TEST_F(PeerLobby, LoginOutcomes) {
    peer.addAccount(QStringLiteral("Ann"), QStringLiteral("pw"));
    peer.addAccount(QStringLiteral("Dee"), QStringLiteral("root"), true, QStringLiteral("gb"));
    peer.addPlayer(QStringLiteral("Bob"));
    struct Case {
        const char* what;
        bool open;
        QByteArray login;
        QByteArray reply; // the whole of it for a refusal, the start for a welcome
        bool accepted;
    };
    const Case cases[] = {
        {"account", false, loginMessage("Ann", "pw"), welcome("[df]Ann"), true},
        {"admin", false, loginMessage("Dee", "root"),
         "~2~Welcome to Tarmacia - v5.43 - Sandbox lobby - logged in .000 as admin " + kSep +
             "[gb]Dee",
         true},
        {"old client", false, loginMessage("Ann", "pw", "v5.41"), "~9~Incorrect Version of TRM",
         false},
        {"no version", false, "~1~Ann" + kSep + "147148", "~9~Incorrect Version of TRM", false},
        {"wrong password", false, loginMessage("Ann", "pW"), "~9~Incorrect Password", false},
        {"wrong password, open", true, loginMessage("Ann", "x"), "~9~Incorrect Password", false},
        {"unknown", false, loginMessage("Zed", "pw"), "~9~Unknown User Name", false},
        {"unknown, open", true, loginMessage("Zed", "pw"), welcome("[df]Zed"), true},
        {"a listed name", true, loginMessage("Bob", "pw"), "~9~User Already Logged In", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        peer.setOpen(c.open);
        auto client = connectClient();
        const int connection = lobby.connectionCount() - 1;
        client->send(c.login);
        ASSERT_TRUE(client->waitForBytes(c.reply));
        if (c.accepted) {
            EXPECT_TRUE(client->bytes.startsWith(c.reply));
            EXPECT_TRUE(peer.isLoggedIn(connection));
        } else {
            EXPECT_EQ(client->bytes, c.reply);
            EXPECT_FALSE(peer.isLoggedIn(connection));
        }
        client->socket.disconnectFromHost();
        ASSERT_TRUE(lobby.waitForDisconnected(connection, kTimeoutMs));
    }
}

TEST_F(PeerLobby, RelaysChatToEveryoneAndWhispersToTheTargetOnly) {
    peer.setOpen(true);
    auto ann = loggedIn("Ann");
    auto bob = loggedIn("Bob");
    auto cat = loggedIn("Cat");
    auto stranger = connectClient(); // connected, never logged in
    // The earlier players hear of the later ones first.
    ASSERT_TRUE(ann->waitForBytes("~3~[df]Cat"));
    ASSERT_TRUE(bob->waitForBytes("~3~[df]Cat"));
    ann->bytes.clear();
    bob->bytes.clear();

    // Rich text with a separator and high bytes goes round byte for byte.
    const QByteArray chat("~2~{\\rtf1\\ansi\\ansicpg1252 [df]Ann: caf\\'e9 \xAC \x80}");
    ann->send(chat);
    for (RawClient* client : {ann.get(), bob.get(), cat.get()}) {
        ASSERT_TRUE(client->waitForBytes(chat));
        EXPECT_EQ(client->bytes, chat);
        client->bytes.clear();
    }
    stranger->send("~2~not logged in");
    ASSERT_TRUE(peer.waitForMessage(3, "~2~", kTimeoutMs));

    // The target is the client's user list entry, flag and all.
    ann->send("~W~[df]Bob" + kSep + "psst\x80");
    ASSERT_TRUE(bob->waitForBytes("psst"));
    // A chat line as a marker: whatever reached the others came before it.
    peer.say(QStringLiteral("Eve"), QStringLiteral("marker"));
    const QByteArray marker("~2~[df]Eve: marker");
    for (RawClient* client : {ann.get(), bob.get(), cat.get()})
        ASSERT_TRUE(client->waitForBytes(marker));
    EXPECT_EQ(bob->bytes, "~W~[df]Ann" + kSep + "psst\x80" + marker);
    EXPECT_EQ(ann->bytes, marker);
    EXPECT_EQ(cat->bytes, marker);
    EXPECT_TRUE(stranger->bytes.isEmpty());
}

TEST_F(PeerLobby, AsksAndRecordsWhatComesBack) {
    peer.setOpen(true);
    auto ann = loggedIn("Ann");
    auto bob = loggedIn("Bob");
    ASSERT_TRUE(ann->waitForBytes("~3~[df]Bob"));
    ann->bytes.clear();

    // The security question travels scrambled.
    ASSERT_TRUE(peer.askSecurity(0, QStringLiteral("First car \u00E9?")));
    ASSERT_TRUE(ann->waitFor([&] { return ann->bytes.startsWith("~Y~"); }));
    ASSERT_TRUE(ann->waitFor([&] { return ann->bytes.size() == 3 + 3 * (2 + 15); }));
    EXPECT_EQ(tarmacia::protocol::passdec2(ann->bytes.mid(3).toStdString()), "sq\xC2\xAC"
                                                                             "First car \xC3\xA9?");
    ann->send("~Y~Ann" + kSep + "Porsche \xE9");
    ASSERT_TRUE(peer.waitForMessage(0, "~Y~", kTimeoutMs));
    ASSERT_TRUE(peer.securityAnswer(0).has_value());
    EXPECT_EQ(peer.securityAnswer(0)->name, QStringLiteral("Ann"));
    EXPECT_EQ(peer.securityAnswer(0)->answer, QStringLiteral("Porsche \u00E9"));

    // The idle check, asked by hand and by the timer, and its answer.
    ann->bytes.clear();
    ASSERT_TRUE(peer.askIdle(0));
    ASSERT_TRUE(ann->waitForBytes("~H~"));
    EXPECT_EQ(peer.idleAnswers(0), 0);
    ann->send("~H~");
    ASSERT_TRUE(ann->waitFor([&] { return peer.idleAnswers(0) == 1; }));
    EXPECT_EQ(peer.idleChecksSent(0), 1);
    peer.setIdleInterval(5);
    ASSERT_TRUE(bob->waitFor([&] { return bob->bytes.count("~H~") >= 2; }));
    peer.setIdleInterval(0);

    // Keep-alive and back-from-race are only recorded; nothing goes back.
    ann->bytes.clear();
    ann->send("~O~Ann");
    ASSERT_TRUE(peer.waitForMessage(0, "~O~", kTimeoutMs));
    ann->send("~X~");
    ASSERT_TRUE(peer.waitForMessage(0, "~X~", kTimeoutMs));
    EXPECT_EQ(peer.lastKeepAlive(0), QStringLiteral("Ann"));
    EXPECT_TRUE(peer.lastKeepAliveAtMs(0).has_value());
    EXPECT_EQ(peer.backFromRaceCount(0), 1);

    // A race suspension keeps the login; any other reason ends it.
    ASSERT_TRUE(peer.logout(0, QStringLiteral("Suspend")));
    EXPECT_TRUE(peer.isLoggedIn(0));
    bob->bytes.clear();
    ASSERT_TRUE(peer.logout(0, QStringLiteral("Pit Closed by Administrator")));
    ASSERT_TRUE(ann->waitForBytes("~9~Pit Closed by Administrator"));
    // Late idle checks of the timer aside.
    EXPECT_EQ(QByteArray(ann->bytes).replace("~H~", ""),
              QByteArray("~9~Suspend~9~Pit Closed by Administrator"));
    EXPECT_FALSE(peer.isLoggedIn(0));
    ASSERT_TRUE(bob->waitForBytes("~3~~3~[df]Bob"));
    EXPECT_EQ(QByteArray(bob->bytes).replace("~H~", ""), QByteArray("~3~~3~[df]Bob"));
}

TEST_F(PeerLobby, AnswersRacersOfARaceBySlot) {
    peer.setOpen(true);
    sandbox::HostedRace first;
    first.host = QStringLiteral("Ann");
    first.title = QStringLiteral("One");
    sandbox::HostedRace second = first;
    second.racers = {QStringLiteral("Bob"), QStringLiteral("Zo\u00EB")};
    peer.hostRace(first);
    peer.hostRace(second);
    auto cat = loggedIn("Cat");

    struct Case {
        QByteArray ask;
        QByteArray answer;
    };
    const Case cases[] = {
        {"~R~1", "~R~Bob, Zo\xEB"}, {"~R~0", "~R~Ann"}, {"~R~2", "~R~"}, {"~R~x", "~R~"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ask.toStdString());
        cat->bytes.clear();
        cat->send(c.ask);
        ASSERT_TRUE(cat->waitForBytes(c.answer));
        EXPECT_EQ(cat->bytes, c.answer);
    }
}

TEST(SandboxPeerScenario, ReadsLobbyLines) {
    const sandbox::Scenario scenario =
        sandbox::parseScenario("open\n"
                               "idle 60000\n"
                               "player Ann gb\n"
                               "player Bob\n"
                               "account Dee s\xC3\xA9kret admin nl\n"
                               "race Ann,Bob HS 6 Sunday cup - 3 laps | 3 laps | No ghosting\n"
                               "race Cat PU 8 Quick one\n"
                               "after 10 say Ann hello   all\n"
                               // Bad lines, by number from 9.
                               "player\n"                // 9 no name
                               "player A~b gb\n"         // 10 a code inside a name
                               "player Eve g-b\n"        // 11 not a flag
                               "idle soon\n"             // 12
                               "race Ann PU x T\n"       // 13 max not a number
                               "race Ann PU 8\n"         // 14 no title
                               "race Ann PU 8 a|b|c|d\n" // 15 too many parts
                               "on-connect say Ann hi\n" // 16 say needs the lobby's clock
                               "after 5 say Ann\n"       // 17 nothing to say
                               "open now\n");            // 18
    std::vector<int> problemLines;
    for (const auto& problem : scenario.problems)
        problemLines.push_back(problem.line);
    EXPECT_EQ(problemLines, (std::vector<int>{9, 10, 11, 12, 13, 14, 15, 16, 17, 18}));

    EXPECT_TRUE(scenario.needsPeer);
    EXPECT_TRUE(scenario.open);
    EXPECT_EQ(scenario.idleMs, 60000);
    ASSERT_EQ(scenario.players.size(), 2u);
    EXPECT_EQ(scenario.players[0].flag, QStringLiteral("gb"));
    EXPECT_EQ(scenario.players[1].flag, QStringLiteral("df"));
    ASSERT_EQ(scenario.accounts.size(), 1u);
    EXPECT_EQ(scenario.accounts[0].password, QStringLiteral("s\u00E9kret"));
    EXPECT_EQ(scenario.accounts[0].flag, QStringLiteral("nl"));
    EXPECT_TRUE(scenario.accounts[0].admin);
    ASSERT_EQ(scenario.races.size(), 2u);
    const sandbox::HostedRace& race = scenario.races[0];
    EXPECT_EQ(race.host, QStringLiteral("Ann"));
    EXPECT_EQ(race.flag, QStringLiteral("gb")); // from the player line
    EXPECT_EQ(race.racers, (QStringList{QStringLiteral("Ann"), QStringLiteral("Bob")}));
    EXPECT_EQ(race.game, QStringLiteral("HS"));
    EXPECT_EQ(race.maxRacers, 6);
    EXPECT_EQ(race.title, QStringLiteral("Sunday cup - 3 laps"));
    EXPECT_EQ(race.detailShort, QStringLiteral("3 laps"));
    EXPECT_EQ(race.detailLong, QStringLiteral("No ghosting"));
    EXPECT_EQ(scenario.races[1].flag, QStringLiteral("df"));
    ASSERT_EQ(scenario.steps.size(), 1u);
    EXPECT_EQ(scenario.steps[0].action, sandbox::ScenarioStep::Action::Say);
    EXPECT_EQ(scenario.steps[0].speaker, QStringLiteral("Ann"));
    EXPECT_EQ(scenario.steps[0].text, QStringLiteral("hello   all"));

    // A scenario of bytes only leaves the peer off.
    EXPECT_FALSE(sandbox::parseScenario("on-connect send ~2~hi\n").needsPeer);
}

TEST_F(PeerLobby, TryScenarioGreetsANewcomerWithTheEveningsLobby) {
    sandbox::Scenario scenario = sandbox::loadScenario(
        QStringLiteral(TARMACIA_SOURCE_DIR "/tools/sandbox/scenarios/try.scenario"));
    ASSERT_TRUE(scenario.problems.empty()) << scenario.problems.front().message.toStdString();
    ASSERT_TRUE(scenario.needsPeer);
    // The evening, a hundred times faster.
    for (sandbox::ScenarioStep& step : scenario.steps)
        step.delayMs /= 100;
    sandbox::ScenarioPlayer player(lobby, peer, scenario);

    auto guest = connectClient();
    ASSERT_TRUE(guest->waitForBytes("~T~20:15:00"));
    guest->send(loginMessage("Guest", "whatever"));
    const QByteArray users = "~3~~3~[gb]Ann~3~[fr]Bob~3~[de]Cat~3~[df]Guest";
    const QByteArray races = "~5~~6~2/8" + kSep + "[gb]Ann" + kSep + kSep + "Sunday cup - 3 laps" +
                             kSep + "PU" + kSep + "3 laps" + kSep +
                             "Porsche 911 only, no ghosting" + kSep + kSep;
    ASSERT_TRUE(guest->waitForBytes(races));
    const QByteArray greeting = "~T~20:15:00" + welcome("[df]Guest") + users + races;
    EXPECT_EQ(guest->bytes.left(greeting.size()), greeting);

    // The chat runs from the login, on the lobby's clock.
    const QByteArray chat = "~2~[gb]Ann: evening all"
                            "~2~[fr]Bob: anyone up for a race? <12> Caf\xE9 opens at 9 \x80"
                            "~2~[de]Cat: the lap times are on www.example.org/laps";
    ASSERT_TRUE(guest->waitForBytes(chat));
    EXPECT_TRUE(guest->bytes.endsWith(chat));
}

TEST_F(PeerLobby, ScenarioChatReachesEveryLoggedInClientOnceOnTheLobbysClock) {
    sandbox::Scenario scenario = sandbox::parseScenario("open\n"
                                                        "player Ann gb\n"
                                                        "after 0 say Ann first\n"
                                                        "every 40 say Zed tick\n");
    ASSERT_TRUE(scenario.problems.empty());
    sandbox::ScenarioPlayer player(lobby, peer, scenario);

    auto bob = connectClient();
    auto stranger = connectClient(); // never logs in: hears nothing
    bob->send(loginMessage("Bob", "x"));
    ASSERT_TRUE(bob->waitForBytes("~2~[gb]Ann: first"));
    auto cat = loggedIn("Cat"); // came after "first" was said
    ASSERT_TRUE(cat->waitForBytes("~2~[df]Zed: tick"));
    ASSERT_TRUE(bob->waitFor([&] { return bob->bytes.count("~2~[df]Zed: tick") >= 2; }));

    EXPECT_EQ(bob->bytes.count("~2~[gb]Ann: first"), 1);
    EXPECT_FALSE(cat->bytes.contains("first"));
    EXPECT_TRUE(stranger->bytes.isEmpty());
}

} // namespace
