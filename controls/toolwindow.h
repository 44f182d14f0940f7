#pragma once
// The base of the two floating tool windows (the lesson window and the pen
// window): frameless, owned by the main window and floating above it, dragged by
// their background, and placed where the child left them in the last run. The
// place is stored in twips under two settings keys of the window's own.

#include "core/settingkeys.h"

#include <QPoint>
#include <QRect>
#include <QWidget>

#include <cstdint>
#include <functional>

class ToolWindow : public QWidget
{
    Q_OBJECT
public:
    // True once the window was shown the first time in this run.
    bool isLoaded() const { return m_loaded; }
    // True while a drag moves the window with the pointer.
    bool isMovingByHand() const;

    // The place the window was put at when it was loaded, in twips.
    QPoint placeTwips() const { return m_place; }

    // Where the window goes at a start without a stored place, given the place
    // it would take by itself (its outer rectangle on the screen): the owner's
    // choice, which knows what the window should leave uncovered. Without one the
    // window only moves onto the screen.
    using Placer = std::function<QPoint(const QRect &described)>;
    void setPlacer(Placer placer) { m_placer = std::move(placer); }

protected:
    ToolWindow(QWidget *owner, const Allgemein::SettingKey &leftKey, const Allgemein::SettingKey &topKey);

    void setLoaded() { m_loaded = true; }
    int twipsPerPixelX() const { return m_twipsX; }
    int twipsPerPixelY() const { return m_twipsY; }

    // Whether a place was stored in an earlier run (either of its parts).
    bool placeStored() const;
    // Takes `place` (twips), the window's default place.
    void setPlaceTwips(QPoint place) { m_place = place; }
    // Takes the stored left and top edges where they are stored; the default
    // place stays where they are not (or where reading them fails).
    void readStoredLeft();
    void readStoredTop();
    // Moves the window to the place taken.
    void moveToPlace();
    // Once the window has its size at load: a window without a stored place
    // (`byDefault`) goes where the placer puts it; a stored place stays as
    // found, as long as the window is within reach on a screen (see
    // keepInReach).
    void settlePlace(bool byDefault);
    // Brings the window back when less than WindowPlace::Reach pixels of its
    // width or height lie on a screen: it can always be seen and grabbed again.
    // Every move of a shown window is held to that, a drag's too.
    void keepInReach();
    // Stores the window's place now.
    void storePlace() const;

    // Drags the window after a press of any button at `globalPos`, once the
    // pointer has gone the drag distance with the button still down. A press
    // and release in one place is a click, and moves nothing.
    void beginDrag(QPointF globalPos);

    void moveEvent(QMoveEvent *event) override;

private:
    // Keeps the whole window on its owner's screen.
    void keepOnScreen();

    Allgemein::SettingKey m_leftKey;
    Allgemein::SettingKey m_topKey;
    Placer m_placer;
    QPoint m_place; // twips
    int m_twipsX = 15;
    int m_twipsY = 15;
    bool m_loaded = false;
};
