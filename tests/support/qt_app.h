#pragma once
// One Qt application object per test program, made on first use.

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <functional>
#include <memory>

namespace tarmacia::test {

inline void ensureQtApp() {
    if (QCoreApplication::instance() != nullptr) return;
    static int argc = 1;
    static char name[] = "tarmacia-tests";
    static char* argv[] = {name, nullptr};
    static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(argc, argv);
}

// Runs the event loop until `condition` holds or `timeoutMs` passes; says
// whether it holds. Used for real sockets, never for timers of the core.
inline bool waitFor(const std::function<bool()>& condition, int timeoutMs) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (condition()) loop.quit();
    });
    deadline.start(timeoutMs);
    poll.start(5);
    if (!condition()) loop.exec();
    return condition();
}

} // namespace tarmacia::test
