#pragma once
// HTTP GET of a page or a file. A reply whose status is not a success is a
// failed reply: its body (an error page) is never taken for the content.

#include <functional>
#include <string>

namespace tarmacia::platform {

struct HttpReply {
    bool ok = false;  // transport succeeded and the status is 2xx
    int status = 0;   // HTTP status, 0 when no answer came
    std::string body; // raw bytes; empty unless ok
    std::string error;
};

class HttpGet {
public:
    virtual ~HttpGet() = default;
    // Asynchronous; `done` runs on the event thread, exactly once per call.
    virtual void get(const std::string& url, std::function<void(const HttpReply&)> done) = 0;
};

} // namespace tarmacia::platform
