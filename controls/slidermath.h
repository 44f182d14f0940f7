#pragma once
// The numbers of the slider control, apart from the widget: where the thumb sits
// for a value, which value a thumb place stands for, the rectangle of the edge
// rail, the outer size and the edges drawn around the rail. All in pixels.
//
// Functions that can fail raise run-time errors like the statements they stand
// for (a range of 0 divides by zero, a difference outside 32 bits overflows), so
// the control's procedures decide whether a failing step is reported or skipped.

#include <QPointF>
#include <QSize>
#include <QSizeF>

#include <cstdint>

namespace SliderMath {

constexpr int Horizontal = 0;
constexpr int Vertical = 1;

// The edge kinds of the rail, as the classic edge-drawing routine names them.
constexpr int BDR_RAISEDOUTER = 1;
constexpr int BDR_SUNKENOUTER = 2;
constexpr int BDR_RAISEDINNER = 4;
constexpr int BDR_SUNKENINNER = 8;
constexpr int EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER; // 5
constexpr int EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER; // 10
constexpr int PictureRail = 99;

constexpr int DivisionByZero = 11;

// a / b as a single-precision division does it: b = 0 is error 11, 0 / 0 error 6.
double divide(double a, double b);
// Max - Min in 32 bits; a difference that does not fit raises error 6.
int32_t valueRange(int32_t min, int32_t max);

// The thumb's place along the track for `value`: horizontal its left edge,
// L x (value - min) / range; vertical its top, L - L x (value - min) / range.
// The result is held in single precision, like the thumb's rectangle.
float thumbPlace(int orientation, double trackLength, int32_t value, int32_t min, int32_t range);

// The whole value a thumb place stands for (rounded half to even) and the
// exact place of that value, onto which the thumb snaps.
struct Snap {
    int32_t value = 0;
    float place = 0;
};
Snap valueAt(int orientation, double trackLength, double place, int32_t min, int32_t range);

// The thumb's place across the track: centred on a wider picture rail, else 0.
float thumbCross(bool pictureRail, int railThickness, int thumbThickness);

// The edge rail: left, top, right, bottom (right and bottom exclusive), 4 pixels
// thick, centred on the thumb's cross axis, from 2 pixels before the thumb centre
// at one end of its travel to 2 pixels past it at the other.
struct Rect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const Rect &, const Rect &) = default;
};
Rect railRect(int orientation, int innerWidth, int innerHeight, int thumbWidth, int thumbHeight);

// The outer size the layout gives the control, in pixels. `setTogether` is true
// when both are set in one operation (picture rail); otherwise a length that is
// left alone comes back unchanged.
struct OuterSize {
    int width = 0;
    int height = 0;
    bool setTogether = false;
};
OuterSize outerSize(int orientation, bool pictureRail, QSize railPicture, QSize thumb, QSize current);

// Where the picture rail is drawn: horizontal at (2, (H - rh) / 2), vertical at
// ((W - rw) / 2, 2).
QPointF railPicturePlace(int orientation, QSize inner, QSize railPicture);

// The rail edge kind for a rail style (0..4); -1 when the style draws no edge.
int edgeForRailStyle(int32_t railStyle);

} // namespace SliderMath
