#pragma once
// The numbers of the pen window: its default place on the screen and the double
// frame it draws around the slider.

#include <QPoint>
#include <QRect>

#include <array>
#include <cstdint>

namespace PenPlace {

// The window's inner (and outer, it has no frame) size in pixels.
constexpr int WindowWidth = 626;
constexpr int WindowHeight = 169;

// Where the window opens when no place is stored, in twips: 80 % of the way
// across the free width of the screen, half its own height down.
// (1024-pixel screen, 15 twips per pixel: 4776, 1268.)
QPoint defaultPlace(int32_t screenWidthTwips, int32_t windowWidthTwips, int32_t windowHeightTwips);

// One rectangle outline, from corner to corner, both corners included.
struct Outline {
    QPoint from;
    QPoint to;
    bool dark = false; // dark RGB(64, 64, 0), else white
};
// The two outlines around the slider at `slider` (window pixels), in the order
// they are drawn: the dark one a pixel outside it on every side but reaching a
// pixel further right and down, then the white one a pixel further out at the
// top and left and on the slider's own right and bottom edges plus one.
std::array<Outline, 2> sliderFrame(const QRect &slider);

} // namespace PenPlace
