// The lobby link over a real socket: the Qt adapter against the sandbox
// lobby on loopback.

#include "platform/qt/qt_network.h"
#include "protocol/lobby_link.h"
#include "protocol/multicomm.h"
#include "sandbox/lobby.h"
#include "support/qt_app.h"

#include <QTcpServer>

#include <gtest/gtest.h>

namespace tarmacia {
namespace {

using test::waitFor;

class LobbyOverLoopback : public testing::Test {
protected:
    LobbyOverLoopback() {
        test::ensureQtApp();
        socket = network.createTcpClient();
        socket->setEvents({.connecting = [this] { events += "connecting "; },
                           .connected = [this] { events += "connected "; },
                           .readable = [this] { reads.push_back(link.read()); },
                           .disconnected = [this] { events += "disconnected "; },
                           .error = [this](const std::string&) { events += "error "; }});
        link.attach(socket.get());
    }

    platform::qt::QtNetwork network;
    std::unique_ptr<platform::TcpClient> socket;
    protocol::LobbyLink link;
    sandbox::Lobby lobby;
    std::string events;
    std::vector<std::string> reads;
};

TEST_F(LobbyOverLoopback, ExchangesLobbyMessagesByteForByte) {
    ASSERT_TRUE(lobby.listen(QHostAddress::LocalHost));
    socket->connectTo("127.0.0.1", lobby.serverPort());
    ASSERT_TRUE(waitFor([&] { return socket->isConnected(); }, 5000));
    EXPECT_EQ(events, "connecting connected ");

    link.send("~1~bob\xC2\xAC" "147166200\xC2\xAC" "v5.42");
    const QByteArray wire("~1~bob\xAC" "147166200\xAC" "v5.42");
    ASSERT_TRUE(lobby.waitForReceived(0, wire, 5000));
    EXPECT_EQ(lobby.received(0), wire);

    // One write of the lobby is one read of the client, several messages in it.
    lobby.sendTo(0, QByteArray("~2~hello~3~abc\xAC" "def"));
    ASSERT_TRUE(waitFor([&] { return !reads.empty(); }, 5000));
    protocol::multicomm messages;
    ASSERT_EQ(messages.split(reads.front()), 2);
    messages.first();
    messages.next();
    EXPECT_EQ(messages.code(), "~3~");
    EXPECT_EQ(messages.payload(), "abc\xC2\xAC" "def");

    lobby.disconnect(0);
    ASSERT_TRUE(waitFor([&] { return !socket->isConnected(); }, 5000));
    EXPECT_EQ(events, "connecting connected disconnected ");
    link.send("~O~bob"); // gone: nothing happens, nothing throws
}

TEST_F(LobbyOverLoopback, ARefusedConnectionIsAnError) {
    QTcpServer closed; // a port that was free a moment ago and has no listener now
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    quint16 port = closed.serverPort();
    closed.close();
    socket->connectTo("127.0.0.1", port);
    ASSERT_TRUE(waitFor([&] { return events.find("error") != std::string::npos; }, 5000));
    EXPECT_FALSE(socket->isConnected());
}

} // namespace
} // namespace tarmacia
