#pragma once
// The sandbox lobby's protocol side: it reads what each client sends as lobby
// messages and answers as a lobby server would, so the client can be tried
// and tested end to end. Everything goes through the Lobby, which still
// records every byte; the raw API stays usable beside the peer.
//
// Wire forms this peer uses (fields separated by byte 0xAC, shown as "¬";
// texts are Windows-1252):
//   login accepted, in this order, one write per message:
//     "~2~Welcome to Tarmacia - v5.43 - Sandbox lobby - logged in as ¬[df]Ann"
//       (an admin account: "... logged in .000 as admin ¬[gb]Dee"; the name
//       after "¬" carries its flag, as the player name does in chat lines)
//     "~3~", then "~3~[flag]name" per player: simulated players in the order
//       added, then logged-in clients in the order they logged in
//     "~5~", then "~6~" per hosted race: occupancy "¬" "[flag]host" "¬" "¬"
//       title "¬" game "¬" detailShort "¬" detailLong "¬" "¬" extra
//       (fields 3 and 8 stay empty: the client does not read them)
//   the other logged-in clients get the new user list ("~3~" and entries)
//   whenever someone logs in or leaves
//   refused: "~9~Incorrect Version of TRM", "~9~Incorrect Password",
//     "~9~Unknown User Name", "~9~User Already Logged In"
//   chat "~2~...": relayed byte for byte to every logged-in client, the
//     sender included
//   whisper "~W~" target "¬" text (target "[gb]Ann" or "Ann"): the target
//     alone gets "~W~" + "[flag]sender" + "¬" + text; a whisper to a simulated
//     player or to nobody goes nowhere
//   "~R~" + slot index: "~R~" + the race's racers joined by ", " ("Ann, Bob");
//     an unknown index gets "~R~" with nothing, which the client ignores
//   race creation "~5~" trackset "¬" name "¬" type "¬" max "¬" "¬" "0" "¬"
//     game "¬" address "¬": the race is hosted (title = name, detailShort =
//     type, detailLong = trackset) and every logged-in client gets the new
//     race list; the host address is the one given, else 127.0.0.1 (the
//     sandbox only listens on loopback)
//   join "~J~" + slot index "¬" mixer flag: the joiner gets "~K~" + host
//     address "¬" trackset, then "~9~Suspend", and everyone the new race
//     list; a full race, an unknown slot or a second join of the same player
//     gets "~F~"
//   startRace(): "~D~" to the client that created the race
//   closeRace(): "~f~" or "~m~" to every client in the race; the race is
//     taken off the list
//   say(): "~2~[flag]name: text" to every logged-in client
//   askIdle(): "~H~"; askSecurity(): "~Y~" + passenc("sq¬" + question);
//   logout(): "~9~" + reason

#include "hosted_race.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace sandbox {

class Lobby;

struct LobbyMessage {
    QByteArray code;    // "~2~"
    QByteArray payload; // raw Windows-1252 bytes
};

// Splits the bytes of one read as the client's splitter does: cut at a NUL;
// a message runs from its code ("~", a byte, "~") to the next code; when the
// read begins with a rich-text payload ("rtf" at bytes 6-8) the first message
// takes the whole rest. Unlike the client it keeps every message, not 101:
// that is the size of the client's table, not a rule of the wire.
std::vector<LobbyMessage> splitMessages(QByteArrayView read);

