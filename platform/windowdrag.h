#pragma once
// Moves a frameless window with the mouse, as if its title bar had been grabbed,
// once the pointer has gone further than the drag distance with the button
// still down (a click, however quick, moves nothing): through the window
// system's own move where it offers one, by hand otherwise (no window manager):
// the window then follows the pointer until the button is released. The window
// system's move ends only when the left button is released, so the other
// buttons always move by hand.

#include <QPointF>
#include <Qt>

class QWidget;

namespace WindowDrag {
// Moves `window` after a press of `button` at the global position `globalPos`,
// when the pointer goes far enough before the button is released.
void begin(QWidget *window, QPointF globalPos, Qt::MouseButton button);
// True while `window` follows the pointer by hand.
bool movingByHand(const QWidget *window);
} // namespace WindowDrag
