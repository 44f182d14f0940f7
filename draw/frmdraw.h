#pragma once
// The main window: the drawing canvas, the toolbar panel with its ten buttons and
// five flags, the title logo and the maker's notice, over a background picture.

#include "draw/helpmenu.h"
#include "draw/layout.h"
#include "draw/toolpanel.h"
#include "draw/toolwindows.h"
#include "print/printjob.h"

#include <QImage>
#include <QWidget>

#include <array>
#include <functional>

class ErrorFrame;
class Canvas;
class PictureBox;
class frmPreview;
class frmColor;
class SymbolButton;
class ClickLabel;
class QAction;
class QLabel;

class frmDraw : public QWidget
{
    Q_OBJECT
public:
    explicit frmDraw(QWidget *parent = nullptr);
    ~frmDraw() override;

    // The one main window of the run, created (and loaded) on first use.
    static frmDraw &instance();
    static bool exists();

    void Form_Load();
    void Form_Resize();
    void Form_Activate();
    void Sprache();
    void vbeButton_Click(int Index);
    void imgLang_Click(int Index);
    // A stroke began on the canvas: keep the canvas for Undo, enable Undo, play
    // the pencil's sound. The canvas draws the stroke itself.
    void picBild_MouseDown();

    // Closes the window for good (the quit routine), unloading the tool windows
    // it owns first.
    void Unload();
    // What a Yes to the quit question runs before the window closes: the
    // program's orderly end.
    void setQuitProgram(std::function<void()> quitProgram) { m_quitProgram = std::move(quitProgram); }

    // Shows the window centred on the screen at its design size.
    void showCentred();

    // The window's parts, under their described names.
    Canvas *picBild() const { return m_picBild; }
    PictureBox *picPanel() const { return m_panel.panel; }
    SymbolButton *vbeButton(int index) const { return m_panel.buttons.at(size_t(index)); }
    // The flag of language `digit`; null for the languages without a flag.
    ClickLabel *imgLang(int digit) const { return m_panel.flags.at(size_t(digit)); }
    QLabel *imgLogo(int index) const { return m_imgLogo.at(size_t(index)); }
    QLabel *lblRahmen() const { return m_lblRahmen; }
    QLabel *lblCopyright() const { return m_lblCopyright; }
    // The help button's popup menu (no menu bar) and its items.
    HelpMenu *mnuHelp() const { return m_mnuHelp; }
    QAction *mnuHilfe() const { return m_mnuHelp->mnuHilfe; }
    QAction *mnuEmail() const { return m_mnuHelp->mnuEmail; }
    QAction *mnuUeber() const { return m_mnuHelp->mnuUeber; }

    // The canvas as it was when the last stroke began: what Undo brings back.
    const QImage &undoPicture() const { return m_picOld; }
    // The printer margins, measured at the first Print.
    PrintJob &printJob() { return m_print; }

    // The lesson window, created with the first layout; null before.
    frmPreview *preview() const { return m_tools.preview(); }
    // The pen window, created when it is first shown; null before.
    frmColor *penWindow() const { return m_tools.pen(); }
    // Shows the pen window (creating it on first use) above the main window.
    void showPenWindow() { m_tools.showPen(); }
    // The background picture as painted by the last layout.
    const QImage &backdrop() const { return m_backdrop; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Runs once the first frame is on the screen: the sound output.
    void afterFirstFrame();
    void buildControls();
    void quitCommand();
    void printCommand(ErrorFrame &f);
    void showToolWindows();
    void raiseOwnedWindows();

    Canvas *m_picBild = nullptr;
    QImage m_picOld;
    ToolPanel m_panel;
    std::array<QLabel *, 2> m_imgLogo{};
    QLabel *m_lblRahmen = nullptr;
    QLabel *m_lblCopyright = nullptr;
    HelpMenu *m_mnuHelp = nullptr;
    PrintJob m_print;

    QImage imgHinterg;
    QImage m_backdrop;
    bool m_logosStretched = false;
    bool m_loaded = false;
    bool m_firstFramePainted = false;
    bool m_quitting = false;
    ToolWindows m_tools;
    std::function<void()> m_quitProgram;
    DrawLayout m_layout;
};
