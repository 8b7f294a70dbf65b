// The sandbox lobby is the peer of every end-to-end test, so it must be exact:
// these tests drive it from plain sockets and check the bytes on the wire.

#include "sandbox/lobby.h"
#include "sandbox/scenario.h"
#include "sandbox/scenario_player.h"
#include "support/qt_app.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <functional>
#include <memory>
#include <ostream>
#include <vector>

// Failures show wire bytes in hex; they are mostly not printable.
static void PrintTo(const QByteArray& bytes, std::ostream* out) {
    *out << '"' << bytes.toHex(' ').toStdString() << '"';
}

namespace {

constexpr int kTimeoutMs = 5000;

// A client that keeps each read apart, to see how the bytes were cut.
class RawClient {
public:
    explicit RawClient(quint16 port) {
        QObject::connect(&socket, &QTcpSocket::readyRead, &socket,
                         [this] { reads.push_back(socket.readAll()); });
        socket.connectToHost(QHostAddress::LocalHost, port);
        waitFor([this] { return socket.state() == QAbstractSocket::ConnectedState; });
    }

    QByteArray all() const {
        QByteArray bytes;
        for (const QByteArray& read : reads)
            bytes += read;
        return bytes;
    }
    bool waitFor(const std::function<bool()>& condition) {
        return tarmacia::test::waitFor(condition, kTimeoutMs);
    }
    bool waitForBytes(const QByteArray& needle) {
        return waitFor([&] { return all().contains(needle); });
    }
    bool waitForClose() {
        return waitFor([this] { return socket.state() == QAbstractSocket::UnconnectedState; });
    }

    QTcpSocket socket;
    std::vector<QByteArray> reads;
};

// The application object has to exist before the first socket does.
struct WithQt : ::testing::Test {
    WithQt() { tarmacia::test::ensureQtApp(); }
};

struct ListeningLobby : WithQt {
    void SetUp() override {
        ASSERT_TRUE(lobby.listen(QHostAddress::LocalHost)) << lobby.errorString().toStdString();
    }

    std::unique_ptr<RawClient> connectClient() {
        const int expected = lobby.connectionCount() + 1;
        auto client = std::make_unique<RawClient>(lobby.serverPort());
        EXPECT_TRUE(lobby.waitForConnections(expected, kTimeoutMs));
        return client;
    }

