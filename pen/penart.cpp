#include "pen/penart.h"

#include "platform/artwork.h"

#include <QLinearGradient>
#include <QPainter>

namespace PenArt {

namespace {

QImage artOr(const char *path, QImage (*plain)())
{
    const QImage image = Artwork::load(QString::fromLatin1(path));
    return image.isNull() ? plain() : image;
}

const QColor Sand(222, 191, 120);

} // namespace

QImage palette() { return artOr(":/art/palette.png", plainPalette); }
QImage background() { return artOr(":/art/pen_bg.png", plainBackground); }
QImage sliderThumb() { return artOr(":/art/slider_thumb.png", plainThumb); }
QImage sliderRail() { return artOr(":/art/slider_rail.png", plainRail); }

QImage plainPalette()
{
    // 25 columns of 19 pixels and 6 rows of 22 pixels fill 475 x 132 exactly.
    constexpr int Columns = 25, Rows = 6, CellW = 19, CellH = 22;
    QImage image(Columns * CellW, Rows * CellH, QImage::Format_RGB32);
    QPainter p(&image);
    for (int c = 0; c < Columns; ++c) {
        for (int r = 0; r < Rows; ++r) {
            QColor color;
            if (c < 2) {
                // Twelve greys, white at the top of the first column, black at
                // the bottom of the second.
                const int step = c * Rows + r;
                const int level = 255 - step * 255 / (2 * Rows - 1);
                color = QColor(level, level, level);
            } else {
                const int hue = (c - 2) * 300 / (Columns - 3);
                const int lightness = 215 - r * 30;
                color = QColor::fromHsl(hue, 255, lightness);
            }
            p.fillRect(c * CellW, r * CellH, CellW, CellH, color);
        }
    }
    return image;
}

QImage plainBackground()
{
    QImage image(609, 239, QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, 0, image.height());
    g.setColorAt(0, Sand.lighter(115));
    g.setColorAt(1, Sand.darker(105));
    p.fillRect(image.rect(), g);
    p.setPen(QColor(128, 96, 40));
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 240, 200));
    p.drawRect(image.rect().adjusted(3, 3, -4, -4));
    return image;
}

QImage plainThumb()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.fillRect(1, 4, 14, 8, QColor(150, 110, 50));
    p.setPen(QColor(250, 235, 200));
    p.drawLine(1, 4, 14, 4);
    p.drawLine(1, 4, 1, 11);
    p.setPen(QColor(80, 56, 20));
    p.drawLine(1, 11, 14, 11);
    p.drawLine(14, 4, 14, 11);
    p.setPen(QColor(110, 80, 30));
    p.drawLine(4, 7, 11, 7);
    p.drawLine(4, 8, 11, 8);
    return image;
}

QImage plainRail()
{
    QImage image(18, 133, QImage::Format_RGB32);
    image.fill(Sand);
    QPainter p(&image);
    p.fillRect(7, 2, 4, 129, Sand.darker(140));
    p.setPen(QColor(128, 96, 40));
    p.drawLine(7, 2, 10, 2);
    p.drawLine(7, 2, 7, 130);
    p.setPen(QColor(255, 240, 200));
    p.drawLine(7, 130, 10, 130);
    p.drawLine(10, 2, 10, 130);
    return image;
}

} // namespace PenArt
