#pragma once
// HTTP a test answers by hand. Requests wait until the test answers them,
// oldest first, either one by one or all at once from a script of replies
// keyed by URL prefix.

#include "platform/http_get.h"

#include <cstddef>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace tarmacia::platform::fake {

class FakeHttpGet : public HttpGet {
public:
    static HttpReply page(std::string body) { return {true, 200, std::move(body), {}}; }
    static HttpReply down() { return {false, 0, {}, "Connection refused"}; }

    void get(const std::string& url, std::function<void(const HttpReply&)> done) override {
        urls.push_back(url);
        pending_.push_back({url, std::move(done)});
    }

    // Every URL requested, in order.
    std::vector<std::string> urls;
    std::size_t pendingCount() const { return pending_.size(); }
    const std::string& pendingUrl() const { return pending_.front().url; }

    // Answers the oldest pending request.
    void respond(const HttpReply& reply) {
        Pending request = std::move(pending_.front());
        pending_.pop_front();
        if (request.done) request.done(reply);
    }
    void respond(std::string body) { respond(page(std::move(body))); }
    void fail() { respond(down()); }

    // A reply for every URL that starts with `prefix`; the longest prefix wins.
    void script(std::string prefix, HttpReply reply) {
        script_.emplace_back(std::move(prefix), std::move(reply));
    }
    // Answers pending requests from the script, including the ones the
    // answers themselves make, until none is left. Unscripted URLs fail.
    int answerAll() {
        int answered = 0;
        while (!pending_.empty()) {
            respond(scripted(pending_.front().url));
            ++answered;
        }
        return answered;
    }

private:
    struct Pending {
        std::string url;
        std::function<void(const HttpReply&)> done;
    };

    HttpReply scripted(const std::string& url) const {
        const std::pair<std::string, HttpReply>* best = nullptr;
        for (const auto& entry : script_) {
            if (url.compare(0, entry.first.size(), entry.first) == 0 &&
                (best == nullptr || entry.first.size() > best->first.size()))
                best = &entry;
        }
        return best != nullptr ? best->second : down();
    }

    std::deque<Pending> pending_;
    std::vector<std::pair<std::string, HttpReply>> script_;
};

} // namespace tarmacia::platform::fake
