// tarmacia-sandbox: the sandbox lobby as a program, for trying the client
// without a real lobby and for scripts that need a peer on loopback.
//
// By default it only plays its scenario's bytes and records what comes back,
// so a script can shape every read. The protocol peer (logins, chat relay,
// user and race lists) is on with --peer or --open, and on by itself when the
// scenario has lobby lines (open, idle, player, account, race, say).

#include "lobby.h"
#include "peer.h"
#include "quit_on_signals.h"
#include "scenario.h"
#include "scan_server.h"
#include "scenario_player.h"
#include "web.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

constexpr quint16 kDefaultPort = 5445;
constexpr quint16 kDefaultWebPort = 5450;

enum ExitCode { Ok = 0, CannotListen = 1, BadUsage = 2 };

void printError(const QString& text) {
    std::fprintf(stderr, "tarmacia-sandbox: %s\n", qUtf8Printable(text));
}

std::optional<quint16> parsePort(const QString& text) {
    bool ok = false;
    const uint port = text.toUInt(&ok);
    if (!ok || port > 65535) return std::nullopt;
    return static_cast<quint16>(port);
}

bool writePortFile(const QString& path, quint16 port) {
    // Written aside and renamed, so a script that polls the file never sees
    // it half written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(QByteArray::number(port) + '\n');
    return file.commit();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarmacia-sandbox"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("A loopback lobby for trying the Tarmacia client and for tests."));
    parser.addHelpOption();
    const QCommandLineOption addressOption(
        QStringLiteral("address"), QStringLiteral("Loopback address to listen on (127.0.0.0/8)."),
        QStringLiteral("ip"), QStringLiteral("127.0.0.1"));
    const QCommandLineOption portOption(QStringLiteral("port"),
                                        QStringLiteral("Port to listen on; 0 takes a free one."),
                                        QStringLiteral("port"), QString::number(kDefaultPort));
    const QCommandLineOption scenarioOption(
        QStringLiteral("scenario"), QStringLiteral("Scenario file to play to every client."),
        QStringLiteral("file"));
    const QCommandLineOption recordOption(
        QStringLiteral("record"),
        QStringLiteral("Append every byte the clients send to this file, raw."),
        QStringLiteral("file"));
    const QCommandLineOption portFileOption(
        QStringLiteral("port-file"), QStringLiteral("Write the port to this file once listening."),
        QStringLiteral("file"));
    const QCommandLineOption webPortOption(
        QStringLiteral("web-port"),
        QStringLiteral("Port of the web server that lists this lobby in the server directory; "
                       "0 takes a free one."),
        QStringLiteral("port"), QString::number(kDefaultWebPort));
    const QCommandLineOption webPortFileOption(
        QStringLiteral("web-port-file"),
        QStringLiteral("Write the web server's port to this file once listening."),
        QStringLiteral("file"));
    const QCommandLineOption scanPortOption(
        QStringLiteral("scan-port"),
        QStringLiteral("Port of the scan server that answers the client's file scan; "
                       "0 takes a free one."),
        QStringLiteral("port"), QString::number(sandbox::ScanServer::kDefaultPort));
    const QCommandLineOption scanPortFileOption(
        QStringLiteral("scan-port-file"),
        QStringLiteral("Write the scan server's port to this file once listening."),
        QStringLiteral("file"));
    const QCommandLineOption flagsOption(
        QStringLiteral("flags"),
        QStringLiteral("Folder with \"teams\" and \"other\" flag pictures that the web server "
                       "hands out under /flags/."),
        QStringLiteral("folder"));
    const QCommandLineOption peerOption(
        QStringLiteral("peer"),
        QStringLiteral("Answer the lobby protocol: logins, chat, whispers, user and race lists."));
    const QCommandLineOption openOption(
        QStringLiteral("open"),
        QStringLiteral("Let any name and password log in (implies --peer)."));
    parser.addOptions({addressOption, portOption, scenarioOption, recordOption, portFileOption,
                       webPortOption, webPortFileOption, scanPortOption, scanPortFileOption,
                       flagsOption, peerOption, openOption});
    parser.process(app);

    const QHostAddress address(parser.value(addressOption));
    if (address.isNull()) {
        printError(QStringLiteral("not an IP address: %1").arg(parser.value(addressOption)));
        return BadUsage;
    }
    const auto port = parsePort(parser.value(portOption));
    if (!port) {
        printError(QStringLiteral("not a port: %1").arg(parser.value(portOption)));
        return BadUsage;
    }

    const auto webPort = parsePort(parser.value(webPortOption));
    if (!webPort) {
        printError(QStringLiteral("not a port: %1").arg(parser.value(webPortOption)));
        return BadUsage;
    }

    const auto scanPort = parsePort(parser.value(scanPortOption));
    if (!scanPort) {
        printError(QStringLiteral("not a port: %1").arg(parser.value(scanPortOption)));
        return BadUsage;
    }

    sandbox::Lobby lobby;
    sandbox::Web web;
    sandbox::ScanServer scan;

    sandbox::Scenario scenario;
    if (parser.isSet(scenarioOption)) {
        const QString path = parser.value(scenarioOption);
        scenario = sandbox::loadScenario(path);
        for (const auto& problem : scenario.problems) {
            printError(sandbox::describeProblem(path, problem));
            if (problem.line == 0) return BadUsage;
        }
    }

    std::unique_ptr<sandbox::Peer> peer;
    if (parser.isSet(peerOption) || parser.isSet(openOption) || scenario.needsPeer) {
        peer = std::make_unique<sandbox::Peer>(lobby);
        if (parser.isSet(openOption)) peer->setOpen(true);
        QObject::connect(peer.get(), &sandbox::Peer::loggedIn, &lobby,
                         [](int connection, const QString& name) {
                             std::fprintf(stderr, "client %d logged in as %s\n", connection,
                                          qUtf8Printable(name));
                         });
        QObject::connect(peer.get(), &sandbox::Peer::loggedOut, &lobby, [](int connection) {
            std::fprintf(stderr, "client %d logged out\n", connection);
        });
    }

    std::unique_ptr<sandbox::ScenarioPlayer> player;
    if (parser.isSet(scenarioOption)) {
        player = peer ? std::make_unique<sandbox::ScenarioPlayer>(lobby, *peer, scenario)
                      : std::make_unique<sandbox::ScenarioPlayer>(lobby, scenario.steps);
    }

    QFile record;
    if (parser.isSet(recordOption)) {
        record.setFileName(parser.value(recordOption));
        // Unbuffered: the file is for looking at while the sandbox runs.
        if (!record.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
            printError(
                QStringLiteral("cannot open %1: %2").arg(record.fileName(), record.errorString()));
            return BadUsage;
        }
        QObject::connect(&lobby, &sandbox::Lobby::bytesReceived, &record,
                         [&record](int, const QByteArray& chunk) { record.write(chunk); });
    }

    QObject::connect(&lobby, &sandbox::Lobby::clientConnected, &lobby, [](int connection) {
        std::fprintf(stderr, "client %d connected\n", connection);
    });
    QObject::connect(&lobby, &sandbox::Lobby::clientDisconnected, &lobby, [](int connection) {
        std::fprintf(stderr, "client %d disconnected\n", connection);
    });

    if (!sandbox::quitOnTerminationSignals()) {
        printError(QStringLiteral("cannot watch for SIGINT/SIGTERM"));
        return CannotListen;
    }
    if (!lobby.listen(address, *port)) {
        printError(QStringLiteral("cannot listen: %1").arg(lobby.errorString()));
        return CannotListen;
    }
    if (parser.isSet(portFileOption) &&
        !writePortFile(parser.value(portFileOption), lobby.serverPort())) {
        printError(QStringLiteral("cannot write %1").arg(parser.value(portFileOption)));
        return CannotListen;
    }

    web.setFlagsFolder(parser.value(flagsOption));
    web.setDirectory(
        {{QStringLiteral("Sandbox Prim"), lobby.serverAddress().toString(), lobby.serverPort()}});
    if (!web.listen(address, *webPort)) {
        printError(QStringLiteral("cannot listen for the web: %1").arg(web.errorString()));
        return CannotListen;
    }
    if (parser.isSet(webPortFileOption) &&
        !writePortFile(parser.value(webPortFileOption), web.serverPort())) {
        printError(QStringLiteral("cannot write %1").arg(parser.value(webPortFileOption)));
        return CannotListen;
    }

    QObject::connect(&scan, &sandbox::ScanServer::identified, &scan,
                     [](const QString& identification) {
                         std::fprintf(stderr, "scan identification %s\n",
                                      qUtf8Printable(identification));
                     });
    if (!scan.listen(address, *scanPort)) {
        printError(QStringLiteral("cannot listen for scans: %1").arg(scan.errorString()));
        return CannotListen;
    }
    if (parser.isSet(scanPortFileOption) &&
        !writePortFile(parser.value(scanPortFileOption), scan.serverPort())) {
        printError(QStringLiteral("cannot write %1").arg(parser.value(scanPortFileOption)));
        return CannotListen;
    }

    std::printf("tarmacia-sandbox listening on %s:%u\n",
                qUtf8Printable(lobby.serverAddress().toString()), unsigned{lobby.serverPort()});
    std::printf("tarmacia-sandbox web on http://%s:%u/\n",
                qUtf8Printable(web.serverAddress().toString()), unsigned{web.serverPort()});
    std::printf("tarmacia-sandbox scan server on %s:%u\n",
                qUtf8Printable(scan.serverAddress().toString()), unsigned{scan.serverPort()});
    std::fflush(stdout);

    return app.exec();
}
