#pragma once
// Every event that enters the core (a timer, a socket event, a click) runs
// through `guarded`: an exception that escapes its handler goes to the
// application's exception handler and the event loop goes on.

#include <functional>
#include <string>

namespace tarmacia::platform {

using ExceptionHandler = std::function<void(const std::string& message)>;

// Installs the application-wide handler; an empty handler drops exceptions.
void setExceptionHandler(ExceptionHandler handler);

void guarded(const std::function<void()>& handler);

} // namespace tarmacia::platform
