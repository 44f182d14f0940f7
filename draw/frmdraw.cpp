#include "draw/frmdraw.h"

#include "controls/canvas.h"
#include "controls/clicklabel.h"
#include "controls/symbolbutton.h"
#include "core/colors.h"
#include "core/config.h"
#include "core/convert.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/languages.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "draw/helpmenu.h"
#include "draw/savepicture.h"
#include "draw/titleparts.h"
#include "draw/toolwindows.h"
#include "picker/frmpreview.h"
#include "platform/artwork.h"
#include "platform/memory.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/windowplace.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QPainter>
#include <QTimer>
#include <QWindow>

namespace {
frmDraw *g_instance = nullptr;

// Moves a control; a negative size fails as the platform's move would.
void moveControl(QWidget *w, const QRectF &r)
{
    if (r.width() < 0 || r.height() < 0)
        raiseError(Err::InvalidPropertyValue);
    w->setGeometry(toPixels(r));
}
} // namespace

frmDraw &frmDraw::instance()
{
    if (!g_instance) {
        g_instance = new frmDraw();
        g_instance->Form_Load();
    }
    return *g_instance;
}

bool frmDraw::exists() { return g_instance != nullptr; }

frmDraw::frmDraw(QWidget *parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), m_picBild(new Canvas(this)),
      m_tools(this, m_picBild, &m_panel, [this] { return m_layout.panel.top(); })
{
    if (!g_instance)
        g_instance = this;
    setWindowTitle(Allgemein::AppTitle);
    setFixedSize(DesignWidth, DesignHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    imgHinterg = ModResFiles::LoadArtwork(QStringLiteral(":/art/background.png"), TitleParts::fallbackBackground);
    buildControls();
}

frmDraw::~frmDraw()
{
    if (g_instance == this)
        g_instance = nullptr;
}

void frmDraw::buildControls()
{
    m_lblRahmen = TitleParts::makeFrame(this);
    m_lblRahmen->lower(); // behind the canvas
    m_picBild->setBackColor(Qt::white);
    connect(m_picBild, &Canvas::strokeBegan, this, &frmDraw::picBild_MouseDown);

    m_panel = ToolPanel::make(this);
    for (SymbolButton *b : m_panel.buttons)
        connect(b, &SymbolButton::Click, this, &frmDraw::vbeButton_Click);
    for (int digit = 0; digit < int(m_panel.flags.size()); ++digit) {
        if (ClickLabel *flag = m_panel.flags[size_t(digit)])
            connect(flag, &ClickLabel::clicked, this, [this, digit] { imgLang_Click(digit); });
    }

    for (int i = 0; i < 2; ++i)
        m_imgLogo[size_t(i)] = TitleParts::makeLogo(i, this);
    m_lblCopyright = TitleParts::makeCopyright(this);
    m_mnuHelp = new HelpMenu(this);
}

void frmDraw::Form_Load()
{
    using namespace Allgemein;
    ErrorFrame f("frmDraw", "Form_Load");
    f.run([&] {
        // The printer margins are measured at the first Print, from the printer
        // that prints: a child who never prints never loads the print system.
        f.line(40, [&] { m_picBild->setCursor(TitleParts::pencilCursor()); });
        f.line(50, [&] { m_panel.buttons[1]->setEnabled(false); });
        f.line(60, [&] {
            if (!SoundOn)
                m_panel.buttons[6]->setForeColor(Colors::SoundOff);
        });
        // The canvas draws with the program's pen itself (70). The busy pointer
        // of the start stays up until the start screen has shown this window (80).
    });
    m_loaded = true;
}

void frmDraw::showCentred()
{
    WindowPlace::centreOnScreen(this);
    show();
    raise();
    activateWindow();
}

void frmDraw::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmDraw::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        raiseOwnedWindows();
        Form_Activate();
    }
    if (event->type() == QEvent::LanguageChange)
        Sprache();
}

bool frmDraw::eventFilter(QObject *watched, QEvent *event)
{
    // Every press anywhere in the main window passes its window first.
    if (watched == windowHandle() && event->type() == QEvent::MouseButtonPress)
        raiseOwnedWindows();
    return QWidget::eventFilter(watched, event);
}

void frmDraw::raiseOwnedWindows() { m_tools.raiseAll(); }

void frmDraw::Form_Activate() { Sprache(); }

