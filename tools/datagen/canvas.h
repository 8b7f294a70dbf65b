#pragma once
// Drawing and saving helpers shared by the picture generators.

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QString>

#include <functional>
#include <vector>

namespace tarmacia::datagen {

// Draws at `oversample` times the final size and scales down, for smooth
// edges in formats without alpha. The painter works in final-size units.
// The result is ARGB32 on a transparent background.
QImage drawSmooth(QSize size, const std::function<void(QPainter&)>& draw, int oversample = 4);

// "RRGGBB" (red first, as the client writes colours) to a colour.
QColor hexColour(const QString& rrggbb);

// Flattens the picture on `background` and saves it as a 24-bit BMP.
void saveBmp24(const QImage& image, const QString& path, QColor background = Qt::white);
void saveJpg(const QImage& image, const QString& path, QColor background = Qt::white);
// Saves a GIF and reads it back to make sure the encoder wrote what was meant.
void saveGif(const std::vector<QImage>& frames, const QString& path, int delayCs = 0);
void saveFile(const QByteArray& bytes, const QString& path);

// Creates `path` and its parents; throws when that fails.
void makeFolder(const QString& path);

// A path inside the output folder, with its folder created.
class OutputFolder {
public:
    explicit OutputFolder(QString root) : root_(std::move(root)) {}
    QString file(const QString& relative) const;

private:
    QString root_;
};

} // namespace tarmacia::datagen
