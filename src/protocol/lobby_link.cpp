#include "protocol/lobby_link.h"

#include "common/cp1252.h"

namespace tarmacia::protocol {

void LobbyLink::send(std::string_view message) {
    if (socket_ == nullptr) return;
    switch (socket_->send(cp1252::encode(message))) {
    case platform::SendResult::Sent:
    case platform::SendResult::NotConnected:
    case platform::SendResult::WouldBlock:
        return;
    case platform::SendResult::Failed:
        socket_->close();
        throw SendError("Socket Error: could not send to the lobby server");
    }
}

std::string LobbyLink::read() {
    if (socket_ == nullptr) return {};
    return cp1252::decode(socket_->readAll());
}

} // namespace tarmacia::protocol
