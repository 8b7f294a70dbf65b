#include "smileys.h"

#include "canvas.h"

#include <QPainterPath>

namespace tarmacia::datagen {

namespace {

enum class Eyes { Dots, Wink, Happy, Closed, Wide, Cross, Shades, Rolling, Hearts, Angry, Worried };
enum class Mouth { Smile, Grin, Frown, Open, Flat, Tongue, Wavy, Smirk, Kiss, Teeth };
enum class Extra { None, Tear, Sweat, Blush, Halo, Horns, Sleep, Question, Bang, Helmet, Flag };

struct Smiley {
    int number;
    const char* face;
    Eyes eyes;
    Mouth mouth;
    Extra extra;
};

constexpr const char* kYellow = "FFD23F";

// The 29 palette numbers, each a different face.
constexpr Smiley kSmileys[] = {
    {10, kYellow, Eyes::Dots, Mouth::Smile, Extra::None},
    {11, kYellow, Eyes::Dots, Mouth::Grin, Extra::None},
    {12, kYellow, Eyes::Wink, Mouth::Smile, Extra::None},
    {13, kYellow, Eyes::Worried, Mouth::Frown, Extra::None},
    {14, kYellow, Eyes::Wide, Mouth::Open, Extra::None},
    {15, kYellow, Eyes::Shades, Mouth::Smile, Extra::None},
    {16, kYellow, Eyes::Dots, Mouth::Tongue, Extra::None},
    {17, "F06048", Eyes::Angry, Mouth::Frown, Extra::None},
    {19, kYellow, Eyes::Happy, Mouth::Grin, Extra::None},
    {20, kYellow, Eyes::Worried, Mouth::Frown, Extra::Tear},
    {21, kYellow, Eyes::Happy, Mouth::Smile, Extra::Blush},
    {22, kYellow, Eyes::Dots, Mouth::Flat, Extra::None},
    {23, kYellow, Eyes::Closed, Mouth::Flat, Extra::Sleep},
    {25, kYellow, Eyes::Dots, Mouth::Wavy, Extra::Question},
    {26, kYellow, Eyes::Rolling, Mouth::Flat, Extra::None},
    {27, kYellow, Eyes::Closed, Mouth::Kiss, Extra::Blush},
    {28, "A8D060", Eyes::Closed, Mouth::Wavy, Extra::None},
    {29, "B070E0", Eyes::Angry, Mouth::Smirk, Extra::Horns},
    {30, kYellow, Eyes::Happy, Mouth::Smile, Extra::Halo},
    {31, kYellow, Eyes::Dots, Mouth::Grin, Extra::Sweat},
    {32, kYellow, Eyes::Cross, Mouth::Open, Extra::None},
    {33, kYellow, Eyes::Hearts, Mouth::Smile, Extra::None},
    {34, "9CCFF4", Eyes::Worried, Mouth::Teeth, Extra::None},
    {36, kYellow, Eyes::Wide, Mouth::Flat, Extra::Question},
    {38, kYellow, Eyes::Wide, Mouth::Open, Extra::Bang},
    {39, kYellow, Eyes::Dots, Mouth::Smirk, Extra::None},
    {40, kYellow, Eyes::Wide, Mouth::Teeth, Extra::None},
    {41, kYellow, Eyes::Dots, Mouth::Grin, Extra::Helmet},
    {43, kYellow, Eyes::Happy, Mouth::Grin, Extra::Flag},
};

const QColor kInk(0x3A, 0x24, 0x10);

QPainterPath heart(QPointF c, double s) {
    QPainterPath path;
    path.moveTo(c.x(), c.y() + s);
    path.cubicTo(c.x() - 2 * s, c.y() - 0.2 * s, c.x() - 0.9 * s, c.y() - 1.5 * s, c.x(),
                 c.y() - 0.5 * s);
    path.cubicTo(c.x() + 0.9 * s, c.y() - 1.5 * s, c.x() + 2 * s, c.y() - 0.2 * s, c.x(),
                 c.y() + s);
    return path;
}

void drawEyes(QPainter& p, Eyes eyes) {
    const QPointF left(7, 8), right(13, 8);
    const QPen line(kInk, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setBrush(kInk);
    p.setPen(Qt::NoPen);
    switch (eyes) {
    case Eyes::Dots:
        p.drawEllipse(left, 1.2, 1.7);
        p.drawEllipse(right, 1.2, 1.7);
        break;
    case Eyes::Wink:
        p.drawEllipse(left, 1.2, 1.7);
        p.setPen(line);
        p.drawLine(QPointF(11.5, 8.3), QPointF(14.5, 7.7));
        break;
    case Eyes::Happy:
    case Eyes::Closed:
        p.setPen(line);
        p.setBrush(Qt::NoBrush);
        for (QPointF c : {left, right}) {
            // Happy eyes curve up, closed eyes hang down.
            const int start = eyes == Eyes::Happy ? 0 : 180;
            p.drawArc(QRectF(c.x() - 1.8, c.y() - 1.2, 3.6, 3), start * 16, 180 * 16);
        }
        break;
    case Eyes::Wide:
    case Eyes::Rolling:
        for (QPointF c : {left, right}) {
            p.setPen(QPen(kInk, 0.6));
            p.setBrush(Qt::white);
            p.drawEllipse(c, 2.2, 2.6);
            p.setPen(Qt::NoPen);
            p.setBrush(kInk);
            p.drawEllipse(c + QPointF(0, eyes == Eyes::Rolling ? -1.4 : 0.3), 1.1, 1.1);
        }
        break;
    case Eyes::Cross:
        p.setPen(line);
        for (QPointF c : {left, right}) {
            p.drawLine(c + QPointF(-1.5, -1.5), c + QPointF(1.5, 1.5));
            p.drawLine(c + QPointF(-1.5, 1.5), c + QPointF(1.5, -1.5));
        }
        break;
    case Eyes::Shades:
        p.setBrush(QColor(0x18, 0x18, 0x18));
        p.drawRoundedRect(QRectF(3.8, 6.3, 5.4, 3.4), 1.2, 1.2);
        p.drawRoundedRect(QRectF(10.8, 6.3, 5.4, 3.4), 1.2, 1.2);
        p.setPen(QPen(QColor(0x18, 0x18, 0x18), 0.8));
        p.drawLine(QPointF(9, 7), QPointF(11, 7));
        p.drawLine(QPointF(1.5, 7), QPointF(4, 7));
        p.drawLine(QPointF(16, 7), QPointF(18.5, 7));
        break;
    case Eyes::Hearts:
        p.setBrush(QColor(0xE0, 0x20, 0x40));
        p.drawPath(heart(left, 1.9));
        p.drawPath(heart(right, 1.9));
        break;
    case Eyes::Angry:
    case Eyes::Worried: {
        p.drawEllipse(left + QPointF(0, 0.6), 1.1, 1.4);
        p.drawEllipse(right + QPointF(0, 0.6), 1.1, 1.4);
        p.setPen(line);
        // Angry brows slope down to the nose, worried ones up.
        const double in = eyes == Eyes::Angry ? 6.3 : 4.6, out = eyes == Eyes::Angry ? 4.6 : 6.3;
        p.drawLine(QPointF(4.8, out), QPointF(8.8, in));
        p.drawLine(QPointF(15.2, out), QPointF(11.2, in));
        break;
    }
    }
}

void drawMouth(QPainter& p, Mouth mouth) {
    const QPen line(kInk, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(line);
    p.setBrush(Qt::NoBrush);
    switch (mouth) {
    case Mouth::Smile:
        p.drawArc(QRectF(5.5, 7.5, 9, 7), 200 * 16, 140 * 16);
        break;
    case Mouth::Grin:
    case Mouth::Tongue: {
        QPainterPath grin;
        grin.moveTo(5, 11.5);
        grin.lineTo(15, 11.5);
        grin.cubicTo(14.5, 17, 5.5, 17, 5, 11.5);
        p.setBrush(QColor(0x6A, 0x18, 0x18));
        p.drawPath(grin);
        p.setPen(Qt::NoPen);
        if (mouth == Mouth::Grin) {
            p.setBrush(Qt::white);
            p.drawRect(QRectF(5.8, 12, 8.4, 1.6));
        } else {
            p.setBrush(QColor(0xF0, 0x70, 0x80));
            p.drawEllipse(QPointF(11.5, 15.3), 2.2, 2.2);
        }
        break;
    }
    case Mouth::Frown:
        p.drawArc(QRectF(6, 13, 8, 5), 30 * 16, 120 * 16);
        break;
    case Mouth::Open:
        p.setBrush(QColor(0x6A, 0x18, 0x18));
        p.drawEllipse(QPointF(10, 14), 2, 2.5);
        break;
    case Mouth::Flat:
        p.drawLine(QPointF(7, 14), QPointF(13, 14));
        break;
    case Mouth::Wavy:
        p.drawPolyline(QPolygonF({QPointF(6, 14.5), QPointF(8, 13.3), QPointF(10, 14.5),
                                  QPointF(12, 13.3), QPointF(14, 14.5)}));
        break;
    case Mouth::Smirk:
        p.drawArc(QRectF(8.5, 8.5, 7, 6), 220 * 16, 110 * 16);
        p.drawLine(QPointF(7, 13.8), QPointF(10, 14.2));
        break;
    case Mouth::Kiss:
        p.drawArc(QRectF(9, 11.8, 2.6, 2), -90 * 16, 180 * 16);
        p.drawArc(QRectF(9, 13.6, 2.6, 2), -90 * 16, 180 * 16);
        break;
    case Mouth::Teeth:
        p.setBrush(Qt::white);
        p.drawRoundedRect(QRectF(5.5, 12, 9, 4), 1, 1);
        p.setPen(QPen(kInk, 0.6));
        for (double x : {7.75, 10.0, 12.25})
            p.drawLine(QPointF(x, 12), QPointF(x, 16));
        p.drawLine(QPointF(5.5, 14), QPointF(14.5, 14));
        break;
    }
}

void drawExtra(QPainter& p, Extra extra) {
    p.setPen(Qt::NoPen);
    switch (extra) {
    case Extra::None:
        break;
    case Extra::Tear:
        p.setBrush(QColor(0x40, 0x90, 0xF0));
        p.drawEllipse(QPointF(6.5, 12), 1.2, 1.8);
        break;
    case Extra::Sweat:
        p.setBrush(QColor(0x60, 0xB0, 0xF8));
        p.drawEllipse(QPointF(16, 4.8), 1.3, 2);
        break;
    case Extra::Blush:
        p.setBrush(QColor(0xF4, 0x80, 0x80, 170));
        p.drawEllipse(QPointF(4.8, 11.8), 1.8, 1.1);
        p.drawEllipse(QPointF(15.2, 11.8), 1.8, 1.1);
        break;
    case Extra::Halo:
        p.setPen(QPen(QColor(0xF0, 0xC0, 0x10), 1.3));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(10, 1.6), 5.5, 1.3);
        break;
    case Extra::Horns:
        p.setBrush(QColor(0x80, 0x20, 0x20));
        p.drawPolygon(QPolygonF({QPointF(3, 5), QPointF(2, 0), QPointF(6.5, 2.5)}));
        p.drawPolygon(QPolygonF({QPointF(17, 5), QPointF(18, 0), QPointF(13.5, 2.5)}));
        break;
    case Extra::Sleep:
    case Extra::Question:
    case Extra::Bang: {
        QFont font("DejaVu Sans");
        font.setPixelSize(extra == Extra::Sleep ? 6 : 8);
        font.setBold(true);
        QPainterPath mark;
        mark.addText(extra == Extra::Sleep ? 14 : 15, 6.5, font,
                     extra == Extra::Sleep      ? "z"
                     : extra == Extra::Question ? "?"
                                                : "!");
        p.setBrush(extra == Extra::Sleep ? QColor(0x30, 0x50, 0xC0) : QColor(0xD0, 0x20, 0x20));
        p.setPen(QPen(Qt::white, 0.5));
        p.drawPath(mark);
        break;
    }
    case Extra::Helmet: {
        // A racing helmet over the top of the head.
        QPainterPath helmet;
        helmet.moveTo(1, 8);
        helmet.cubicTo(1, -1.5, 19, -1.5, 19, 8);
        helmet.lineTo(17, 8);
        helmet.cubicTo(16, 3.5, 4, 3.5, 3, 8);
        helmet.closeSubpath();
        p.setBrush(QColor(0xD0, 0x20, 0x20));
        p.drawPath(helmet);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 0.5, 2, 3.2));
        break;
    }
    case Extra::Flag:
        // A chequered flag waved over the right shoulder.
        p.fillRect(QRectF(13.2, 0.5, 0.9, 10), QColor(0x50, 0x50, 0x50));
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 4; ++x)
                p.fillRect(QRectF(14.1 + x * 1.45, 0.5 + y * 1.45, 1.45, 1.45),
                           (x + y) % 2 ? QColor(0x10, 0x10, 0x10) : Qt::white);
        break;
    }
}

QImage face(const Smiley& smiley) {
    return drawSmooth(QSize(20, 20), [&](QPainter& p) {
        const QColor skin = hexColour(smiley.face);
        QRadialGradient shade(QPointF(8, 7), 11);
        shade.setColorAt(0, skin.lighter(125));
        shade.setColorAt(1, skin.darker(112));
        p.setPen(QPen(skin.darker(200), 0.9));
        p.setBrush(shade);
        p.drawEllipse(QPointF(10, 10), 8.8, 8.8);
        drawEyes(p, smiley.eyes);
        drawMouth(p, smiley.mouth);
        drawExtra(p, smiley.extra);
    });
}

} // namespace

int writeSmileys(const OutputFolder& out) {
    for (const Smiley& smiley : kSmileys) {
        const QImage picture = face(smiley);
        const QString name = QString::number(smiley.number);
        saveBmp24(picture, out.file("smileybmp/" + name + ".bmp"));
        saveGif({picture}, out.file("smileygif/" + name + ".gif"));
    }
    return int(std::size(kSmileys)) * 2;
}

} // namespace tarmacia::datagen
