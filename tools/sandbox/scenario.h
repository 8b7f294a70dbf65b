#pragma once
// A scenario: what the sandbox lobby does to each client that connects, read
// from a small text file, one step a line:
//
//   # a comment
//   on-connect send ~2~[df]Welcome to the sandbox¬
//   after 2000 send ~T~12:00
//   every 60000 send ~H~
//   after 5000 send-hex 7E 32 7E 61 62 00 7E 33 7E 63 64
//   after 90000 close
//
// Triggers: "on-connect"; "after MS" (once, MS milliseconds after the client
// connected); "every MS" (repeatedly, first after MS, MS >= 1).
// Actions: "send TEXT" sends TEXT as Windows-1252 bytes (the file is UTF-8;
// TEXT is everything after the one blank that follows "send", taken
// literally, so RTF backslashes need no escaping); "send-hex HH HH ..." sends
// raw bytes (for NULs and the like); "close" ends the connection.
// Actions that need the peer (the lobby protocol side, peer.h):
// "say NAME TEXT" sends the chat line "~2~[flag]NAME: TEXT" to every
// logged-in client; it runs on the lobby's clock, not the connection's (see
// scenario_player.h), so only "after" and "every" can trigger it.
//
// Lines that set up the peer's lobby, in any order:
//   open                           any name and password may log in
//   idle MS                        the idle check "~H~" every MS (0 never)
//   player NAME [FLAG]             a simulated player in the user list
//   account NAME PASSWORD [FLAG] [admin]
//   race HOST[,RACER...] GAME MAX TITLE [| SHORT [| LONG]]
//                                  a hosted race; TITLE and the details are
//                                  the rest of the line, cut at " | "
// A flag is letters and digits (default "df"); a name is one word.
// A line that does not parse is reported with its number and skipped.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include "hosted_race.h"

#include <optional>
#include <vector>

namespace sandbox {

struct ScenarioStep {
    enum class Trigger { OnConnect, After, Every };
    enum class Action { Send, Close, Say };

    Trigger trigger = Trigger::OnConnect;
    int delayMs = 0; // After, Every
    Action action = Action::Send;
    QByteArray bytes; // Send
    QString speaker;  // Say
    QString text;     // Say
    int line = 0;     // 1-based, for messages
};

struct ScenarioProblem {
    int line = 0; // 0: the file as a whole
    QString message;
};

struct ScenarioAccount {
    QString name;
    QString password;
    QString flag = QStringLiteral("df");
    bool admin = false;
};

struct SimulatedPlayer {
    QString name;
    QString flag = QStringLiteral("df");
};

struct Scenario {
    std::vector<ScenarioStep> steps; // in file order
    std::vector<ScenarioProblem> problems;

    // The peer's lobby.
    bool open = false;
    std::optional<int> idleMs;
    std::vector<SimulatedPlayer> players;
    std::vector<ScenarioAccount> accounts;
    std::vector<HostedRace> races;
    // True when a line needs the peer: then the program answers the
    // protocol without being asked to.
    bool needsPeer = false;
};

Scenario parseScenario(QByteArrayView utf8Text);
// An unreadable file gives a scenario without steps and one problem at line 0.
Scenario loadScenario(const QString& path);

// "FILE:LINE: message", the form compilers use, so editors can jump to it.
QString describeProblem(const QString& fileName, const ScenarioProblem& problem);

} // namespace sandbox
