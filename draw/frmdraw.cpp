#include "draw/frmdraw.h"

#include "core/convert.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/languages.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "about/frminfo.h"
#include "controls/clicklabel.h"
#include "controls/symbolbutton.h"
#include "core/colors.h"
#include "core/config.h"
#include "core/picturefile.h"
#include "draw/printpage.h"
#include "pen/frmcolor.h"
#include "picker/frmpreview.h"
#include "platform/artwork.h"
#include "platform/paths.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "platform/twips.h"
#include "platform/windowplace.h"
#include "print/drucker.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QWindow>

namespace {
frmDraw *g_instance = nullptr;

// The design places of the toolbar buttons inside the panel, in pixels.
QRect buttonPlace(int index)
{
    const int left = (index % 2 == 0) ? 32 : 88;
    const int top = 24 + (index / 2) * 40;
    return QRect(left, top, 49, 33);
}

const char *const kSymbols[10] = {"clear", "undo", "open", "save", "pen",
                                  "print", "sound", "help", "web", "quit"};
const char *const kFallbacks[10] = {"C", "\u21b6", "O", "S", "\u270e", "P", "\u266a", "?", "W", "X"};

QImage fallbackBackground()
{
    QImage img(DesignWidth, DesignHeight, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, DesignHeight);
    g.setColorAt(0, QColor(250, 240, 214));
    g.setColorAt(1, QColor(236, 214, 166));
    p.fillRect(img.rect(), g);
    return img;
}

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

frmDraw::frmDraw(QWidget *parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
{
    if (!g_instance)
        g_instance = this;
    setWindowTitle(Allgemein::AppTitle);
    setFixedSize(DesignWidth, DesignHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    imgHinterg = ModResFiles::LoadArtwork(QStringLiteral(":/art/background.png"), fallbackBackground);
    buildControls();
}

frmDraw::~frmDraw()
{
    if (g_instance == this)
        g_instance = nullptr;
}

void frmDraw::buildControls()
{
    lblRahmen = new QLabel(this);
    lblRahmen->setAutoFillBackground(true);
    QPalette pal = lblRahmen->palette();
    pal.setColor(QPalette::Window, SymbolButton::faceColor());
    lblRahmen->setPalette(pal);

    picBild = new PictureBox(this);
    picBild->setBackColor(Qt::white);
    connect(picBild, &PictureBox::mouseDown, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers s, QPointF p) {
                picBild_MouseDown(b, s, p.x(), p.y());
            });
    connect(picBild, &PictureBox::mouseMove, this,
            [this](Qt::MouseButtons b, Qt::KeyboardModifiers s, QPointF p) {
                picBild_MouseMove(b, s, p.x(), p.y());
            });
    connect(picBild, &PictureBox::mouseUp, this,
            [this](Qt::MouseButton b, Qt::KeyboardModifiers s, QPointF p) {
                picBild_MouseUp(b, s, p.x(), p.y());
            });

    picPanel = new PictureBox(this);
    picPanel->resize(PanelSize.toSize());
    picPanel->setKeepContentOnResize(false);
    for (int i = 0; i < 10; ++i) {
        auto *b = new SymbolButton(i, QString::fromLatin1(kSymbols[i]),
                                   QString::fromUtf8(kFallbacks[i]), picPanel);
        b->setGeometry(buttonPlace(i));
        connect(b, &SymbolButton::Click, this, &frmDraw::vbeButton_Click);
        vbeButton[size_t(i)] = b;
    }
    for (const Allgemein::Language &language : Allgemein::Languages) {
        if (!language.flag)
            continue;
        ClickLabel *flag = makeLanguageFlag(language.digit, picPanel);
        flag->move(Twips::toPixels(language.flag->left, Twips::DefaultPerPixel),
                   Twips::toPixels(language.flag->top, Twips::DefaultPerPixel));
        connect(flag, &ClickLabel::clicked, this, [this, digit = language.digit] { imgLang_Click(digit); });
        imgLang[size_t(language.digit)] = flag;
    }

    for (int i = 0; i < 2; ++i) {
        auto *logo = new QLabel(this);
        const QPixmap pm =
            QPixmap::fromImage(Artwork::load(QStringLiteral(":/art/logo%1.png").arg(i)));
        if (pm.isNull()) {
            logo->setText(i == 0 ? QStringLiteral("Stiftolino \u2013 Zeichnen lernen")
                                 : QStringLiteral("Stiftolino \u2013 Learn to draw"));
            QFont f = logo->font();
            f.setPixelSize(30);
            f.setBold(true);
            logo->setFont(f);
            logo->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        } else {
            logo->setPixmap(pm);
        }
        logo->setGeometry(QRect(QPoint(25, 25), LogoSize.toSize()));
        logo->setVisible(i == 0);
        imgLogo[size_t(i)] = logo;
    }

    lblCopyright = new QLabel(Config::CopyrightNotice, this);
    QFont notice(QStringLiteral("Times New Roman"));
    notice.setStyleHint(QFont::Serif);
    notice.setPointSizeF(8.25);
    lblCopyright->setFont(notice);
    QPalette np = lblCopyright->palette();
    np.setColor(QPalette::WindowText, Colors::FrameDark);
    lblCopyright->setPalette(np);
    lblCopyright->resize(CopyrightSize.toSize());
    lblCopyright->setVisible(false);

    buildHelpMenu();
}

void frmDraw::buildHelpMenu()
{
    // Not a menu bar: the menu only pops up from the help button. Its captions
    // come from Sprache, except the mail item's, which is the same everywhere.
    if (!mnuHelp)
        mnuHelp = new QMenu(this);
    mnuHilfe = mnuHelp->addAction(QString(), this, &frmDraw::mnuHilfe_Click);
    mnuHelp->addSeparator();
    mnuEmail = mnuHelp->addAction(QStringLiteral("E-Mail"), this, &frmDraw::mnuEmail_Click);
    mnuHelp->addSeparator();
    mnuUeber = mnuHelp->addAction(QString(), this, &frmDraw::mnuUeber_Click);
}

void frmDraw::Form_Load()
{
    using namespace Allgemein;
    ErrorFrame f("frmDraw", "Form_Load");
    f.run([&] {
        // The printer margins are measured once the window has shown its first
        // frame (measurePrinterMargins): asking the print system takes longer
        // than drawing the whole window.
        f.line(40, [&] {
            const QByteArray bytes = ModResFiles::LoadResData(101, QStringLiteral("CURSOR"));
            const QImage img = ModResFiles::DecodeImage(bytes, "PNG");
            if (img.isNull())
                raiseError(Err::InvalidPicture);
            const QStringList hot = img.text(QStringLiteral("hotspot")).split(u',');
            const int hx = hot.size() == 2 ? hot[0].toInt() : 0;
            const int hy = hot.size() == 2 ? hot[1].toInt() : img.height() - 1;
            picBild->setCursor(QCursor(QPixmap::fromImage(img), hx, hy));
        });
        f.line(50, [&] { vbeButton[1]->setEnabled(false); });
        f.line(60, [&] {
            if (!SoundOn)
                vbeButton[6]->setForeColor(Colors::SoundOff);
        });
        f.line(70, [&] {
            picBild->setForeColor(fromRgbValue(PenColor));
            picBild->setDrawWidth(PenWidth);
        });
        f.line(80, [&] {
            while (QApplication::overrideCursor())
                QApplication::restoreOverrideCursor();
        });
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

void frmDraw::raiseOwnedWindows()
{
    // The tool windows float above the main window. Some window managers (openbox,
    // fluxbox) stack a frameless owner above its tool windows when it is clicked or
    // activated, and without a window manager nobody keeps them above: put them
    // back on top. Restacking only; the keyboard focus stays with the main window.
    if (m_preview && m_preview->isVisible())
        m_preview->raise();
    for (QWidget *w : findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() && w->isVisible() && w != m_preview)
            w->raise();
    }
}

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
            std::array<QRectF, 2> logos{QRectF(imgLogo[0]->geometry()),
                                        QRectF(imgLogo[1]->geometry())};
            l = layoutFor(sw, sh, PanelSize, logos, m_logosStretched, CopyrightSize);
            m_layout = l;
        });
        f.line(30, [&] { moveControl(picPanel, l.panel); });
        f.line(40, [&] {
            // The panel shows the background behind it, so it looks transparent;
            // its copy is taken 150 pixels further right than its own place.
            const QRect pr = picPanel->geometry();
            const int pw = picPanel->scaleWidth();
            const int ph = picPanel->scaleHeight();
            QImage look = Artwork::surface(QSize(pw, ph));
            look.fill(Qt::white);
            QPainter p(&look);
            p.drawImage(QRect(0, 0, pw, ph), m_backdrop,
                        Artwork::devicePixels(QRect(pr.left() + 150, pr.top(), pw, ph), m_backdrop));
            p.end();
            picPanel->setPicture(look);
            picPanel->drawBox(QPoint(2, 2), QPoint(pw - 1, ph - 1), Colors::FrameDark);
            picPanel->drawBox(QPoint(0, 0), QPoint(pw - 3, ph - 3), Qt::white);
            picPanel->setVisible(true);
        });
        f.line(50, [&] {
            picBild->setVisible(false);
            moveControl(picBild, l.canvas);
            picBild->setVisible(true);
        });
        f.line(60, [&] {
            moveControl(lblRahmen, l.frame);
            lblRahmen->lower();
        });
        f.line(70, [&] { picBild->setForeColor(fromRgbValue(PenColor)); });
        f.line(80, [&] {
            m_logosStretched = l.logosStretched;
            for (int i = 0; i < 2; ++i) {
                imgLogo[size_t(i)]->setScaledContents(m_logosStretched);
                moveControl(imgLogo[size_t(i)], l.logos[size_t(i)]);
            }
        });
        f.line(90, [&] {
            moveControl(lblCopyright, l.copyright);
            lblCopyright->setVisible(true);
        });
        f.line(100, [&] { showToolWindows(); });
    });
}

