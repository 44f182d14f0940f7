#include "draw/printpage.h"

#include <algorithm>

PrintPage printPageFor(QSizeF printable, int16_t marginLeft, int16_t marginRight,
                       int16_t marginTop, int16_t marginBottom)
{
    const QRectF area(QPointF(0, 0), printable);
    const QRectF wanted(marginLeft, marginTop, printable.width() - marginRight,
                        printable.height() - marginBottom);
    PrintPage page;
    if (wanted.width() > 0 && wanted.height() > 0)
        page.picture = wanted.intersected(area);
    page.title = QPointF(std::clamp<double>(marginLeft, 0, printable.width()), 0);
    return page;
}
