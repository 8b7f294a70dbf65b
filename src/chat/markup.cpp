#include "chat/markup.h"

#include "common/text.h"
#include "platform/paths.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>
#include <vector>

namespace tarmacia::chat {
namespace fs = std::filesystem;

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isAlnum(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

void appendEscaped(std::string& out, char c) {
    switch (c) {
    case '&':
        out += "&amp;";
        break;
    case '<':
        out += "&lt;";
        break;
    case '>':
        out += "&gt;";
        break;
    case '"':
        out += "&quot;";
        break;
    case '\'':
        out += "&#39;";
        break;
    default:
        out += c;
    }
}

// A file path inside a double-quoted attribute: it must not end the quotes.
std::string attributePath(const fs::path& path) {
    std::string out;
    for (char c : path.string())
        appendEscaped(out, c);
    return out;
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && equalsNoCase(text.substr(0, prefix.size()), prefix);
}

bool isFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

// Only these schemes become links: a player must not be able to point the
// chat view at file://, javascript: or anything else.
bool isWebAddress(std::string_view address) {
    return startsWithNoCase(address, "http://") || startsWithNoCase(address, "https://");
}

// An address ends at a blank or a line break, and also where it would leave
// the quotes of the HREF it is put into.
bool endsAddress(char c) {
    return c == ' ' || c == '\r' || c == '\n' || c == '\t' || c == '"' || c == '\'' || c == '<' ||
           c == '>';
}

std::string hexByte(int value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02X", value);
    return buffer;
}

} // namespace

std::string getsmiley(std::string_view text, const fs::path& installFolder, bool escapeText) {
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '<' && i + 3 < text.size() && isDigit(text[i + 1]) && isDigit(text[i + 2]) &&
            text[i + 3] == '>') {
            std::string file = "smileygif/" + std::string(text.substr(i + 1, 2)) + ".gif";
            out += "<IMG SRC=\"" + attributePath(platform::resolvePath(installFolder, file)) +
                   "\" border=\"0\" align = \"absmiddle\" hspace = \"3\" ></img>";
            i += 4;
            continue;
        }
        if (escapeText)
            appendEscaped(out, text[i]);
        else
            out += text[i];
        ++i;
    }
    return out;
}

std::string getlink(std::string_view input) {
    std::string text(input);
    text += ' ';

    // "www." without a scheme gets one.
    std::string upper = toUpper(text);
    std::string withScheme;
    withScheme.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (upper.compare(i, 4, "WWW.") == 0 && !(i >= 2 && text.compare(i - 2, 2, "//") == 0))
            withScheme += "http://";
        withScheme += text[i];
    }
    text = std::move(withScheme);
    upper = toUpper(text);

    // Collect up to ten addresses; the scan resumes after each one, so an
    // address quoted inside another is not linked twice.
    std::vector<std::string> addresses;
    for (std::size_t i = 0; i + 4 <= text.size() && addresses.size() < 10;) {
        if (upper.compare(i, 4, "HTTP") != 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && !endsAddress(text[end]))
            ++end;
        std::string address = text.substr(i, end - i);
        if (isWebAddress(address) &&
            std::find(addresses.begin(), addresses.end(), address) == addresses.end())
            addresses.push_back(std::move(address));
        i = end;
    }
    if (addresses.empty()) return text;
    // Longest first, so that an address that begins another one does not
    // split it.
    std::sort(addresses.begin(), addresses.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });

    // Every occurrence is replaced in one pass over the text, never inside a
    // link already made.
    std::string out;
    out.reserve(text.size() * 2);
    for (std::size_t i = 0; i < text.size();) {
        const std::string* hit = nullptr;
        for (const std::string& address : addresses) {
            if (text.compare(i, address.size(), address) == 0) {
                hit = &address;
                break;
            }
        }
        if (hit == nullptr) {
            out += text[i++];
            continue;
        }
        out += "<A Target = \"New\" HREF=\"" + *hit + "\"> " + *hit + "</A>";
        i += hit->size();
    }
    return out;
}

bool isSafeFlagCode(std::string_view code) {
    return !code.empty() && code.size() <= 10 && std::all_of(code.begin(), code.end(), isAlnum);
}

