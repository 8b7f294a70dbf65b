#pragma once
// Windows paths ("C:\Program Files\...") inside a Wine prefix map to Linux
// paths through the prefix's "dosdevices" links ("c:" -> "../drive_c").

#include <filesystem>
#include <string_view>

namespace tarmacia::platform {

// The Linux path of `windowsPath`, components matched without regard to
// case; empty when the text is not a drive path or the drive is unknown.
std::filesystem::path mapWindowsPath(const std::filesystem::path& prefix,
                                     std::string_view windowsPath);

} // namespace tarmacia::platform
