#pragma once
// Small text helpers. Texts inside the client are UTF-8; bounds and positions
// given in characters count code points, not bytes.

#include <cstddef>
#include <string>
#include <string_view>

namespace tarmacia {

// Number of characters (code points) of a UTF-8 text.
std::size_t charCount(std::string_view text);

// Byte length of the first `chars` characters (the whole text when shorter).
std::size_t byteLengthOfChars(std::string_view text, std::size_t chars);

// The text cut to at most `bound` characters, as bounded record fields store it.
std::string cut(std::string_view text, std::size_t bound);

// ASCII-only case folding: the client's names, codes and file names are ASCII.
std::string toLower(std::string_view text);
std::string toUpper(std::string_view text);
bool equalsNoCase(std::string_view a, std::string_view b);

bool startsWith(std::string_view text, std::string_view prefix);

// Appends the UTF-8 form of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

} // namespace tarmacia
