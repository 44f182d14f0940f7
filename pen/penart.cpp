#include "pen/penart.h"

#include "core/colors.h"
#include "core/resources.h"

#include <QLinearGradient>
#include <QPainter>

namespace PenArt {

QImage palette() { return ModResFiles::LoadArtwork(QStringLiteral(":/art/palette.png"), plainPalette); }
QImage background() { return ModResFiles::LoadArtwork(QStringLiteral(":/art/pen_bg.png"), plainBackground); }

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
    g.setColorAt(0, Colors::Sand.lighter(115));
    g.setColorAt(1, Colors::Sand.darker(105));
    p.fillRect(image.rect(), g);
    p.setPen(QColor(128, 96, 40));
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    p.setPen(QColor(255, 240, 200));
    p.drawRect(image.rect().adjusted(3, 3, -4, -4));
    return image;
}

} // namespace PenArt
