#pragma once
// Game-relative paths are written Windows-style ("GameData\CarModel\928.crp")
// but the games live on a case-sensitive file system inside a Wine prefix.

#include <filesystem>
#include <string_view>

namespace tarmacia::platform {

// Joins `relative` (backslashes or slashes) to `base`, matching each component
// against what exists without regard to letter case, as Wine does. Components
// that do not exist are kept as written, so the result can name a new file.
// "." and ".." components are dropped: a game-relative path never leaves its base.
std::filesystem::path resolvePath(const std::filesystem::path& base, std::string_view relative);

} // namespace tarmacia::platform
