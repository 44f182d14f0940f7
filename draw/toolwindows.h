#pragma once
// The tool windows the main window owns, the lesson window and the pen window:
// made on first use, kept above the main window, and unloaded last loaded first
// when the program ends.

#include "controls/toolplace.h"

#include <QPointer>
#include <QRect>

#include <functional>
#include <vector>

class frmColor;
class frmPreview;
class PictureBox;
class QWidget;
struct ToolPanel;

class ToolWindows
{
public:
    // `owner` is the main window, `canvas` its drawing surface (a picture chosen
    // in the lesson window is painted into it), `panel` its toolbar panel, whose
    // top the lesson window's default place is reckoned from.
    ToolWindows(QWidget *owner, PictureBox *canvas, const ToolPanel *panel, std::function<double()> ownerPanelTop);

    // Null until first shown.
    frmPreview *preview() const { return m_preview; }
    frmColor *pen() const { return m_pen; }

    void showPreview();
    void showPen();

    // Unloads every window still there, the last loaded first (each stores its
    // place); a failure is quiet, so one window cannot keep the others from
    // storing theirs.
    void unloadAll();

    // Puts the visible windows back on top of the owner, the lesson window below
    // the others. Some window managers (openbox, fluxbox) stack a frameless owner
    // above its tool windows when it is clicked or activated, and without a
    // window manager nobody keeps them above. Restacking only: the keyboard focus
    // stays with the owner.
    void raiseAll() const;

private:
    void loaded(QWidget *window, std::function<void()> unload);
    // Where `window` goes when it has no stored place, on the screen area
    // `area`, given the place it would take by itself (`described`, its outer
    // rectangle): over as little as can be of the toolbar's buttons and flags
    // (Clear, Undo, Open and Save above all), then of the other shown tool
    // window and the canvas; where it would go itself when that covers nothing.
    QPoint placeFor(const QWidget *window, const QRect &area, const QRect &described) const;
    // What a tool window should leave uncovered, on the screen, other than
    // `window` itself: the toolbar's buttons and flags, the canvas, and the other
    // shown tool windows.
    QList<ToolPlace::Obstacle> obstaclesFor(const QWidget *window) const;

    QWidget *m_owner;
    PictureBox *m_canvas;
    const ToolPanel *m_panel;
    std::function<double()> m_ownerPanelTop;
    frmPreview *m_preview = nullptr;
    frmColor *m_pen = nullptr;
    struct Loaded {
        QPointer<QWidget> window;
        std::function<void()> unload;
    };
    std::vector<Loaded> m_loaded; // in the order they were loaded
};
