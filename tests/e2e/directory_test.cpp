// The server directory over real HTTP: the Qt adapter against the sandbox
// web server on loopback.

#include "platform/fake/fake_clock.h"
#include "platform/qt/qt_http.h"
#include "sandbox/web.h"
#include "settings/server_directory.h"
#include "support/qt_app.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace tarmacia {
namespace {

using test::waitFor;
constexpr int kTimeoutMs = 5000;

std::string baseOf(quint16 port) {
    return "http://127.0.0.1:" + std::to_string(port) + "/";
}

quint16 closedPort() {
    QTcpServer closed; // free a moment ago, no listener now
    if (!closed.listen(QHostAddress::LocalHost)) return 0;
    const quint16 port = closed.serverPort();
    closed.close();
    return port;
}

struct Loaded {
    explicit Loaded(std::string primary, std::string backup)
        : directory(http, clock, std::move(primary), std::move(backup),
                    {.chatLine = [this](const std::string& line) { chat.push_back(line); }}) {}

    platform::qt::QtHttpGet http;
    platform::fake::FakeClock clock;
    std::vector<std::string> chat;
    settings::ServerDirectory directory;
};

// The application object has to exist before the network access manager does.
struct WithQt : testing::Test {
    WithQt() { test::ensureQtApp(); }
};

class DirectoryOverHttp : public WithQt {
protected:
    void SetUp() override {
        ASSERT_TRUE(web.listen(QHostAddress::LocalHost)) << web.errorString().toStdString();
        web.setDirectory({{QStringLiteral("Sandbox Prim"), QStringLiteral("127.0.0.1"), 5445},
                          {QStringLiteral("Sandbox BU"), QStringLiteral("127.0.0.2"), 5446}});
    }

    std::optional<platform::HttpReply> fetch(const std::string& path) {
        std::optional<platform::HttpReply> reply;
        http.get(baseOf(web.serverPort()) + path,
                 [&reply](const platform::HttpReply& r) { reply = r; });
        waitFor([&] { return reply.has_value(); }, kTimeoutMs);
        return reply;
    }

    sandbox::Web web;
    platform::qt::QtHttpGet http;
};

TEST_F(DirectoryOverHttp, UnreachablePrimaryFallsBackToTheBackup) {
    Loaded client(baseOf(closedPort()), baseOf(web.serverPort()));
    client.directory.fetch();
    ASSERT_TRUE(waitFor([&] { return !client.directory.current().name.empty(); }, kTimeoutMs));

    EXPECT_EQ(client.directory.current().name, "Sandbox Prim");
    EXPECT_EQ(client.directory.current().ip + ":" + client.directory.current().port,
              "127.0.0.1:5445");
    EXPECT_EQ(client.directory.selectorItems(),
              (std::vector<std::string>{"Sandbox Prim", "Sandbox BU"}));
    EXPECT_EQ(client.chat, (std::vector<std::string>{"[df]Server - added",
                                                     "[df]IP Servers Loaded - Please Login"}));
    ASSERT_EQ(web.requests().size(), 1u);
    EXPECT_TRUE(web.requests()[0].startsWith("/TRM/server1.php?callername=system&callerpass="));
}

TEST_F(DirectoryOverHttp, OnlySuccessfulAnswersCarryABody) {
    const auto page = fetch("TRM/server1.php?callername=system&callerpass=147");
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->ok);
    EXPECT_EQ(page->status, 200);
    EXPECT_EQ(settings::directoryPageText(page->body),
              "ok - Sandbox Prim(127.0.0.1/5445) - Sandbox BU(127.0.0.2/5446)");

    struct Case {
        const char* path;
        int status;
    };
    for (const Case& c :
         {Case{"elsewhere.php", 404}, Case{"TRM/server1.php?callername=system", 403}}) {
        const auto reply = fetch(c.path);
        ASSERT_TRUE(reply) << c.path;
        EXPECT_FALSE(reply->ok) << c.path;
        EXPECT_EQ(reply->status, c.status) << c.path;
        EXPECT_TRUE(reply->body.empty()) << c.path;
    }

    web.setDown(true);
    const auto down = fetch("TRM/server1.php?callername=system&callerpass=147");
    ASSERT_TRUE(down);
    EXPECT_FALSE(down->ok);
    EXPECT_EQ(down->status, 503);
}

// The "try it" program lists its own lobby in the directory it serves.
TEST(SandboxProgramDirectory, ListsTheSandboxLobby) {
    test::ensureQtApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString portPath = dir.filePath(QStringLiteral("port"));
    const QString webPortPath = dir.filePath(QStringLiteral("web-port"));
    QProcess sandboxProcess;
    sandboxProcess.start(QStringLiteral(TARMACIA_BUILD_DIR "/tarmacia-sandbox"),
                         {QStringLiteral("--port"), QStringLiteral("0"),
                          QStringLiteral("--port-file"), portPath, QStringLiteral("--web-port"),
                          QStringLiteral("0"), QStringLiteral("--web-port-file"), webPortPath,
                          QStringLiteral("--scan-port"), QStringLiteral("0")});
    ASSERT_TRUE(sandboxProcess.waitForStarted(kTimeoutMs));
    // The banner comes after both port files are written.
    QDeadlineTimer deadline(kTimeoutMs);
    while (!sandboxProcess.canReadLine() && !deadline.hasExpired())
        sandboxProcess.waitForReadyRead(int(deadline.remainingTime()));
    auto readPort = [](const QString& path) -> quint16 {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().toUShort() : 0;
    };
    const quint16 lobbyPort = readPort(portPath);
    const quint16 webPort = readPort(webPortPath);
    ASSERT_NE(lobbyPort, 0);
    ASSERT_NE(webPort, 0);

    Loaded client(baseOf(webPort), baseOf(closedPort()));
    client.directory.fetch();
    EXPECT_TRUE(waitFor([&] { return !client.directory.current().name.empty(); }, kTimeoutMs));
    EXPECT_EQ(client.directory.current().name, "Sandbox Prim");
    EXPECT_EQ(client.directory.current().ip + ":" + client.directory.current().port,
              "127.0.0.1:" + std::to_string(lobbyPort));

    sandboxProcess.terminate();
    ASSERT_TRUE(sandboxProcess.waitForFinished(kTimeoutMs));
    EXPECT_EQ(sandboxProcess.exitCode(), 0);
}

} // namespace
} // namespace tarmacia
