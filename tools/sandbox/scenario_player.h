#pragma once
// Runs a scenario on a lobby: each client that connects gets the scenario's
// steps on its own clock, which starts when it connects and stops when it
// goes.
//
// With a peer, the scenario's lobby lines set up the peer (open, idle,
// players, accounts, races) and its "say" steps run on the lobby's clock:
// it starts when the first player logs in and stops when the last one
// leaves, so every player sees each line once, as in a real lobby, and a
// player who comes later has missed what was said before.

#include "scenario.h"

#include <QObject>

#include <functional>
#include <map>
#include <memory>

namespace sandbox {

class Lobby;
class Peer;

class ScenarioPlayer : public QObject {
    Q_OBJECT

public:
    // Plays for every client that connects from now on; `lobby` must outlive
    // the player. Without a peer, "say" steps do nothing.
    ScenarioPlayer(Lobby& lobby, std::vector<ScenarioStep> steps, QObject* parent = nullptr);
    // Sets up `peer` from the scenario's lobby lines; `peer` must outlive the
    // player too.
    ScenarioPlayer(Lobby& lobby, Peer& peer, const Scenario& scenario, QObject* parent = nullptr);
    ~ScenarioPlayer() override;

private:
    void start(int connection);
    void stop(int connection);
    void run(int connection, const ScenarioStep& step);
    void startLobbyClock();
    void stopLobbyClock();
    // The timers of one clock, under one object so that they go together.
    std::unique_ptr<QObject> startTimers(const std::function<void(const ScenarioStep&)>& run,
                                         bool lobbyClock);
    static void retire(std::unique_ptr<QObject> timers, QObject* parent);

    Lobby& lobby_;
    Peer* peer_ = nullptr;
    std::vector<ScenarioStep> steps_;
    std::map<int, std::unique_ptr<QObject>> timersOf_;
    std::unique_ptr<QObject> lobbyTimers_;
};

} // namespace sandbox
