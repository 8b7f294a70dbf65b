#pragma once
// The client's keyless, reversible scrambling of passwords and reported
// values. It only hides a text from a casual reader.

#include <functional>
#include <string>
#include <string_view>

namespace tarmacia::protocol {

// Returns a character code from 46 to 64 inclusive for the two prefix characters.
using PrefixSource = std::function<int()>;

// The default source: uniform draws from a seeded engine.
PrefixSource randomPrefixSource();

// Works on Windows-1252 character codes: `plain` is UTF-8, the result digits.
std::string passenc(std::string_view plain, const PrefixSource& source);
std::string passdec2(std::string_view scrambled);

} // namespace tarmacia::protocol