class Peer : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kClientVersion = "v5.42";

    struct SecurityAnswer {
        QString name;
        QString answer;
    };

    // Answers every connection of `lobby` from now on; `lobby` must outlive it.
    explicit Peer(Lobby& lobby, QObject* parent = nullptr);
    ~Peer() override;

    // --- the lobby's world -------------------------------------------------
    void addAccount(const QString& name, const QString& password, bool admin = false,
                    const QString& flag = QStringLiteral("df"));
    // Open: any name with any password is welcome (flag "df"); accounts
    // still need their own password.
    void setOpen(bool open) { open_ = open; }
    bool isOpen() const { return open_; }
    // A simulated player: listed, can say(), cannot be whispered to.
    void addPlayer(const QString& name, const QString& flag = QStringLiteral("df"));
    // Adds the race at the end of the list (its slot index is returned) and
    // sends the new race list to every logged-in client.
    int hostRace(HostedRace race);
    // The races in list order.
    std::vector<HostedRace> races() const;
    // The creation as the client sent it, for a race a client created.
    struct Creation {
        int host = -1;       // the creator's connection
        QString hostAddress; // what "~K~" gives joiners
        QString trackset;
        QString raceType;
        std::vector<int> joined; // connections that joined, in order
    };
    std::optional<Creation> creationOf(int slot) const;
    // Sends "~D~" to the race's creator; false when no client created it.
    bool startRace(int slot);
    // Sends `code` ("~f~" or "~m~") to every client in the race and takes it
    // off the list; false for an unknown slot.
    bool closeRace(int slot, QByteArrayView code = "~f~");
    // Sends "~H~" to every logged-in client every `ms`; 0 never.
    void setIdleInterval(int ms);

    // --- acting on a client ------------------------------------------------
    // A chat line from `name` to every logged-in client.
    void say(const QString& name, const QString& text);
    // False when the connection is not open.
    bool askIdle(int connection);
    bool askSecurity(int connection, const QString& question);
    // Refuses or ends a login. Any reason but "Suspend" (a race suspension,
    // which keeps the login) takes the player off the user list.
    bool logout(int connection, const QString& reason);

    // --- what the clients did ----------------------------------------------
    bool isLoggedIn(int connection) const;
    QString playerName(int connection) const; // without flag; empty before login
    int loggedInCount() const { return static_cast<int>(loginOrder_.size()); }
    // Every lobby message the connection sent, in order.
    std::vector<LobbyMessage> messages(int connection) const;
    int idleChecksSent(int connection) const;
    int idleAnswers(int connection) const; // "~H~" received
    // The last "~O~" keep-alive: its payload and when it came (ms since the epoch).
    std::optional<QString> lastKeepAlive(int connection) const;
    std::optional<qint64> lastKeepAliveAtMs(int connection) const;
    int backFromRaceCount(int connection) const; // "~X~" received
    std::optional<SecurityAnswer> securityAnswer(int connection) const;

    // Bounded waits for tests, as the Lobby's.
    bool waitForLogin(int connection, int timeoutMs);
    bool waitForMessage(int connection, QByteArrayView code, int timeoutMs);

signals:
    void loggedIn(int connection, const QString& name);
    void loggedOut(int connection);
    void messageReceived(int connection, const QByteArray& code, const QByteArray& payload);

private:
    struct Account {
        QByteArray name;
        std::string password; // UTF-8, compared with what passdec2 gives
        QByteArray flag;
        bool admin = false;
    };
    struct Player { // simulated
        QByteArray name;
        QByteArray flag;
    };
    struct Client {
        bool loggedIn = false;
        QByteArray name;
        QByteArray flag;
        std::vector<LobbyMessage> messages;
        int idleChecks = 0;
        int idleAnswers = 0;
        std::optional<QByteArray> keepAlive;
        qint64 keepAliveAtMs = 0;
        int backFromRace = 0;
        std::optional<SecurityAnswer> security;
    };

    void onBytes(int connection, const QByteArray& chunk);
    void onGone(int connection);
    void handle(int connection, const LobbyMessage& message);
    void login(int connection, const QByteArray& payload);
    void whisper(int connection, const QByteArray& payload);
    void racers(int connection, const QByteArray& payload);
    void createRace(int connection, const QByteArray& payload);
    void join(int connection, const QByteArray& payload);
    void sendRaceListToAll();
    void leave(int connection);

    const Client* clientOf(int connection) const;
    const Account* accountOf(const QByteArray& name) const;
    bool nameTaken(const QByteArray& name) const;
    QByteArray flagOf(const QByteArray& name) const; // a listed player's flag, else "df"
    void send(int connection, const QByteArray& bytes);
    void sendToLoggedIn(const QByteArray& bytes);
    void sendUserList(int connection);
    void sendRaceList(int connection);

    Lobby& lobby_;
    bool open_ = false;
    std::vector<Account> accounts_;
    std::vector<Player> players_;
    struct Race {
        HostedRace shown;
        std::optional<Creation> creation; // none for a race the sandbox hosts itself
    };
    std::vector<Race> races_;
    std::map<int, Client> clients_;
    std::vector<int> loginOrder_;
    QTimer idleTimer_;
};

} // namespace sandbox
