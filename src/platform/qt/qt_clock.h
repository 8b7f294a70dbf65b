#pragma once

#include "platform/clock.h"

#include <QElapsedTimer>

namespace tarmacia::platform::qt {

class QtClock : public Clock {
public:
    QtClock() { elapsed_.start(); }
    std::int64_t nowMs() const override { return elapsed_.elapsed(); }
    std::int64_t wallClockSeconds() const override;
    std::unique_ptr<Timer> createTimer() override;

private:
    QElapsedTimer elapsed_;
};

} // namespace tarmacia::platform::qt
