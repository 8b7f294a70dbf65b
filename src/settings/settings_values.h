#pragma once
// How the settings files spell colours, booleans and integers. The rules are
// the old client's, so files written by it read the same here.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tarmacia::settings {

// A stored value that cannot be converted. Thrown out of the read operation so
// that it stops where it failed; the application's handler logs the message.
class ConversionError : public std::runtime_error {
public:
    using runtime_error::runtime_error;
};

struct Colour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Colour&) const = default;
};

inline constexpr Colour kBlack{0, 0, 0};
inline constexpr Colour kWhite{255, 255, 255};

// "RRGGBB": each pair hexadecimal in either case, any other character counts
// as the digit 0, a missing pair as 0.
Colour colourFromText(std::string_view text);
// Always six upper-case digits.
std::string colourToText(Colour colour);

// An integer (0 false, anything else true) or "True"/"False" in any case;
// anything else throws "'<text>' is not a valid boolean value".
bool textToBool(std::string_view text);
// How booleans are written unless a key says otherwise.
inline std::string boolToText(bool value) {
    return value ? "-1" : "0";
}

// Optional sign and decimal digits that fit 32 bits; nothing else.
std::optional<std::int32_t> parseInteger(std::string_view text);
// Throws "'<text>' is not a valid integer value".
std::int32_t textToInt(std::string_view text);

} // namespace tarmacia::settings
