#include "pictures.h"

#include "canvas.h"

#include <QDir>
#include <QFile>
#include <QPainterPath>

#include <array>
#include <stdexcept>

namespace tarmacia::datagen {

namespace {

struct GameArt {
    const char* code;  // as in the file name, lower case
    const char* label; // painted in the corner
    const char* sky;   // the game's tile colour in the race list
    const char* car;
};

// Tile colours follow the race list, so a picture matches the tile it sits on;
// "pt" (a game started by hand) takes the game list colour.
constexpr GameArt kGames[] = {
    {"pu", "PU", "42BDF7", "C8102E"},  {"hs", "HS", "FF91E6", "F4C20D"},
    {"hp", "HP2", "80FF80", "1E5BC6"}, {"pt", "PT", "B5F7B5", "2E8B57"},
    {"xx", "", "EFD652", "8A8F96"},
};

QPainterPath carBody() {
    // Side view of a low coupé in a 100 x 40 box, nose to the right.
    QPainterPath body;
    body.moveTo(0, 31);
    body.lineTo(1, 20);
    body.quadTo(4, 15, 14, 14);
    body.lineTo(30, 13);
    body.lineTo(40, 5);
    body.quadTo(50, 1, 63, 3);
    body.lineTo(78, 13);
    body.quadTo(96, 14, 100, 21);
    body.lineTo(100, 31);
    body.closeSubpath();
    return body;
}

void drawChequer(QPainter& p, QRectF area, int columns, int rows) {
    const double w = area.width() / columns, h = area.height() / rows;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < columns; ++x)
            p.fillRect(QRectF(area.x() + x * w, area.y() + y * h, w, h),
                       (x + y) % 2 ? QColor(0x20, 0x20, 0x20) : QColor(0xF4, 0xF4, 0xF4));
}

void drawScene(QPainter& p, QSizeF size, const GameArt& game) {
    const double w = size.width(), h = size.height();
    const QColor sky = hexColour(game.sky);

    QLinearGradient air(0, 0, 0, h * 0.62);
    air.setColorAt(0, sky.lighter(135));
    air.setColorAt(1, sky);
    p.fillRect(QRectF(0, 0, w, h), air);

    QPainterPath hills;
    hills.moveTo(0, h * 0.62);
    hills.cubicTo(w * 0.2, h * 0.38, w * 0.35, h * 0.5, w * 0.5, h * 0.45);
    hills.cubicTo(w * 0.7, h * 0.36, w * 0.85, h * 0.55, w, h * 0.48);
    hills.lineTo(w, h * 0.62);
    hills.closeSubpath();
    p.fillPath(hills, sky.darker(145));

    p.fillRect(QRectF(0, h * 0.62, w, h * 0.38), QColor(0x55, 0x58, 0x5C));
    p.fillRect(QRectF(0, h * 0.62, w, h * 0.03), QColor(0xE8, 0xE8, 0xE8));
    for (double x = w * 0.02; x < w; x += w * 0.16)
        p.fillRect(QRectF(x, h * 0.86, w * 0.08, h * 0.025), QColor(0xF0, 0xF0, 0xF0));

    // The car, about two thirds of the width, standing on the road.
    const double scale = w * 0.62 / 100;
    p.save();
    p.translate(w * 0.19, h * 0.9 - 38 * scale);
    p.scale(scale, scale);
    const QColor paint = hexColour(game.car);
    QLinearGradient shine(0, 0, 0, 31);
    shine.setColorAt(0, paint.lighter(150));
    shine.setColorAt(0.5, paint);
    shine.setColorAt(1, paint.darker(160));
    p.setPen(QPen(paint.darker(220), 1));
    p.setBrush(shine);
    p.drawPath(carBody());
    QPainterPath glass;
    glass.moveTo(33, 13);
    glass.lineTo(42, 6.5);
    glass.quadTo(50, 3.5, 61, 5);
    glass.lineTo(72, 13);
    glass.closeSubpath();
    p.setBrush(QColor(0x30, 0x40, 0x58));
    p.drawPath(glass);
    for (double x : {20.0, 80.0}) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x16, 0x16, 0x16));
        p.drawEllipse(QPointF(x, 31), 8, 8);
        p.setBrush(QColor(0xB8, 0xBC, 0xC2));
        p.drawEllipse(QPointF(x, 31), 4, 4);
    }
    p.restore();

    if (*game.label) {
        QFont font("DejaVu Sans", 10, QFont::Black);
        font.setPixelSize(int(h * 0.28));
        font.setItalic(true);
        QPainterPath text;
        text.addText(w * 0.04, h * 0.3, font, game.label);
        p.setPen(QPen(QColor(0x10, 0x10, 0x10), h * 0.035));
        p.setBrush(Qt::white);
        p.drawPath(text);
        drawChequer(p, QRectF(w * 0.76, h * 0.06, w * 0.2, h * 0.16), 6, 2);
    } else {
        // The picture for any other game: a chequered flag, no game named.
        p.fillRect(QRectF(w * 0.08, h * 0.06, w * 0.012, h * 0.5), QColor(0x30, 0x30, 0x30));
        drawChequer(p, QRectF(w * 0.092, h * 0.06, w * 0.24, h * 0.24), 6, 4);
    }
}