    sandbox::Lobby lobby;
};

// --- listening ---------------------------------------------------------------

using SandboxLobbyListen = WithQt;
TEST_F(SandboxLobbyListen, BindsOnlyInsideLoopbackV4) {
    struct Case {
        const char* address;
        bool accepted;
    };
    const Case cases[] = {
        {"127.0.0.1", true},
        {"127.0.0.2", true}, // all of 127/8 is loopback on Linux
        {"0.0.0.0", false},
        {"::", false},
        {"::1", false},
        {"::ffff:127.0.0.1", false},
        {"126.255.255.255", false},
        {"128.0.0.1", false},
        {"192.168.1.10", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.address);
        sandbox::Lobby lobby;
        const QHostAddress address{QString::fromLatin1(c.address)};
        ASSERT_FALSE(address.isNull());
        EXPECT_EQ(lobby.listen(address), c.accepted);
        EXPECT_EQ(lobby.isListening(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(lobby.serverAddress(), address);
            EXPECT_NE(lobby.serverPort(), 0);
        } else {
            // Refused by rule, not by a failed bind.
            EXPECT_TRUE(lobby.errorString().contains(QStringLiteral("127.0.0.0/8")))
                << lobby.errorString().toStdString();
        }
    }
}

// --- bytes in and out --------------------------------------------------------

TEST_F(ListeningLobby, RecordsEachConnectionsBytesExactly) {
    auto ann = connectClient();
    auto bob = connectClient();
    ASSERT_EQ(lobby.connectionCount(), 2);

    // Windows-1252 field separators, a NUL and the high bytes must survive.
    const QByteArray login("~1~Ann\xAC"
                           "pass\xAC"
                           "v5.42");
    const QByteArray tail("\x00\x80\xFF~X~", 6);
    ann->socket.write(login);
    ann->socket.flush();
    ann->socket.write(tail);
    bob->socket.write("~H~");

    ASSERT_TRUE(lobby.waitForReceived(0, login + tail, kTimeoutMs));
    ASSERT_TRUE(lobby.waitForReceived(1, "~H~", kTimeoutMs));
    EXPECT_EQ(lobby.received(0), login + tail);
    EXPECT_EQ(lobby.received(1), QByteArray("~H~"));
}

TEST_F(ListeningLobby, SendReachesItsClientsAsOneReadEach) {
    auto ann = connectClient();
    auto bob = connectClient();

    // Several lobby messages in one read, as the client's splitter must face.
    const QByteArray burst("~2~hello~3~abc\xAC"
                           "def");
    lobby.sendToAll(burst);
    ASSERT_TRUE(ann->waitForBytes(burst));
    ASSERT_TRUE(bob->waitForBytes(burst));
    EXPECT_EQ(ann->reads, std::vector<QByteArray>{burst});
    EXPECT_EQ(bob->reads, std::vector<QByteArray>{burst});

    // sendTo reaches only its own client; the marker shows Ann got nothing else.
    EXPECT_TRUE(lobby.sendTo(1, "~5~"));
    ASSERT_TRUE(bob->waitForBytes("~5~"));
    lobby.sendToAll("~M~");
    ASSERT_TRUE(ann->waitForBytes("~M~"));
    ASSERT_TRUE(bob->waitForBytes("~5~~M~"));
    EXPECT_EQ(ann->all(), burst + "~M~");
    EXPECT_EQ(bob->all(), burst + "~5~~M~");
}

TEST_F(ListeningLobby, ClosedConnectionsKeepTheirNumberAndRecord) {
    auto ann = connectClient();
    auto bob = connectClient();
    ann->socket.write("~X~");
    ASSERT_TRUE(lobby.waitForReceived(0, "~X~", kTimeoutMs));

    // Closed by the lobby.
    lobby.disconnect(0);
    EXPECT_TRUE(ann->waitForClose());
    EXPECT_TRUE(lobby.waitForDisconnected(0, kTimeoutMs));
    EXPECT_FALSE(lobby.sendTo(0, "~2~late"));
    EXPECT_EQ(lobby.received(0), QByteArray("~X~"));

    // Closed by the client, with its last bytes on the way.
    bob->socket.write("~O~Bob");
    bob->socket.disconnectFromHost();
    EXPECT_TRUE(lobby.waitForDisconnected(1, kTimeoutMs));
    EXPECT_EQ(lobby.received(1), QByteArray("~O~Bob"));

    // A new client gets the next number.
    auto cat = connectClient();
    EXPECT_EQ(lobby.connectionCount(), 3);
    EXPECT_TRUE(lobby.isConnected(2));
}

// --- scenarios ---------------------------------------------------------------

TEST(SandboxScenario, ParsesStepsAndEncodesTextAsWindows1252) {
    using Trigger = sandbox::ScenarioStep::Trigger;
    using Action = sandbox::ScenarioStep::Action;
    struct Case {
        const char* line; // UTF-8
        Trigger trigger;
        int delayMs;
        Action action;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"on-connect send ~2~[df]Welcome", Trigger::OnConnect, 0, Action::Send, "~2~[df]Welcome"},
        {"on-connect send a¬b", Trigger::OnConnect, 0, Action::Send,
         "a\xAC"
         "b"},
        // The 0x80-0x9F range is where Windows-1252 is not Latin-1.
        {"on-connect send €‚ƒ‰ŠŒŽ“”–—˜™šœžŸ", Trigger::OnConnect, 0, Action::Send,
         "\x80\x82\x83\x89\x8A\x8C\x8E\x93\x94\x96\x97\x98\x99\x9A\x9C\x9E\x9F"},
        {"on-connect send é ÿ ", Trigger::OnConnect, 0, Action::Send, "\xE9 \xFF "},
        // Taken literally after the one blank: RTF backslashes, inner spacing, '#'.
        {"after 0 send  {\\rtf1\\ansi x}#1", Trigger::After, 0, Action::Send,
         " {\\rtf1\\ansi x}#1"},
        {"  every\t15000\tsend ~H~\r", Trigger::Every, 15000, Action::Send, "~H~"},
        {"after 5 send-hex 7E 32 7e 61 00 7E337E", Trigger::After, 5, Action::Send,
         QByteArray("~2~a\x00~3~", 8)},
        {"after 90000 close", Trigger::After, 90000, Action::Close, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        const sandbox::Scenario scenario = sandbox::parseScenario(QByteArray(c.line) + "\n");
        ASSERT_TRUE(scenario.problems.empty()) << scenario.problems.front().message.toStdString();
        ASSERT_EQ(scenario.steps.size(), 1u);
        const sandbox::ScenarioStep& step = scenario.steps.front();
        EXPECT_EQ(step.trigger, c.trigger);
        EXPECT_EQ(step.delayMs, c.delayMs);
        EXPECT_EQ(step.action, c.action);
        EXPECT_EQ(step.bytes, c.bytes);
        EXPECT_EQ(step.line, 1);
    }
}

TEST(SandboxScenario, ReportsBadLinesByNumberAndKeepsTheRest) {
    const QByteArray text = "# greeting\n"            // 1
                            "on-connect send ~2~hi\n" // 2
                            "afer 10 send ~2~typo\n"  // 3 unknown trigger
                            "after ten send ~2~x\n"   // 4 bad delay
                            "after -5 send ~2~x\n"    // 5 negative delay
                            "every 0 send ~H~\n"      // 6 would spin
                            "on-connect shout ~2~x\n" // 7 unknown action
                            "on-connect send \n"      // 8 nothing to send
                            "on-connect send ~2~Ω\n"  // 9 not in the code page
                            "after 5 send-hex 7E 3\n" // 10 half a byte
                            "after 5 send-hex 7G\n"   // 11 not hex
                            "after 5 close now\n"     // 12 trailing words
                            "on-connect\n"            // 13 no action
                            "on-connect send \xC3(\n" // 14 not UTF-8
                            "\n"                      // 15
                            "after 20 send ~3~later"; // 16, no final newline
    const sandbox::Scenario scenario = sandbox::parseScenario(text);

    std::vector<int> problemLines;
    for (const auto& problem : scenario.problems) {
        EXPECT_FALSE(problem.message.isEmpty());
        problemLines.push_back(problem.line);
    }
    EXPECT_EQ(problemLines, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14}));