void frmDraw::showPenWindow()
{
    if (!m_color) {
        m_color = new frmColor(picBild, this);
        m_owned.push_back({m_color, [c = m_color] {
                               c->Form_Unload();
                               c->hide();
                           }});
    }
    m_color->ShowOwned();
}

void frmDraw::showToolWindows()
{
    // The lesson window always comes up with the main window's layout, the pen
    // window while it was left open.
    if (!m_preview) {
        m_preview = new frmPreview(this, picBild, [this] { return m_layout.panel.top(); });
        m_owned.push_back({m_preview, [p = m_preview] {
                               p->Form_Unload();
                               p->hide();
                           }});
    }
    m_preview->ShowOwned();
    if (Allgemein::PenWindowShown)
        showPenWindow();
}

void frmDraw::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (QWindow *handle = windowHandle())
        handle->installEventFilter(this);
    QTimer::singleShot(0, this, [this] { raiseOwnedWindows(); });
}

void frmDraw::measurePrinterMargins()
{
    if (m_marginsMeasured)
        return;
    m_marginsMeasured = true;
    Drucker::GetPrinterMargins(PrintMarginLeft, PrintMarginRight, PrintMarginTop, PrintMarginBottom);
}

void frmDraw::afterFirstFrame()
{
    measurePrinterMargins();
    Allgemein::OpenSoundOutput();
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
        static constexpr Text ids[10] = {Text::DeletePicture, Text::Undo,        Text::OpenFile,
                                         Text::SavePicture,   Text::PenProperties, Text::PrintPicture,
                                         Text::SoundEffects,  Text::Help,        Text::Homepage,
                                         Text::EndProgram};
        f.line(10, [&] {
            for (int i = 0; i < 10; ++i)
                vbeButton[size_t(i)]->setToolTip(Msg(ids[i]));
        });
        f.line(20, [&] { mnuHelp->setTitle(Msg(Text::Help)); });
        f.line(30, [&] { mnuHilfe->setText(Msg(Text::OnlineHelp)); });
        f.line(40, [&] { mnuUeber->setText(Msg(Text::AboutMenu)); });
        f.line(50, [&] {
            if (!m_preview)
                return;
            m_preview->Sprache();
        });
        f.line(60, [&] {
            imgLogo[0]->setVisible(LanguageOffset == 0);
            imgLogo[1]->setVisible(LanguageOffset != 0);
        });
    });
}

