// Races through the sandbox peer, driven from plain sockets: the client's own
// creation message is hosted and announced, joins get the host's address or
// a refusal, and the lobby can start and close the race.

#include "common/cp1252.h"
#include "protocol/passenc.h"
#include "races/race_creation.h"
#include "sandbox/lobby.h"
#include "sandbox/peer.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QTcpSocket>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

static void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toHex(' ').toStdString() << '"';
}

namespace {

constexpr int kTimeoutMs = 5000;
const QByteArray kSep("\xAC");

class RawClient {
public:
    explicit RawClient(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket,
                         [this] { bytes += socket.readAll(); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        tarmacia::test::waitFor(
            [this] { return socket.state() == QAbstractSocket::ConnectedState; }, kTimeoutMs);
    }
    bool waitForBytes(const QByteArray& needle) {
        return tarmacia::test::waitFor([&] { return bytes.contains(needle); }, kTimeoutMs);
    }
    void send(const QByteArray& message) {
        socket.write(message);
        socket.flush();
    }

    QTcpSocket socket;
    QByteArray bytes;
};

// The creation exactly as the client builds it, on the wire.
QByteArray creation(const tarmacia::races::CreationRequest& request) {
    return QByteArray::fromStdString(
        tarmacia::cp1252::encode(tarmacia::races::creationMessage(request)));
}

struct RaceLobby : ::testing::Test {
    RaceLobby() { tarmacia::test::ensureQtApp(); }
    void SetUp() override {
        ASSERT_TRUE(lobby.listen(QHostAddress::LocalHost)) << lobby.errorString().toStdString();
        peer.setOpen(true);
    }

    std::unique_ptr<RawClient> loggedIn(const QByteArray& name) {
        const int connection = lobby.connectionCount();
        auto client = std::make_unique<RawClient>(lobby.serverPort());
        EXPECT_TRUE(lobby.waitForConnections(connection + 1, kTimeoutMs));
        const std::string scrambled =
            tarmacia::protocol::passenc("pw", tarmacia::protocol::randomPrefixSource());
        client->send("~1~" + name + kSep + QByteArray::fromStdString(scrambled) + kSep + "v5.42");
        EXPECT_TRUE(peer.waitForLogin(connection, kTimeoutMs)) << name.toStdString();
        EXPECT_TRUE(client->waitForBytes("~5~"));
        return client;
    }
    // Every client's bytes forgotten once the others' logins have arrived.
    void settle(const std::vector<RawClient*>& clients, const QByteArray& lastName) {
        for (RawClient* c : clients)
            EXPECT_TRUE(c->waitForBytes("~3~[df]" + lastName));
        for (RawClient* c : clients)
            c->bytes.clear();
    }

