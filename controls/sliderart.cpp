#include "controls/sliderart.h"

#include "core/colors.h"
#include "core/resources.h"

#include <QPainter>

namespace SliderArt {

QImage thumb() { return ModResFiles::LoadArtwork(QStringLiteral(":/art/slider_thumb.png"), plainThumb); }
QImage rail() { return ModResFiles::LoadArtwork(QStringLiteral(":/art/slider_rail.png"), plainRail); }

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
    image.fill(Colors::Sand);
    QPainter p(&image);
    p.fillRect(7, 2, 4, 129, Colors::Sand.darker(140));
    p.setPen(QColor(128, 96, 40));
    p.drawLine(7, 2, 10, 2);
    p.drawLine(7, 2, 7, 130);
    p.setPen(QColor(255, 240, 200));
    p.drawLine(7, 130, 10, 130);
    p.drawLine(10, 2, 10, 130);
    return image;
}

} // namespace SliderArt
