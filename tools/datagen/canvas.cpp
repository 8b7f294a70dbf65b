#include "canvas.h"

#include "gif_writer.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include <iostream>
#include <stdexcept>

namespace tarmacia::datagen {

namespace {

[[noreturn]] void fail(const QString& what) {
    throw std::runtime_error(what.toStdString());
}

QImage flatten(const QImage& image, QColor background) {
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(background);
    QPainter p(&flat);
    p.drawImage(0, 0, image);
    return flat;
}

// Decodes the GIF with Qt's reader and compares the first frame and the
// frame count with what was encoded.
void checkGif(const QByteArray& bytes, const GifPicture& picture, const QString& path) {
    static const bool canRead = QImageReader::supportedImageFormats().contains("gif");
    if (!canRead) {
        static bool told = false;
        if (!told) std::cerr << "datagen: no GIF reader in Qt, written GIFs are not checked\n";
        told = true;
        return;
    }
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "gif");
    if (reader.imageCount() != int(picture.frames.size()))
        fail(path + ": GIF frame count does not read back");
    const QImage first = reader.read().convertToFormat(QImage::Format_ARGB32);
    if (first.size() != QSize(picture.width, picture.height))
        fail(path + ": GIF does not read back: " + reader.errorString());
    const auto& indexes = picture.frames.front();
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const int index = indexes[std::size_t(y) * std::size_t(picture.width) + std::size_t(x)];
            const QRgb got = first.pixel(x, y);
            const bool ok = index == picture.transparentIndex
                                ? qAlpha(got) == 0
                                : got == (picture.palette[std::size_t(index)] | 0xFF000000u);
            if (!ok)
                fail(QStringLiteral("%1: GIF pixel (%2,%3) reads back wrong")
                         .arg(path)
                         .arg(x)
                         .arg(y));
        }
    }
}

} // namespace

QImage drawSmooth(QSize size, const std::function<void(QPainter&)>& draw, int oversample) {
    QImage big(size * oversample, QImage::Format_ARGB32_Premultiplied);
    big.fill(Qt::transparent);
    {
        QPainter p(&big);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        p.scale(oversample, oversample);
        draw(p);
    }
    return big.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32);
}

QColor hexColour(const QString& rrggbb) {
    bool ok = false;
    const unsigned value = rrggbb.toUInt(&ok, 16);
    if (!ok || rrggbb.size() != 6) fail("not a colour: " + rrggbb);
    return QColor::fromRgb(QRgb(value));
}

void saveBmp24(const QImage& image, const QString& path, QColor background) {
    // Qt writes an RGB32 picture as a 24-bit BMP, the depth the client's flag
    // and smiley pictures have always had.
    if (!flatten(image, background).save(path, "BMP")) fail("cannot write " + path);
}

void saveJpg(const QImage& image, const QString& path, QColor background) {
    if (!flatten(image, background).save(path, "JPG", 90)) fail("cannot write " + path);
}

void saveGif(const std::vector<QImage>& frames, const QString& path, int delayCs) {
    const GifPicture picture = quantize(frames);
    const QByteArray bytes = encodeGif(picture, delayCs);
    checkGif(bytes, picture, path);
    saveFile(bytes, path);
}

void saveFile(const QByteArray& bytes, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        fail("cannot write " + path);
}

void makeFolder(const QString& path) {
    if (!QDir().mkpath(path)) fail("cannot create folder " + path);
}

QString OutputFolder::file(const QString& relative) const {
    const QString path = QDir(root_).filePath(relative);
    makeFolder(QFileInfo(path).absolutePath());
    return path;
}

} // namespace tarmacia::datagen
