#pragma once
// The lobby socket as the protocol sees it: whole messages out, decoded text
// of one read in. Windows-1252 is decoded and encoded here and nowhere else.

#include "platform/tcp_client.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace tarmacia::protocol {

class SendError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class LobbyLink {
public:
    // `socket` may be null while there is no connection.
    void attach(platform::TcpClient* socket) { socket_ = socket; }
    platform::TcpClient* socket() const { return socket_; }

    // Sends one lobby message as it stands (nothing appended, no queue). Not
    // connected: nothing happens. A socket that would block drops the message.
    // Any other failure closes the connection and throws SendError.
    void send(std::string_view message);

    // Everything readable now, decoded; each call is one read.
    std::string read();

private:
    platform::TcpClient* socket_ = nullptr;
};

} // namespace tarmacia::protocol
