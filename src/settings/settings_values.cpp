#include "settings/settings_values.h"

#include "common/text.h"

#include <charconv>

namespace tarmacia::settings {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 0;
}

// Characters, not bytes: a stray non-ASCII character is one digit 0.
std::string_view charAt(std::string_view text, std::size_t index) {
    std::size_t from = byteLengthOfChars(text, index);
    std::size_t to = byteLengthOfChars(text, index + 1);
    return text.substr(from, to - from);
}

std::uint8_t pair(std::string_view text, std::size_t first) {
    int value = 0;
    for (std::size_t i = first; i < first + 2; ++i) {
        std::string_view c = charAt(text, i);
        if (c.empty()) break; // a lone last digit reads as itself, like a cut pair
        value = value * 16 + (c.size() == 1 ? hexDigit(c[0]) : 0);
    }
    return static_cast<std::uint8_t>(value);
}

} // namespace

Colour colourFromText(std::string_view text) {
    return {pair(text, 0), pair(text, 2), pair(text, 4)};
}

std::string colourToText(Colour colour) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (std::uint8_t byte : {colour.red, colour.green, colour.blue}) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 15];
    }
    return out;
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty() || text.front() == '+') return std::nullopt;
    std::int32_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

std::int32_t textToInt(std::string_view text) {
    if (auto value = parseInteger(text)) return *value;
    throw ConversionError("'" + std::string(text) + "' is not a valid integer value");
}

bool textToBool(std::string_view text) {
    // Any integer counts, even one too long for 32 bits.
    std::string_view digits = text;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+'))
        digits.remove_prefix(1);
    if (!digits.empty() && digits.find_first_not_of("0123456789") == std::string_view::npos)
        return digits.find_first_not_of('0') != std::string_view::npos;
    if (equalsNoCase(text, "true")) return true;
    if (equalsNoCase(text, "false")) return false;
    throw ConversionError("'" + std::string(text) + "' is not a valid boolean value");
}

} // namespace tarmacia::settings
