#pragma once
// Missing flag pictures come from the lobby's web server.

#include "platform/http_get.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <set>
#include <string>

namespace tarmacia::chat {

class FlagFetcher {
public:
    // `host` answers the web host to ask now: the lobby's (after the welcome
    // line) or the configured default one.
    FlagFetcher(platform::HttpGet& http, std::filesystem::path clientFolder,
                std::function<std::string()> host);

    // findflag: asks for "http://" host ":5450/flags/teams/" + file, and when
    // that brings nothing, ".../flags/other/" + file; a reply is saved only
    // when it succeeded and is not empty. Each file is asked for once per
    // session, and only files named by a safe flag code.
    void findflag(const std::string& file);
    // Called when a picture arrived, so that views can draw it.
    std::function<void(const std::filesystem::path& saved)> arrived;

private:
    void ask(const std::string& file, bool teams);
    bool save(const std::filesystem::path& target, const std::string& bytes) const;

    platform::HttpGet& http_;
    std::filesystem::path clientFolder_;
    std::function<std::string()> host_;
    std::set<std::string> asked_;
    // Replies that come after the fetcher is gone find this expired.
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

} // namespace tarmacia::chat
