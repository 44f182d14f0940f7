#pragma once
// Centring a window on its screen, and keeping a window within reach of the
// pointer.

#include <QList>
#include <QPoint>
#include <QRect>

class QWidget;

namespace WindowPlace {

// How much of a window's width and height stays on a screen, at the least, so
// that it can be seen and grabbed again.
constexpr int Reach = 48;

// Whether `window` shows at least `reach` pixels of its width and of its height
// (all of a smaller side) on one of the areas `screens`.
bool inReach(const QRect &window, const QList<QRect> &screens, int reach = Reach);
// The place `window` takes to be in reach: its own when it is, else the nearest
// place in reach on the screen that needs the shortest move. Its own too when
// there is no screen.
QPoint intoReach(const QRect &window, const QList<QRect> &screens, int reach = Reach);
// The available areas (less panels and docks) of all screens.
QList<QRect> availableAreas();

// Moves `window` so that its outer frame sits in the middle of the available
// area of its screen (the desktop less panels and docks). The frame counts once
// the window manager has given it one; before that the window's own size does.
void centreOnScreen(QWidget *window);

// Centres `window` now and once more when the window manager's frame arrives
// after it is shown (the frame is unknown before), until it is hidden again. A
// window the user moves afterwards stays where it was put.
void centreWhenFramed(QWidget *window);

} // namespace WindowPlace
