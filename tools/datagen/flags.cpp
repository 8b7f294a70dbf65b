#include "flags.h"

#include "canvas.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainterPath>
#include <QRegularExpression>

#include <cmath>
#include <map>
#include <numbers>
#include <stdexcept>

namespace tarmacia::datagen {

namespace {

std::map<QString, QString> alpha2ToAlpha3(const QString& iso3166Json) {
    QFile file(iso3166Json);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + iso3166Json.toStdString() +
                                 " (Debian package iso-codes)");
    const QJsonArray countries = QJsonDocument::fromJson(file.readAll())["3166-1"].toArray();
    std::map<QString, QString> codes;
    for (const auto& entry : countries) {
        const QJsonObject country = entry.toObject();
        codes[country["alpha_2"].toString().toLower()] = country["alpha_3"].toString().toLower();
    }
    if (codes.empty()) throw std::runtime_error("no countries in " + iso3166Json.toStdString());
    return codes;
}

// The PNGs are tiny; doubling them without smoothing first keeps their
// stripes crisp, and the last small step to 36x24 is smoothed.
QImage scaleFlag(const QImage& png) {
    return png.scaled(png.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
        .scaled(kFlagWidth, kFlagHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage defaultFlag() {
    // A neutral chequer: says "no flag chosen" without looking like a country.
    QImage flag(kFlagWidth, kFlagHeight, QImage::Format_RGB32);
    constexpr int square = 6;
    for (int y = 0; y < kFlagHeight; ++y)
        for (int x = 0; x < kFlagWidth; ++x)
            flag.setPixel(x, y,
                          ((x / square + y / square) % 2) ? qRgb(0x9A, 0x9A, 0x9A)
                                                          : qRgb(0xD8, 0xD8, 0xD8));
    QPainter p(&flag);
    p.setPen(QColor(0x60, 0x60, 0x60));
    p.drawRect(0, 0, kFlagWidth - 1, kFlagHeight - 1);
    return flag;
}

QPainterPath star(QPointF centre, double outer, double inner) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const QPointF point(centre.x() + r * std::cos(a), centre.y() + r * std::sin(a));
        i == 0 ? path.moveTo(point) : path.lineTo(point);
    }
    path.closeSubpath();
    return path;
}

QImage adminPicture() {
    return drawSmooth(QSize(75, 75), [](QPainter& p) {
        QPainterPath shield;
        shield.moveTo(37.5, 3);
        shield.cubicTo(50, 9, 60, 9, 69, 8);
        shield.cubicTo(70, 40, 60, 60, 37.5, 72);
        shield.cubicTo(15, 60, 5, 40, 6, 8);
        shield.cubicTo(15, 9, 25, 9, 37.5, 3);
        QLinearGradient fill(0, 0, 0, 75);
        fill.setColorAt(0, QColor(0x2A, 0x5C, 0xB8));
        fill.setColorAt(1, QColor(0x10, 0x26, 0x5C));
        p.setPen(QPen(QColor(0xE8, 0xB8, 0x30), 3));
        p.setBrush(fill);
        p.drawPath(shield);
        p.setPen(QPen(QColor(0x8A, 0x60, 0x10), 1));
        p.setBrush(QColor(0xF6, 0xCB, 0x3C));
        p.drawPath(star(QPointF(37.5, 30), 17, 7));
        QFont font("DejaVu Sans", 9, QFont::Bold);
        p.setFont(font);
        p.setPen(Qt::white);
        p.drawText(QRectF(0, 47, 75, 14), Qt::AlignCenter, "ADMIN");
    });
}

} // namespace

CountryFlags writeCountryFlags(const QString& pngFolder, const QString& iso3166Json,
                               const OutputFolder& out) {
    const auto alpha3 = alpha2ToAlpha3(iso3166Json);
    CountryFlags done;
    static const QRegularExpression twoLetters("^[a-z]{2}$");
    for (const QFileInfo& png : QDir(pngFolder).entryInfoList({"*.png"}, QDir::Files, QDir::Name)) {
        // The package also has regions ("england", "europeanunion"); they
        // have no ISO code, so the client could not name them.
        const QString code = png.completeBaseName();
        if (!twoLetters.match(code).hasMatch()) continue;
        const QImage source(png.filePath());
        if (source.isNull())
            throw std::runtime_error("cannot read " + png.filePath().toStdString());
        const QImage flag = scaleFlag(source);
        saveBmp24(flag, out.file("flags/other/" + code + "flag.bmp"));
        ++done.twoLetter;
        if (const auto found = alpha3.find(code); found != alpha3.end()) {
            saveBmp24(flag, out.file("flags/other/" + found->second + "flag.bmp"));
            ++done.threeLetter;
        } else {
            done.withoutAlpha3 << code;
        }
    }
    if (done.twoLetter == 0)
        throw std::runtime_error("no two-letter flag PNGs in " + pngFolder.toStdString() +
                                 " (Debian package famfamfam-flag-png)");
    return done;
}

void writeOwnFlags(const OutputFolder& out) {
    const QImage flag = defaultFlag();
    saveBmp24(flag, out.file("flags/teams/dfflag.bmp"));
    // The race tiles start with the default flag from flags/other.
    saveBmp24(flag, out.file("flags/other/dfflag.bmp"));
    saveGif({adminPicture()}, out.file("flags/teams/adflag.gif"));
}

} // namespace tarmacia::datagen
