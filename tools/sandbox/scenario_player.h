#pragma once
// Runs a scenario on a lobby: each client that connects gets the scenario's
// steps on its own clock, which starts when it connects and stops when it
// goes.

#include "scenario.h"

#include <QObject>

#include <map>
#include <memory>

namespace sandbox {

class Lobby;

class ScenarioPlayer : public QObject {
    Q_OBJECT

public:
    // Plays for every client that connects from now on; `lobby` must outlive
    // the player.
    ScenarioPlayer(Lobby& lobby, std::vector<ScenarioStep> steps, QObject* parent = nullptr);
    ~ScenarioPlayer() override;

private:
    void start(int connection);
    void stop(int connection);
    void run(int connection, const ScenarioStep& step);

    Lobby& lobby_;
    std::vector<ScenarioStep> steps_;
    // The timers of one connection live under one object, so that they all
    // go together when the client leaves.
    std::map<int, std::unique_ptr<QObject>> timersOf_;
};

} // namespace sandbox
