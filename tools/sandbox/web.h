#pragma once
// The sandbox web server: the lobby's directory page over HTTP on loopback,
// so the client's server directory can be tried and tested without the
// lobby's real web servers. It answers GET requests only, one per
// connection, HTTP/1.0 style.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <vector>

namespace sandbox {

struct DirectoryServer {
    QString name;
    QString ip;
    quint16 port = 0;
};

class Web : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kDirectoryPath = "/TRM/server1.php";

    explicit Web(QObject* parent = nullptr);
    ~Web() override;

    // Only 127.0.0.0/8, as the lobby. Port 0 picks a free port.
    bool listen(const QHostAddress& address, quint16 port = 0);
    bool isListening() const { return server_.isListening(); }
    quint16 serverPort() const { return server_.serverPort(); }
    QHostAddress serverAddress() const { return server_.serverAddress(); }
    QString errorString() const { return error_; }

    // The servers the directory page lists, in order.
    void setDirectory(std::vector<DirectoryServer> servers) { directory_ = std::move(servers); }
    // The directory page: "ok" and the records, wrapped in simple markup.
    QByteArray directoryPage() const;
    // Serves "/flags/teams/<file>" and "/flags/other/<file>" from
    // `folder`'s "teams" and "other" (plain file names only).
    void setFlagsFolder(const QString& folder) { flagsFolder_ = folder; }
    // While down, every request gets "503 Service Unavailable".
    void setDown(bool down) { down_ = down; }

    // The request targets received, in order ("/TRM/server1.php?...").
    const std::vector<QByteArray>& requests() const { return requests_; }

signals:
    void requestServed(const QByteArray& target, int status);

private:
    void acceptPending();

    QTcpServer server_;
    QString error_;
    std::vector<DirectoryServer> directory_;
    std::vector<QByteArray> requests_;
    bool down_ = false;
    QString flagsFolder_;
};

} // namespace sandbox
