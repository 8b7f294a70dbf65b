#include "loopback.h"

#include <QEventLoop>
#include <QTcpServer>
#include <QTimer>

namespace sandbox {

bool listenOnLoopback(QTcpServer& server, const QHostAddress& address, quint16 port,
                      QString& error) {
    if (server.isListening()) {
        error = QStringLiteral("already listening on %1:%2")
                    .arg(server.serverAddress().toString())
                    .arg(server.serverPort());
        return false;
    }
    const bool loopback = address.protocol() == QAbstractSocket::IPv4Protocol &&
                          address.isInSubnet(QHostAddress(QStringLiteral("127.0.0.0")), 8);
    if (!loopback) {
        error = QStringLiteral("%1 is not a loopback address (127.0.0.0/8)").arg(address.toString());
        return false;
    }
    if (!server.listen(address, port)) {
        error = server.errorString();
        return false;
    }
    error.clear();
    return true;
}

bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    if (condition()) return true;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    // Every event may change what the condition reads; a short poll sees it.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    deadline.start(timeoutMs);
    poll.start(2);
    loop.exec();
    return condition();
}

} // namespace sandbox
