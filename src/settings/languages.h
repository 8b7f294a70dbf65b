#pragma once
// The numbered texts of the client, loaded from a language file: UTF-16
// little-endian with a byte-order mark, one text per line; the first line is
// a header, line n after it is string n.

#include "app/diagnostic_log.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::settings {

class LanguageStrings {
public:
    // String n (from 1); empty when no file reached it.
    const std::string& operator[](int n) const;

    // Loads the file over the current strings: strings the file does not
    // reach keep their text. A missing or unreadable file changes nothing.
    bool load(const std::filesystem::path& file);
    // The same, from the file's bytes (UTF-16LE with BOM; without a BOM the
    // bytes are taken as Windows-1252).
    void loadBytes(std::string_view bytes);

private:
    std::vector<std::string> strings_{1}; // [0] unused
};

// "languages/" + "[" + flag + "]" + name + ".uni" in the client folder, the
// name matched without regard to letter case.
std::filesystem::path languageFile(const std::filesystem::path& clientFolder,
                                   std::string_view flag, std::string_view name);

} // namespace tarmacia::settings
