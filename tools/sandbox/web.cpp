#include "web.h"

#include <QFile>
#include <QRegularExpression>

#include "loopback.h"

#include <QPointer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

namespace sandbox {
namespace {

// A request head larger than this is not one of ours.
constexpr qsizetype kMaxHeadBytes = 16 * 1024;


QByteArray reasonOf(int status) {
    switch (status) {
    case 200:
        return "OK";
    case 400:
        return "Bad Request";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    default:
        return "Service Unavailable";
    }
}

QByteArray response(int status, const QByteArray& body) {
    return "HTTP/1.0 " + QByteArray::number(status) + ' ' + reasonOf(status) +
           "\r\nContent-Type: text/html; charset=windows-1252\r\nContent-Length: " +
           QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body;
}

QByteArray errorPage(int status) {
    return "<html><body><h1>" + QByteArray::number(status) + ' ' + reasonOf(status) +
           "</h1></body></html>";
}

} // namespace

Web::Web(QObject* parent) : QObject(parent) {
    connect(&server_, &QTcpServer::newConnection, this, &Web::acceptPending);
}

Web::~Web() = default;

bool Web::listen(const QHostAddress& address, quint16 port) {
    return listenOnLoopback(server_, address, port, error_);
}

QByteArray Web::directoryPage() const {
    // Three separator characters after "ok" and after every record, as the
    // client skips them without looking.
    QByteArray text = "ok";
    for (const DirectoryServer& server : directory_) {
        text += " - " + server.name.toLatin1() + '(' + server.ip.toLatin1() + '/' +
                QByteArray::number(server.port) + ')';
    }
    return "<html><body>" + text + "</body></html>\r\n";
}

void Web::acceptPending() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
            if (socket->property("answered").toBool()) {
                socket->readAll();
                return;
            }
            QByteArray head = socket->property("head").toByteArray() + socket->readAll();
            const qsizetype end = head.indexOf("\r\n\r\n");
            if (end < 0 && head.size() <= kMaxHeadBytes) {
                socket->setProperty("head", head);
                return;
            }
            socket->setProperty("answered", true);

            const QList<QByteArray> requestLine = head.left(head.indexOf("\r\n")).split(' ');
            const QByteArray target = requestLine.value(1);
            requests_.push_back(target);
            int status = 200;
            QByteArray body;
            if (end < 0 || requestLine.size() != 3) {
                status = 400;
            } else if (requestLine[0] != "GET") {
                status = 405;
            } else if (down_) {
                status = 503;
            } else {
                const QUrl url(QString::fromLatin1(target));
                const QUrlQuery query(url);
                static const QRegularExpression flagPath(
                    QStringLiteral("^/flags/(teams|other)/([A-Za-z0-9]+flag\\.(bmp|gif))$"));
                const QRegularExpressionMatch flag = flagPath.match(url.path());
                if (flag.hasMatch()) {
                    QFile file(flagsFolder_ + QLatin1Char('/') + flag.captured(1) + QLatin1Char('/') +
                               flag.captured(2));
                    if (!flagsFolder_.isEmpty() && file.open(QIODevice::ReadOnly))
                        body = file.readAll();
                    else
                        status = 404;
                } else if (url.path() != QLatin1String(kDirectoryPath)) {
                    status = 404;
                } else if (query.queryItemValue(QStringLiteral("callername")).isEmpty() ||
                           query.queryItemValue(QStringLiteral("callerpass")).isEmpty()) {
                    status = 403;
                } else {
                    body = directoryPage();
                }
            }
            if (status != 200) body = errorPage(status);
            socket->write(response(status, body));
            socket->disconnectFromHost();
            emit requestServed(target, status);
        });
    }
}

} // namespace sandbox
