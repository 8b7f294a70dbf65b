#pragma once
// The HOSTS file on disk. A rewrite goes to a temporary file beside it, is
// flushed and renamed over the old file, keeping its mode and owner, so a
// crash leaves either the old or the new file.

#include "platform/hosts_file.h"

#include <cstdio>
#include <functional>

namespace tarmacia::platform::os {

class LinuxHostsFile : public HostsFile {
public:
    using Rename = std::function<int(const char* from, const char* to)>;

    // `rename` puts the finished temporary in place; tests make it fail.
    explicit LinuxHostsFile(std::filesystem::path path = "/etc/hosts", Rename rename = ::rename)
        : path_(std::move(path)), rename_(std::move(rename)) {}

    std::filesystem::path path() const override { return path_; }
    bool canRewrite() const override;
    std::optional<std::string> read() const override;
    bool rewrite(const std::string& content) override;
    bool exists(const std::filesystem::path& file) const override;
    bool copy(const std::filesystem::path& from, const std::filesystem::path& to) override;
    std::string lastError() const override { return error_; }

    // Blocking lists make HOSTS files of a few megabytes; anything beyond
    // this is not a HOSTS file we should hold in memory or rewrite.
    static constexpr std::size_t kMaxBytes = 64 * 1024 * 1024;

private:
    bool fail(const std::string& why) const;
    bool rewriteInPlace(const std::filesystem::path& target, const std::string& old,
                        const std::string& content);

    std::filesystem::path path_;
    Rename rename_;
    mutable std::string error_;
};

} // namespace tarmacia::platform::os
