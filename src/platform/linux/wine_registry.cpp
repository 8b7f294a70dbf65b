#include "platform/linux/wine_registry.h"

#include "common/text.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>

namespace tarmacia::platform::os {
namespace fs = std::filesystem;

namespace {


int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads Wine's escaped text from `pos` up to the unescaped `end` character.
// Wine writes "\\", "\"", "\n", "\r", "\t", "\0" and "\xHHHH" for characters
// outside ASCII. Returns false when the text is not closed.
bool unescape(std::string_view line, std::size_t& pos, char end, std::string& out) {
    while (pos < line.size()) {
        char c = line[pos++];
        if (c == end) return true;
        if (c != '\\' || pos >= line.size()) {
            out += c;
            continue;
        }
        char e = line[pos++];
        switch (e) {
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        case 'a': out += '\a'; break;
        case 'b': out += '\b'; break;
        case 'f': out += '\f'; break;
        case 'v': out += '\v'; break;
        case 'e': out += '\x1B'; break;
        case '0': break; // an embedded NUL ends nothing we read
        case 'x': {
            unsigned cp = 0;
            int digits = 0;
            while (digits < 4 && pos < line.size() && hexDigit(line[pos]) >= 0) {
                cp = cp * 16 + static_cast<unsigned>(hexDigit(line[pos++]));
                ++digits;
            }
            appendUtf8(out, cp);
            break;
        }
        default: out += e;
        }
    }
    return false;
}

std::string trimmed(std::string_view s) {
    std::size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos) return {};
    std::size_t e = s.find_last_not_of(" \t\r");
    return std::string(s.substr(b, e - b + 1));
}

} // namespace

RegKeys parseRegFile(std::string_view text) {
    RegKeys keys;
    std::map<std::string, RegValue>* current = nullptr;
    std::string pendingLine;
    std::istringstream in{std::string(text)};
    std::string raw;
    while (std::getline(in, raw)) {
        if (!raw.empty() && raw.back() == '\r') raw.pop_back();
        // Binary values continue on the next line after a trailing backslash.
        if (!raw.empty() && raw.back() == '\\' && raw.find('=') != std::string::npos) {
            pendingLine += raw.substr(0, raw.size() - 1);
            continue;
        }
        std::string line = pendingLine.empty() ? raw : pendingLine + trimmed(raw);
        pendingLine.clear();
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;

        if (line[0] == '[') {
            std::size_t pos = 1;
            std::string key;
            if (!unescape(line, pos, ']', key)) {
                current = nullptr;
                continue;
            }
            current = &keys[toLower(key)];
            continue;
        }
        if (current == nullptr) continue;

        std::string name;
        std::size_t pos = 0;
        if (line[0] == '@') {
            pos = 1;
        } else if (line[0] == '"') {
            pos = 1;
            if (!unescape(line, pos, '"', name)) continue;
        } else {
            continue;
        }
        if (pos >= line.size() || line[pos] != '=') continue;
        std::string_view data = std::string_view(line).substr(pos + 1);

        RegValue value;
        if (!data.empty() && data[0] == '"') {
            std::size_t p = 1;
            std::string s;
            if (!unescape(data, p, '"', s)) continue;
            value.data = s;
        } else if (data.starts_with("str(2):\"") || data.starts_with("str(7):\"")) {
            std::size_t p = 8;
            std::string s;
            if (!unescape(data, p, '"', s)) continue;
            value.data = s;
        } else if (data.starts_with("dword:")) {
            std::string digits = trimmed(data.substr(6));
            if (digits.empty() || digits.size() > 8) continue;
            std::uint32_t v = 0;
            bool ok = true;
            for (char c : digits) {
                int d = hexDigit(c);
                if (d < 0) {
                    ok = false;
                    break;
                }
                v = v * 16 + static_cast<std::uint32_t>(d);
            }
            if (!ok) continue;
            value.data = v;
        } else {
            continue; // binary and other types: nothing the client reads
        }
        (*current)[toLower(name)] = std::move(value);
    }
    return keys;
}

WineRegistry::WineRegistry(fs::path prefix) : prefix_(std::move(prefix)) {}

const RegKeys& WineRegistry::keys(Hive hive) const {
    fs::path file = prefix_ / (hive == Hive::LocalMachine ? "system.reg" : "user.reg");
    Cache& cache = cache_[hive];
    std::error_code ec;
    auto stamp = fs::last_write_time(file, ec);
    if (ec) {
        cache = Cache{};
        return cache.keys;
    }
    // Wine rewrites its files while it runs: read again after a change.
    if (!cache.loaded || stamp != cache.stamp) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream buffer;
        buffer << in.rdbuf();
        cache.keys = parseRegFile(buffer.str());
        cache.stamp = stamp;
        cache.loaded = true;
    }
    return cache.keys;
}

const RegValue* WineRegistry::find(Hive hive, const std::string& key,
                                   const std::string& name) const {
    const RegKeys& all = keys(hive);
    auto k = all.find(toLower(key));
    if (k == all.end()) return nullptr;
    auto v = k->second.find(toLower(name));
    return v == k->second.end() ? nullptr : &v->second;
}

bool WineRegistry::keyExists(Hive hive, const std::string& key) const {
    return keys(hive).count(toLower(key)) != 0;
}

std::optional<std::string> WineRegistry::readString(Hive hive, const std::string& key,
                                                    const std::string& name) const {
    const RegValue* v = find(hive, key, name);
    if (v == nullptr || !std::holds_alternative<std::string>(v->data)) return std::nullopt;
    return std::get<std::string>(v->data);
}

std::optional<std::uint32_t> WineRegistry::readDword(Hive hive, const std::string& key,
                                                     const std::string& name) const {
    const RegValue* v = find(hive, key, name);
    if (v == nullptr || !std::holds_alternative<std::uint32_t>(v->data)) return std::nullopt;
    return std::get<std::uint32_t>(v->data);
}

fs::path defaultWinePrefix() {
    if (const char* prefix = std::getenv("WINEPREFIX"); prefix && *prefix) return prefix;
    const char* home = std::getenv("HOME");
    return fs::path(home ? home : "") / ".wine";
}

} // namespace tarmacia::platform::os
