// The sandbox scan server stands in for the lobby host's scan port: the
// client's scan sends its scrambled identification there and handles the
// verdict line that comes back. Driven from plain sockets.

#include "protocol/passenc.h"
#include "sandbox/scan_server.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <string>

namespace {

constexpr int kTimeoutMs = 5000;
const std::string kIdentification = "tarmaciav5.exe~1234567890~filelist2.trm~42~[gb]Ann Müller~";

QByteArray scrambled(const std::string& plain) {
    // A fixed prefix keeps a failure reproducible; the server must not care.
    int next = 46;
    return QByteArray::fromStdString(
        tarmacia::protocol::passenc(plain, [&next] { return next++; }));
}

// Connects, sends the identification in one write as the client does, and
// collects what comes back until `expected` bytes arrived (or the timeout).
QByteArray exchange(quint16 port, const QByteArray& identification, qsizetype expected,
                    bool* stillOpen = nullptr) {
    QTcpSocket socket;
    QByteArray reply;
    QObject::connect(&socket, &QTcpSocket::readyRead, &socket, [&] { reply += socket.readAll(); });
    socket.connectToHost(QHostAddress::LocalHost, port);
    if (!tarmacia::test::waitFor([&] { return socket.state() == QAbstractSocket::ConnectedState; },
                                 kTimeoutMs))
        return "not connected";
    socket.write(identification);
    socket.flush();
    tarmacia::test::waitFor([&] { return reply.size() >= expected; }, kTimeoutMs);
    if (stillOpen) *stillOpen = socket.state() == QAbstractSocket::ConnectedState;
    return reply;
}

struct ScanServerTest : ::testing::Test {
    ScanServerTest() { tarmacia::test::ensureQtApp(); }
    void SetUp() override {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0))
            << server.errorString().toStdString();
    }
    sandbox::ScanServer server;
};

TEST_F(ScanServerTest, UnscramblesAndRecordsTheIdentificationAndAccepts) {
    const QByteArray accepted("yesok~tarmaciav5.exe~Sandbox accepted");
    bool stillOpen = false;
    EXPECT_EQ(
        exchange(server.serverPort(), scrambled(kIdentification), accepted.size(), &stillOpen),
        accepted);
    // The client closes the connection itself, 100 ms after the reply.
    EXPECT_TRUE(stillOpen);
    ASSERT_EQ(server.identifications().size(), 1u);
    EXPECT_EQ(server.identifications().front().toStdString(), kIdentification);
}

TEST_F(ScanServerTest, AnswersTheScriptedVerdictOncePerConnection) {
    const QByteArray rejected("notok~tarmaciav5.exe~Client not accepted");
    server.setVerdict(rejected);
    EXPECT_EQ(exchange(server.serverPort(), scrambled(kIdentification), rejected.size()), rejected);
    EXPECT_EQ(exchange(server.serverPort(), scrambled("second~"), rejected.size()), rejected);
    ASSERT_EQ(server.identifications().size(), 2u);
    EXPECT_EQ(server.identifications().back(), QStringLiteral("second~"));
}

TEST(ScanServerListen, RefusesAddressesOffLoopback) {
    tarmacia::test::ensureQtApp();
    sandbox::ScanServer server;
    EXPECT_FALSE(server.listen(QHostAddress(QStringLiteral("192.0.2.1")), 0));
    EXPECT_FALSE(server.errorString().isEmpty());
}

// The program takes a free scan port when asked and says which in a file.
TEST(SandboxProgramScan, ServesScansOnTheWrittenPort) {
    tarmacia::test::ensureQtApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString scanPortPath = dir.filePath(QStringLiteral("scan-port"));
    QProcess sandboxProcess;
    sandboxProcess.start(QStringLiteral(TARMACIA_BUILD_DIR "/tarmacia-sandbox"),
                         {QStringLiteral("--port"), QStringLiteral("0"),
                          QStringLiteral("--web-port"), QStringLiteral("0"),
                          QStringLiteral("--scan-port"), QStringLiteral("0"),
                          QStringLiteral("--scan-port-file"), scanPortPath});
    ASSERT_TRUE(sandboxProcess.waitForStarted(kTimeoutMs));
    // The banner comes after every port file is written.
    QDeadlineTimer deadline(kTimeoutMs);
    while (!sandboxProcess.canReadLine() && !deadline.hasExpired())
        sandboxProcess.waitForReadyRead(int(deadline.remainingTime()));
    QFile portFile(scanPortPath);
    ASSERT_TRUE(portFile.open(QIODevice::ReadOnly));
    const quint16 port = portFile.readAll().trimmed().toUShort();
    ASSERT_NE(port, 0);

    const QByteArray accepted("yesok~tarmaciav5.exe~Sandbox accepted");
    EXPECT_EQ(exchange(port, scrambled(kIdentification), accepted.size()), accepted);

    sandboxProcess.terminate();
    ASSERT_TRUE(sandboxProcess.waitForFinished(kTimeoutMs));
    EXPECT_EQ(sandboxProcess.exitCode(), 0);
}

} // namespace
