#include "peer.h"

#include "loopback.h"

#include "lobby.h"

#include "common/cp1252.h"
#include "protocol/passenc.h"

#include <QDateTime>
#include <QEventLoop>

#include <algorithm>

namespace sandbox {
namespace {

constexpr char kSeparator = '\xAC';
const QByteArray kWelcome = "Welcome to Tarmacia - v5.43 - Sandbox lobby - logged in as ";
const QByteArray kAdminWelcome =
    "Welcome to Tarmacia - v5.43 - Sandbox lobby - logged in .000 as admin ";

QByteArray toWire(const QString& text) {
    return QByteArray::fromStdString(tarmacia::cp1252::encode(text.toStdString()));
}

QString fromWire(QByteArrayView bytes) {
    return QString::fromStdString(
        tarmacia::cp1252::decode(std::string_view(bytes.data(), size_t(bytes.size()))));
}

QByteArray tagged(const QByteArray& flag, const QByteArray& name) {
    return '[' + flag + ']' + name;
}

// "[gb]Ann" -> "Ann": whisper targets come from the client's user list.
QByteArray withoutFlag(const QByteArray& name) {
    if (!name.startsWith('[')) return name;
    const qsizetype close = name.indexOf(']');
    return close < 0 ? name : name.mid(close + 1);
}

qsizetype findCode(QByteArrayView read, qsizetype from) {
    for (qsizetype p = from; p + 2 < read.size(); ++p) {
        if (read[p] == '~' && read[p + 2] == '~') return p;
    }
    return -1;
}

} // namespace

std::vector<LobbyMessage> splitMessages(QByteArrayView read) {
    const qsizetype nul = read.indexOf('\0');
    if (nul >= 0) read = read.first(nul);
    const bool rtf = read.size() >= 8 && read.sliced(5, 3) == "rtf";

    std::vector<LobbyMessage> messages;
    for (qsizetype p = findCode(read, 0); p >= 0;) {
        const qsizetype start = p + 3;
        const qsizetype next = rtf ? -1 : findCode(read, start);
        const qsizetype end = next < 0 ? read.size() : next;
        messages.push_back(
            {read.sliced(p, 3).toByteArray(), read.sliced(start, end - start).toByteArray()});
        p = next;
    }
    return messages;
}

Peer::Peer(Lobby& lobby, QObject* parent) : QObject(parent), lobby_(lobby) {
    connect(&lobby_, &Lobby::bytesReceived, this, &Peer::onBytes);
    connect(&lobby_, &Lobby::clientDisconnected, this, &Peer::onGone);
    connect(&idleTimer_, &QTimer::timeout, this, [this] {
        for (const int connection : std::vector<int>(loginOrder_))
            askIdle(connection);
    });
}

Peer::~Peer() = default;

// --- the lobby's world -------------------------------------------------------

void Peer::addAccount(const QString& name, const QString& password, bool admin,
                      const QString& flag) {
    accounts_.push_back({toWire(name), password.toStdString(), toWire(flag), admin});
}

void Peer::addPlayer(const QString& name, const QString& flag) {
    players_.push_back({toWire(name), toWire(flag)});
    for (const int connection : loginOrder_)
        sendUserList(connection);
}

int Peer::hostRace(HostedRace race) {
    if (race.racers.isEmpty()) race.racers.push_back(race.host);
    races_.push_back({std::move(race), std::nullopt});
    sendRaceListToAll();
    return static_cast<int>(races_.size()) - 1;
}

std::vector<HostedRace> Peer::races() const {
    std::vector<HostedRace> shown;
    for (const Race& race : races_)
        shown.push_back(race.shown);
    return shown;
}

std::optional<Peer::Creation> Peer::creationOf(int slot) const {
    if (slot < 0 || slot >= static_cast<int>(races_.size())) return std::nullopt;
    return races_[size_t(slot)].creation;
}

bool Peer::startRace(int slot) {
    const std::optional<Creation> creation = creationOf(slot);
    return creation && lobby_.sendTo(creation->host, "~D~");
}

bool Peer::closeRace(int slot, QByteArrayView code) {
    if (slot < 0 || slot >= static_cast<int>(races_.size())) return false;
    const Race race = races_[size_t(slot)];
    races_.erase(races_.begin() + slot);
    if (race.creation) {
        send(race.creation->host, code.toByteArray());
        for (const int joiner : race.creation->joined)
            send(joiner, code.toByteArray());
    }
    sendRaceListToAll();
    return true;
}

void Peer::setIdleInterval(int ms) {
    idleTimer_.stop();
    if (ms > 0) idleTimer_.start(ms);
}

// --- acting on a client ------------------------------------------------------

void Peer::say(const QString& name, const QString& text) {
    const QByteArray wireName = toWire(name);
    sendToLoggedIn("~2~" + tagged(flagOf(wireName), wireName) + ": " + toWire(text));
}

bool Peer::askIdle(int connection) {
    if (!lobby_.sendTo(connection, "~H~")) return false;
    ++clients_[connection].idleChecks;
    return true;
}

bool Peer::askSecurity(int connection, const QString& question) {
    const std::string plain = "sq\xC2\xAC" + question.toStdString(); // "sq¬" in UTF-8
    const std::string scrambled =
        tarmacia::protocol::passenc(plain, tarmacia::protocol::randomPrefixSource());
    return lobby_.sendTo(connection, "~Y~" + QByteArray::fromStdString(scrambled));
}

bool Peer::logout(int connection, const QString& reason) {
    if (!lobby_.sendTo(connection, "~9~" + toWire(reason))) return false;
    if (reason != QStringLiteral("Suspend")) leave(connection);
    return true;
}

// --- what the clients did ----------------------------------------------------

const Peer::Client* Peer::clientOf(int connection) const {
    const auto found = clients_.find(connection);
    return found == clients_.end() ? nullptr : &found->second;
}

bool Peer::isLoggedIn(int connection) const {
    const Client* client = clientOf(connection);
    return client && client->loggedIn;
}

QString Peer::playerName(int connection) const {
    const Client* client = clientOf(connection);
    return client && client->loggedIn ? fromWire(client->name) : QString();
}

std::vector<LobbyMessage> Peer::messages(int connection) const {
    const Client* client = clientOf(connection);
    return client ? client->messages : std::vector<LobbyMessage>{};
}

int Peer::idleChecksSent(int connection) const {
    const Client* client = clientOf(connection);
    return client ? client->idleChecks : 0;
}

int Peer::idleAnswers(int connection) const {
    const Client* client = clientOf(connection);
    return client ? client->idleAnswers : 0;
}

std::optional<QString> Peer::lastKeepAlive(int connection) const {
    const Client* client = clientOf(connection);
    if (!client || !client->keepAlive) return std::nullopt;
    return fromWire(*client->keepAlive);
}

std::optional<qint64> Peer::lastKeepAliveAtMs(int connection) const {
    const Client* client = clientOf(connection);
    if (!client || !client->keepAlive) return std::nullopt;
    return client->keepAliveAtMs;
}

int Peer::backFromRaceCount(int connection) const {
    const Client* client = clientOf(connection);
    return client ? client->backFromRace : 0;
}

std::optional<Peer::SecurityAnswer> Peer::securityAnswer(int connection) const {
    const Client* client = clientOf(connection);
    return client ? client->security : std::nullopt;
}

// --- reading -----------------------------------------------------------------

void Peer::onBytes(int connection, const QByteArray& chunk) {
    // Each read on its own, as the client reads: the wire has no length or
    // end mark that would let a message be joined across reads.
    for (const LobbyMessage& message : splitMessages(chunk)) {
        clients_[connection].messages.push_back(message);
        handle(connection, message);
        emit messageReceived(connection, message.code, message.payload);
    }
}

void Peer::onGone(int connection) {
    leave(connection);
}

void Peer::handle(int connection, const LobbyMessage& message) {
    Client& client = clients_[connection];
    const QByteArray& code = message.code;
    if (code == "~1~") {
        login(connection, message.payload);
    } else if (code == "~H~") {
        ++client.idleAnswers;
    } else if (code == "~O~") {
        client.keepAlive = message.payload;
        client.keepAliveAtMs = QDateTime::currentMSecsSinceEpoch();
    } else if (code == "~X~") {
        ++client.backFromRace;
    } else if (code == "~Y~") {
        const qsizetype separator = message.payload.indexOf(kSeparator);
        client.security = SecurityAnswer{
            fromWire(message.payload.left(separator < 0 ? message.payload.size() : separator)),
            separator < 0 ? QString() : fromWire(message.payload.mid(separator + 1))};
    } else if (!client.loggedIn) {
        return; // the rest needs a login
    } else if (code == "~2~") {
        sendToLoggedIn(code + message.payload);
    } else if (code == "~W~") {
        whisper(connection, message.payload);
    } else if (code == "~R~") {
        racers(connection, message.payload);
    } else if (code == "~5~") {
        createRace(connection, message.payload);
    } else if (code == "~J~") {
        join(connection, message.payload);
    }
}

void Peer::login(int connection, const QByteArray& payload) {
    if (clients_[connection].loggedIn) return; // one login per connection
    const QList<QByteArray> fields = payload.split(kSeparator);
    if (fields.size() != 3 || fields[2] != kClientVersion) {
        send(connection, "~9~Incorrect Version of TRM");
        return;
    }
    const QByteArray& name = fields[0];
    const Account* account = accountOf(name);
    if (name.isEmpty() || (!account && !open_)) {
        send(connection, "~9~Unknown User Name");
        return;
    }
    if (account && tarmacia::protocol::passdec2(fields[1].toStdString()) != account->password) {
        send(connection, "~9~Incorrect Password");
        return;
    }
    if (nameTaken(name)) {
        send(connection, "~9~User Already Logged In");
        return;
    }

    Client& client = clients_[connection];
    client.loggedIn = true;
    client.name = name;
    client.flag = account ? account->flag : QByteArray("df");
    loginOrder_.push_back(connection);

    const bool admin = account && account->admin;
    send(connection, "~2~" + (admin ? kAdminWelcome : kWelcome) + kSeparator +
                         tagged(client.flag, client.name));
    sendUserList(connection);
    sendRaceList(connection);
    for (const int other : loginOrder_) {
        if (other != connection) sendUserList(other);
    }
    emit loggedIn(connection, fromWire(name));
}

void Peer::whisper(int connection, const QByteArray& payload) {
    const qsizetype separator = payload.indexOf(kSeparator);
    if (separator < 0) return;
    const QByteArray target = withoutFlag(payload.left(separator));
    const Client& sender = clients_[connection];
    for (const int other : loginOrder_) {
        if (clients_[other].name != target) continue;
        send(other,
             "~W~" + tagged(sender.flag, sender.name) + kSeparator + payload.mid(separator + 1));
        return;
    }
}

void Peer::racers(int connection, const QByteArray& payload) {
    bool ok = false;
    const int index = payload.toInt(&ok);
    if (!ok || index < 0 || index >= static_cast<int>(races_.size())) {
        send(connection, "~R~");
        return;
    }
    send(connection, "~R~" + toWire(races_[size_t(index)].shown.racers.join(QStringLiteral(", "))));
}

void Peer::createRace(int connection, const QByteArray& payload) {
    // trackset, name, type, max, (empty), "0", game, address, and the empty
    // rest after the closing separator.
    const QList<QByteArray> fields = payload.split(kSeparator);
    if (fields.size() < 8) return;
    const Client& client = clients_[connection];
    HostedRace shown;
    shown.host = fromWire(client.name);
    shown.flag = fromWire(client.flag);
    shown.title = fromWire(fields[1]);
    shown.game = fromWire(fields[6]);
    shown.maxRacers = fields[3].toInt();
    shown.detailShort = fromWire(fields[2]);
    shown.detailLong = fromWire(fields[0]);
    shown.racers = {shown.host};
    Creation creation;
    creation.host = connection;
    creation.hostAddress = fields[7].isEmpty() ? QStringLiteral("127.0.0.1") : fromWire(fields[7]);
    creation.trackset = fromWire(fields[0]);
    creation.raceType = fromWire(fields[2]);
    races_.push_back({std::move(shown), std::move(creation)});
    sendRaceListToAll();
}

void Peer::join(int connection, const QByteArray& payload) {
    const qsizetype separator = payload.indexOf(kSeparator);
    bool ok = false;
    const int slot = payload.left(separator < 0 ? payload.size() : separator).toInt(&ok);
    const QString name = fromWire(clients_[connection].name);
    Race* race =
        ok && slot >= 0 && slot < static_cast<int>(races_.size()) ? &races_[size_t(slot)] : nullptr;
    if (!race || race->shown.racers.size() >= race->shown.maxRacers ||
        race->shown.racers.contains(name)) {
        send(connection, "~F~");
        return;
    }
    race->shown.racers.push_back(name);
    const QString address =
        race->creation ? race->creation->hostAddress : QStringLiteral("127.0.0.1");
    const QString trackset = race->creation ? race->creation->trackset : QStringLiteral("default");
    if (race->creation) race->creation->joined.push_back(connection);
    send(connection, "~K~" + toWire(address) + kSeparator + toWire(trackset));
    send(connection, "~9~Suspend");
    sendRaceListToAll();
}

void Peer::leave(int connection) {
    const auto found = std::find(loginOrder_.begin(), loginOrder_.end(), connection);
    if (found == loginOrder_.end()) return;
    loginOrder_.erase(found);
    clients_[connection].loggedIn = false;
    for (const int other : loginOrder_)
        sendUserList(other);
    emit loggedOut(connection);
}

// --- writing -----------------------------------------------------------------

const Peer::Account* Peer::accountOf(const QByteArray& name) const {
    for (const Account& account : accounts_) {
        if (account.name == name) return &account;
    }
    return nullptr;
}

bool Peer::nameTaken(const QByteArray& name) const {
    for (const Player& player : players_) {
        if (player.name == name) return true;
    }
    return std::any_of(loginOrder_.begin(), loginOrder_.end(),
                       [&](int connection) { return clients_.at(connection).name == name; });
}

QByteArray Peer::flagOf(const QByteArray& name) const {
    for (const Player& player : players_) {
        if (player.name == name) return player.flag;
    }
    for (const int connection : loginOrder_) {
        if (clients_.at(connection).name == name) return clients_.at(connection).flag;
    }
    return "df";
}

void Peer::send(int connection, const QByteArray& bytes) {
    lobby_.sendTo(connection, bytes);
}

void Peer::sendToLoggedIn(const QByteArray& bytes) {
    for (const int connection : loginOrder_)
        send(connection, bytes);
}

void Peer::sendUserList(int connection) {
    send(connection, "~3~");
    for (const Player& player : players_)
        send(connection, "~3~" + tagged(player.flag, player.name));
    for (const int other : loginOrder_) {
        const Client& client = clients_.at(other);
        send(connection, "~3~" + tagged(client.flag, client.name));
    }
}

void Peer::sendRaceListToAll() {
    for (const int connection : loginOrder_)
        sendRaceList(connection);
}

void Peer::sendRaceList(int connection) {
    send(connection, "~5~");
    for (const Race& entry : races_) {
        const HostedRace& race = entry.shown;
        const QList<QByteArray> fields = {
            QByteArray::number(race.racers.size()) + '/' + QByteArray::number(race.maxRacers),
            tagged(toWire(race.flag), toWire(race.host)),
            {},
            toWire(race.title),
            toWire(race.game),
            toWire(race.detailShort),
            toWire(race.detailLong),
            {},
            toWire(race.extra),
        };
        send(connection, "~6~" + fields.join(kSeparator));
    }
}

// --- waiting -----------------------------------------------------------------

bool Peer::waitForLogin(int connection, int timeoutMs) {
    return waitUntil([&] { return isLoggedIn(connection); }, timeoutMs);
}

bool Peer::waitForMessage(int connection, QByteArrayView code, int timeoutMs) {
    return waitUntil(
        [&] {
            const Client* client = clientOf(connection);
            return client && std::any_of(client->messages.begin(), client->messages.end(),
                                         [&](const LobbyMessage& m) { return m.code == code; });
        },
        timeoutMs);
}

} // namespace sandbox