void frmDraw::Form_Resize()
{
    using namespace Allgemein;
    const int sw = width();
    const int sh = height();
    DrawLayout l;
    ErrorFrame f("frmDraw", "Form_Resize");
    f.run([&] {
        f.line(10, [&] {
            m_backdrop = ModResFiles::ArtworkAt(imgHinterg, QSize(sw, sh));
            update();
        });
        f.line(20, [&] {
            std::array<QRectF, 2> logos{QRectF(m_imgLogo[0]->geometry()), QRectF(m_imgLogo[1]->geometry())};
            l = layoutFor(sw, sh, PanelSize, logos, m_logosStretched, CopyrightSize);
            m_layout = l;
        });
        f.line(30, [&] { moveControl(m_panel.panel, l.panel); });
        f.line(40, [&] {
            m_panel.paintLook(m_backdrop);
            m_panel.panel->setVisible(true);
        });
        f.line(50, [&] {
            m_picBild->setVisible(false);
            moveControl(m_picBild, l.canvas);
            m_picBild->setVisible(true);
        });
        f.line(60, [&] {
            moveControl(m_lblRahmen, l.frame);
            m_lblRahmen->lower();
        });
        f.line(80, [&] {
            m_logosStretched = l.logosStretched;
            for (int i = 0; i < 2; ++i) {
                m_imgLogo[size_t(i)]->setScaledContents(m_logosStretched);
                moveControl(m_imgLogo[size_t(i)], l.logos[size_t(i)]);
            }
        });
        f.line(90, [&] {
            moveControl(m_lblCopyright, l.copyright);
            m_lblCopyright->setVisible(true);
        });
        f.line(100, [&] { showToolWindows(); });
    });
}

void frmDraw::showToolWindows()
{
    // The lesson window always comes up with the main window's layout, the pen
    // window while it was left open.
    m_tools.showPreview();
    if (Allgemein::PenWindowShown)
        m_tools.showPen();
}

void frmDraw::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (QWindow *handle = windowHandle())
        handle->installEventFilter(this);
    QTimer::singleShot(0, this, [this] { raiseOwnedWindows(); });
}

void frmDraw::afterFirstFrame()
{
    Allgemein::OpenSoundOutput();
    // The start has read what it needs of the embedded data: the start screen's
    // pictures are no longer shown, and the windows' are in their buffers now.
    Memory::handBackEmbeddedData();
}

void frmDraw::paintEvent(QPaintEvent *event)
{
    // What the first frame does not need waits until it is on the screen.
    if (!m_firstFramePainted) {
        m_firstFramePainted = true;
        QTimer::singleShot(0, this, &frmDraw::afterFirstFrame);
    }
    QPainter p(this);
    if (m_backdrop.isNull())
        p.fillRect(event->rect(), QColor(245, 232, 200));
    else
        p.drawImage(event->rect(), m_backdrop, Artwork::devicePixels(event->rect(), m_backdrop));
}

void frmDraw::Sprache()
{
    using namespace Allgemein;
    ErrorFrame f("frmDraw", "Sprache");
    f.run([&] {
        static constexpr Text ids[10] = {Text::DeletePicture, Text::Undo,         Text::OpenFile,     Text::SavePicture,
                                         Text::PenProperties, Text::PrintPicture, Text::SoundEffects, Text::Help,
                                         Text::Homepage,      Text::EndProgram};
        f.line(10, [&] {
            for (int i = 0; i < 10; ++i)
                m_panel.buttons[size_t(i)]->setToolTip(Msg(ids[i]));
        });
        f.line(20, [&] { m_mnuHelp->setTitle(Msg(Text::Help)); });
        f.line(30, [&] { m_mnuHelp->mnuHilfe->setText(Msg(Text::OnlineHelp)); });
        f.line(40, [&] { m_mnuHelp->mnuUeber->setText(Msg(Text::AboutMenu)); });
        f.line(50, [&] {
            if (!m_tools.preview())
                return;
            m_tools.preview()->Sprache();
        });
        f.line(60, [&] {
            m_imgLogo[0]->setVisible(LanguageOffset == 0);
            m_imgLogo[1]->setVisible(LanguageOffset != 0);
        });
    });
}

void frmDraw::picBild_MouseDown()
{
    using namespace Allgemein;
    ErrorFrame f("frmDraw", "picBild_MouseDown");
    f.run([&] {
        f.line(10, [&] { m_picOld = m_picBild->image().copy(); });
        f.line(20, [&] {
            if (!m_panel.buttons[1]->isEnabled())
                m_panel.buttons[1]->setEnabled(true);
        });
        f.line(30, [&] { PlayEffect(Effect::Pencil); });
        // The stroke's state and its first dot (40, 50) are the canvas's own.
    });
}

