#include "common/cp1252.h"

#include "common/text.h"

#include <array>
#include <cstdint>

namespace tarmacia::cp1252 {
namespace {

// Code points of the bytes 0x80-0x9F; the rest of the page equals Latin-1.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};


int toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
    for (std::size_t i = 0; i < kHigh.size(); ++i)
        if (kHigh[i] == cp) return static_cast<int>(0x80 + i);
    return -1;
}

} // namespace

std::string decode(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else
            appendUtf8(out, b < 0xA0 ? kHigh[b - 0x80] : char32_t(b));
    }
    return out;
}

namespace {

// Walks the code points of `utf8`; a malformed sequence counts as U+FFFD.
template <typename Sink> void forEachCodePoint(std::string_view utf8, Sink sink) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        char32_t cp = b;
        std::size_t len = 1;
        if (b >= 0xF0) {
            len = 4;
            cp = b & 0x07;
        } else if (b >= 0xE0) {
            len = 3;
            cp = b & 0x0F;
        } else if (b >= 0xC0) {
            len = 2;
            cp = b & 0x1F;
        } else if (b >= 0x80) {
            cp = 0xFFFD; // stray continuation byte
        }
        if (len > 1) {
            if (i + len > utf8.size()) {
                cp = 0xFFFD;
                len = utf8.size() - i;
            } else {
                for (std::size_t k = 1; k < len; ++k)
                    cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
            }
        }
        sink(cp);
        i += len;
    }
}

} // namespace

std::string encode(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    forEachCodePoint(utf8, [&](char32_t cp) {
        int byte = toByte(cp);
        out += byte < 0 ? '?' : static_cast<char>(byte);
    });
    return out;
}

std::optional<std::string> encodeExact(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    bool complete = true;
    forEachCodePoint(utf8, [&](char32_t cp) {
        int byte = toByte(cp);
        if (byte < 0) complete = false;
        out += static_cast<char>(byte);
    });
    if (!complete) return std::nullopt;
    return out;
}

} // namespace tarmacia::cp1252
