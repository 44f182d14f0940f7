#include "draw/layout.h"

#include "core/convert.h"

DrawLayout layoutFor(int sw, int sh, QSizeF panelSize, std::array<QRectF, 2> logos, bool logosStretched,
                     QSizeF copyrightSize)
{
    DrawLayout l;
    l.gap = int(roundHalfEven(sw * 0.03));
    const double gap = l.gap;

    l.panel = QRectF(gap, sh - 1.5 * gap - panelSize.height(), panelSize.width(), panelSize.height());

    const double cw = sw - 3 * gap - panelSize.width();
    const double ch = cw * 0.75;
    l.canvas = QRectF(sw - cw - gap, sh - ch - gap, cw, ch);
    l.frame = QRectF(l.canvas.left() - 0.3 * gap, l.canvas.top() - 0.3 * gap, cw + 0.6 * gap, ch + 0.6 * gap);

    // The logo goes right-aligned; when it would reach into the left 35 % of the
    // window it is stretched to 60 % of the width instead, and stays so.
    const double w0 = logos[0].width();
    l.logosStretched = logosStretched;
    if (sw * 0.35 > sw - 2 * gap - w0) {
        l.logosStretched = true;
        for (QRectF &logo : logos) {
            logo = QRectF(logo.left(), gap, sw * 0.6, sw * 0.069);
            logo.moveLeft(sw - gap - logo.width());
        }
    } else {
        for (QRectF &logo : logos)
            logo.moveLeft(sw - 2 * gap - logo.width());
    }
    l.logos = logos;

    l.copyright = QRectF(QPointF(gap, sh - 2 * copyrightSize.height()), copyrightSize);
    return l;
}

QRect toPixels(const QRectF &r)
{
    return QRect(int(roundHalfEven(r.left())), int(roundHalfEven(r.top())), int(roundHalfEven(r.width())),
                 int(roundHalfEven(r.height())));
}
