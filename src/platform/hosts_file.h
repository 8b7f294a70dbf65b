#pragma once
// The system HOSTS file ("/etc/hosts" unless configured otherwise). Wine
// resolves host names through the system resolver, so this is the file that
// points the race host name at the host.

#include <filesystem>
#include <optional>
#include <string>

namespace tarmacia::platform {

class HostsFile {
public:
    virtual ~HostsFile() = default;
    virtual std::filesystem::path path() const = 0;
    // Whether this user may rewrite the file. This is what "running with
    // administrator rights" means for the client on Linux.
    virtual bool canRewrite() const = 0;

    // The whole file as bytes; nullopt when it is missing or cannot be read.
    virtual std::optional<std::string> read() const = 0;
    // Replaces the whole file with `content`. Either the new content is in
    // place or the old file is left as it was; false on any failure.
    virtual bool rewrite(const std::string& content) = 0;
    // Whether anything (even a dangling link) is at `file`.
    virtual bool exists(const std::filesystem::path& file) const = 0;
    // Copies `from` to a new file `to`; never replaces an existing `to`.
    virtual bool copy(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Why the last failed read, rewrite or copy failed, for the user.
    virtual std::string lastError() const = 0;
};

} // namespace tarmacia::platform
