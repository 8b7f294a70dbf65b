#pragma once
// A clock that only moves when a test advances it. Due timers fire in order
// of their due time (ties in the order they were started).

#include "platform/clock.h"

#include <cstdint>
#include <vector>

namespace tarmacia::platform::fake {

class FakeClock : public Clock {
public:
    std::int64_t nowMs() const override { return now_; }
    std::int64_t wallClockSeconds() const override { return wallStart_ + now_ / 1000; }
    std::unique_ptr<Timer> createTimer() override;

    // Moves time forward by `ms`, firing every timer that falls due meanwhile.
    void advance(std::int64_t ms);
    void setWallClock(std::int64_t secondsSinceEpoch) { wallStart_ = secondsSinceEpoch; }

private:
    class FakeTimer;
    friend class FakeTimer;
    FakeTimer* nextDue(std::int64_t limit) const;

    std::int64_t now_ = 0;
    std::int64_t wallStart_ = 1'800'000'000;
    std::uint64_t sequence_ = 0;
    std::vector<FakeTimer*> timers_;
};

} // namespace tarmacia::platform::fake
