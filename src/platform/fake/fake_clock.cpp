#include "platform/fake/fake_clock.h"

#include "platform/guard.h"

#include <algorithm>
#include <functional>

namespace tarmacia::platform::fake {

class FakeClock::FakeTimer : public Timer {
public:
    explicit FakeTimer(FakeClock& clock) : clock_(clock) { clock_.timers_.push_back(this); }
    ~FakeTimer() override { std::erase(clock_.timers_, this); }

    void setInterval(int ms) override {
        interval_ = ms;
        if (active_) schedule();
    }
    int interval() const override { return interval_; }
    void setSingleShot(bool singleShot) override { singleShot_ = singleShot; }
    void start() override {
        active_ = true;
        schedule();
    }
    void stop() override { active_ = false; }
    bool isActive() const override { return active_; }
    void onTimeout(std::function<void()> handler) override { handler_ = std::move(handler); }

    void fire() {
        if (singleShot_)
            active_ = false;
        else
            schedule();
        if (handler_) guarded(handler_);
    }

    std::int64_t due = 0;
    std::uint64_t order = 0;
    bool active_ = false;

private:
    void schedule() {
        due = clock_.now_ + std::max(interval_, 0);
        order = ++clock_.sequence_;
    }

    FakeClock& clock_;
    int interval_ = 0;
    bool singleShot_ = false;
    std::function<void()> handler_;
};

std::unique_ptr<Timer> FakeClock::createTimer() { return std::make_unique<FakeTimer>(*this); }

FakeClock::FakeTimer* FakeClock::nextDue(std::int64_t limit) const {
    FakeTimer* best = nullptr;
    for (FakeTimer* t : timers_) {
        if (!t->active_ || t->due > limit) continue;
        if (!best || t->due < best->due || (t->due == best->due && t->order < best->order))
            best = t;
    }
    return best;
}

void FakeClock::advance(std::int64_t ms) {
    const std::int64_t target = now_ + ms;
    // A periodic zero-interval timer must not hang a test.
    std::size_t budget = 100000;
    while (FakeTimer* timer = nextDue(target)) {
        now_ = std::max(now_, timer->due);
        timer->fire();
        if (--budget == 0) break;
    }
    now_ = target;
}

} // namespace tarmacia::platform::fake