    sandbox::Lobby lobby;
    sandbox::Peer peer{lobby};
};

TEST_F(RaceLobby, ACreatedRaceIsAnnouncedToEveryoneAndJoinersGetTheHost) {
    auto ann = loggedIn("Ann");
    auto bob = loggedIn("Bob");
    settle({ann.get(), bob.get()}, "Bob");

    ann->send(creation({"Mod5", "Caf\xC3\xA9 run", "Stock CD off", 4, "HS", "10.0.0.2"}));
    const QByteArray list = "~5~~6~1/4" + kSep + "[df]Ann" + kSep + kSep + "Caf\xE9 run" + kSep +
                            "HS" + kSep + "Stock CD off" + kSep + "Mod5" + kSep + kSep;
    ASSERT_TRUE(bob->waitForBytes(list));
    ASSERT_TRUE(ann->waitForBytes(list));
    EXPECT_EQ(bob->bytes, list);
    const auto created = peer.creationOf(0);
    ASSERT_TRUE(created);
    EXPECT_EQ(created->host, 0);
    EXPECT_EQ(created->raceType, QStringLiteral("Stock CD off"));
    ann->bytes.clear();
    bob->bytes.clear();

    bob->send("~J~0" + kSep + "1");
    const QByteArray answer = "~K~10.0.0.2" + kSep + "Mod5~9~Suspend";
    ASSERT_TRUE(bob->waitForBytes(answer));
    EXPECT_TRUE(bob->bytes.startsWith(answer)) << bob->bytes.toStdString();
    // The occupancy goes up for everyone.
    EXPECT_TRUE(ann->waitForBytes("~6~2/4" + kSep));
    EXPECT_EQ(peer.creationOf(0)->joined, std::vector<int>{1});
}

TEST_F(RaceLobby, WithoutAnAddressJoinersAreSentToLoopback) {
    auto ann = loggedIn("Ann");
    auto bob = loggedIn("Bob");
    settle({ann.get(), bob.get()}, "Bob");
    ann->send(creation({"Default", "Ann's Game", "Stock CD Off", 8, "PU", ""}));
    ASSERT_TRUE(bob->waitForBytes("~6~1/8"));
    bob->send("~J~0" + kSep + "0");
    EXPECT_TRUE(bob->waitForBytes("~K~127.0.0.1" + kSep + "Default~9~Suspend"));
}

TEST_F(RaceLobby, AFullUnknownOrRepeatedJoinIsRefused) {
    auto ann = loggedIn("Ann");
    auto bob = loggedIn("Bob");
    auto cat = loggedIn("Cat");
    settle({ann.get(), bob.get(), cat.get()}, "Cat");
    ann->send(creation({"Default", "Trio", "Single Race", 3, "HP", ""}));
    ASSERT_TRUE(cat->waitForBytes("~6~1/3"));
    bob->send("~J~0" + kSep + "0");
    ASSERT_TRUE(bob->waitForBytes("~9~Suspend"));
    ASSERT_TRUE(cat->waitForBytes("~6~2/3"));
    cat->send(creation({"Default", "Solo", "Single Race", 1, "HP", ""}));
    ASSERT_TRUE(bob->waitForBytes("~6~1/1"));
    ASSERT_TRUE(ann->waitForBytes("~6~1/1"));

    struct Case {
        const char* why;
        RawClient* who;
        QByteArray join;
    };
    const Case cases[] = {
        {"full", bob.get(), "~J~1" + kSep + "0"},
        {"unknown slot", cat.get(), "~J~7" + kSep + "0"},
        {"not a number", cat.get(), "~J~x" + kSep + "0"},
        {"already in", bob.get(), "~J~0" + kSep + "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        c.who->bytes.clear();
        c.who->send(c.join);
        ASSERT_TRUE(c.who->waitForBytes("~F~"));
        EXPECT_EQ(c.who->bytes, "~F~");
    }
    EXPECT_EQ(peer.races().at(0).racers, (QStringList{"Ann", "Bob"}));
    EXPECT_EQ(peer.races().at(1).racers, (QStringList{"Cat"}));
}

TEST_F(RaceLobby, StartTellsTheHostAndCloseEndsTheRaceForEveryoneInIt) {
    auto ann = loggedIn("Ann");
    auto bob = loggedIn("Bob");
    auto cat = loggedIn("Cat");
    settle({ann.get(), bob.get(), cat.get()}, "Cat");
    ann->send(creation({"Default", "Ann's Game", "Stock CD Off", 8, "PU", ""}));
    ASSERT_TRUE(bob->waitForBytes("~6~1/8"));
    bob->send("~J~0" + kSep + "0");
    ASSERT_TRUE(bob->waitForBytes("~9~Suspend"));
    ASSERT_TRUE(cat->waitForBytes("~6~2/8"));
    ann->bytes.clear();
    bob->bytes.clear();
    cat->bytes.clear();

    EXPECT_FALSE(peer.startRace(3));
    ASSERT_TRUE(peer.startRace(0));
    ASSERT_TRUE(ann->waitForBytes("~D~"));
    EXPECT_EQ(ann->bytes, "~D~");

    // Back from the race: the host's "~X~" is recorded.
    ann->send("~X~");
    ASSERT_TRUE(
        tarmacia::test::waitFor([&] { return peer.backFromRaceCount(0) == 1; }, kTimeoutMs));
    ann->bytes.clear();

    ASSERT_TRUE(peer.closeRace(0, "~f~"));
    EXPECT_TRUE(ann->waitForBytes("~f~~5~"));
    EXPECT_TRUE(bob->waitForBytes("~f~~5~"));
    // Not in the race: only the emptied list.
    ASSERT_TRUE(cat->waitForBytes("~5~"));
    EXPECT_EQ(cat->bytes, "~5~");
    EXPECT_TRUE(peer.races().empty());
    EXPECT_FALSE(peer.closeRace(0, "~m~"));
}

} // namespace
