#include "print/printpage.h"

#include <algorithm>

PrintPage printPageFor(QSizeF printable, const Drucker::Margins &margins)
{
    const QRectF area(QPointF(0, 0), printable);
    const QRectF wanted(margins.left, margins.top, printable.width() - margins.right,
                        printable.height() - margins.bottom);
    PrintPage page;
    if (wanted.width() > 0 && wanted.height() > 0)
        page.picture = wanted.intersected(area);
    page.title = QPointF(std::clamp<double>(margins.left, 0, printable.width()), 0);
    return page;
}
