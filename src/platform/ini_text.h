#pragma once
// The text of one settings file under the private-profile rules, shared by
// the disk adapter and the fake so that the rules are written once.
//
// Every line is kept byte for byte with its own line break; an edit touches
// only the lines it must, so comments, blank lines, odd spacing and lines we
// do not understand survive a rewrite. New lines take the file's line breaks
// (CRLF when its first line ends so, LF otherwise).
//
// Reading follows Windows: a header is "[" up to the last "]" on the line; a
// key line is "name=value" with blanks around name and value dropped and one
// pair of enclosing quotes removed from the value; ";" starts a comment; the
// first of duplicate sections or keys wins; lines before the first header
// belong to no section. Names compare without regard to ASCII letter case.

#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarmacia::platform {

class IniError : public std::runtime_error {
public:
    using runtime_error::runtime_error;
};

class IniText {
public:
    // `bytes` as stored: Windows-1252, or UTF-8 when it starts with a UTF-8
    // byte-order mark (a file a user saved from an editor).
    explicit IniText(std::string_view bytes = {});
    std::string bytes() const;

    // Names and values in and out are UTF-8.
    std::optional<std::string> value(std::string_view section, std::string_view key) const;
    bool hasSection(std::string_view section) const;
    std::vector<std::string> sectionNames() const;
    std::vector<std::string> keyNames(std::string_view section) const;

    // A value with blanks at an end, or enclosed in a pair of quotes, is
    // written inside double quotes so that it reads back unchanged. Throws
    // IniError for a name or value that cannot be stored (empty name, line
    // break, "=" in a key, a key starting with "[" or ";").
    void set(std::string_view section, std::string_view key, std::string_view value);
    // Both return whether the text changed.
    bool eraseSection(std::string_view section);
    bool eraseKey(std::string_view section, std::string_view key);

private:
    enum class Kind : unsigned char { Other, Header, Key };
    enum class Ending : unsigned char { None, Lf, CrLf }; // None: a last line without a break
    // Kept small: a garbage file of a million empty lines is a million of these.
    struct Line {
        std::string body; // the bytes without the line break
        Ending ending = Ending::None;
        Kind kind = Kind::Other;
        std::size_t nameAt = 0; // the trimmed section or key name inside `body`
        std::size_t nameSize = 0;
        std::size_t valueAt = 0; // where a key's value starts in `body`
        std::string_view name() const { return std::string_view(body).substr(nameAt, nameSize); }
    };
    struct Section {
        std::size_t header; // index of the header line
        std::size_t end;    // one past the section's last line
    };

    static Line parse(std::string body, Ending ending);
    std::optional<Section> findSection(std::string_view storedName) const;
    std::string stored(std::string_view name) const;
    std::string shown(std::string_view raw) const;
    Ending lineBreak() const;
    void terminateLastLine();

    bool utf8_ = false;
    std::vector<Line> lines_;
};

} // namespace tarmacia::platform
