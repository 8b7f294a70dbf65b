#include "platform/fake/fake_clock.h"

#include <gtest/gtest.h>

#include <string>

namespace tarmacia::platform::fake {
namespace {

TEST(FakeClock, FiresDueTimersInOrderOfTheirDueTime) {
    FakeClock clock;
    std::string fired;
    auto a = clock.createTimer();
    auto b = clock.createTimer();
    auto once = clock.createTimer();
    a->onTimeout([&] { fired += "a" + std::to_string(clock.nowMs()) + " "; });
    b->onTimeout([&] { fired += "b" + std::to_string(clock.nowMs()) + " "; });
    once->onTimeout([&] { fired += "o" + std::to_string(clock.nowMs()) + " "; });
    a->start(300);
    b->start(200);
    once->setSingleShot(true);
    once->start(300);

    clock.advance(650);
    EXPECT_EQ(fired, "b200 a300 o300 b400 a600 b600 ");
    EXPECT_FALSE(once->isActive());
    EXPECT_EQ(clock.nowMs(), 650);
}

TEST(FakeClock, StopRestartAndIntervalChanges) {
    FakeClock clock;
    int ticks = 0;
    auto timer = clock.createTimer();
    timer->onTimeout([&] { ++ticks; });
    timer->start(1000);
    clock.advance(999);
    EXPECT_EQ(ticks, 0);
    timer->start(); // restarting moves the next timeout a full interval on
    clock.advance(999);
    EXPECT_EQ(ticks, 0);
    clock.advance(1);
    EXPECT_EQ(ticks, 1);
    timer->setInterval(100); // takes effect from now
    clock.advance(300);
    EXPECT_EQ(ticks, 4);
    timer->stop();
    clock.advance(5000);
    EXPECT_EQ(ticks, 4);
}

TEST(FakeClock, AHandlerMayStopOrDestroyTimers) {
    FakeClock clock;
    int ticks = 0;
    auto first = clock.createTimer();
    auto second = clock.createTimer();
    first->onTimeout([&] {
        ++ticks;
        second.reset();
    });
    second->onTimeout([&] { ++ticks; });
    first->setSingleShot(true);
    first->start(10);
    second->start(10);
    clock.advance(100);
    EXPECT_EQ(ticks, 1);
}

} // namespace
} // namespace tarmacia::platform::fake
