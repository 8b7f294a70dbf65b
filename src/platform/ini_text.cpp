#include "platform/ini_text.h"

#include "common/cp1252.h"
#include "common/text.h"
#include "platform/ini_file.h"

#include <algorithm>
#include <unordered_set>

namespace tarmacia::platform {
namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// What Windows trims around names and values; Ctrl-Z is the end-of-file mark
// old DOS editors leave behind.
bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f' || c == '\x1A';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Windows writes a value as given, so " x " or "'x'" would not read back as
// written. Enclosing such a value in quotes makes it read back exactly.
std::string quotedIfNeeded(std::string value) {
    if (value.empty()) return value;
    bool padded = isBlank(value.front()) || isBlank(value.back());
    if (padded || unquoted(value).size() != value.size()) return '"' + value + '"';
    return value;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

} // namespace

IniText::IniText(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Bom)) {
        utf8_ = true;
        bytes.remove_prefix(kUtf8Bom.size());
    }
    while (!bytes.empty()) {
        std::size_t lf = bytes.find('\n');
        if (lf == std::string_view::npos) {
            // A lone "\r" at the very end stays in the body, so that adding a
            // line break later makes it a proper CRLF.
            lines_.push_back(parse(std::string(bytes), Ending::None));
            break;
        }
        std::string_view body = bytes.substr(0, lf);
        Ending ending = Ending::Lf;
        if (body.ends_with('\r')) {
            body.remove_suffix(1);
            ending = Ending::CrLf;
        }
        lines_.push_back(parse(std::string(body), ending));
        bytes.remove_prefix(lf + 1);
    }
}

IniText::Line IniText::parse(std::string body, Ending ending) {
    Line line;
    line.body = std::move(body);
    line.ending = ending;
    std::string_view text = line.body;
    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    if (start == text.size() || text[start] == ';') return line;

    if (text[start] == '[') {
        // A header without its "]" is no header; it does not end the section.
        std::size_t close = text.rfind(']');
        if (close == std::string_view::npos || close < start) return line;
        std::string_view inner = text.substr(start + 1, close - start - 1);
        std::string_view name = trim(inner);
        line.kind = Kind::Header;
        line.nameAt = name.empty() ? 0 : static_cast<std::size_t>(name.data() - text.data());
        line.nameSize = name.size();
        return line;
    }

    std::size_t eq = text.find('=', start);
    if (eq == std::string_view::npos) return line;
    std::string_view name = trim(text.substr(start, eq - start));
    line.kind = Kind::Key;
    line.nameAt = name.empty() ? 0 : static_cast<std::size_t>(name.data() - text.data());
    line.nameSize = name.size();
    // Keep the writer's spacing after "=" when the value is replaced.
    std::size_t value = eq + 1;
    while (value < text.size() && isBlank(text[value]))
        ++value;
    line.valueAt = value == text.size() ? eq + 1 : value;
    return line;
}

std::string IniText::bytes() const {
    std::string out;
    if (utf8_) out += kUtf8Bom;
    for (const Line& line : lines_) {
        out += line.body;
        if (line.ending == Ending::CrLf) out += "\r\n";
        if (line.ending == Ending::Lf) out += '\n';
    }
    return out;
}

std::string IniText::stored(std::string_view name) const {
    std::string_view trimmed = trim(name);
    return utf8_ ? std::string(trimmed) : cp1252::encode(trimmed);
}

std::string IniText::shown(std::string_view raw) const {
    return utf8_ ? std::string(raw) : cp1252::decode(raw);
}

IniText::Ending IniText::lineBreak() const {
    for (const Line& line : lines_)
        if (line.ending != Ending::None) return line.ending;
    return Ending::Lf;
}

void IniText::terminateLastLine() {
    if (!lines_.empty() && lines_.back().ending == Ending::None) lines_.back().ending = lineBreak();
}

