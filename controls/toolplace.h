#pragma once
// Where a floating tool window goes when no place is stored for it: on the
// screen, over as little as can be of what the child needs to see and reach,
// and, among equally good places, the nearest to the place it would take by
// itself. Plain arithmetic on rectangles, in one coordinate system.

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace ToolPlace {

// Something a tool window should leave uncovered, and what each of its pixels
// costs when covered.
struct Obstacle {
    QRect rect;
    qint64 weight = 1;
};

// What covering one pixel costs. A single pixel of a toolbar button or flag
// outweighs all of the canvas and of the other tool windows together (the
// canvas is 585 x 439, the tool windows 440 x 420 and 626 x 169 at the most);
// one of Clear, Undo, Open and Save outweighs all the other buttons and flags
// together; covering another tool window costs more than covering the canvas.
namespace Weight {
inline constexpr qint64 Canvas = 1;
inline constexpr qint64 ToolWindow = 4;
inline constexpr qint64 Button = qint64(1) << 22;
inline constexpr qint64 FirstButton = qint64(1) << 40;
static_assert(Button > Canvas * 585 * 439 + ToolWindow * (440 * 420 + 626 * 169));
static_assert(FirstButton > Button * (6 * 49 * 33 + 5 * 32 * 20)); // six buttons, five flags
} // namespace Weight

// What `window` costs where it is: the pixels it covers of each obstacle, by
// weight.
qint64 cost(const QRect &window, const QList<Obstacle> &obstacles);

// The top-left corner for a window of `size` inside `area` (at its left and top
// edge where it is larger) that costs the least; among places that cost the
// same, the nearest to `described`. Where `described`, moved onto the area,
// covers nothing, that is the place.
QPoint bestPlace(const QRect &area, QSize size, QPoint described, const QList<Obstacle> &obstacles);

} // namespace ToolPlace
