#pragma once
// The sandbox scan server: the lobby host's scan verification port on
// loopback. It takes the client's scrambled identification (one read),
// records it and answers one verdict line; closing is left to the client,
// which closes 100 ms after the reply.

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <vector>

namespace sandbox {

class ScanServer : public QObject {
    Q_OBJECT

public:
    static constexpr quint16 kDefaultPort = 5447;
    static constexpr const char* kDefaultVerdict = "yesok~tarmaciav5.exe~Sandbox accepted";

    explicit ScanServer(QObject* parent = nullptr);
    ~ScanServer() override;

    // Only 127.0.0.0/8, as the lobby. Port 0 picks a free port.
    bool listen(const QHostAddress& address, quint16 port = kDefaultPort);
    bool isListening() const { return server_.isListening(); }
    quint16 serverPort() const { return server_.serverPort(); }
    QHostAddress serverAddress() const { return server_.serverAddress(); }
    QString errorString() const { return error_; }

    // The line every later identification gets, sent as it is (Windows-1252 bytes).
    void setVerdict(const QByteArray& line) { verdict_ = line; }
    QByteArray verdict() const { return verdict_; }

    // The identifications received, unscrambled, in order
    // ("tarmaciav5.exe~<crc>~filelist2.trm~<crc>~<player>~").
    const std::vector<QString>& identifications() const { return identifications_; }

signals:
    void identified(const QString& identification);

private:
    void acceptPending();

    QTcpServer server_;
    QString error_;
    QByteArray verdict_{kDefaultVerdict};
    std::vector<QString> identifications_;
};

} // namespace sandbox
