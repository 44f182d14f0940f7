#include "platform/twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace Twips {

int fromDpi(double dotsPerInch)
{
    if (!(dotsPerInch > 0) || !std::isfinite(dotsPerInch))
        return 15;
    const double t = std::nearbyint(1440.0 / dotsPerInch);
    return t >= 1 && t <= 1440 ? int(t) : 15;
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

} // namespace Twips
