#pragma once
// The client's settings files, with the rules of Windows' private-profile
// functions: one value per call, names without regard to letter case, a
// missing file, section or key reads as the caller's default. Texts are
// UTF-8 here; the files hold Windows-1252.

#include "platform/ini_text.h"

#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::platform {

class IniFiles {
public:
    virtual ~IniFiles() = default;

    // One value per call; a missing file, section or key yields `fallback`.
    // Blanks around the value and one pair of enclosing quotes (" or ') are
    // dropped, as Windows does.
    std::string readString(const std::filesystem::path& file, std::string_view section,
                           std::string_view key, std::string_view fallback) const;

    // Creates the file and the section as needed; other sections, keys,
    // comments and blank lines stay as they are. Throws IniError on failure
    // (the old file then stays untouched), also for a name or value the file
    // cannot hold (an empty name, a line break, "=" in a key).
    void writeString(const std::filesystem::path& file, std::string_view section,
                     std::string_view key, std::string_view value);

    // Removes the section (every copy of it) with all its lines; a missing
    // file or section is left alone.
    void eraseSection(const std::filesystem::path& file, std::string_view section);
    // Removes the key from the section that reads see; missing = nothing.
    void deleteKey(const std::filesystem::path& file, std::string_view section,
                   std::string_view key);

    bool sectionExists(const std::filesystem::path& file, std::string_view section) const;
    // In file order, each name once (as first spelled).
    std::vector<std::string> sectionNames(const std::filesystem::path& file) const;
    std::vector<std::string> keyNames(const std::filesystem::path& file,
                                      std::string_view section) const;

    // Deletes the whole file; a missing file is left alone.
    virtual void removeFile(const std::filesystem::path& file) = 0;

    // Files marked private are created readable and writable by the user only
    // (0600) and kept so on every rewrite: they hold a scrambled password.
    virtual void markPrivate(const std::filesystem::path& file) = 0;

protected:
    // What an adapter supplies: the file's text (empty when missing), and a
    // change applied to it and stored as a whole; `change` answers whether
    // anything changed, and nothing is stored when it did not.
    virtual IniText load(const std::filesystem::path& file) const = 0;
    virtual void edit(const std::filesystem::path& file,
                      const std::function<bool(IniText&)>& change) = 0;
};

} // namespace tarmacia::platform
