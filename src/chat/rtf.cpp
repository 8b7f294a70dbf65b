#include "chat/rtf.h"

#include "common/cp1252.h"
#include "common/text.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarmacia::chat {
namespace {

// --- writing ---------------------------------------------------------------

// One code point of a UTF-8 text; a broken sequence reads as U+FFFD, one byte.
char32_t nextCodePoint(std::string_view text, std::size_t& i) {
    auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    unsigned char lead = byte(i);
    int length = lead < 0x80           ? 1
                 : (lead >> 5) == 0x6  ? 2
                 : (lead >> 4) == 0xE  ? 3
                 : (lead >> 3) == 0x1E ? 4
                                       : 0;
    if (length == 0 || i + length > text.size()) {
        ++i;
        return lead < 0x80 ? lead : U'\uFFFD';
    }
    char32_t cp = length == 1 ? lead : lead & (0x7F >> length);
    for (int k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            ++i;
            return U'\uFFFD';
        }
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    i += length;
    return cp;
}

void appendHex(std::string& out, unsigned char byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

std::uint32_t readLe32(std::string_view bytes, std::size_t at) {
    if (at + 4 > bytes.size()) return 0;
    std::uint32_t value = 0;
    for (int k = 3; k >= 0; --k)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

std::uint32_t readBe32(std::string_view bytes, std::size_t at) {
    if (at + 4 > bytes.size()) return 0;
    std::uint32_t value = 0;
    for (int k = 0; k < 4; ++k)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + k]);
    return value;
}

// "{\pict ...}" with the blip kind RichEdit uses for the picture's format.
// A bitmap file goes in without its file header, as a device-independent
// bitmap. The whisper rewrite depends on the group opening with "\pic".
std::string pictureGroup(std::string_view bytes) {
    std::string kind = "\\wmetafile8";
    std::int64_t width = 0;
    std::int64_t height = 0;
    std::string_view data = bytes;
    if (bytes.substr(0, 8) == std::string_view("\x89PNG\r\n\x1a\n", 8)) {
        kind = "\\pngblip";
        width = readBe32(bytes, 16);
        height = readBe32(bytes, 20);
    } else if (bytes.substr(0, 2) == "BM" && bytes.size() > 14) {
        kind = "\\dibitmap0";
        data = bytes.substr(14);
        width = static_cast<std::int32_t>(readLe32(bytes, 18));
        height = static_cast<std::int32_t>(readLe32(bytes, 22));
        if (height < 0) height = -height;
    } else if (bytes.substr(0, 2) == "\xFF\xD8") {
        kind = "\\jpegblip";
    }
    std::string out = "{\\pict" + kind;
    if (width > 0 && height > 0) {
        // Goal sizes in twips, at 96 pixels an inch.
        out += "\\picw" + std::to_string(width) + "\\pich" + std::to_string(height) + "\\picwgoal" +
               std::to_string(width * 15) + "\\pichgoal" + std::to_string(height * 15);
    }
    out += ' ';
    out.reserve(out.size() + data.size() * 2 + 1);
    for (char c : data)
        appendHex(out, static_cast<unsigned char>(c));
    out += '}';
    return out;
}

void appendCharacter(std::string& out, char32_t cp) {
    if (cp == '\\' || cp == '{' || cp == '}') {
        out += '\\';
        out += static_cast<char>(cp);
    } else if (cp == '\t') {
        out += "\\tab ";
    } else if (cp >= 0x20 && cp < 0x7F) {
        out += static_cast<char>(cp);
    } else if (cp < 0x20 || cp == 0x7F) {
        // Other control characters have no place in a chat line.
    } else {
        std::string utf8;
        appendUtf8(utf8, cp);
        if (auto byte = cp1252::encodeExact(utf8)) {
            out += "\\'";
            appendHex(out, static_cast<unsigned char>((*byte)[0]));
            return;
        }
        // \u takes a signed 16-bit value; beyond the basic plane it takes a
        // surrogate pair. "?" is what readers without Unicode show.
        auto unit = [&](std::uint32_t value) {
            out += "\\u" + std::to_string(static_cast<std::int16_t>(value)) + "?";
        };
        if (cp > 0xFFFF) {
            std::uint32_t v = cp - 0x10000;
            unit(0xD800 + (v >> 10));
            unit(0xDC00 + (v & 0x3FF));
        } else {
            unit(cp);
        }
    }
}

// --- reading ---------------------------------------------------------------

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Destinations whose text is not part of what the reader sees.
bool isHiddenDestination(std::string_view word) {
    static constexpr std::array<std::string_view, 30> kHidden = {
        "fonttbl",
        "colortbl",
        "stylesheet",
        "info",
        "pict",
        "object",
        "header",
        "headerl",
        "headerr",
        "headerf",
        "footer",
        "footerl",
        "footerr",
        "footerf",
        "listtable",
        "listoverridetable",
        "revtbl",
        "rsidtbl",
        "generator",
        "themedata",
        "colorschememapping",
        "latentstyles",
        "datastore",
        "xmlnstbl",
        "fldinst",
        "pntext",
        "pntxta",
        "pntxtb",
        "filetbl",
        "nonshppict",
    };
    return std::find(kHidden.begin(), kHidden.end(), word) != kHidden.end();
}

char32_t namedCharacter(std::string_view word) {
    if (word == "emdash") return 0x2014;
    if (word == "endash") return 0x2013;
    if (word == "lquote") return 0x2018;
    if (word == "rquote") return 0x2019;
    if (word == "ldblquote") return 0x201C;
    if (word == "rdblquote") return 0x201D;
    if (word == "bullet") return 0x2022;
    if (word == "emspace" || word == "enspace" || word == "qmspace") return ' ';
    return 0;
}

class RtfReader {
public:
    explicit RtfReader(std::string_view rtf) : rtf_(rtf) {}

