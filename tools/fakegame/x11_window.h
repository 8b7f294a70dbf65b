#pragma once
// An optional top-level window, so the client's window search and its close
// request can be tried against the fake game. Without libX11 at build time
// or without a display at run time it simply does not exist.

#include <memory>
#include <string>

namespace tarmacia::fakegame {

class X11Window {
public:
    // Null when there is no display (or no X11 support built in).
    static std::unique_ptr<X11Window> open(const std::string& title);
    virtual ~X11Window() = default;

    // The connection's descriptor, to wait on it next to stdin.
    virtual int fd() const = 0;
    // Handles pending events; true once the window was asked to close.
    virtual bool closeRequested() = 0;
};

} // namespace tarmacia::fakegame
