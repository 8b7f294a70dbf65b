#pragma once
// Turning a chat text into HTML: smiley tokens, flag codes and web addresses;
// and the colour conversions of the chat cell style.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace tarmacia::chat {

// "<" two digits ">" becomes the smiley picture of the install folder's
// "smileygif". With `escapeText` every other character is HTML-escaped on
// the way (text from players); server tables pass unescaped.
std::string getsmiley(std::string_view text, const std::filesystem::path& installFolder,
                      bool escapeText);

// Web addresses become links ("www." gets "http://"); at most ten per text.
std::string getlink(std::string_view text);

struct FlagContext {
    std::filesystem::path clientFolder;
    int flagWidth = 36;
    int flagHeight = 24;
    // Asked for a flag file ("gbflag.bmp") that is not in the client folder.
    std::function<void(const std::string& file)> findflag;
};

// Flag codes ("[gb]") become flag pictures; a text without a leading code
// gets "[df]"; the first picture opens the cell with `cellStyle`. Server
// HTML ("<table...") gets no cell and "<table c" halves the flag sizes.
// A code that is not letters and digits (at most 10) stays text and is
// never looked up.
std::string getflag(std::string_view text, std::string_view cellStyle, const FlagContext& context);

// True for a flag code that may become a file name and a download.
bool isSafeFlagCode(std::string_view code);

// The text colour of a chat line as six hexadecimal digits (see the rules
// for rich text, "cl" names and other texts).
std::string getcolor(std::string_view text, std::string_view chatFontColour);

// Colours are 32-bit values with red in the low byte.
std::string ColorToHex(std::uint32_t colour);
std::uint32_t StrToColor(std::string_view sixDigits);
int HexToDec(std::string_view hex);
// The decimal digits of a text.
std::string getnumber(std::string_view text);

// "[" code "]" name: the code between the last "[" and the last "]", the
// name after the last "]"; without "]" there is no code.
struct FlaggedName {
    bool hasCode = false;
    std::string code;
    std::string name;
};
FlaggedName splitFlaggedName(std::string_view text);

} // namespace tarmacia::chat