void frmDraw::picBild_MouseDown(Qt::MouseButton, Qt::KeyboardModifiers, double X, double Y)
{
    using namespace Allgemein;
    ErrorFrame f("frmDraw", "picBild_MouseDown");
    f.run([&] {
        f.line(10, [&] { picOld = picBild->image().copy(); });
        f.line(20, [&] {
            if (!vbeButton[1]->isEnabled())
                vbeButton[1]->setEnabled(true);
        });
        f.line(30, [&] { PlayEffect(Effect::Pencil); });
        f.line(40, [&] { StrokeActive = 1; });
        f.line(50, [&] { picBild->line(QPointF(X, Y), QPointF(X, Y)); });
    });
}

void frmDraw::picBild_MouseMove(Qt::MouseButtons, Qt::KeyboardModifiers, double X, double Y)
{
    if (StrokeActive == 1)
        picBild->lineTo(QPointF(X, Y));
}

void frmDraw::picBild_MouseUp(Qt::MouseButton, Qt::KeyboardModifiers, double, double)
{
    StrokeActive = 0;
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
            f.line(30, [&] { vbeButton[1]->setEnabled(false); });
            f.line(40, [&] { picBild->cls(); });
            f.line(50, [&] { picBild->repaint(); });
            break;
        case 1: // Undo
            f.line(60, [&] { picBild->setPicture(picOld); });
            f.line(70, [&] { vbeButton[1]->setEnabled(false); });
            break;
        case 2: // Open: the lesson window's list of saved pictures, in front
            f.line(80, [&] {
                if (!m_preview)
                    return;
                m_preview->ShowOwned();
                m_preview->ShowFilePanel();
            });
            break;
        case 3: // Save
            saveCommand(f);
            break;
        case 4: // Pen window
            f.line(140, [&] { showPenWindow(); });
            f.line(150, [&] { PenWindowShown = True; });
            break;
        case 5: // Print
            printCommand(f);
            break;
        case 6: // Sound on/off; this click's sound went by the old state
            // A logical toggle: a stored 1 also counts as on and must switch off.
            f.line(230, [&] { SoundOn = SoundOn ? False : True; });
            f.line(240, [&] {
                vbeButton[6]->setForeColor(SoundOn ? QColor(Qt::black) : Colors::SoundOff);
            });
            break;
        case 7: // Help menu
            f.line(250, [&] { mnuHelp->popup(QCursor::pos()); });
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

void frmDraw::mnuHilfe_Click()
{
    // The manual's page in the current language (or English); without a manual
    // installed nothing happens.
    const QString path = Paths::manualFile(Allgemein::LanguageCode(Allgemein::LanguageOffset));
    if (QFileInfo(path).isFile())
        Shell::open(QUrl::fromLocalFile(path));
}

void frmDraw::mnuEmail_Click()
{
    Shell::open(QUrl(QStringLiteral("mailto:%1?Subject=%2").arg(Config::SupportMail, Allgemein::AppTitle)));
}

void frmDraw::mnuUeber_Click() { frmInfo::ShowModal(this); }

void frmDraw::saveCommand(ErrorFrame &f)
{
    using namespace Allgemein;
    // Stays empty when the name is refused, so an Ignore writes nothing.
    QString target;
    f.line(90, [&] { PictureName = Prompts::input(this, Msg(Text::EnterFileName), Msg(Text::SavePicture)); });
    f.line(100, [&] {
        if (PictureName.isEmpty())
            f.exit();
    });
    f.line(110, [&] {
        const QString folder = Paths::picturesFolder();
        if (!QDir().mkpath(folder))
            raiseError(Err::PathNotFound, QStringLiteral("Path not found: %1").arg(folder));
        target = PictureFile::savedPath(folder, PictureName);
    });
    f.line(120, [&] {
        if (target.isEmpty() || !QFileInfo(target).isFile())
            return;
        const auto answer = Prompts::message(this, Msg(Text::FileExists) + QStringLiteral("\r\n") + Msg(Text::OverwriteQuestion),
                                             Prompts::Buttons::YesNo, Prompts::Icon::Question,
                                             Msg(Text::EnterFileName), Prompts::Answer::No);
        if (answer != Prompts::Answer::Yes)
            f.exit();
    });
    f.line(130, [&] {
        if (!target.isEmpty())
            PictureFile::save(target, picBild->image());
    });
}

void frmDraw::printCommand(ErrorFrame &f)
{
    // The page is made up first and goes to the printer only in the last step,
    // so leaving the command before it sends nothing.
    std::unique_ptr<QPrinter> printer;
    QRectF printable;   // device pixels from the paper's corner
    double dotsPerMm = 0;
    PrintPage page;
    QImage picture;
    QFont font;
    QString title;
    measurePrinterMargins();   // once, and done already unless no frame was painted yet
    f.line(160, [&] {
        printer = Printing::defaultPrinter();
        if (!printer)
            raiseError(Err::PrinterError, QStringLiteral("No default printer"));
    });
    // Paper, orientation and colour stay as the printer's own defaults have them.
    f.line(170, [&] {
        if (!printer)
            return;
        // The printable area is the paper less the printer's unprintable edge;
        // the page is then drawn on from the paper's corner.
        QPageLayout layout = printer->pageLayout();
        layout.setMargins(layout.minimumMargins());
        printable = layout.paintRectPixels(printer->resolution());
        printer->setFullPage(true);
        dotsPerMm = printer->resolution() / 25.4;
        page = printPageFor(printable.size() / dotsPerMm, PrintMarginLeft, PrintMarginRight,
                            PrintMarginTop, PrintMarginBottom);
    });
    f.line(180, [&] { picture = picBild->image().copy(); });
    f.line(190, [&] {
        font = QFont(lblCopyright->font().family());
        font.setPointSizeF(6);
        font.setBold(false);
    });
    f.line(200, [&] { title = Allgemein::AppTitle + QStringLiteral("  |  ") + lblCopyright->text(); });
    f.line(210, [&] {
        if (!printer)
            return;
        const auto onPaper = [&](QPointF mm) { return printable.topLeft() + mm * dotsPerMm; };
        QPainter painter;
        if (!painter.begin(printer.get()))
            raiseError(Err::PrinterError, QStringLiteral("The printer cannot be started"));
        if (!page.picture.isEmpty()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(onPaper(page.picture.topLeft()),
                                     onPaper(page.picture.bottomRight())),
                              picture);
        }
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(onPaper(page.title), printable.bottomRight()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);
        if (!painter.end() || printer->printerState() == QPrinter::Error)
            raiseError(Err::PrinterError, QStringLiteral("The page could not be printed"));
    });
}

void frmDraw::quitCommand()
{
    using namespace Allgemein;
    const auto answer = Prompts::message(this, Msg(Text::QuitQuestion), Prompts::Buttons::YesNo,
                                         Prompts::Icon::Question, Msg(Text::ProgramTitle),
                                         Prompts::Answer::Yes);
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
    while (!m_owned.empty()) {
        const OwnedWindow owned = m_owned.back();
        m_owned.pop_back();
        if (!owned.window.isNull())
            tryQuietly(owned.unload);
    }
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
