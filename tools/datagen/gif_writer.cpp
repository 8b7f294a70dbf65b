#include "gif_writer.h"

#include <algorithm>
#include <map>
#include <stdexcept>
#include <unordered_map>

namespace tarmacia::datagen {

namespace {

constexpr int kMaxCodeBits = 12;
constexpr int kMaxCodes = 1 << kMaxCodeBits;

// Codes go out least significant bit first, packed across byte boundaries.
class BitWriter {
public:
    void put(unsigned code, int bits) {
        buffer_ |= static_cast<std::uint32_t>(code) << filled_;
        filled_ += bits;
        while (filled_ >= 8) {
            out_.append(static_cast<char>(buffer_ & 0xFF));
            buffer_ >>= 8;
            filled_ -= 8;
        }
    }
    QByteArray finish() {
        if (filled_ > 0) out_.append(static_cast<char>(buffer_ & 0xFF));
        buffer_ = 0;
        filled_ = 0;
        return out_;
    }

private:
    QByteArray out_;
    std::uint32_t buffer_ = 0;
    int filled_ = 0;
};

int distance2(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

// Popularity palette over 15-bit buckets, each entry the mean of its bucket.
// Only used when a picture has more colours than GIF can hold; our drawings
// rarely do, so this favours simplicity over quality.
std::vector<QRgb> reducedPalette(const std::map<QRgb, long>& counts, std::size_t capacity) {
    struct Bucket {
        long r = 0, g = 0, b = 0, n = 0;
    };
    std::map<int, Bucket> buckets;
    for (const auto& [rgb, n] : counts) {
        Bucket& bucket =
            buckets[(qRed(rgb) >> 3) << 10 | (qGreen(rgb) >> 3) << 5 | qBlue(rgb) >> 3];
        bucket.r += qRed(rgb) * n;
        bucket.g += qGreen(rgb) * n;
        bucket.b += qBlue(rgb) * n;
        bucket.n += n;
    }
    std::vector<Bucket> sorted;
    for (const auto& entry : buckets)
        sorted.push_back(entry.second);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Bucket& a, const Bucket& b) { return a.n > b.n; });
    if (sorted.size() > capacity) sorted.resize(capacity);
    std::vector<QRgb> palette;
    for (const Bucket& b : sorted)
        palette.push_back(qRgb(int(b.r / b.n), int(b.g / b.n), int(b.b / b.n)));
    return palette;
}

} // namespace

GifPicture quantize(const std::vector<QImage>& frames) {
    if (frames.empty()) throw std::invalid_argument("GIF without frames");
    GifPicture picture;
    picture.width = frames.front().width();
    picture.height = frames.front().height();

    std::vector<QImage> argb;
    std::map<QRgb, long> counts;
    bool anyTransparent = false;
    for (const QImage& frame : frames) {
        if (frame.size() != frames.front().size())
            throw std::invalid_argument("GIF frames differ in size");
        argb.push_back(frame.convertToFormat(QImage::Format_ARGB32));
        for (int y = 0; y < picture.height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(argb.back().constScanLine(y));
            for (int x = 0; x < picture.width; ++x) {
                if (qAlpha(line[x]) < 128)
                    anyTransparent = true;
                else
                    ++counts[line[x] | 0xFF000000u];
            }
        }
    }

    const std::size_t capacity = anyTransparent ? 255 : 256;
    if (counts.size() <= capacity) {
        for (const auto& entry : counts)
            picture.palette.push_back(entry.first);
    } else {
        picture.palette = reducedPalette(counts, capacity);
    }

    std::unordered_map<QRgb, std::uint8_t> nearest;
    for (const auto& entry : counts) {
        std::size_t best = 0;
        for (std::size_t i = 1; i < picture.palette.size(); ++i)
            if (distance2(entry.first, picture.palette[i]) <
                distance2(entry.first, picture.palette[best]))
                best = i;
        nearest[entry.first] = static_cast<std::uint8_t>(best);
    }
    if (anyTransparent) {
        picture.transparentIndex = static_cast<int>(picture.palette.size());
        picture.palette.push_back(qRgb(0, 0, 0));
    }

    for (const QImage& frame : argb) {
        std::vector<std::uint8_t> indexes;
        indexes.reserve(std::size_t(picture.width) * std::size_t(picture.height));
        for (int y = 0; y < picture.height; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(frame.constScanLine(y));
            for (int x = 0; x < picture.width; ++x)
                indexes.push_back(qAlpha(line[x]) < 128
                                      ? static_cast<std::uint8_t>(picture.transparentIndex)
                                      : nearest.at(line[x] | 0xFF000000u));
        }
        picture.frames.push_back(std::move(indexes));
    }
    return picture;
}

