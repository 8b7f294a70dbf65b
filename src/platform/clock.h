#pragma once
// Time as a port. Timers run on the event thread; a test drives them with the
// fake clock instead of waiting.

#include <cstdint>
#include <functional>
#include <memory>

namespace tarmacia::platform {

class Timer {
public:
    virtual ~Timer() = default;
    virtual void setInterval(int ms) = 0;
    virtual int interval() const = 0;
    // A single-shot timer stops after it fires once; a periodic one goes on.
    virtual void setSingleShot(bool singleShot) = 0;
    // (Re)starts the timer: the next timeout is one interval from now.
    virtual void start() = 0;
    void start(int ms) {
        setInterval(ms);
        start();
    }
    virtual void stop() = 0;
    virtual bool isActive() const = 0;
    virtual void onTimeout(std::function<void()> handler) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary fixed point; only differences matter.
    virtual std::int64_t nowMs() const = 0;
    // Seconds since the Unix epoch, for dates shown to the player and stored.
    virtual std::int64_t wallClockSeconds() const = 0;
    virtual std::unique_ptr<Timer> createTimer() = 0;
};

} // namespace tarmacia::platform
