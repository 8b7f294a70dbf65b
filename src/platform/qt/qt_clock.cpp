#include "platform/qt/qt_clock.h"

#include "platform/guard.h"

#include <QDateTime>
#include <QTimer>

namespace tarmacia::platform::qt {
namespace {

class QtTimer : public Timer {
public:
    QtTimer() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (handler_) guarded(handler_);
        });
    }
    void setInterval(int ms) override { timer_.setInterval(ms); }
    int interval() const override { return timer_.interval(); }
    void setSingleShot(bool singleShot) override { timer_.setSingleShot(singleShot); }
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    bool isActive() const override { return timer_.isActive(); }
    void onTimeout(std::function<void()> handler) override { handler_ = std::move(handler); }

private:
    QTimer timer_;
    std::function<void()> handler_;
};

} // namespace

std::int64_t QtClock::wallClockSeconds() const { return QDateTime::currentSecsSinceEpoch(); }

std::unique_ptr<Timer> QtClock::createTimer() { return std::make_unique<QtTimer>(); }

} // namespace tarmacia::platform::qt
