#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {
int perPixel(bool horizontal)
{
    const QScreen *s = QGuiApplication::primaryScreen();
    if (!s)
        return 15;
    const double dpi = horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY();
    if (dpi <= 0)
        return 15;
    return qMax(1, int(std::nearbyint(1440.0 / dpi)));
}
} // namespace

namespace Twips {
int perPixelX() { return perPixel(true); }
int perPixelY() { return perPixel(false); }
} // namespace Twips