    std::string read() {
        out_.reserve(rtf_.size() / 2);
        while (i_ < rtf_.size()) {
            char c = rtf_[i_];
            if (c == '{') {
                ++i_;
                stack_.push_back(group_);
                fallbackLeft_ = 0;
            } else if (c == '}') {
                ++i_;
                // A stray "}" closes nothing.
                if (!stack_.empty()) {
                    group_ = stack_.back();
                    stack_.pop_back();
                }
                fallbackLeft_ = 0;
            } else if (c == '\\') {
                ++i_;
                control();
            } else if (c == '\r' || c == '\n' || c == '\0') {
                ++i_;
            } else {
                // One character, whole: a UTF-8 sequence is copied as it stands.
                std::size_t start = i_++;
                if (static_cast<unsigned char>(c) >= 0xC0)
                    while (i_ < rtf_.size() &&
                           (static_cast<unsigned char>(rtf_[i_]) & 0xC0) == 0x80)
                        ++i_;
                text(rtf_.substr(start, i_ - start));
            }
        }
        flushHighSurrogate();
        return std::move(out_);
    }

private:
    struct Group {
        bool hidden = false;
        long skipAfterUnicode = 1; // \ucN
    };

    // Text to show, unless hidden or standing in for a \u just read.
    void text(std::string_view utf8) {
        if (group_.hidden) return;
        if (fallbackLeft_ > 0) {
            --fallbackLeft_;
            return;
        }
        flushHighSurrogate();
        out_ += utf8;
    }

    void codePoint(char32_t cp) {
        std::string utf8;
        appendUtf8(utf8, cp);
        text(utf8);
    }

    void flushHighSurrogate() {
        if (highSurrogate_ == 0) return;
        highSurrogate_ = 0;
        appendUtf8(out_, U'\uFFFD');
    }

    void unicode(long value) {
        if (group_.hidden) return;
        char32_t unit = static_cast<char32_t>(value < 0 ? value + 65536 : value) & 0xFFFF;
        fallbackLeft_ = 0;
        if (unit >= 0xD800 && unit < 0xDC00) {
            flushHighSurrogate();
            highSurrogate_ = unit;
        } else if (unit >= 0xDC00 && unit < 0xE000) {
            if (highSurrogate_ != 0) {
                char32_t cp = 0x10000 + ((highSurrogate_ - 0xD800) << 10) + (unit - 0xDC00);
                highSurrogate_ = 0;
                appendUtf8(out_, cp);
            } else {
                appendUtf8(out_, U'\uFFFD');
            }
        } else {
            flushHighSurrogate();
            appendUtf8(out_, unit);
        }
        fallbackLeft_ = group_.skipAfterUnicode;
    }

    void control() {
        if (i_ >= rtf_.size()) return;
        char c = rtf_[i_];
        if (!isLetter(c)) {
            ++i_;
            symbol(c);
            return;
        }
        std::size_t start = i_;
        while (i_ < rtf_.size() && isLetter(rtf_[i_]))
            ++i_;
        std::string_view word = rtf_.substr(start, i_ - start);
        bool hasParameter = false;
        bool negative = false;
        long parameter = 0;
        if (i_ < rtf_.size() && rtf_[i_] == '-' && i_ + 1 < rtf_.size() && isDigit(rtf_[i_ + 1])) {
            negative = true;
            ++i_;
        }
        while (i_ < rtf_.size() && isDigit(rtf_[i_])) {
            hasParameter = true;
            if (parameter < 100000000) parameter = parameter * 10 + (rtf_[i_] - '0');
            ++i_;
        }
        if (negative) parameter = -parameter;
        if (i_ < rtf_.size() && rtf_[i_] == ' ') ++i_;
        controlWord(word, hasParameter, parameter);
    }

