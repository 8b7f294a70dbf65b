#pragma once
// Sockets a test drives by hand: it accepts or refuses the connection, hands
// the client bytes as one read, and reads back what the client sent.

#include "platform/tcp_client.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarmacia::platform::fake {

class FakeNetwork;

class FakeTcpClient : public TcpClient {
public:
    explicit FakeTcpClient(FakeNetwork* network = nullptr) : network_(network) {}
    ~FakeTcpClient() override;

    // What the client did.
    std::string host;
    std::uint16_t port = 0;
    int connectAttempts = 0;
    int closes = 0;
    std::string sent; // every byte sent, in order

    // What the test makes the socket do.
    SendResult nextSendResult = SendResult::Sent;
    void accept();                                // connected
    void refuse(const std::string& message);      // error while connecting
    void deliver(const std::string& bytes);       // one read of these bytes
    void dropConnection();                        // the peer went away

    void setEvents(Events events) override { events_ = std::move(events); }
    void connectTo(const std::string& host, std::uint16_t port) override;
    void close() override;
    bool isConnected() const override { return connected_; }
    SendResult send(const std::string& bytes) override;
    std::string readAll() override;

private:
    FakeNetwork* network_;
    Events events_;
    bool connected_ = false;
    std::string pending_;
};

class FakeNetwork : public Network {
public:
    std::unique_ptr<TcpClient> createTcpClient() override;
    // The client's sockets that still exist, oldest first (owned by the client).
    std::vector<FakeTcpClient*> sockets;
    FakeTcpClient& last() { return *sockets.back(); }
};

} // namespace tarmacia::platform::fake
