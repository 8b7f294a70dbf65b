#pragma once
// Starting a game program. Windows programs run under Wine in the player's
// prefix; a native executable (a script, a Linux build) runs directly.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tarmacia::platform {

class Launcher {
public:
    virtual ~Launcher() = default;
    // Starts `program` with `arguments` in `workingFolder` and returns the
    // started process's identifier; nullopt when it could not be started
    // (missing file, not executable). The program runs on by itself: the
    // client never waits for it.
    virtual std::optional<int> start(const std::filesystem::path& program,
                                     const std::vector<std::string>& arguments,
                                     const std::filesystem::path& workingFolder) = 0;
};

} // namespace tarmacia::platform