    void controlWord(std::string_view word, bool hasParameter, long parameter) {
        if (word == "bin") {
            // Raw bytes follow; they are never text.
            if (parameter > 0)
                i_ += std::min(static_cast<std::size_t>(parameter), rtf_.size() - i_);
            return;
        }
        if (isHiddenDestination(word)) {
            group_.hidden = true;
            return;
        }
        if (word == "uc") {
            group_.skipAfterUnicode = hasParameter && parameter >= 0 ? parameter : 1;
            return;
        }
        if (word == "u") {
            unicode(parameter);
            return;
        }
        if (group_.hidden) return;
        if (fallbackLeft_ > 0) {
            // A control word in the fallback counts as one character of it.
            --fallbackLeft_;
            return;
        }
        if (word == "par" || word == "line" || word == "sect" || word == "page" || word == "row") {
            text("\r\n");
        } else if (word == "tab" || word == "cell") {
            text("\t");
        } else if (char32_t named = namedCharacter(word)) {
            codePoint(named);
        }
    }

    void symbol(char c) {
        switch (c) {
        case '\\':
        case '{':
        case '}':
            text(std::string_view(&c, 1));
            break;
        case '\'': {
            int high = i_ < rtf_.size() ? hexValue(rtf_[i_]) : -1;
            int low = i_ + 1 < rtf_.size() ? hexValue(rtf_[i_ + 1]) : -1;
            // A broken escape is dropped with the hex digit it has.
            if (high < 0) return;
            ++i_;
            if (low < 0) return;
            ++i_;
            char byte = static_cast<char>(high * 16 + low);
            text(cp1252::decode(std::string_view(&byte, 1)));
            break;
        }
        case '*':
            group_.hidden = true;
            break;
        case '~':
            codePoint(0xA0);
            break;
        case '_':
            text("-");
            break;
        case '\r':
        case '\n':
            text("\r\n");
            break; // "\" before a line break is \par
        default:
            break; // \- (optional hyphen), \|, \: ... show nothing
        }
    }

    std::string_view rtf_;
    std::size_t i_ = 0;
    std::string out_;
    Group group_;
    std::vector<Group> stack_;
    long fallbackLeft_ = 0;
    char32_t highSurrogate_ = 0;
};

} // namespace

std::string writeRtf(std::string_view plain, RtfColour colour, int halfPoints,
                     const std::vector<RtfPicture>& pictures) {
    auto channel = [](int value) { return std::to_string(std::clamp(value, 0, 255)); };
    // The colour table stands in front of the first "\fs": the receiver reads
    // the line's colour from there, and the whisper rewrite keys on that "fs".
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2057"
                      "{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}\r\n"
                      "{\\colortbl ;\\red" +
                      channel(colour.red) + "\\green" + channel(colour.green) + "\\blue" +
                      channel(colour.blue) + ";}\r\n\\viewkind4\\uc1\\pard\\cf1\\f0\\fs" +
                      std::to_string(std::max(halfPoints, 1)) + " ";
    out.reserve(out.size() + plain.size() * 2);

    std::vector<const RtfPicture*> ordered;
    for (const RtfPicture& picture : pictures)
        ordered.push_back(&picture);
    std::stable_sort(ordered.begin(), ordered.end(), [](const RtfPicture* a, const RtfPicture* b) {
        return a->position < b->position;
    });
    auto next = ordered.begin();

    std::size_t position = 0;
    std::size_t i = 0;
    while (i < plain.size()) {
        for (; next != ordered.end() && (*next)->position <= position; ++next)
            out += pictureGroup((*next)->bytes);
        char32_t cp = nextCodePoint(plain, i);
        ++position;
        if (cp == '\r' && i < plain.size() && plain[i] == '\n') {
            ++i;
            ++position;
            out += "\\par\r\n";
        } else if (cp == '\r' || cp == '\n') {
            out += "\\par\r\n";
        } else {
            appendCharacter(out, cp);
        }
    }
    for (; next != ordered.end(); ++next)
        out += pictureGroup((*next)->bytes);
    out += '}';
    return out;
}

std::string rtfToText(std::string_view rtf) {
    return RtfReader(rtf).read();
}

} // namespace tarmacia::chat
