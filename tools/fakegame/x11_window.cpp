#include "x11_window.h"

#ifdef TARMACIA_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>
#endif

namespace tarmacia::fakegame {

#ifdef TARMACIA_HAVE_X11
namespace {

class XlibWindow final : public X11Window {
public:
    XlibWindow(Display* display, const std::string& title) : display_(display) {
        const int screen = DefaultScreen(display_);
        window_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0, 320, 200, 0,
                                      BlackPixel(display_, screen), WhitePixel(display_, screen));
        XStoreName(display_, window_, title.c_str());
        // The client reads _NET_WM_NAME first and finds the process by _NET_WM_PID.
        const Atom utf8 = XInternAtom(display_, "UTF8_STRING", False);
        XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_NAME", False), utf8, 8,
                        PropModeReplace, reinterpret_cast<const unsigned char*>(title.data()),
                        static_cast<int>(title.size()));
        const long pid = static_cast<long>(getpid());
        XChangeProperty(display_, window_, XInternAtom(display_, "_NET_WM_PID", False), XA_CARDINAL,
                        32, PropModeReplace, reinterpret_cast<const unsigned char*>(&pid), 1);
        deleteWindow_ = XInternAtom(display_, "WM_DELETE_WINDOW", False);
        XSetWMProtocols(display_, window_, &deleteWindow_, 1);
        // A window destroyed from outside (KillClient-style tools) ends the game too.
        XSelectInput(display_, window_, StructureNotifyMask);
        XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
        XMapWindow(display_, window_);
        XFlush(display_);
    }
    ~XlibWindow() override {
        if (!destroyed_) XDestroyWindow(display_, window_);
        XCloseDisplay(display_);
    }

    int fd() const override { return ConnectionNumber(display_); }

    bool closeRequested() override {
        bool asked = false;
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
            if (event.type == ClientMessage &&
                static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow_)
                asked = true;
            if (event.type == DestroyNotify && event.xdestroywindow.window == window_)
                asked = destroyed_ = true;
        }
        return asked;
    }

private:
    Display* display_;
    Window window_;
    Atom deleteWindow_;
    bool destroyed_ = false;
};

} // namespace

std::unique_ptr<X11Window> X11Window::open(const std::string& title) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    return std::make_unique<XlibWindow>(display, title);
}
#else
std::unique_ptr<X11Window> X11Window::open(const std::string&) {
    return nullptr;
}
#endif

} // namespace tarmacia::fakegame