std::string getflag(std::string_view input, std::string_view cellStyle,
                    const FlagContext& context) {
    std::string text(input);
    bool serverHtml = false;
    int width = context.flagWidth;
    int height = context.flagHeight;
    if (!startsWith(text, "[")) {
        if (startsWith(text, "<table")) {
            serverHtml = true;
            if (startsWith(text, "<table c")) {
                width /= 2;
                height /= 2;
            }
        } else {
            text = "[df]" + text;
        }
    }

    std::string out;
    out.reserve(text.size() + 256);
    bool cellOpened = false;
    std::size_t codeStart = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        out += c;
        if (c == '[') {
            codeStart = i + 1;
            continue;
        }
        if (c != ']' || codeStart == std::string::npos) continue;
        std::string code = text.substr(codeStart, i - codeStart);
        codeStart = std::string::npos;
        // Codes become file names and downloads: anything but a short run of
        // letters and digits stays plain text.
        if (!isSafeFlagCode(code)) continue;

        bool admin = code == "ad";
        std::string teamsFile = admin ? "adflag.gif" : code + "flag.bmp";
        fs::path picture = platform::resolvePath(context.clientFolder, "flags/teams/" + teamsFile);
        bool adminPicture = admin && isFile(picture);
        if (!isFile(picture)) {
            picture =
                platform::resolvePath(context.clientFolder, "flags/other/" + code + "flag.bmp");
            if (!isFile(picture)) {
                if (context.findflag) context.findflag(teamsFile);
                continue;
            }
        }

        std::string tag = "[" + code + "]";
        out.erase(out.find(tag), tag.size());
        if (!cellOpened && !serverHtml) {
            out += cellStyle;
            out += "valign=\"middle\" align \"Left\">";
        }
        cellOpened = true;
        out += " <IMG SRC=\"" + attributePath(picture) + "\"  Height=\"";
        if (adminPicture)
            out += "75\" width=\"75";
        else
            out += std::to_string(height) + "\" width=\"" + std::to_string(width);
        out += "\"align = \"absmiddle\" hspace = \"2\" vspace = \"1\" alt=\"\"/> ";
    }
    return out;
}

std::string getcolor(std::string_view text, std::string_view chatFontColour) {
    if (startsWith(text, "{")) {
        // Only the colour table in front of the first font size counts: that is
        // where the sender's one colour stands.
        std::string red, green, blue;
        auto component = [&](std::size_t from) {
            std::string digits = getnumber(text.substr(std::min(from, text.size()), 3));
            int value = 0;
            for (char d : digits)
                value = value * 10 + (d - '0');
            return hexByte(value);
        };
        for (std::size_t i = 0; i + 3 <= text.size(); ++i) {
            std::string_view window = text.substr(i, 3);
            if (window == "red") {
                red = component(i + 3);
            } else if (window == "gre") {
                std::size_t en = text.find("en", i + 3);
                if (en != std::string_view::npos) green = component(en + 2);
            } else if (window == "blu") {
                std::size_t e = text.find('e', i + 3);
                if (e != std::string_view::npos) blue = component(e + 1);
            }
            if (window == "\\fs") break;
        }
        return red + green + blue;
    }
    if (startsWith(text, "cl")) {
        static constexpr std::array<std::pair<std::string_view, std::string_view>, 16> kNames = {{
            {"clBlack", "000000"},
            {"clTeal", "008080"},
            {"clFuchsia", "FF00FF"},
            {"clOlive", "808000"},
            {"clRed", "FF0000"},
            {"clSilver", "C0C0C0"},
            {"clGreen", "008000"},
            {"clBlue", "0000FF"},
            {"clWhite", "FFFFFF"},
            {"clLime", "00FF00"},
            {"clAqua", "00FFFF"},
            {"clGray", "808080"},
            {"clYellow", "FFFF00"},
            {"clNavy", "000080"},
            {"clPurple", "800080"},
            {"clMaroon", "800000"},
        }};
        for (const auto& [name, value] : kNames)
            if (text == name) return std::string(value);
        return {};
    }
    return std::string(chatFontColour);
}

std::string ColorToHex(std::uint32_t colour) {
    return hexByte(static_cast<int>(colour & 0xFF)) +
           hexByte(static_cast<int>((colour >> 8) & 0xFF)) +
           hexByte(static_cast<int>((colour >> 16) & 0xFF));
}

std::uint32_t StrToColor(std::string_view sixDigits) {
    auto part = [&](std::size_t from) {
        return static_cast<std::uint32_t>(
            HexToDec(from < sixDigits.size() ? sixDigits.substr(from, 2) : std::string_view{}));
    };
    return (part(0) & 0xFF) | ((part(2) & 0xFF) << 8) | ((part(4) & 0xFF) << 16);
}

int HexToDec(std::string_view hex) {
    // Unsigned so that an over-long text wraps instead of overflowing.
    std::uint32_t sum = 0;
    for (char c : toUpper(hex)) {
        std::uint32_t digit = 0;
        if (c >= '1' && c <= '9') digit = static_cast<std::uint32_t>(c - '0');
        if (c >= 'A' && c <= 'F') digit = static_cast<std::uint32_t>(c - 'A' + 10);
        sum = sum * 16 + digit;
    }
    return static_cast<int>(sum);
}

std::string getnumber(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (isDigit(c)) digits += c;
    return digits;
}

FlaggedName splitFlaggedName(std::string_view text) {
    FlaggedName result;
    std::size_t close = text.rfind(']');
    if (close == std::string_view::npos) {
        result.name = std::string(text);
        return result;
    }
    std::size_t open = text.rfind('[');
    std::size_t start = open == std::string_view::npos ? 0 : open + 1;
    result.hasCode = true;
    if (start <= close) result.code = std::string(text.substr(start, close - start));
    result.name = std::string(text.substr(close + 1));
    return result;
}

} // namespace tarmacia::chat
