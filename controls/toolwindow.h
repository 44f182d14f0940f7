#pragma once
// The base of the two floating tool windows (the lesson window and the pen
// window): frameless, owned by the main window and floating above it, dragged by
// their background, and placed where the child left them in the last run. The
// place is stored in twips under two settings keys of the window's own.

#include "core/settingkeys.h"

#include <QPoint>
#include <QWidget>

#include <cstdint>

class ToolWindow : public QWidget
{
    Q_OBJECT
public:
    // True once the window was shown the first time in this run.
    bool isLoaded() const { return m_loaded; }
    // True while the window follows the pointer by hand (no window manager, or
    // a button other than the left one).
    bool isMovingByHand() const;

    // The place the window was put at when it was loaded, in twips.
    QPoint placeTwips() const { return m_place; }

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
    // Keeps the whole window on its owner's screen.
    void keepOnScreen();
    // Stores the window's place now.
    void storePlace() const;

    // Starts dragging the window after a press of `button` at `globalPos`.
    void beginDrag(QPointF globalPos, Qt::MouseButton button);

private:
    Allgemein::SettingKey m_leftKey;
    Allgemein::SettingKey m_topKey;
    QPoint m_place;   // twips
    int m_twipsX = 15;
    int m_twipsY = 15;
    bool m_loaded = false;
};
