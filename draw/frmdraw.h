#pragma once
// The main window: the drawing canvas, the toolbar panel with its ten buttons and
// five flags, the title logo and the maker's notice, over a background picture.

#include "draw/layout.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class ErrorFrame;
class PictureBox;
class frmPreview;
class frmColor;
class SymbolButton;
class ClickLabel;
class QAction;
class QLabel;
class QMenu;

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
    void mnuHilfe_Click();
    void mnuEmail_Click();
    void mnuUeber_Click();
    void picBild_MouseDown(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picBild_MouseMove(Qt::MouseButtons Button, Qt::KeyboardModifiers Shift, double X, double Y);
    void picBild_MouseUp(Qt::MouseButton Button, Qt::KeyboardModifiers Shift, double X, double Y);

    // Closes the window for good (the quit routine), unloading the tool windows
    // it owns first.
    void Unload();
    // What a Yes to the quit question runs before the window closes: the
    // program's orderly end.
    void setQuitProgram(std::function<void()> quitProgram) { m_quitProgram = std::move(quitProgram); }

    // Shows the window centred on the screen at its design size.
    void showCentred();

    PictureBox *picBild = nullptr;
    QImage picOld;                  // the canvas as it was when the last stroke began
    PictureBox *picPanel = nullptr;
    std::array<SymbolButton *, 10> vbeButton{};
    std::array<ClickLabel *, 7> imgLang{};   // by language digit; 2 and 5 have no flag
    std::array<QLabel *, 2> imgLogo{};
    QLabel *lblRahmen = nullptr;
    QLabel *lblCopyright = nullptr;
    QMenu *mnuHelp = nullptr;            // the help button's popup menu
    int16_t StrokeActive = 0;
    int16_t PrintMarginLeft = 0;
    int16_t PrintMarginRight = 0;
    int16_t PrintMarginTop = 0;
    int16_t PrintMarginBottom = 0;
    // The help menu's items (the menu only pops up; it is no menu bar).
    QAction *mnuHilfe = nullptr;
    QAction *mnuEmail = nullptr;
    QAction *mnuUeber = nullptr;
    // Measures the printer margins, the first time only: right after the first
    // frame, and before anything is printed.
    void measurePrinterMargins();

    // The lesson window, created with the first layout; null before.
    frmPreview *preview() const { return m_preview; }
    // The pen window, created when it is first shown; null before.
    frmColor *penWindow() const { return m_color; }
    // Shows the pen window (creating it on first use) above the main window.
    void showPenWindow();
    // The figures of the last layout.
    const DrawLayout &drawLayout() const { return m_layout; }

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
    // Runs once the first frame is on the screen: the printer margins, the sound output.
    void afterFirstFrame();
    void buildControls();
    void buildHelpMenu();
    void quitCommand();
    void saveCommand(ErrorFrame &f);
    void printCommand(ErrorFrame &f);
    void showToolWindows();
    void raiseOwnedWindows();

    QImage imgHinterg;
    QImage m_backdrop;
    bool m_logosStretched = false;
    bool m_loaded = false;
    bool m_firstFramePainted = false;
    bool m_marginsMeasured = false;
    bool m_quitting = false;
    frmPreview *m_preview = nullptr;
    frmColor *m_color = nullptr;
    struct OwnedWindow {
        QPointer<QWidget> window;
        std::function<void()> unload;
    };
    std::vector<OwnedWindow> m_owned;   // in the order they were loaded
    std::function<void()> m_quitProgram;
    DrawLayout m_layout;
};
