#pragma once

#include "platform/http_get.h"

#include <QNetworkAccessManager>

namespace tarmacia::platform::qt {

// HTTP GET on QNetworkAccessManager. Redirects are followed (never from
// https down to http); a request that has not finished after 15 s fails.
class QtHttpGet : public HttpGet {
public:
    static constexpr int kTimeoutMs = 15'000;

    void get(const std::string& url, std::function<void(const HttpReply&)> done) override;

private:
    QNetworkAccessManager manager_;
};

} // namespace tarmacia::platform::qt
