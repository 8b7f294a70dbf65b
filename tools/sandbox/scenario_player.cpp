#include "scenario_player.h"

#include "lobby.h"
#include "peer.h"

#include <QTimer>

namespace sandbox {

ScenarioPlayer::ScenarioPlayer(Lobby& lobby, std::vector<ScenarioStep> steps, QObject* parent)
    : QObject(parent), lobby_(lobby), steps_(std::move(steps)) {
    connect(&lobby_, &Lobby::clientConnected, this, &ScenarioPlayer::start);
    connect(&lobby_, &Lobby::clientDisconnected, this, &ScenarioPlayer::stop);
}

ScenarioPlayer::ScenarioPlayer(Lobby& lobby, Peer& peer, const Scenario& scenario, QObject* parent)
    : ScenarioPlayer(lobby, scenario.steps, parent) {
    peer_ = &peer;
    if (scenario.open) peer.setOpen(true);
    if (scenario.idleMs) peer.setIdleInterval(*scenario.idleMs);
    for (const ScenarioAccount& account : scenario.accounts)
        peer.addAccount(account.name, account.password, account.admin, account.flag);
    for (const SimulatedPlayer& player : scenario.players)
        peer.addPlayer(player.name, player.flag);
    for (const HostedRace& race : scenario.races)
        peer.hostRace(race);

    connect(&peer, &Peer::loggedIn, this, [this] {
        if (!lobbyTimers_) startLobbyClock();
    });
    connect(&peer, &Peer::loggedOut, this, [this] {
        if (peer_->loggedInCount() == 0) stopLobbyClock();
    });
}

ScenarioPlayer::~ScenarioPlayer() = default;

std::unique_ptr<QObject>
ScenarioPlayer::startTimers(const std::function<void(const ScenarioStep&)>& run, bool lobbyClock) {
    auto timers = std::make_unique<QObject>();
    for (const ScenarioStep& step : steps_) {
        if (step.trigger == ScenarioStep::Trigger::OnConnect) continue;
        if ((step.action == ScenarioStep::Action::Say) != lobbyClock) continue;
        // Owned by `timers`, as Qt children.
        auto* timer = new QTimer(timers.get());
        timer->setSingleShot(step.trigger == ScenarioStep::Trigger::After);
        connect(timer, &QTimer::timeout, this, [run, &step] { run(step); });
        timer->start(step.delayMs);
    }
    return timers;
}

void ScenarioPlayer::retire(std::unique_ptr<QObject> timers, QObject* parent) {
    // A step's own timeout may have ended the clock: the timer that is
    // running now is deleted once control is back in the event loop.
    for (QTimer* timer : timers->findChildren<QTimer*>())
        timer->stop();
    QObject* released = timers.release();
    released->setParent(parent);
    released->deleteLater();
}

void ScenarioPlayer::start(int connection) {
    timersOf_[connection] =
        startTimers([this, connection](const ScenarioStep& step) { run(connection, step); }, false);

    // After the timers are set up: a "close" here ends the connection, and
    // stop() must find them.
    for (const ScenarioStep& step : steps_) {
        if (step.trigger != ScenarioStep::Trigger::OnConnect) continue;
        if (!lobby_.isConnected(connection)) break;
        run(connection, step);
    }
}

void ScenarioPlayer::stop(int connection) {
    const auto found = timersOf_.find(connection);
    if (found == timersOf_.end()) return;
    retire(std::move(found->second), this);
    timersOf_.erase(found);
}

void ScenarioPlayer::startLobbyClock() {
    lobbyTimers_ = startTimers(
        [this](const ScenarioStep& step) { peer_->say(step.speaker, step.text); }, true);
}

void ScenarioPlayer::stopLobbyClock() {
    if (lobbyTimers_) retire(std::move(lobbyTimers_), this);
}

void ScenarioPlayer::run(int connection, const ScenarioStep& step) {
    switch (step.action) {
    case ScenarioStep::Action::Send:
        lobby_.sendTo(connection, step.bytes);
        break;
    case ScenarioStep::Action::Close:
        lobby_.disconnect(connection);
        break;
    case ScenarioStep::Action::Say:
        break; // on the lobby's clock
    }
}

} // namespace sandbox
