#include "icons.h"

#include "canvas.h"

#include <QPainterPath>

#include <cmath>
#include <functional>
#include <numbers>

namespace tarmacia::datagen {

namespace {

constexpr double kPi = std::numbers::pi;
const QColor kInk(0x22, 0x2A, 0x36);

QPainterPath glyph(const QString& text, double pixelSize, QPointF centre, int weight) {
    QFont font("DejaVu Sans");
    font.setPixelSize(int(pixelSize));
    font.setWeight(QFont::Weight(weight));
    QPainterPath path;
    path.addText(0, 0, font, text);
    const QRectF box = path.boundingRect();
    return path.translated(centre - box.center());
}

void user(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0x2F, 0x6F, 0xD0));
    QPainterPath body;
    body.moveTo(3.5, 22.5);
    body.cubicTo(3.5, 14, 8, 13, 12, 13);
    body.cubicTo(16, 13, 20.5, 14, 20.5, 22.5);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0xF2, 0xC1, 0x8E));
    p.drawEllipse(QPointF(12, 7.5), 4.6, 4.8);
}

void setting(QPainter& p) {
    QPainterPath gear;
    constexpr int teeth = 8;
    for (int i = 0; i < teeth * 4; ++i) {
        // Each tooth: two points on the outer rim, two on the root circle.
        const double r = (i % 4 < 2) ? 11 : 8.2;
        const double a = (i + 0.5) * 2 * kPi / (teeth * 4);
        const QPointF point(12 + r * std::cos(a), 12 + r * std::sin(a));
        i == 0 ? gear.moveTo(point) : gear.lineTo(point);
    }
    gear.closeSubpath();
    QPainterPath hole;
    hole.addEllipse(QPointF(12, 12), 3.5, 3.5);
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0x8A, 0x94, 0xA0));
    p.drawPath(gear.subtracted(hole));
}

void help(QPainter& p) {
    p.setPen(QPen(QColor(0x1B, 0x4F, 0xA8), 1));
    p.setBrush(QColor(0x3A, 0x7B, 0xE0));
    p.drawEllipse(QPointF(12, 12), 10.5, 10.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(glyph("?", 17, QPointF(12, 12), QFont::Bold));
}

void colour(QPainter& p) {
    QPainterPath palette;
    palette.addEllipse(QPointF(12, 12), 10.5, 9);
    QPainterPath thumb;
    thumb.addEllipse(QPointF(15.5, 16), 2.3, 2.3);
    p.setPen(QPen(QColor(0x7A, 0x5A, 0x30), 1));
    p.setBrush(QColor(0xEC, 0xD2, 0xA4));
    p.drawPath(palette.subtracted(thumb));
    p.setPen(Qt::NoPen);
    const std::pair<QPointF, QColor> dots[] = {{{6.5, 11}, QColor(0xE0, 0x30, 0x30)},
                                               {{9.5, 6.5}, QColor(0xF0, 0xC0, 0x20)},
                                               {{15, 6.5}, QColor(0x30, 0xA0, 0x40)},
                                               {{18.5, 11}, QColor(0x30, 0x60, 0xD0)}};
    for (const auto& [at, c] : dots) {
        p.setBrush(c);
        p.drawEllipse(at, 2.3, 2.3);
    }
}

void font(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawPath(glyph("A", 21, QPointF(12, 10.5), QFont::Black));
    p.fillRect(QRectF(3, 20, 18, 2.5), QColor(0xD8, 0x2A, 0x2A));
}

void sound(QPainter& p) {
    QPainterPath speaker;
    speaker.moveTo(2.5, 9);
    speaker.lineTo(7, 9);
    speaker.lineTo(12.5, 4);
    speaker.lineTo(12.5, 20);
    speaker.lineTo(7, 15);
    speaker.lineTo(2.5, 15);
    speaker.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(0x5A, 0x64, 0x70));
    p.drawPath(speaker);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x2F, 0x6F, 0xD0), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(9, 7.5, 9, 9), -50 * 16, 100 * 16);
    p.drawArc(QRectF(7, 3.5, 15, 17), -50 * 16, 100 * 16);
}

void more(QPainter& p) {
    // Scans and history: a clipboard with a ticked list.
    p.setPen(QPen(QColor(0x6A, 0x44, 0x1C), 1));
    p.setBrush(QColor(0xB0, 0x78, 0x38));
    p.drawRoundedRect(QRectF(3.5, 3, 17, 20), 2, 2);
    p.setBrush(Qt::white);
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 0.8));
    p.drawRect(QRectF(5.5, 5.5, 13, 15.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x70, 0x78, 0x80));
    p.drawRoundedRect(QRectF(8.5, 1.5, 7, 3.5), 1, 1);
    for (int i = 0; i < 3; ++i)
        p.fillRect(QRectF(11, 9 + i * 4, 6, 1.3), QColor(0x60, 0x60, 0x60));
    p.setPen(QPen(QColor(0x20, 0xA0, 0x30), 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 3; ++i) {
        const double y = 9.6 + i * 4;
        p.drawPolyline(QPolygonF({QPointF(7, y), QPointF(8.2, y + 1.2), QPointF(10, y - 1.2)}));
    }
}

void reset(QPainter& p) {
    const QColor red(0xD0, 0x30, 0x30);
    p.setPen(QPen(red, 3, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(4, 4, 16, 16), 100 * 16, 290 * 16);
    QPainterPath head;
    head.moveTo(10.2, 0.5);
    head.lineTo(15.5, 4.2);
    head.lineTo(10.2, 8);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(red);
    p.drawPath(head);
}

QImage spinnerFrame(int step, int steps) {
    return drawSmooth(QSize(48, 48), [&](QPainter& p) {
        p.setPen(Qt::NoPen);
        for (int i = 0; i < steps; ++i) {
            // The dot just passed is darkest; the trail fades behind it.
            const int age = (step - i + steps) % steps;
            const double a = 2 * kPi * i / steps - kPi / 2;
            const double fade = double(age) / (steps - 1);
            const QColor head(0x1E, 0x5B, 0xC6), tail(0xD8, 0xE4, 0xF4);
            p.setBrush(QColor::fromRgbF(head.redF() + fade * (tail.redF() - head.redF()),
                                        head.greenF() + fade * (tail.greenF() - head.greenF()),
                                        head.blueF() + fade * (tail.blueF() - head.blueF())));
            p.drawEllipse(QPointF(24 + 17 * std::cos(a), 24 + 17 * std::sin(a)), 4, 4);
        }
    });
}

} // namespace

int writeIcons(const OutputFolder& out) {
    const std::pair<const char*, std::function<void(QPainter&)>> icons[] = {
        {"user", user}, {"setting", setting}, {"help", help}, {"color", colour},
        {"font", font}, {"sound", sound},     {"more", more}, {"reset", reset},
    };
    for (const auto& [name, draw] : icons)
        saveGif({drawSmooth(QSize(24, 24), draw)},
                out.file(QString("images/icons/%1.gif").arg(name)));

    constexpr int steps = 12;
    std::vector<QImage> frames;
    for (int step = 0; step < steps; ++step)
        frames.push_back(spinnerFrame(step, steps));
    saveGif(frames, out.file("images/pleasewait.gif"), 8);
    return int(std::size(icons)) + 1;
}

} // namespace tarmacia::datagen
