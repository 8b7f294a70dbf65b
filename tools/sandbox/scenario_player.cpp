#include "scenario_player.h"

#include "lobby.h"

#include <QTimer>

namespace sandbox {

ScenarioPlayer::ScenarioPlayer(Lobby& lobby, std::vector<ScenarioStep> steps, QObject* parent)
    : QObject(parent), lobby_(lobby), steps_(std::move(steps)) {
    connect(&lobby_, &Lobby::clientConnected, this, &ScenarioPlayer::start);
    connect(&lobby_, &Lobby::clientDisconnected, this, &ScenarioPlayer::stop);
}

ScenarioPlayer::~ScenarioPlayer() = default;

void ScenarioPlayer::start(int connection) {
    auto timers = std::make_unique<QObject>();
    for (const ScenarioStep& step : steps_) {
        if (step.trigger == ScenarioStep::Trigger::OnConnect) continue;
        // Owned by `timers`, as Qt children.
        auto* timer = new QTimer(timers.get());
        timer->setSingleShot(step.trigger == ScenarioStep::Trigger::After);
        connect(timer, &QTimer::timeout, this,
                [this, connection, &step] { run(connection, step); });
        timer->start(step.delayMs);
    }
    timersOf_[connection] = std::move(timers);

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
    // A step's own timeout may have closed the connection: the timer that is
    // running now is deleted once control is back in the event loop.
    for (QTimer* timer : found->second->findChildren<QTimer*>())
        timer->stop();
    QObject* timers = found->second.release();
    timers->setParent(this);
    timers->deleteLater();
    timersOf_.erase(found);
}

void ScenarioPlayer::run(int connection, const ScenarioStep& step) {
    switch (step.action) {
    case ScenarioStep::Action::Send:
        lobby_.sendTo(connection, step.bytes);
        break;
    case ScenarioStep::Action::Close:
        lobby_.disconnect(connection);
        break;
    }
}

} // namespace sandbox
