#pragma once
// Centring a window on its screen.

class QWidget;

namespace WindowPlace {

// Moves `window` so that its outer frame sits in the middle of the available
// area of its screen (the desktop less panels and docks). The frame counts once
// the window manager has given it one; before that the window's own size does.
void centreOnScreen(QWidget *window);

// Centres `window` now and once more when the window manager's frame arrives
// after it is shown (the frame is unknown before), until it is hidden again. A
// window the user moves afterwards stays where it was put.
void centreWhenFramed(QWidget *window);

} // namespace WindowPlace
