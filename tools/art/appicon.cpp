#include "art.h"

#include <QPainter>
#include <QSvgRenderer>

namespace Art {

QImage appIcon(const QString &svgPath, int size)
{
    QSvgRenderer svg(svgPath);
    if (!svg.isValid())
        return QImage();
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    svg.render(&p, QRectF(0, 0, size, size));
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

} // namespace Art
