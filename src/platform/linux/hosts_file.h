#pragma once

#include "platform/hosts_file.h"

namespace tarmacia::platform::os {

class LinuxHostsFile : public HostsFile {
public:
    explicit LinuxHostsFile(std::filesystem::path path = "/etc/hosts") : path_(std::move(path)) {}
    std::filesystem::path path() const override { return path_; }
    bool canRewrite() const override;

private:
    std::filesystem::path path_;
};

} // namespace tarmacia::platform::os
