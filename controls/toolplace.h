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

// What covering one pixel costs. A toolbar button or flag outweighs any amount
// of canvas; the commands a child needs first (Clear, Undo, Open, Save) outweigh
// any other button; another tool window costs more than the canvas.
namespace Weight {
inline constexpr qint64 Canvas = 1;
inline constexpr qint64 ToolWindow = 4;
inline constexpr qint64 Button = 1'000;
inline constexpr qint64 FirstButton = 1'000'000;
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
