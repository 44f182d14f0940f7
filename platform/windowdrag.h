#pragma once
// Moves a frameless window with the mouse, as if its title bar had been grabbed,
// with any button: once the pointer has gone further than the drag distance
// with the button still down, the window follows it, what was grabbed staying
// under the pointer, until the last button is released. A click, however quick,
// moves nothing.
//
// The program moves the window itself rather than handing the move to the
// window manager: a window manager's move starts from wherever the pointer is
// when it gets to the request, can outlast a quick release (the window then
// follows the pointer with no button held), ends with the left button only, and
// lets the window go off the screen. Every move goes through the window's own
// move(), where it can be held within reach.

#include <QPointF>

class QWidget;

namespace WindowDrag {
// Moves `window` after a press at the global position `globalPos`, when the
// pointer goes far enough before the buttons are released.
void begin(QWidget *window, QPointF globalPos);
// True while `window` follows the pointer.
bool movingByHand(const QWidget *window);
// Whether the pointer, pressed at `press` and now at `now`, has gone far enough
// for a drag (the desktop's drag distance): closer, it is a click.
bool pastDragDistance(QPointF press, QPointF now);
} // namespace WindowDrag
