#pragma once
// Hands every lobby message of a socket read to its handler.

#include "app/diagnostic_log.h"
#include "protocol/catalogue.h"

#include <string>

namespace tarmacia::protocol {

// The main window's handlers, named as the client names them.
class InboundHandlers {
public:
    virtual ~InboundHandlers() = default;
    // The notices of "~p~", "~h~", "~i~", "~j~": a box titled with language
    // string `titleString`; the payload is cut to `bound` characters.
    virtual void notice(int titleString, const std::string& payload, std::size_t bound) = 0;
    virtual void makesound(int number) = 0;
    virtual void closerace() = 0;
    virtual void showchat(const std::string& payload) = 0;
    virtual void listuser(const std::string& payload) = 0;
    virtual void showuser(const std::string& payload) = 0;
    virtual void clearracelist() = 0;
    virtual void showracers(const std::string& payload) = 0;
    virtual void showrace(const std::string& payload) = 0;
    virtual void norace() = 0;
    virtual void updateteam(const std::string& payload) = 0;
    virtual void showteam(const std::string& payload) = 0;
    virtual void setteam(const std::string& payload) = 0;
    // "~K~": the joining flag is cleared before the address is taken.
    virtual void ipsetup(const std::string& payload) = 0;
    virtual void racehostmode(const std::string& payload) = 0;
    virtual void doweekly(const std::string& payload) = 0;
    virtual void logout(const std::string& reason) = 0;
    virtual void raceTime(const std::string& text) = 0;
    virtual void sleeper() = 0;
    virtual void setpchange(const std::string& payload) = 0;
    virtual void setpval(const std::string& payload) = 0;
    virtual void whisshow(const std::string& payload) = 0;
    virtual void tracklist(const std::string& payload) = 0;
    virtual void trackset(const std::string& payload) = 0;
    virtual void passset(const std::string& payload) = 0;
    // "~q~" during a race suspension: kept for the result capture.
    virtual void storeRaceToken(const std::string& payload) = 0;
};

class Dispatcher {
public:
    Dispatcher(InboundHandlers& handlers, app::DiagnosticLog& log)
        : handlers_(handlers), log_(log) {}

    // One read of the lobby socket, decoded. With the main window visible the
    // read is split into messages, each dispatched in turn; while it is hidden
    // (a race suspension) the read is one message and only "~a~", "~9~" and
    // "~q~" count. A handler's exception ends the read and goes to the caller.
    void ClientSocketRead(const std::string& text, bool mainWindowVisible);

private:
    void dispatch(Inbound action, const std::string& payload);
    void hidden(const std::string& text);

    InboundHandlers& handlers_;
    app::DiagnosticLog& log_;
};

} // namespace tarmacia::protocol