std::optional<IniText::Section> IniText::findSection(std::string_view storedName) const {
    if (storedName.empty()) return std::nullopt;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind != Kind::Header || !equalsNoCase(lines_[i].name(), storedName)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && lines_[end].kind != Kind::Header)
            ++end;
        return Section{i, end};
    }
    return std::nullopt;
}

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const {
    auto found = findSection(stored(section));
    std::string name = stored(key);
    if (!found || name.empty()) return std::nullopt;
    for (std::size_t i = found->header + 1; i < found->end; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Key && equalsNoCase(line.name(), name))
            return shown(unquoted(trim(std::string_view(line.body).substr(line.valueAt))));
    }
    return std::nullopt;
}

bool IniText::hasSection(std::string_view section) const {
    return findSection(stored(section)).has_value();
}

std::vector<std::string> IniText::sectionNames() const {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    for (const Line& line : lines_)
        if (line.kind == Kind::Header && line.nameSize != 0 &&
            seen.insert(toLower(line.name())).second)
            names.push_back(shown(line.name()));
    return names;
}

std::vector<std::string> IniText::keyNames(std::string_view section) const {
    std::vector<std::string> names;
    std::unordered_set<std::string> seen;
    auto found = findSection(stored(section));
    if (!found) return names;
    for (std::size_t i = found->header + 1; i < found->end; ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Key && line.nameSize != 0 &&
            seen.insert(toLower(line.name())).second)
            names.push_back(shown(line.name()));
    }
    return names;
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value) {
    std::string sectionName = stored(section);
    std::string keyName = stored(key);
    std::string text = utf8_ ? std::string(value) : cp1252::encode(value);
    // Anything here that would read back differently (or as another line)
    // is refused rather than written.
    if (sectionName.empty() || hasLineBreak(sectionName))
        throw IniError("Invalid settings section name \"" + std::string(section) + "\"");
    if (keyName.empty() || hasLineBreak(keyName) || keyName.find('=') != std::string::npos ||
        keyName.front() == '[' || keyName.front() == ';')
        throw IniError("Invalid settings key name \"" + std::string(key) + "\"");
    if (hasLineBreak(text))
        throw IniError("A settings value cannot hold a line break (key \"" + std::string(key) +
                       "\")");
    text = quotedIfNeeded(std::move(text));

    const Ending ending = lineBreak();
    auto found = findSection(sectionName);
    if (!found) {
        terminateLastLine();
        lines_.push_back(parse("[" + sectionName + "]", ending));
        lines_.push_back(parse(keyName + "=" + text, ending));
        return;
    }
    std::size_t last = found->header; // the section's last line that is not blank
    for (std::size_t i = found->header + 1; i < found->end; ++i) {
        Line& line = lines_[i];
        if (line.kind == Kind::Key && equalsNoCase(line.name(), keyName)) {
            line.body = line.body.substr(0, line.valueAt) + text;
            return;
        }
        if (!trim(line.body).empty()) last = i;
    }
    if (lines_[last].ending == Ending::None) lines_[last].ending = ending;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last + 1),
                  parse(keyName + "=" + text, ending));
}

bool IniText::eraseSection(std::string_view section) {
    // Every copy goes: a later duplicate would otherwise surface in its place.
    std::string name = stored(section);
    if (name.empty()) return false;
    std::size_t kept = 0;
    bool dropping = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == Kind::Header) dropping = equalsNoCase(lines_[i].name(), name);
        if (dropping) continue;
        if (kept != i) lines_[kept] = std::move(lines_[i]);
        ++kept;
    }
    if (kept == lines_.size()) return false;
    lines_.resize(kept);
    return true;
}

bool IniText::eraseKey(std::string_view section, std::string_view key) {
    auto found = findSection(stored(section));
    std::string name = stored(key);
    if (!found || name.empty()) return false;
    auto first = lines_.begin() + static_cast<std::ptrdiff_t>(found->header + 1);
    auto last = lines_.begin() + static_cast<std::ptrdiff_t>(found->end);
    auto kept = std::remove_if(first, last, [&](const Line& line) {
        return line.kind == Kind::Key && equalsNoCase(line.name(), name);
    });
    if (kept == last) return false;
    lines_.erase(kept, last);
    return true;
}

} // namespace tarmacia::platform
