#include "platform/paths.h"

#include "common/text.h"

#include <system_error>

namespace tarmacia::platform {
namespace fs = std::filesystem;

namespace {

// The entry of `folder` whose name equals `name` ignoring case; an exact
// match wins over a case-folded one.
fs::path matchEntry(const fs::path& folder, const std::string& name) {
    std::error_code ec;
    if (fs::exists(folder / name, ec)) return folder / name;
    fs::directory_iterator it(folder, ec);
    if (ec) return folder / name;
    for (const auto& entry : it) {
        if (equalsNoCase(entry.path().filename().string(), name)) return entry.path();
    }
    return folder / name;
}

} // namespace

fs::path resolvePath(const fs::path& base, std::string_view relative) {
    fs::path result = base;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = relative.size();
        std::string part(relative.substr(start, end - start));
        if (!part.empty() && part != "." && part != "..") result = matchEntry(result, part);
        start = end + 1;
    }
    return result;
}

} // namespace tarmacia::platform
