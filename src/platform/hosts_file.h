#pragma once
// The system HOSTS file ("/etc/hosts" unless configured otherwise). Wine
// resolves host names through the system resolver, so this is the file that
// points the race host name at the host.

#include <filesystem>

namespace tarmacia::platform {

class HostsFile {
public:
    virtual ~HostsFile() = default;
    virtual std::filesystem::path path() const = 0;
    // Whether this user may rewrite the file. This is what "running with
    // administrator rights" means for the client on Linux.
    virtual bool canRewrite() const = 0;
};

} // namespace tarmacia::platform
