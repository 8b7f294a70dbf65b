#include "settings/languages.h"

#include "common/cp1252.h"
#include "common/text.h"
#include "platform/paths.h"

#include <fstream>
#include <iterator>

namespace tarmacia::settings {
namespace {


std::string utf16leToUtf8(std::string_view bytes) {
    std::string out;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t unit = static_cast<unsigned char>(bytes[i]) |
                        (static_cast<unsigned char>(bytes[i + 1]) << 8);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
            char32_t low = static_cast<unsigned char>(bytes[i + 2]) |
                           (static_cast<unsigned char>(bytes[i + 3]) << 8);
            if (low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            } else {
                unit = 0xFFFD;
            }
        } else if (unit >= 0xD800 && unit < 0xE000) {
            unit = 0xFFFD; // a lone surrogate
        }
        appendUtf8(out, unit);
    }
    return out;
}

} // namespace

const std::string& LanguageStrings::operator[](int n) const {
    static const std::string none;
    if (n < 1 || static_cast<std::size_t>(n) >= strings_.size()) return none;
    return strings_[static_cast<std::size_t>(n)];
}

void LanguageStrings::loadBytes(std::string_view bytes) {
    std::string text = bytes.starts_with("\xFF\xFE") ? utf16leToUtf8(bytes.substr(2))
                                                     : cp1252::decode(bytes);
    std::size_t start = 0;
    int line = 0; // the header is line 0
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string value = text.substr(start, end - start);
        if (!value.empty() && value.back() == '\r') value.pop_back();
        if (line > 0 && !(end == text.size() && value.empty())) {
            if (strings_.size() <= static_cast<std::size_t>(line)) strings_.resize(line + 1);
            strings_[static_cast<std::size_t>(line)] = value;
        }
        ++line;
        start = end + 1;
    }
}

bool LanguageStrings::load(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    loadBytes(bytes);
    return true;
}

std::filesystem::path languageFile(const std::filesystem::path& clientFolder,
                                   std::string_view flag, std::string_view name) {
    std::string file = "languages/[" + std::string(flag) + "]" + std::string(name) + ".uni";
    return platform::resolvePath(clientFolder, file);
}

} // namespace tarmacia::settings
