#include "platform/fake/fake_network.h"

#include "platform/guard.h"

#include <vector>

namespace tarmacia::platform::fake {
namespace {

void fireEvent(const std::function<void()>& event) {
    if (event) guarded(event);
}

} // namespace

FakeTcpClient::~FakeTcpClient() {
    if (network_) std::erase(network_->sockets, this);
}

void FakeTcpClient::connectTo(const std::string& h, std::uint16_t p) {
    host = h;
    port = p;
    ++connectAttempts;
    fireEvent(events_.connecting);
}

void FakeTcpClient::accept() {
    connected_ = true;
    fireEvent(events_.connected);
}

void FakeTcpClient::refuse(const std::string& message) {
    connected_ = false;
    if (events_.error) guarded([&] { events_.error(message); });
}

void FakeTcpClient::deliver(const std::string& bytes) {
    pending_ += bytes;
    fireEvent(events_.readable);
}

void FakeTcpClient::dropConnection() {
    connected_ = false;
    fireEvent(events_.disconnected);
}

void FakeTcpClient::close() {
    ++closes;
    bool was = connected_;
    connected_ = false;
    pending_.clear();
    if (was) fireEvent(events_.disconnected);
}

SendResult FakeTcpClient::send(const std::string& bytes) {
    if (!connected_) return SendResult::NotConnected;
    SendResult result = nextSendResult;
    if (result == SendResult::Sent) sent += bytes;
    if (result == SendResult::Failed && events_.error)
        guarded([&] { events_.error("send failed"); });
    return result;
}

std::string FakeTcpClient::readAll() {
    std::string out;
    out.swap(pending_);
    return out;
}

std::unique_ptr<TcpClient> FakeNetwork::createTcpClient() {
    auto socket = std::make_unique<FakeTcpClient>(this);
    sockets.push_back(socket.get());
    return socket;
}

} // namespace tarmacia::platform::fake