QImage scene(QSize size, const GameArt& game) {
    return drawSmooth(size, [&](QPainter& p) { drawScene(p, size, game); });
}

const GameArt& game(const char* code) {
    for (const GameArt& g : kGames)
        if (QByteArray(g.code) == code) return g;
    throw std::logic_error("no art for game");
}

// A quiet tile to sit behind page text: two close tones in diagonal bands.
QImage backdrop(QSize size, QColor base, bool clouds) {
    return drawSmooth(
        size,
        [&](QPainter& p) {
            p.fillRect(QRectF(QPointF(0, 0), size), base);
            if (clouds) {
                QLinearGradient sky(0, 0, 0, size.height());
                sky.setColorAt(0, base.darker(115));
                sky.setColorAt(1, base.lighter(110));
                p.fillRect(QRectF(QPointF(0, 0), size), sky);
                p.setPen(Qt::NoPen);
                p.setBrush(QColor(255, 255, 255, 150));
                for (auto [x, y, r] : {std::array{0.2, 0.25, 0.09}, std::array{0.3, 0.22, 0.12},
                                       std::array{0.7, 0.6, 0.1}, std::array{0.82, 0.58, 0.08}})
                    p.drawEllipse(QPointF(x * size.width(), y * size.height()),
                                  r * size.width() * 1.6, r * size.height());
                return;
            }
            p.setPen(QPen(base.darker(106), 6));
            for (int x = -size.height(); x <= size.width() + size.height(); x += 16)
                p.drawLine(QPointF(x, size.height()), QPointF(x + size.height(), 0));
        },
        1);
}

QImage mapBackdrop(QSize size) {
    return drawSmooth(
        size,
        [&](QPainter& p) {
            p.fillRect(QRectF(QPointF(0, 0), size), QColor(0xF3, 0xEF, 0xE2));
            p.setPen(QPen(QColor(0xDD, 0xD6, 0xC0), 1));
            for (int i = 0; i <= size.width(); i += 32)
                p.drawLine(i, 0, i, size.height());
            for (int i = 0; i <= size.height(); i += 32)
                p.drawLine(0, i, size.width(), i);
            QPainterPath road;
            road.moveTo(0, size.height() * 0.7);
            road.cubicTo(size.width() * 0.3, size.height() * 0.2, size.width() * 0.6,
                         size.height() * 0.9, size.width(), size.height() * 0.35);
            p.setPen(QPen(QColor(0xE4, 0xCF, 0xA8), 6));
            p.drawPath(road);
        },
        1);
}

// Style values in file order; the built-in "Default" style first.
using StyleValues = std::array<QString, 13>;
const StyleValues kDefaultStyle = {"default.jpg", "177DCB", "FF0000", "E7FAFF", "51B3FF",
                                   "3",           "E7FAFF", "51B3FF", "FFFFFF", "FF0000",
                                   "177DCB",      "000000", "000000"};

// The client's own reading rule: the text after the first ":" without spaces;
// lines past the 13th are ignored, missing lines keep the earlier value.
StyleValues readStyle(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("cannot read " + path.toStdString());
    StyleValues values = kDefaultStyle;
    for (std::size_t k = 0; k < values.size() && !file.atEnd(); ++k) {
        QString line = QString::fromLatin1(file.readLine()).remove('\n').remove('\r');
        if (const qsizetype colon = line.indexOf(':'); colon >= 0) line = line.mid(colon + 1);
        values[k] = line.remove(' ');
    }
    return values;
}

QColor colourOf(const QString& text) {
    // Anything unreadable as a colour shows as black, as in the client.
    bool ok = false;
    const unsigned value = text.left(6).toUInt(&ok, 16);
    return ok ? QColor::fromRgb(QRgb(value)) : QColor(Qt::black);
}

