#include "platform/linux/hosts_file.h"

#include <unistd.h>

namespace tarmacia::platform::os {

bool LinuxHostsFile::canRewrite() const {
    // The file itself must be writable; a missing file must be creatable.
    if (::access(path_.c_str(), F_OK) == 0) return ::access(path_.c_str(), W_OK) == 0;
    std::filesystem::path folder = path_.parent_path().empty() ? "." : path_.parent_path();
    return ::access(folder.c_str(), W_OK) == 0;
}

} // namespace tarmacia::platform::os
