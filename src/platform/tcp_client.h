#pragma once
// A client TCP connection with the events of a non-blocking socket.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tarmacia::platform {

enum class SendResult {
    Sent,         // the socket took every byte
    NotConnected, // nothing was sent
    WouldBlock,   // the socket cannot take the bytes now; they were dropped
    Failed,       // any other error; the error event has been reported
};

class TcpClient {
public:
    struct Events {
        std::function<void()> connecting;
        std::function<void()> connected;
        std::function<void()> readable;
        std::function<void()> disconnected;
        // A connect failure, a refused or reset connection, a send failure.
        std::function<void(const std::string& message)> error;
    };

    virtual ~TcpClient() = default;
    virtual void setEvents(Events events) = 0;
    // Starts an asynchronous connection; `connecting` fires at once.
    virtual void connectTo(const std::string& host, std::uint16_t port) = 0;
    virtual void close() = 0;
    virtual bool isConnected() const = 0;
    // Raw bytes, sent in one call; nothing is appended or queued for retry.
    virtual SendResult send(const std::string& bytes) = 0;
    // Every byte available now; nothing is kept back for a later read.
    virtual std::string readAll() = 0;
};

class Network {
public:
    virtual ~Network() = default;
    virtual std::unique_ptr<TcpClient> createTcpClient() = 0;
};

} // namespace tarmacia::platform
