#pragma once
// The windows and controls as many tests meet them: the main window shown as the
// start leaves it, the pen window with an owner and a canvas, and a slider in a
// host window.

#include "controls/propertybag.h"
#include "controls/ucslider.h"
#include "core/colors.h"
#include "pen/frmcolor.h"

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QTest>
#include <QWidget>

#include <optional>

class Canvas;
class frmDraw;

// The main window made, loaded and shown in the middle of the screen; null when
// it did not come up on the screen. endMainWindow() closes it for good (when
// there is one), so that the next test makes its own.
frmDraw *showMainWindow();
void endMainWindow();

// What the pen window needs of the main window: a shown owner holding a canvas
// that draws with the program's pen.
struct PenOwner {
    PenOwner();
    QWidget window;
    Canvas *canvas;
};

// Stores the pen window's place as the settings keep it, in twips.
void storePenPlace(QPoint twips);

// The pen window as the main window owns it, not shown yet. `Window` may be a
// test's own subclass of frmColor.
template <class Window = frmColor> struct PenWindowFixture : PenOwner {
    Window pen{&window};
    // Shows the pen window from the place stored in the settings (`storedTwips`
    // is stored first; none: what the settings hold) and waits until it is on
    // the screen.
    bool show(std::optional<QPoint> storedTwips = std::nullopt)
    {
        if (storedTwips)
            storePenPlace(*storedTwips);
        pen.ShowOwned();
        return QTest::qWaitForWindowExposed(&pen);
    }
};

// A picture of w x h pixels (32 bits, no alpha) all in one colour.
QImage filledImage(int w, int h, QColor color);

// A slider as a form holds one, in a host window that is not shown until show().
struct SliderFixture {
    // A new instance `size` big (0..10, value 0, the built-in thumb), laid out
    // for `orientation`.
    explicit SliderFixture(QSize size = QSize(16, 100), int orientation = SliderMath::Vertical);
    // Made from stored properties at the pen window's size, 18 x 137, laid out.
    explicit SliderFixture(PropertyBag bag);
    QWidget host;
    ucSlider *slider;
    // Shows the host and waits until it is on the screen, for the mouse.
    bool show();
};

// Compares a slider, property by property, with the pen window's slider as it is
// stored: sand-coloured, vertical, 1..50 at 5, a picture rail of 18 x 133 with a
// 16 x 16 thumb centred on it, laid out at 18 x 137.
inline void comparePenSlider(const ucSlider &s, bool enabled = true)
{
    QCOMPARE(s.BackColor(), OleColor::rgb(222, 191, 120));
    QCOMPARE(s.Enabled(), enabled);
    QCOMPARE(s.Orientation(), SliderMath::Vertical);
    QCOMPARE(s.RailStyle(), 99);
    QCOMPARE(s.Min(), 1);
    QCOMPARE(s.Max(), 50);
    QCOMPARE(s.Value(), 5);
    QCOMPARE(s.lastValue(), 5);
    QCOMPARE(s.RailPicture().size(), QSize(18, 133));
    QCOMPARE(s.SliderIcon().size(), QSize(16, 16));
    QCOMPARE(s.size(), QSize(18, 137));
    QCOMPARE(s.thumbRect().left(), 1.0);
}
