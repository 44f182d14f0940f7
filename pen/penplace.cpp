#include "pen/penplace.h"

#include "core/convert.h"

namespace PenPlace {

QPoint defaultPlace(int32_t screenWidthTwips, int32_t windowWidthTwips, int32_t windowHeightTwips)
{
    const int32_t left = toInt32((double(screenWidthTwips) - windowWidthTwips) * 0.8);
    const int32_t top = toInt32(windowHeightTwips * 0.5);
    return QPoint(left, top);
}

std::array<Outline, 2> sliderFrame(const QRect &slider)
{
    const int l = slider.left(), t = slider.top(), w = slider.width(), h = slider.height();
    return {Outline{QPoint(l - 1, t - 1), QPoint(l + w + 1, t + h + 1), true},
            Outline{QPoint(l - 2, t - 2), QPoint(l + w, t + h), false}};
}

} // namespace PenPlace
