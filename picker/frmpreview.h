#pragma once
// The lesson window: shows one step of the current lesson, browses the lessons,
// toggles the grid and the preview size, and lists the saved pictures.

#include "controls/toolwindow.h"
#include "core/lessonstrokes.h"
#include "picker/pictureclip.h"

#include <QImage>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

class GridOverlay;
class PictureBox;
class SymbolButton;
class QListWidget;
class StrokeAnimation;

class frmPreview : public ToolWindow
{
    Q_OBJECT
public:
    // `owner` is the window it floats above; `canvas` the drawing surface a
    // saved picture is painted into; `ownerPanelTop` the top of the owner's
    // toolbar panel in pixels, which the default place is reckoned from.
    frmPreview(QWidget *owner, PictureBox *canvas, std::function<double()> ownerPanelTop);

    // Shows the window modeless above its owner; the first showing loads it.
    void ShowOwned();

    void Form_Load();
    void Form_Activate();
    void Form_Resize();
    void ResizePreview();
    void vbeButton_Click(int Index);
    void filPics_Click();
    void Form_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, QPointF globalPos);
    void Form_Unload();

    // The main window's Open command: hide the step panel, list the pictures
    // saved meanwhile, show the file panel.
    void ShowFilePanel();
    // The pictures listed now (file names).
    QStringList pictureNames() const;
    // Sets the tooltips of the nine buttons in the current language.
    void Sprache();

    // The default place in twips for a main window `ownerWidthTwips` wide whose
    // toolbar panel's top is `panelTopPixels`, for a window `heightTwips` high.
    static QPoint defaultPlace(double ownerWidthTwips, double panelTopPixels, int twipsPerPixelY, double heightTwips);

    PictureBox *picPreview = nullptr;
    GridOverlay *imgGitter = nullptr;
    std::array<PictureBox *, 3> picPanel{};
    std::array<SymbolButton *, 9> vbeButton{};
    QListWidget *filPics = nullptr;
    PictureClip clpPicture;
    int16_t StepIndex = 0;
    int16_t TemplateCount = 0;

    // Forgets the picture chosen in the list: after a Save the name is the typed
    // one, and OK paints nothing.
    void forgetChosenPicture() { m_chosenPicture.clear(); }
    const QString &chosenPicture() const { return m_chosenPicture; }

    const QImage &backdrop() const { return m_backdrop; }

    // Draws the strokes of a step as it comes into view, over the preview.
    StrokeAnimation *strokeAnimation() const { return m_animation; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void loadTemplate();
    void showCell(int k);
    void drawStep(int k);
    bool previewMouse(QEvent *event);
    void refreshPictureList();
    QString picturesFolder() const;

    QWidget *m_owner;
    PictureBox *m_canvas;
    std::function<double()> m_ownerPanelTop;
    QImage imgBG;
    QImage m_backdrop;
    QString m_chosenPicture; // the full path of the picture picked in the list
    StrokeAnimation *m_animation = nullptr;
    std::optional<LessonStrokes> m_strokes;
    int m_strokesOf = 0; // the lesson m_strokes belong to
    // A press on the preview waits to see whether it is a click or a drag.
    struct PendingPress {
        QPointF globalPos;
        Qt::MouseButton button;
        Qt::KeyboardModifiers shift;
    };
    std::optional<PendingPress> m_previewPress;
};
