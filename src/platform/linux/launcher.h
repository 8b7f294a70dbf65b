#pragma once

#include "platform/launcher.h"

#include <string>

namespace tarmacia::platform::os {

class LinuxLauncher : public Launcher {
public:
    // `wine` is looked up on PATH unless it holds a "/"; an empty `prefix`
    // means ~/.wine.
    explicit LinuxLauncher(std::string wine = "wine", std::filesystem::path prefix = {});

    std::optional<int> start(const std::filesystem::path& program,
                             const std::vector<std::string>& arguments,
                             const std::filesystem::path& workingFolder) override;

    const std::filesystem::path& prefix() const { return prefix_; }

private:
    std::string wine_;
    std::filesystem::path prefix_;
};

// Whether the file is a Windows program (begins with "MZ").
bool isWindowsProgram(const std::filesystem::path& file);

} // namespace tarmacia::platform::os
