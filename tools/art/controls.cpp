// The pictures the controls are made of: palette, slider, grid overlay, cursor.
#include "art.h"

#include <QPainter>
#include <QPainterPath>

namespace Art {

namespace {
// Hues of the colour columns, red through yellow, green, cyan and blue to magenta;
// the warm end is spaced more finely, because children reach for oranges and browns.
constexpr int Hues[] = {0, 12, 24, 36, 48, 60, 80, 100, 120, 150, 180, 200, 220, 240, 260, 280, 300};
static_assert(sizeof(Hues) / sizeof(Hues[0]) == PaletteColumns - 2);

QColor mix(const QColor &a, const QColor &b, double t)
{
    return QColor(int(a.red() + (b.red() - a.red()) * t + 0.5), int(a.green() + (b.green() - a.green()) * t + 0.5),
                  int(a.blue() + (b.blue() - a.blue()) * t + 0.5));
}
} // namespace

QColor paletteColour(int column, int row)
{
    if (column < 2) {
        // Twelve greys, white at the top of the first column to black at the
        // bottom of the second.
        const int i = column * PaletteRows + row;
        const int level = (255 * (11 - i) + 5) / 11;
        return QColor(level, level, level);
    }
    const QColor pure = QColor::fromHsv(Hues[column - 2], 255, 255);
    switch (row) {
    case 0:
        return mix(pure, Qt::white, 0.72);
    case 1:
        return mix(pure, Qt::white, 0.42);
    case 2:
        return pure;
    case 3:
        return mix(pure, Qt::black, 0.24);
    case 4:
        return mix(pure, Qt::black, 0.46);
    default:
        return mix(pure, Qt::black, 0.67);
    }
}

QImage palette(int scale)
{
    // Flat cells without borders or smoothing: a press on any pixel of a cell
    // picks exactly that cell's colour.
    QImage img =
        canvas(PaletteColumns * PaletteCellWidth, PaletteRows * PaletteCellHeight, QImage::Format_RGB32, scale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int c = 0; c < PaletteColumns; ++c)
        for (int r = 0; r < PaletteRows; ++r)
            p.fillRect(c * PaletteCellWidth, r * PaletteCellHeight, PaletteCellWidth, PaletteCellHeight,
                       paletteColour(c, r));
    return img;
}

QImage sliderThumb(int scale)
{
    QImage img = canvas(16, 16, QImage::Format_ARGB32, scale);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF knob(1, 1, 14, 14);
    p.setBrush(QColor(0, 0, 0, 50));
    p.setPen(Qt::NoPen);
    p.drawEllipse(knob.translated(0.6, 0.8));
    QRadialGradient g(QPointF(6, 5.5), 10);
    g.setColorAt(0, QColor(255, 246, 214));
    g.setColorAt(0.45, QColor(244, 190, 92));
    g.setColorAt(1, QColor(196, 120, 40));
    p.setBrush(g);
    p.setPen(QPen(QColor(110, 66, 22), 1.2));
    p.drawEllipse(knob.adjusted(0.4, 0.4, -0.6, -0.6));
    // Three grip lines across the knob, so it looks like something to take hold of.
    p.setPen(QPen(QColor(120, 70, 20, 170), 1));
    for (int y : {6, 8, 10})
        p.drawLine(QPointF(5, y + 0.5), QPointF(11, y + 0.5));
    p.setPen(QPen(QColor(255, 250, 230, 150), 1));
    for (int y : {7, 9})
        p.drawLine(QPointF(5.5, y + 0.5), QPointF(10.5, y + 0.5));
    return img;
}

QImage sliderRail(int scale)
{
    QImage img = canvas(18, 133, QImage::Format_ARGB32, scale);
    img.fill(sand());
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF groove(5.5, 2.5, 7, 128);
    QPainterPath path;
    path.addRoundedRect(groove, 3.5, 3.5);
    // Light below and right, shade above and left: a groove cut into the sand.
    p.fillPath(path.translated(0.8, 0.8), QColor(255, 240, 205));
    QLinearGradient g(groove.topLeft(), groove.topRight());
    g.setColorAt(0, QColor(150, 108, 48));
    g.setColorAt(1, QColor(190, 150, 82));
    p.fillPath(path, g);
    p.setPen(QPen(QColor(112, 78, 32), 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    // Tick marks beside the groove help to find a width again.
    p.setRenderHint(QPainter::Antialiasing, false);
    for (int i = 0; i <= 10; ++i) {
        const int y = 6 + i * 12;
        p.setPen(QColor(168, 128, 64));
        p.drawLine(1, y, 3, y);
        p.drawLine(14, y, 16, y);
    }
    return img;
}

QImage grid(int scale)
{
    // Lines two logical pixels wide at every 50 pixels, 8 x 6 squares.
    QImage img = canvas(400, 300, QImage::Format_ARGB32, scale);
    img.fill(Qt::transparent);
    QPainter p(&img);
    const QColor line(255, 182, 47);
    for (int x = 50; x < 400; x += 50)
        p.fillRect(x, 0, 2, 300, line);
    for (int y = 50; y < 300; y += 50)
        p.fillRect(0, y, 400, 2, line);
    return img;
}

QPoint cursorHotspot() { return QPoint(1, 30); }

QImage cursor()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QPoint hot = cursorHotspot();
    // Local frame: x runs from the tip (0) up and to the right along the pencil.
    p.translate(hot.x() + 0.5, hot.y() + 0.5);
    p.rotate(-45);
    const double w = 4.2; // half width
    const double cone = 11, body = 29, ferrule = 32.5, end = 37;
    const QColor outline(58, 38, 18);
    QPen pen(outline, 1.1);
    pen.setJoinStyle(Qt::RoundJoin);

    QPainterPath eraser;
    eraser.moveTo(ferrule, -w);
    eraser.lineTo(end - 2, -w);
    eraser.quadTo(end, -w, end, -w + 2);
    eraser.lineTo(end, w - 2);
    eraser.quadTo(end, w, end - 2, w);
    eraser.lineTo(ferrule, w);
    eraser.closeSubpath();
    p.setPen(pen);
    p.setBrush(QColor(244, 132, 160));
    p.drawPath(eraser);
    p.setBrush(QColor(190, 196, 204));
    p.drawRect(QRectF(body, -w, ferrule - body, 2 * w));

    // Yellow body with a lighter facet on top and an orange one below.
    p.setBrush(QColor(252, 204, 48));
    p.drawRect(QRectF(cone, -w, body - cone, 2 * w));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 232, 130));
    p.drawRect(QRectF(cone + 0.6, -w + 0.6, body - cone - 1.2, 2.2));
    p.setBrush(QColor(232, 150, 30));
    p.drawRect(QRectF(cone + 0.6, w - 2.4, body - cone - 1.2, 1.8));

    // Bare wood cone with the graphite point.
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(cone, -w);
    wood.lineTo(cone, w);
    wood.closeSubpath();
    p.setPen(pen);
    p.setBrush(QColor(246, 214, 158));
    p.drawPath(wood);
    QPainterPath lead;
    lead.moveTo(0, 0);
    lead.lineTo(4.2, -1.7);
    lead.lineTo(4.2, 1.7);
    lead.closeSubpath();
    p.setBrush(QColor(44, 44, 50));
    p.drawPath(lead);
    p.end();

    // The point itself is one solid pixel, so the hot spot always lies on the pencil.
    img.setPixel(hot, qRgba(44, 44, 50, 255));
    img.setText(QStringLiteral("hotspot"), QStringLiteral("%1,%2").arg(hot.x()).arg(hot.y()));
    return img;
}

} // namespace Art
