#pragma once
// Moves a frameless window with the mouse, as if its title bar had been grabbed:
// through the window system's own move where it offers one, by hand otherwise.

#include <QPointF>

class QWidget;

namespace WindowDrag {
// Starts moving `window` after a press on `pressed` (the window or a child of
// it) at the global position `globalPos`. The move ends when the button is
// released. Returns true when the window system took over the move.
bool begin(QWidget *window, QWidget *pressed, QPointF globalPos);
// For tests: never ask the window system, always move by hand.
void setSystemMoveAllowed(bool allowed);
} // namespace WindowDrag
