#include "protocol/lobby_link.h"

#include "platform/fake/fake_network.h"

#include <gtest/gtest.h>

namespace tarmacia::protocol {
namespace {

using platform::SendResult;
using platform::fake::FakeTcpClient;

TEST(LobbyLink, SendsWindows1252BytesAndNothingMore) {
    FakeTcpClient socket;
    socket.accept();
    LobbyLink link;
    link.attach(&socket);
    link.send("~1~bob\xC2\xAC" "123\xC2\xAC" "v5.42");
    EXPECT_EQ(socket.sent, "~1~bob\xAC" "123\xAC" "v5.42");
    // A character the code page lacks becomes "?".
    link.send("~2~\xE2\x98\x83");
    EXPECT_EQ(socket.sent.substr(socket.sent.size() - 4), "~2~?");
}

TEST(LobbyLink, DecodesEachReadOnce) {
    FakeTcpClient socket;
    socket.accept();
    LobbyLink link;
    link.attach(&socket);
    socket.deliver("~3~[gb]Ann\xAC\x80");
    EXPECT_EQ(link.read(), "~3~[gb]Ann\xC2\xAC\xE2\x82\xAC");
    EXPECT_EQ(link.read(), "");
}

TEST(LobbyLink, DropsWhatItCannotSendAndFailsLoudlyOnErrors) {
    LobbyLink link;
    link.send("~O~x"); // no socket: nothing happens

    FakeTcpClient socket;
    link.attach(&socket);
    link.send("~O~x"); // not connected
    EXPECT_EQ(socket.sent, "");

    socket.accept();
    socket.nextSendResult = SendResult::WouldBlock;
    link.send("~O~x");
    EXPECT_EQ(socket.sent, "");
    EXPECT_TRUE(socket.isConnected());

    socket.nextSendResult = SendResult::Failed;
    EXPECT_THROW(link.send("~O~x"), SendError);
    EXPECT_FALSE(socket.isConnected());
    EXPECT_EQ(socket.closes, 1);
}

} // namespace
} // namespace tarmacia::protocol
