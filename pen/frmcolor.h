#pragma once
// The pen window: the child picks the pencil's colour from a palette and its
// width with the slider. Every choice goes at once into the pen globals, into the
// canvas of the main window and into the window's own swatch and number. A
// frameless tool window owned by the main window, moved by dragging its
// background or the palette; it remembers its place between runs.

#include "controls/toolwindow.h"

#include <cstdint>

class PictureBox;
class QLabel;
class SymbolButton;
class ucSlider;
class PropertyBag;

class frmColor : public ToolWindow
{
    Q_OBJECT
public:
    // `owner` is the main window, above which this window floats. The pen it
    // sets is the program's pen, which the canvas draws with.
    explicit frmColor(QWidget *owner);
    ~frmColor() override;

    // Shows the window; when it is already open it only comes forward. The first
    // showing loads it (sound, width, colour, place) and paints its background.
    void ShowOwned();

    // Stores the window's place (Key::PenWindowLeft and Top, twips). Called by the quit
    // routine; does nothing when the window was never loaded this run.
    void Form_Unload();

    // The window's parts.
    PictureBox *picCol() const { return m_picCol; }
    ucSlider *slider() const { return m_slider; }
    QLabel *lblWidth() const { return m_lblWidth; }
    QLabel *lblFCol() const { return m_lblFCol; }
    SymbolButton *vbeButton() const { return m_vbeButton; }
    // The window's retained background: the stretched picture and the frame
    // around the slider.
    PictureBox *surface() const { return m_surface; }

    // The slider's stored design properties.
    static void fillSliderProperties(PropertyBag &bag);

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Form_Load();
    void Form_Resize();
    void Form_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPointF pos);
    void picCol_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPointF pos);
    void ucSlider_ValueChanged();
    void vbeButton_Click(int Index);

    void showPenColor();

    PictureBox *m_surface = nullptr;
    PictureBox *m_picCol = nullptr;
    ucSlider *m_slider = nullptr;
    QLabel *m_lblWidth = nullptr;
    QLabel *m_lblFCol = nullptr;
    SymbolButton *m_vbeButton = nullptr;

    bool m_backgroundDrawn = false;
    QPoint m_pressGlobal;
};