    ASSERT_EQ(scenario.steps.size(), 2u);
    EXPECT_EQ(scenario.steps[0].line, 2);
    EXPECT_EQ(scenario.steps[0].bytes, QByteArray("~2~hi"));
    EXPECT_EQ(scenario.steps[1].line, 16);
    EXPECT_EQ(scenario.steps[1].bytes, QByteArray("~3~later"));

    EXPECT_EQ(sandbox::describeProblem(QStringLiteral("a.scenario"), scenario.problems.front()),
              QStringLiteral("a.scenario:3: ") + scenario.problems.front().message);
}

TEST_F(ListeningLobby, PlaysAScenarioFileToEachClientOnItsOwnClock) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("test.scenario"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("on-connect send ~2~[df]Welcome¬€\n"
               "on-connect send ~T~12:00\n"
               "bogus line\n"
               "every 5 send ~k~\n"
               "after 30 send ~3~later\n"
               "after 60 close\n");
    file.close();

    sandbox::Scenario scenario = sandbox::loadScenario(path);
    ASSERT_EQ(scenario.problems.size(), 1u);
    EXPECT_EQ(scenario.problems.front().line, 3);
    sandbox::ScenarioPlayer player(lobby, std::move(scenario.steps));

    auto ann = connectClient();
    const QByteArray welcome("~2~[df]Welcome\xAC\x80~T~12:00");
    ASSERT_TRUE(ann->waitFor([&] { return ann->all().count("~k~") >= 2; }))
        << "the every step repeats";
    ASSERT_TRUE(ann->waitForBytes("~3~later"));
    EXPECT_TRUE(ann->all().startsWith(welcome));

    // A later client starts from the beginning of the scenario.
    auto bob = connectClient();
    ASSERT_TRUE(bob->waitForBytes(welcome));
    EXPECT_TRUE(bob->all().startsWith(welcome));

    EXPECT_TRUE(ann->waitForClose());
    EXPECT_TRUE(bob->waitForClose());
}

