#pragma once
// The sandbox lobby: a loopback TCP server that plays the lobby's side of the
// wire for tests and for the "try it" command. It keeps every byte each
// client sends and writes exactly the bytes it is given, so a test sees the
// wire as the client produced it and can shape the client's reads.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <vector>

class QTcpSocket;

namespace sandbox {

class Lobby : public QObject {
    Q_OBJECT

public:
    explicit Lobby(QObject* parent = nullptr);
    ~Lobby() override;

    // Only 127.0.0.0/8: the sandbox must never be reachable from outside
    // the machine. Port 0 picks a free port.
    bool listen(const QHostAddress& address, quint16 port = 0);
    bool isListening() const { return server_.isListening(); }
    quint16 serverPort() const { return server_.serverPort(); }
    QHostAddress serverAddress() const { return server_.serverAddress(); }
    QString errorString() const { return error_; }

    // Connections are numbered 0, 1, ... in the order they arrive; a number
    // stays valid (with its recorded bytes) after the client has gone.
    int connectionCount() const { return static_cast<int>(connections_.size()); }
    bool isConnected(int connection) const;
    // Every byte the connection has sent, raw, in order.
    QByteArray received(int connection) const;

    // One write per call (and per connection for sendToAll), flushed at
    // once: on loopback the client reads these bytes in one piece, unless it
    // is slow to read and later bytes join them. Returns false when the
    // connection is not open.
    bool sendTo(int connection, const QByteArray& bytes);
    void sendToAll(const QByteArray& bytes);
    // Closes the connection after its pending bytes have gone out.
    void disconnect(int connection);
    using QObject::disconnect; // keep the signal-disconnecting overloads visible

    // Bounded waits for tests: they run a local event loop until the
    // condition holds or the time is up, and say whether it holds.
    bool waitForConnections(int count, int timeoutMs);
    bool waitForReceived(int connection, const QByteArray& needle, int timeoutMs);
    bool waitForDisconnected(int connection, int timeoutMs);

signals:
    void clientConnected(int connection);
    void bytesReceived(int connection, const QByteArray& chunk);
    void clientDisconnected(int connection);

private:
    struct Connection {
        QPointer<QTcpSocket> socket; // null once closed
        QByteArray received;
    };

    void acceptPending();
    void readFrom(int connection);
    void onSocketGone(int connection);

    QTcpServer server_;
    std::vector<Connection> connections_;
    QString error_;
};

} // namespace sandbox
