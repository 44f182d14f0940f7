#include "controls/slidermath.h"

#include "core/convert.h"
#include "core/errorframe.h"

#include <cmath>
#include <limits>

namespace SliderMath {

double divide(double a, double b)
{
    if (b == 0)
        raiseError(a == 0 ? Err::Overflow : DivisionByZero, a == 0 ? QString() : QStringLiteral("Division by zero"));
    return a / b;
}

int32_t valueRange(int32_t min, int32_t max)
{
    const int64_t d = int64_t(max) - int64_t(min);
    if (d < std::numeric_limits<int32_t>::min() || d > std::numeric_limits<int32_t>::max())
        raiseError(Err::Overflow);
    return int32_t(d);
}

namespace {

// A place must stay a finite single-precision number.
float single(double v)
{
    if (!std::isfinite(v) || std::fabs(v) > double(std::numeric_limits<float>::max()))
        raiseError(Err::Overflow);
    return float(v);
}

// Value - Min is a 32-bit difference too.
double offset(int32_t value, int32_t min) { return double(valueRange(min, value)); }

} // namespace

float thumbPlace(int orientation, double trackLength, int32_t value, int32_t min, int32_t range)
{
    const double along = divide(trackLength * offset(value, min), range);
    return single(orientation == Horizontal ? along : trackLength - along);
}

Snap valueAt(int orientation, double trackLength, double place, int32_t min, int32_t range)
{
    const double fromMin = orientation == Horizontal ? place : trackLength - place;
    Snap s;
    s.value = toInt32(divide(fromMin, trackLength) * range + min);
    s.place = thumbPlace(orientation, trackLength, s.value, min, range);
    return s;
}

float thumbCross(bool pictureRail, int railThickness, int thumbThickness)
{
    if (pictureRail && railThickness > thumbThickness)
        return float((railThickness - thumbThickness) * 0.5);
    return 0;
}

Rect railRect(int orientation, int innerWidth, int innerHeight, int thumbWidth, int thumbHeight)
{
    Rect r;
    if (orientation == Horizontal) {
        r.top = toInt32((thumbHeight - 4) * 0.5);
        r.bottom = r.top + 4;
        r.left = toInt32(thumbWidth * 0.5 - 2);
        r.right = toInt32(double(innerWidth) + r.left - thumbWidth + 4);
    } else {
        r.top = toInt32(thumbHeight * 0.5 - 2);
        r.bottom = toInt32(double(innerHeight) + r.top - thumbHeight + 4);
        r.left = toInt32((thumbWidth - 4) * 0.5);
        r.right = r.left + 4;
    }
    return r;
}

OuterSize outerSize(int orientation, bool pictureRail, QSize railPicture, QSize thumb, QSize current)
{
    OuterSize s{current.width(), current.height(), false};
    if (pictureRail && orientation == Horizontal) {
        s.width = railPicture.width() + 4;
        s.height = railPicture.height() > thumb.height() ? railPicture.height() : thumb.height();
        s.setTogether = true;
    } else if (pictureRail && orientation == Vertical) {
        s.height = railPicture.height() + 4;
        s.width = railPicture.width() > thumb.width() ? railPicture.width() : thumb.width();
        s.setTogether = true;
    } else if (orientation == Horizontal) {
        if (s.width == 0)
            s.width = thumb.width();
        s.height = thumb.height();
    } else if (orientation == Vertical) {
        if (s.height == 0)
            s.height = thumb.height();
        s.width = thumb.width();
    }
    return s;
}

QPointF railPicturePlace(int orientation, QSize inner, QSize railPicture)
{
    if (orientation == Horizontal)
        return {2, (inner.height() - railPicture.height()) * 0.5};
    return {(inner.width() - railPicture.width()) * 0.5, 2};
}

int edgeForRailStyle(int32_t railStyle)
{
    switch (railStyle) {
    case 0:
        return EDGE_SUNKEN;
    case 1:
        return EDGE_RAISED;
    case 2:
        return BDR_SUNKENOUTER;
    case 3:
        return BDR_RAISEDINNER;
    case 4:
        return 0;
    default:
        return -1;
    }
}

} // namespace SliderMath
