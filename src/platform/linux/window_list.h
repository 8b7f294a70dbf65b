#pragma once

#include "platform/window_list.h"

#include <memory>
#include <string>

namespace tarmacia::platform::os {

// The X server's top-level windows (Wine draws every game window there).
// Without libX11 at build time, or with no display to open, there are no
// windows.
class X11WindowList : public WindowList {
public:
    // An empty `display` means $DISPLAY.
    explicit X11WindowList(const std::string& display = {});
    ~X11WindowList() override;
    X11WindowList(const X11WindowList&) = delete;
    X11WindowList& operator=(const X11WindowList&) = delete;

    bool connected() const;
    std::vector<TopWindow> list() const override;
    void closeRequest(unsigned long id) override;

private:
    struct Connection;
    std::unique_ptr<Connection> connection_;
};

} // namespace tarmacia::platform::os