void frmDraw::vbeButton_Click(int Index)
{
    using namespace Allgemein;
    ErrorFrame f("frmDraw", "vbeButton_Click");
    f.run([&] {
        f.line(10, [&] { PlayEffect(Effect::Click); });
        switch (Index) {
        case 0: // Clear
            f.line(20, [&] { PlayEffect(Effect::Sweep); });
            f.line(30, [&] { m_panel.buttons[1]->setEnabled(false); });
            // Undo puts the restored canvas in as the background picture, which
            // erasing the drawn layer alone would leave: Clear takes both, so
            // "Delete picture" always leaves a white page.
            f.line(40, [&] { m_picBild->setPicture(QImage()); });
            f.line(50, [&] { m_picBild->repaint(); });
            break;
        case 1: // Undo
            f.line(60, [&] { m_picBild->setPicture(m_picOld); });
            f.line(70, [&] { m_panel.buttons[1]->setEnabled(false); });
            break;
        case 2: // Open: the lesson window's list of saved pictures, in front
            f.line(80, [&] {
                if (!m_tools.preview())
                    return;
                m_tools.preview()->ShowOwned();
                m_tools.preview()->ShowFilePanel();
            });
            break;
        case 3: // Save; the picture picked in the list before is no longer the chosen one
            SavePicture::run(f, this, m_picBild->image());
            if (m_tools.preview())
                m_tools.preview()->forgetChosenPicture();
            break;
        case 4: // Pen window
            f.line(140, [&] { m_tools.showPen(); });
            f.line(150, [&] { PenWindowShown = True; });
            break;
        case 5: // Print
            printCommand(f);
            break;
        case 6: // Sound on/off; this click's sound went by the old state
            // A logical toggle: a stored 1 also counts as on and must switch off.
            f.line(230, [&] { SoundOn = SoundOn ? False : True; });
            f.line(240, [&] { m_panel.buttons[6]->setForeColor(SoundOn ? QColor(Qt::black) : Colors::SoundOff); });
            break;
        case 7: // Help menu
            f.line(250, [&] { m_mnuHelp->popup(QCursor::pos()); });
            break;
        case 8: // The maker's web site; whether a browser came up is not looked at
            f.line(260, [&] { Shell::open(QUrl(Config::WebSite)); });
            break;
        case 9: // Quit
            f.line(300, [&] { quitCommand(); });
            break;
        default:
            break;
        }
    });
}

void frmDraw::imgLang_Click(int Index)
{
    using namespace Allgemein;
    ErrorFrame f("frmDraw", "imgLang_Click");
    f.run([&] {
        f.line(10, [&] { PlayEffect(Effect::Click); });
        // The captions follow through the language change event.
        f.line(20, [&] { SwitchLanguage(Index); });
    });
}

void frmDraw::printCommand(ErrorFrame &f)
{
    // The canvas, the font and the title line are taken first; the job then
    // makes up the page and sends it to the printer in its last statement.
    QImage picture;
    QFont font;
    QString title;
    f.line(180, [&] { picture = m_picBild->image().copy(); });
    f.line(190, [&] {
        font = QFont(m_lblCopyright->font().family());
        font.setPointSizeF(6);
        font.setBold(false);
    });
    f.line(200, [&] { title = Allgemein::AppTitle + QStringLiteral("  |  ") + m_lblCopyright->text(); });
    m_print.print(f, picture, title, font);
}

void frmDraw::quitCommand()
{
    using namespace Allgemein;
    const auto answer = Prompts::message(this, Msg(Text::QuitQuestion), Prompts::Buttons::YesNo,
                                         Prompts::Icon::Question, Msg(Text::ProgramTitle), Prompts::Answer::Yes);
    if (answer != Prompts::Answer::Yes)
        return;
    if (m_quitProgram)
        m_quitProgram();
    Unload();
    QCoreApplication::exit(0);
}

void frmDraw::Unload()
{
    // The owned tool windows go first, the last loaded first; each stores its place.
    m_tools.unloadAll();
    m_quitting = true;
    close();
}

void frmDraw::closeEvent(QCloseEvent *event)
{
    // The window closes only through its quit button.
    if (m_quitting)
        event->accept();
    else
        event->ignore();
}
