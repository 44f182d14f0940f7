#pragma once
// The tool windows the main window owns: unloaded last loaded first when the
// program ends, and kept above the main window.

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class OwnedWindows
{
public:
    // `unload` stores what the window keeps between runs and hides it.
    void add(QWidget *window, std::function<void()> unload);
    // Unloads every window still there, the last loaded first; a failure is
    // quiet, so one window cannot keep the others from storing their places.
    void unloadAll();
    // Puts the visible windows owned by `owner` back on top of it, `first` below
    // the others. Some window managers (openbox, fluxbox) stack a frameless owner
    // above its tool windows when it is clicked or activated, and without a
    // window manager nobody keeps them above. Restacking only: the keyboard
    // focus stays with the owner.
    static void raiseAbove(QWidget *owner, QWidget *first);

private:
    struct Owned {
        QPointer<QWidget> window;
        std::function<void()> unload;
    };
    std::vector<Owned> m_owned;   // in the order they were loaded
};
