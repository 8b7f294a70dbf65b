#pragma once
// A small GIF89a writer: Qt reads GIF but cannot write it, and the client's
// icons, smileys and administrator picture are GIF files.

#include <QByteArray>
#include <QImage>
#include <QRgb>

#include <cstdint>
#include <vector>

namespace tarmacia::datagen {

// One picture, or the frames of an animation, reduced to one palette.
struct GifPicture {
    int width = 0;
    int height = 0;
    std::vector<QRgb> palette;                     // at most 256 colours
    int transparentIndex = -1;                     // -1: every pixel is opaque
    std::vector<std::vector<std::uint8_t>> frames; // row-major palette indexes
};

// Reduces the frames (all of one size) to a shared palette of at most 256
// colours. Pixels under half alpha become the transparent colour.
GifPicture quantize(const std::vector<QImage>& frames);

// The GIF file. Several frames make a looping animation, `delayCs`
// hundredths of a second per frame.
QByteArray encodeGif(const GifPicture& picture, int delayCs = 0);

// The LZW code stream of one frame, before it is cut into sub-blocks.
QByteArray lzwEncode(const std::vector<std::uint8_t>& indexes, int minCodeSize);

} // namespace tarmacia::datagen
