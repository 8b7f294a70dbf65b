#include "platform/qt/qt_network.h"

#include "platform/guard.h"

#include <QPointer>
#include <QTcpSocket>

namespace tarmacia::platform::qt {
namespace {

// QTcpSocket buffers every write. Past this many unsent bytes the socket
// counts as one that would block, and the message is dropped, as the
// lobby protocol expects of a non-blocking socket.
constexpr qint64 kWouldBlockBytes = 256 * 1024;

class QtTcpClient : public TcpClient {
public:
    QtTcpClient() : socket_(new QTcpSocket) {
        QObject::connect(socket_, &QTcpSocket::connected, [this] { fire(events_.connected); });
        QObject::connect(socket_, &QTcpSocket::readyRead, [this] { fire(events_.readable); });
        QObject::connect(socket_, &QTcpSocket::disconnected,
                         [this] { fire(events_.disconnected); });
        QObject::connect(socket_, &QTcpSocket::errorOccurred, [this](QAbstractSocket::SocketError) {
            // A peer that closes is reported by `disconnected` alone.
            if (socket_->error() == QAbstractSocket::RemoteHostClosedError) return;
            if (events_.error) {
                std::string message = socket_->errorString().toStdString();
                guarded([&] { events_.error(message); });
            }
        });
    }
    // The socket may be released from inside one of its own events: let the
    // event loop delete it once that event has returned.
    ~QtTcpClient() override {
        socket_->disconnect();
        socket_->abort();
        socket_->deleteLater();
    }

    void setEvents(Events events) override { events_ = std::move(events); }
    void connectTo(const std::string& host, std::uint16_t port) override {
        fire(events_.connecting);
        socket_->connectToHost(QString::fromStdString(host), port);
    }
    void close() override { socket_->abort(); }
    bool isConnected() const override {
        return socket_->state() == QAbstractSocket::ConnectedState;
    }
    SendResult send(const std::string& bytes) override {
        if (!isConnected()) return SendResult::NotConnected;
        if (socket_->bytesToWrite() > kWouldBlockBytes) return SendResult::WouldBlock;
        if (socket_->write(bytes.data(), static_cast<qint64>(bytes.size())) < 0) {
            if (events_.error) {
                std::string message = socket_->errorString().toStdString();
                guarded([&] { events_.error(message); });
            }
            return SendResult::Failed;
        }
        return SendResult::Sent;
    }
    std::string readAll() override { return socket_->readAll().toStdString(); }

private:
    static void fire(const std::function<void()>& event) {
        if (event) guarded(event);
    }

    QTcpSocket* socket_;
    Events events_;
};

} // namespace

std::unique_ptr<TcpClient> QtNetwork::createTcpClient() { return std::make_unique<QtTcpClient>(); }

} // namespace tarmacia::platform::qt
