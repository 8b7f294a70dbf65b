#include "lobby.h"

#include "loopback.h"

#include <QEventLoop>
#include <QTcpSocket>
#include <QTimer>

namespace sandbox {
namespace {

} // namespace

Lobby::Lobby(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &Lobby::acceptPending);
}

Lobby::~Lobby() {
    // A socket that dies connected still signals its disconnection; that must
    // not reach this half-destroyed lobby.
    for (Connection& c : connections_) {
        if (!c.socket) continue;
        QObject::disconnect(c.socket, nullptr, this, nullptr);
        delete c.socket.data();
    }
}

bool Lobby::listen(const QHostAddress& address, quint16 port) {
    return listenOnLoopback(server_, address, port, error_);
}

bool Lobby::isConnected(int connection) const {
    return connection >= 0 && connection < connectionCount() && connections_[connection].socket;
}

QByteArray Lobby::received(int connection) const {
    if (connection < 0 || connection >= connectionCount()) return {};
    return connections_[connection].received;
}

bool Lobby::sendTo(int connection, const QByteArray& bytes) {
    if (!isConnected(connection)) return false;
    QTcpSocket* socket = connections_[connection].socket;
    if (socket->write(bytes) != bytes.size()) return false;
    // Hand the bytes to the kernel now: left in Qt's buffer, two sends in a
    // row would leave as one.
    socket->flush();
    return true;
}

void Lobby::sendToAll(const QByteArray& bytes) {
    for (int i = 0; i < connectionCount(); ++i) {
        if (isConnected(i)) sendTo(i, bytes);
    }
}

void Lobby::disconnect(int connection) {
    if (isConnected(connection)) connections_[connection].socket->disconnectFromHost();
}

void Lobby::acceptPending() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        const int id = connectionCount();
        connections_.push_back({socket, {}});
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readFrom(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { onSocketGone(id); });
        emit clientConnected(id);
    }
}

void Lobby::readFrom(int connection) {
    QTcpSocket* socket = connections_[connection].socket;
    if (!socket) return;
    const QByteArray chunk = socket->readAll();
    if (chunk.isEmpty()) return;
    connections_[connection].received += chunk;
    emit bytesReceived(connection, chunk);
}

void Lobby::onSocketGone(int connection) {
    QTcpSocket* socket = connections_[connection].socket;
    if (!socket) return;
    readFrom(connection); // bytes that came with the close
    connections_[connection].socket = nullptr;
    QObject::disconnect(socket, nullptr, this, nullptr);
    socket->deleteLater();
    emit clientDisconnected(connection);
}

bool Lobby::waitForConnections(int count, int timeoutMs) {
    return waitUntil([&] { return connectionCount() >= count; }, timeoutMs);
}

bool Lobby::waitForReceived(int connection, const QByteArray& needle, int timeoutMs) {
    return waitUntil([&] { return received(connection).contains(needle); }, timeoutMs);
}

bool Lobby::waitForDisconnected(int connection, int timeoutMs) {
    return waitUntil([&] { return connection < connectionCount() && !isConnected(connection); },
                     timeoutMs);
}

} // namespace sandbox
