#pragma once
// Windows-1252, the single-byte code page of everything on the wire and in the
// games' files. Decoding never fails: the five unassigned bytes map to the C1
// control characters of the same value, as Windows does. Encoding turns every
// character the code page lacks into "?".

#include <optional>
#include <string>
#include <string_view>

namespace tarmacia::cp1252 {

std::string decode(std::string_view bytes);
std::string encode(std::string_view utf8);
// The bytes of `utf8`, or nothing when a character has no byte in the page.
std::optional<std::string> encodeExact(std::string_view utf8);

} // namespace tarmacia::cp1252