// --- the program -------------------------------------------------------------

// The "try it" command as a script runs it: free port, port file, record file,
// and a clean stop on SIGTERM.
using SandboxProgram = WithQt;
TEST_F(SandboxProgram, ServesAScenarioRecordsAndStopsOnSigterm) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString scenarioPath = dir.filePath(QStringLiteral("greet.scenario"));
    const QString portPath = dir.filePath(QStringLiteral("port"));
    const QString recordPath = dir.filePath(QStringLiteral("record.bin"));
    {
        QFile scenario(scenarioPath);
        ASSERT_TRUE(scenario.open(QIODevice::WriteOnly));
        scenario.write("on-connect send ~2~[df]Hello¬\n");
    }

    QProcess sandboxProcess;
    sandboxProcess.start(QStringLiteral(TARMACIA_BUILD_DIR "/tarmacia-sandbox"),
                         {QStringLiteral("--port"), QStringLiteral("0"),
                          QStringLiteral("--web-port"), QStringLiteral("0"),
                          QStringLiteral("--scan-port"), QStringLiteral("0"),
                          QStringLiteral("--port-file"), portPath, QStringLiteral("--record"),
                          recordPath, QStringLiteral("--scenario"), scenarioPath});
    ASSERT_TRUE(sandboxProcess.waitForStarted(kTimeoutMs));
    QDeadlineTimer deadline(kTimeoutMs);
    while (!sandboxProcess.canReadLine() && !deadline.hasExpired()) {
        sandboxProcess.waitForReadyRead(int(deadline.remainingTime()));
    }
    const QByteArray banner = sandboxProcess.readLine().trimmed();

    QFile portFile(portPath);
    ASSERT_TRUE(portFile.open(QIODevice::ReadOnly));
    const quint16 port = portFile.readAll().trimmed().toUShort();
    ASSERT_NE(port, 0);
    EXPECT_TRUE(banner.endsWith("127.0.0.1:" + QByteArray::number(port))) << banner.toStdString();

    RawClient client(port);
    ASSERT_TRUE(client.waitForBytes("~2~[df]Hello\xAC"));
    const QByteArray sent = QByteArray("~1~Ann\xAC"
                                       "pw\xAC"
                                       "v5.42") +
                            QByteArray("\x00\xFF", 2);
    client.socket.write(sent);
    client.socket.disconnectFromHost();
    ASSERT_TRUE(client.waitForClose()); // the bytes are out before the blocking waits below

    // It reports the disconnect after it has recorded the bytes.
    sandboxProcess.setReadChannel(QProcess::StandardError);
    deadline.setRemainingTime(kTimeoutMs);
    QByteArray errors = sandboxProcess.readAllStandardError();
    while (!errors.contains("client 0 disconnected") && !deadline.hasExpired()) {
        sandboxProcess.waitForReadyRead(int(deadline.remainingTime()));
        errors += sandboxProcess.readAllStandardError();
    }
    EXPECT_TRUE(errors.contains("client 0 disconnected")) << errors.toStdString();

    sandboxProcess.terminate();
    ASSERT_TRUE(sandboxProcess.waitForFinished(kTimeoutMs));
    EXPECT_EQ(sandboxProcess.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(sandboxProcess.exitCode(), 0);

    QFile record(recordPath);
    ASSERT_TRUE(record.open(QIODevice::ReadOnly));
    EXPECT_EQ(record.readAll(), sent);
}

} // namespace
