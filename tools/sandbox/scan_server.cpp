#include "scan_server.h"

#include "loopback.h"
#include "protocol/passenc.h"

#include <QTcpSocket>

namespace sandbox {

ScanServer::ScanServer(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &ScanServer::acceptPending);
}

ScanServer::~ScanServer() = default;

bool ScanServer::listen(const QHostAddress& address, quint16 port) {
    return listenOnLoopback(server_, address, port, error_);
}

void ScanServer::acceptPending() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            const QByteArray bytes = socket->readAll();
            // One identification per connection: the client sends it in one
            // send and reads one reply. Anything after it is not answered.
            if (socket->property("answered").toBool()) return;
            socket->setProperty("answered", true);

            // The scrambled form is all digits, so the bytes are the text.
            const std::string plain =
                tarmacia::protocol::passdec2(std::string_view(bytes.constData(), bytes.size()));
            const QString identification = QString::fromStdString(plain);
            identifications_.push_back(identification);
            socket->write(verdict_);
            socket->flush();
            emit identified(identification);
        });
    }
}

} // namespace sandbox
