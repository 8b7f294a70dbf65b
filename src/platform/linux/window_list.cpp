#include "platform/linux/window_list.h"

#ifdef TARMACIA_HAVE_X11
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#endif

namespace tarmacia::platform::os {

#ifdef TARMACIA_HAVE_X11

namespace {

// Windows come and go while we look at them; a BadWindow for one that just
// went is expected and must not end the program (Xlib's default handler
// exits).
int ignoreErrors(Display*, XErrorEvent*) { return 0; }

struct Property {
    unsigned char* data = nullptr;
    unsigned long items = 0;
    int format = 0;
    ~Property() {
        if (data) XFree(data);
    }
};

bool readProperty(Display* d, Window w, Atom name, Atom type, Property& out) {
    Atom actualType = None;
    unsigned long after = 0;
    int rc = XGetWindowProperty(d, w, name, 0, 1L << 16, False, type, &actualType, &out.format,
                                &out.items, &after, &out.data);
    return rc == Success && out.data && actualType == type;
}

} // namespace

struct X11WindowList::Connection {
    Display* display = nullptr;
    ~Connection() {
        if (display) XCloseDisplay(display);
    }
};

X11WindowList::X11WindowList(const std::string& display) : connection_(std::make_unique<Connection>()) {
    connection_->display = XOpenDisplay(display.empty() ? nullptr : display.c_str());
    if (connection_->display) XSetErrorHandler(ignoreErrors);
}

X11WindowList::~X11WindowList() = default;

bool X11WindowList::connected() const { return connection_->display != nullptr; }

std::vector<TopWindow> X11WindowList::list() const {
    std::vector<TopWindow> out;
    Display* d = connection_->display;
    if (!d) return out;
    Window root = DefaultRootWindow(d);

    std::vector<Window> windows;
    Property clients;
    if (readProperty(d, root, XInternAtom(d, "_NET_CLIENT_LIST", False), XA_WINDOW, clients) &&
        clients.format == 32) {
        auto* ids = reinterpret_cast<Window*>(clients.data);
        windows.assign(ids, ids + clients.items);
    } else {
        // No window manager that keeps the list: the root's children are the
        // top-level windows.
        Window rootReturn = 0, parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(d, root, &rootReturn, &parent, &children, &count) && children) {
            windows.assign(children, children + count);
            XFree(children);
        }
    }

    Atom netName = XInternAtom(d, "_NET_WM_NAME", False);
    Atom utf8 = XInternAtom(d, "UTF8_STRING", False);
    Atom netPid = XInternAtom(d, "_NET_WM_PID", False);
    for (Window w : windows) {
        TopWindow tw;
        tw.id = w;
        Property name;
        if (readProperty(d, w, netName, utf8, name) && name.format == 8) {
            tw.title.assign(reinterpret_cast<char*>(name.data), name.items);
        } else {
            char* legacy = nullptr;
            if (XFetchName(d, w, &legacy) && legacy) {
                tw.title = legacy;
                XFree(legacy);
            }
        }
        Property pid;
        if (readProperty(d, w, netPid, XA_CARDINAL, pid) && pid.format == 32 && pid.items > 0)
            tw.pid = static_cast<int>(*reinterpret_cast<unsigned long*>(pid.data));
        out.push_back(std::move(tw));
    }
    return out;
}

void X11WindowList::closeRequest(unsigned long id) {
    Display* d = connection_->display;
    if (!d) return;
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = id;
    event.xclient.message_type = XInternAtom(d, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(d, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, id, False, NoEventMask, &event);
    XFlush(d);
}

#else

struct X11WindowList::Connection {};

X11WindowList::X11WindowList(const std::string&) : connection_(std::make_unique<Connection>()) {}
X11WindowList::~X11WindowList() = default;
bool X11WindowList::connected() const { return false; }
std::vector<TopWindow> X11WindowList::list() const { return {}; }
void X11WindowList::closeRequest(unsigned long) {}

#endif

} // namespace tarmacia::platform::os