QByteArray lzwEncode(const std::vector<std::uint8_t>& indexes, int minCodeSize) {
    const unsigned clearCode = 1u << minCodeSize;
    const unsigned endCode = clearCode + 1;
    unsigned nextCode = endCode + 1;
    int codeBits = minCodeSize + 1;
    // (prefix code << 8 | next index) -> code of the longer string.
    std::unordered_map<std::uint32_t, std::uint16_t> table;
    BitWriter bits;

    // The width grows once the code about to be assigned no longer fits, the
    // same moment at which a decoder widens its reads.
    const auto writeCode = [&](unsigned code) {
        bits.put(code, codeBits);
        if (nextCode >= (1u << codeBits) && codeBits < kMaxCodeBits) ++codeBits;
    };

    writeCode(clearCode);
    if (indexes.empty()) {
        writeCode(endCode);
        return bits.finish();
    }
    unsigned prefix = indexes.front();
    for (std::size_t i = 1; i < indexes.size(); ++i) {
        const unsigned index = indexes[i];
        const std::uint32_t key = std::uint32_t(prefix) << 8 | index;
        if (const auto found = table.find(key); found != table.end()) {
            prefix = found->second;
            continue;
        }
        writeCode(prefix);
        if (nextCode >= kMaxCodes - 1) {
            // Table full: start over rather than keep coding with a stale table.
            writeCode(clearCode);
            table.clear();
            nextCode = endCode + 1;
            codeBits = minCodeSize + 1;
        } else {
            table.emplace(key, static_cast<std::uint16_t>(nextCode++));
        }
        prefix = index;
    }
    writeCode(prefix);
    writeCode(endCode);
    return bits.finish();
}

QByteArray encodeGif(const GifPicture& picture, int delayCs) {
    if (picture.palette.empty() || picture.palette.size() > 256)
        throw std::invalid_argument("GIF palette must hold 1 to 256 colours");
    QByteArray out;
    const auto put8 = [&](int v) { out.append(static_cast<char>(v & 0xFF)); };
    const auto put16 = [&](int v) {
        put8(v);
        put8(v >> 8);
    };

    int tableBits = 1;
    while ((1u << tableBits) < picture.palette.size())
        ++tableBits;

    out.append("GIF89a", 6);
    put16(picture.width);
    put16(picture.height);
    put8(0x80 | 0x70 | (tableBits - 1)); // global table, 8 bits per primary
    put8(0);                             // background colour index
    put8(0);                             // square pixels
    for (int i = 0; i < (1 << tableBits); ++i) {
        const QRgb c = i < int(picture.palette.size()) ? picture.palette[i] : qRgb(0, 0, 0);
        put8(qRed(c));
        put8(qGreen(c));
        put8(qBlue(c));
    }

    const bool animated = picture.frames.size() > 1;
    if (animated) {
        out.append("\x21\xFF\x0BNETSCAPE2.0\x03\x01", 16);
        put16(0); // loop for ever
        put8(0);
    }

    const int minCodeSize = std::max(2, tableBits);
    for (const auto& frame : picture.frames) {
        if (frame.size() != std::size_t(picture.width) * std::size_t(picture.height))
            throw std::invalid_argument("GIF frame size does not match the picture");
        const bool transparent = picture.transparentIndex >= 0;
        if (transparent || animated) {
            // Restore to background between transparent frames so that they do
            // not pile up on each other.
            const int disposal = animated ? (transparent ? 2 : 1) : 0;
            put8(0x21);
            put8(0xF9);
            put8(4);
            put8(disposal << 2 | (transparent ? 1 : 0));
            put16(animated ? delayCs : 0);
            put8(transparent ? picture.transparentIndex : 0);
            put8(0);
        }
        put8(0x2C);
        put16(0);
        put16(0);
        put16(picture.width);
        put16(picture.height);
        put8(0); // no local table, not interlaced

        put8(minCodeSize);
        const QByteArray codes = lzwEncode(frame, minCodeSize);
        for (qsizetype at = 0; at < codes.size(); at += 255) {
            const qsizetype n = std::min<qsizetype>(255, codes.size() - at);
            put8(int(n));
            out.append(codes.constData() + at, n);
        }
        put8(0);
    }
    put8(0x3B);
    return out;
}

} // namespace tarmacia::datagen
