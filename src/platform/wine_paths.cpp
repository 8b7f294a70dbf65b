#include "platform/wine_paths.h"

#include "common/text.h"
#include "platform/paths.h"

#include <system_error>

namespace tarmacia::platform {
namespace fs = std::filesystem;

fs::path mapWindowsPath(const fs::path& prefix, std::string_view windowsPath) {
    if (windowsPath.size() < 2 || windowsPath[1] != ':') return {};
    char drive = toLower(windowsPath.substr(0, 1))[0];
    if (drive < 'a' || drive > 'z') return {};
    fs::path device = prefix / "dosdevices" / (std::string(1, drive) + ":");
    std::error_code ec;
    fs::path root = fs::canonical(device, ec);
    if (ec) {
        // A prefix without dosdevices still has its C: drive.
        if (drive != 'c' || !fs::is_directory(prefix / "drive_c", ec)) return {};
        root = prefix / "drive_c";
    }
    return resolvePath(root, windowsPath.substr(2));
}

} // namespace tarmacia::platform
