#pragma once
// The main window's toolbar panel: ten symbol buttons in two columns and the
// language flags below them, on a panel that shows the window's background, so
// it looks transparent.

#include <QImage>
#include <QRect>

#include <array>

class ClickLabel;
class PictureBox;
class SymbolButton;
class QWidget;

struct ToolPanel {
    PictureBox *panel = nullptr;
    std::array<SymbolButton *, 10> buttons{};
    std::array<ClickLabel *, 7> flags{}; // by language digit; 2 and 5 have no flag

    // Makes the panel with its buttons and flags, as a child of `parent`.
    static ToolPanel make(QWidget *parent);

    // Gives the panel its look: the background behind it, taken 150 pixels
    // further right than its own place, in a double frame.
    void paintLook(const QImage &backdrop) const;
};
