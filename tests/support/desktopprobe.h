#pragma once
// What an end-to-end test sees of a desktop on an XServer: the window manager's
// stacking order, window properties, the pointer, and pixels of the screen.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

class XServer;

namespace DesktopProbe {

// The screen's top-level windows from bottom to top, each with the windows inside
// it (a window manager's frame holds the program's window), as the decimal ids
// xdotool uses. Read from the X server itself, so it holds with any window
// manager or none (some window managers' _NET_CLIENT_LIST_STACKING is only the
// order the windows came in).
QList<QStringList> stacking(const XServer &x);
// True when `upper` is stacked above `lower`.
bool above(const XServer &x, const QString &upper, const QString &lower);
// The stacking as text, for messages.
QString describeStacking(const XServer &x, const QStringList &windows);
// The text xprop prints for one property of a window (decimal id), or a null string.
QString property(const XServer &x, const QString &window, const QString &name);
// The window's place on the screen and size, as the X server has it (xdotool
// counts a window manager's frame twice in the place).
QRect geometry(const XServer &x, const QString &window);
// Where the pointer is.
QPoint pointer(const XServer &x);
// The program's visible windows (its window class), as ids.
QStringList programWindows(const XServer &x);
// The program's visible window of that size; an empty string when there is none.
QString programWindowOfSize(const XServer &x, QSize size);
// The whole screen; null when it could not be taken (imagemagick's import missing).
QImage screenshot(const XServer &x);

// The program's main, lesson and pen windows, found by their fixed sizes at
// `scale` (the pen window and the main window have the same name), once each is
// up and all three have stood still for three looks; false when they do not
// within 30 seconds.
bool threeWindows(const XServer &x, QString &main, QString &lessons, QString &pen, int scale = 1);
} // namespace DesktopProbe
