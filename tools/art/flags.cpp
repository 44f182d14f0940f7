// The five language flags, drawn for their small size of 32 x 20 pixels.
#include "art.h"

#include <QPainter>
#include <QPainterPath>

namespace Art {

namespace {
void horizontalBands(QPainter &p, const QList<QColor> &colours, const QList<int> &heights)
{
    int y = 0;
    for (int i = 0; i < colours.size(); ++i) {
        p.fillRect(0, y, 32, heights[i], colours[i]);
        y += heights[i];
    }
}

void verticalBands(QPainter &p, const QList<QColor> &colours)
{
    // 11 + 10 + 11 pixels: the middle band a touch narrower keeps the sides even.
    const int widths[] = {11, 10, 11};
    int x = 0;
    for (int i = 0; i < 3; ++i) {
        p.fillRect(x, 0, widths[i], 20, colours[i]);
        x += widths[i];
    }
}

void unionFlag(QPainter &p)
{
    const QColor blue(1, 33, 105), red(200, 16, 46);
    p.fillRect(0, 0, 32, 20, blue);
    p.setRenderHint(QPainter::Antialiasing);
    // White saltire, then the red one, shifted off the centre line in each quarter
    // (clockwise), as on the real flag.
    p.setPen(QPen(Qt::white, 4.2, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(-2, -1.25), QPointF(34, 21.25));
    p.drawLine(QPointF(-2, 21.25), QPointF(34, -1.25));
    const QPointF c(16, 10);
    const double off = 0.8;
    struct Arm {
        QPointF end;
        QPointF shift;
        QRectF clip;
    };
    const Arm arms[] = {
        {QPointF(-2, -1.25), QPointF(-off * 0.5, off), QRectF(0, 0, 16, 10)},
        {QPointF(34, -1.25), QPointF(-off * 0.5, -off), QRectF(16, 0, 16, 10)},
        {QPointF(34, 21.25), QPointF(off * 0.5, -off), QRectF(16, 10, 16, 10)},
        {QPointF(-2, 21.25), QPointF(off * 0.5, off), QRectF(0, 10, 16, 10)},
    };
    p.setPen(QPen(red, 1.5, Qt::SolidLine, Qt::FlatCap));
    for (const Arm &a : arms) {
        p.save();
        p.setClipRect(a.clip);
        p.drawLine(c + a.shift, a.end + a.shift);
        p.restore();
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    // St George's cross: white 6 pixels wide, red 4.
    p.fillRect(13, 0, 6, 20, Qt::white);
    p.fillRect(0, 7, 32, 6, Qt::white);
    p.fillRect(14, 0, 4, 20, red);
    p.fillRect(0, 8, 32, 4, red);
}

void spanishFlag(QPainter &p)
{
    const QColor red(198, 11, 30), yellow(255, 196, 0);
    horizontalBands(p, {red, yellow, red}, {5, 10, 5});
    // A hint of the coat of arms towards the hoist.
    p.fillRect(8, 8, 3, 4, QColor(181, 58, 40));
    p.fillRect(11, 8, 2, 4, QColor(214, 150, 40));
    p.fillRect(8, 7, 5, 1, QColor(200, 140, 40));
}
} // namespace

QList<int> flagDigits() { return {0, 1, 3, 4, 6}; }

QImage flag(int digit, int scale)
{
    QImage img = canvas(32, 20, QImage::Format_RGB32, scale);
    img.fill(Qt::white);
    QPainter p(&img);
    switch (digit) {
    case 0:
        horizontalBands(p, {QColor(0, 0, 0), QColor(221, 0, 0), QColor(255, 206, 0)}, {7, 6, 7});
        break;
    case 1:
        unionFlag(p);
        break;
    case 3:
        verticalBands(p, {QColor(0, 146, 70), QColor(255, 255, 255), QColor(206, 43, 55)});
        break;
    case 4:
        spanishFlag(p);
        break;
    case 6:
        verticalBands(p, {QColor(0, 35, 149), QColor(255, 255, 255), QColor(237, 41, 57)});
        break;
    default:
        return QImage();
    }
    // A soft edge so that white parts stay a flag on light backgrounds.
    p.setPen(QColor(0, 0, 0, 70));
    p.setBrush(Qt::NoBrush);
    if (scale == 1) {
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawRect(0, 0, 31, 19);
    } else {
        // The same one logical pixel all round, on the pixel grid of the larger size.
        p.setRenderHint(QPainter::Antialiasing, true);
        p.drawRect(QRectF(0.5, 0.5, 31, 19));
    }
    return img;
}

} // namespace Art
