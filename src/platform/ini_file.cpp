#include "platform/ini_file.h"

namespace tarmacia::platform {
namespace fs = std::filesystem;

std::string IniFiles::readString(const fs::path& file, std::string_view section,
                                 std::string_view key, std::string_view fallback) const {
    auto value = load(file).value(section, key);
    return value ? *value : std::string(fallback);
}

void IniFiles::writeString(const fs::path& file, std::string_view section, std::string_view key,
                           std::string_view value) {
    edit(file, [&](IniText& text) {
        text.set(section, key, value);
        return true;
    });
}

void IniFiles::eraseSection(const fs::path& file, std::string_view section) {
    edit(file, [&](IniText& text) { return text.eraseSection(section); });
}

void IniFiles::deleteKey(const fs::path& file, std::string_view section, std::string_view key) {
    edit(file, [&](IniText& text) { return text.eraseKey(section, key); });
}

bool IniFiles::sectionExists(const fs::path& file, std::string_view section) const {
    return load(file).hasSection(section);
}

std::vector<std::string> IniFiles::sectionNames(const fs::path& file) const {
    return load(file).sectionNames();
}

std::vector<std::string> IniFiles::keyNames(const fs::path& file, std::string_view section) const {
    return load(file).keyNames(section);
}

} // namespace tarmacia::platform
