#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Twips {

int fromDpi(double dotsPerInch)
{
    if (!(dotsPerInch > 0) || !std::isfinite(dotsPerInch))
        return DefaultPerPixel;
    const double t = std::nearbyint(1440.0 / dotsPerInch);
    return t >= 1 && t <= 1440 ? int(t) : DefaultPerPixel;
}

int perPixelX()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return fromDpi(s ? s->logicalDotsPerInchX() : 0);
}

int perPixelY()
{
    const QScreen *s = QGuiApplication::primaryScreen();
    return fromDpi(s ? s->logicalDotsPerInchY() : 0);
}

int toPixels(double twips, int twipsPerPixel)
{
    // nearbyint rounds half to even in the default rounding mode.
    return int(std::nearbyint(twips / (twipsPerPixel > 0 ? twipsPerPixel : DefaultPerPixel)));
}

} // namespace Twips
