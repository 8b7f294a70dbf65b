#include "platform/guard.h"

#include <exception>

namespace tarmacia::platform {
namespace {

ExceptionHandler& installed() {
    static ExceptionHandler handler;
    return handler;
}

void report(const std::string& message) {
    // The handler itself may fail (its log file may be unwritable): that
    // must not take the event loop down either.
    try {
        if (installed()) installed()(message);
    } catch (...) {
    }
}

} // namespace

void setExceptionHandler(ExceptionHandler handler) { installed() = std::move(handler); }

void guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        report(e.what());
    } catch (...) {
        report("unknown exception");
    }
}

} // namespace tarmacia::platform