// A miniature main window in the style's colours.
QImage stylePreview(const StyleValues& v) {
    const QSize size(160, 120);
    return drawSmooth(size, [&](QPainter& p) {
        const QColor page = colourOf(v[1]), highlight = colourOf(v[2]);
        const QColor background = colourOf(v[6]), frame = colourOf(v[7]);
        const QColor mainFont = colourOf(v[8]), highFont = colourOf(v[9]);
        const QColor button = colourOf(v[10]), label = colourOf(v[11]), chat = colourOf(v[12]);
        QFont font("DejaVu Sans");
        font.setPixelSize(7);
        p.setFont(font);

        p.fillRect(0, 0, 160, 120, page);
        QLinearGradient head(0, 0, 0, 14);
        head.setColorAt(0, colourOf(v[3]));
        head.setColorAt(1, colourOf(v[4]));
        p.fillRect(0, 0, 160, 14, head);
        p.setPen(label);
        p.drawText(QRectF(4, 0, 150, 14), Qt::AlignVCenter, "Tarmacia");

        p.fillRect(3, 17, 108, 82, frame);
        p.fillRect(6, 20, 102, 62, background);
        for (int i = 0; i < 6; ++i) {
            p.fillRect(9, 23 + i * 10, 6, 4, QColor(0x9A, 0x9A, 0x9A));
            p.fillRect(18, 24 + i * 10, 40 + (i * 23) % 45, 2, chat);
        }
        p.fillRect(6, 85, 102, 11, background);
        p.fillRect(9, 89, 30, 2, chat);

        p.fillRect(114, 17, 43, 82, frame);
        p.fillRect(117, 20, 37, 76, background);
        for (int i = 0; i < 7; ++i) {
            if (i == 2) p.fillRect(117, 22 + i * 10, 37, 9, highlight);
            p.fillRect(120, 25 + i * 10, 20 + (i * 7) % 12, 2, i == 2 ? background : label);
        }

        const char* captions[] = {"Join", "Host", "Scan"};
        for (int i = 0; i < 3; ++i) {
            const QRectF r(3 + i * 38, 103, 34, 13);
            p.setPen(QPen(frame.darker(130), 0.6));
            p.setBrush(button);
            p.drawRoundedRect(r, 2, 2);
            p.setPen(i == 1 ? highFont : mainFont);
            p.drawText(r, Qt::AlignCenter, captions[i]);
        }
    });
}

} // namespace

int writeGamePictures(const OutputFolder& out) {
    int count = 0;
    for (const GameArt& art : kGames) {
        saveJpg(scene(QSize(160, 90), art), out.file(QString("images/%1race.jpg").arg(art.code)));
        ++count;
    }
    // Login banner (shown at 100 x 55) and the game path editor's list.
    const std::pair<const char*, const char*> named[] = {
        {"nfspu", "pu"}, {"nfshs", "hs"}, {"nfshp2", "hp"}, {"xxrace", "xx"}};
    for (const auto& [name, code] : named) {
        if (QByteArray(name) != "xxrace") {
            saveJpg(scene(QSize(100, 55), game(code)),
                    out.file(QString("images/%1.jpg").arg(name)));
            ++count;
        }
        saveBmp24(scene(QSize(64, 36), game(code)), out.file(QString("images/%1.bmp").arg(name)));
        ++count;
    }

    // Backgrounds of the page classes in the default "tarmacia2.css".
    const std::pair<const char*, const char*> tiles[] = {{"lpink", "FBE4EE"},
                                                         {"pink", "F6C6DA"},
                                                         {"blue", "B9D3F2"},
                                                         {"lblue", "E2EEFB"},
                                                         {"lyellow", "FBF6D8"}};
    for (const auto& [name, colour] : tiles) {
        saveGif({backdrop(QSize(64, 64), hexColour(colour), false)},
                out.file(QString("images/%1.gif").arg(name)));
        ++count;
    }
    saveJpg(backdrop(QSize(256, 192), hexColour("8CC4F0"), true), out.file("images/sky4.jpg"));
    saveJpg(mapBackdrop(QSize(256, 256)), out.file("images/map2.jpg"));
    return count + 2;
}

int writeThemePreviews(const QString& themeFolder, const OutputFolder& out) {
    saveJpg(stylePreview(kDefaultStyle), out.file("images/" + kDefaultStyle[0]));
    int count = 1;
    for (const QFileInfo& style :
         QDir(themeFolder).entryInfoList({"*.style"}, QDir::Files, QDir::Name)) {
        const StyleValues values = readStyle(style.filePath());
        // The client lower-cases the picture name before it loads it.
        saveJpg(stylePreview(values), out.file("images/" + values[0].toLower()));
        ++count;
    }
    if (count == 1) throw std::runtime_error("no .style files in " + themeFolder.toStdString());
    return count;
}

} // namespace tarmacia::datagen
