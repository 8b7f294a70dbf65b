#pragma once
// A race that the sandbox lobby announces in its race list. Plain data, so a
// scenario file can describe one without knowing the peer.

#include <QString>
#include <QStringList>

namespace sandbox {

struct HostedRace {
    QString host;                        // the host's name, without a flag
    QString flag = QStringLiteral("df"); // the host's flag code
    QString title; // "Sunday cup - 3 laps": the client cuts the title at the last "-"
    QString game = QStringLiteral("PU"); // game code
    int maxRacers = 8;
    QString detailShort; // first line of the client's details panel
    QString detailLong;  // third line
    QString extra;       // stored by the client, not shown
    QStringList racers;  // names; empty means the host alone
};

} // namespace sandbox
