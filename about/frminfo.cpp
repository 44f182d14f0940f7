#include "about/frminfo.h"

#include "controls/clicklabel.h"
#include "core/config.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/languages.h"
#include "core/resources.h"
#include "core/settings.h"
#include "platform/shell.h"
#include "platform/twips.h"
#include "platform/windowplace.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace {
frmInfo *g_loaded = nullptr;
frmInfo::MainWindowLink g_main;

constexpr int kWidth = 356;
constexpr int kHeight = 329;
// The flags stand in a column, one under the other in the order of the digits.
constexpr int kFirstFlagTop = 3000; // twips
constexpr int kFlagStep = 360;

// A design place in twips as pixels.
QRect place(int left, int top, int width, int height)
{
    const auto px = [](int twips) { return Twips::toPixels(twips, Twips::DefaultPerPixel); };
    return QRect(px(left), px(top), px(width), px(height));
}

QImage plainPicture()
{
    QImage img(kWidth, kHeight + 1, QImage::Format_RGB32);
    img.fill(QColor(255, 250, 236));
    QPainter p(&img);
    p.setPen(QColor(64, 64, 0));
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}

QImage plainIcon()
{
    QImage img(32, 32, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    return img;
}

void setTextColour(QLabel *label, const QColor &colour)
{
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, colour);
    label->setPalette(pal);
}
} // namespace

QString VersionText(int major, int minor, int revision)
{
    return QStringLiteral("%1.%2.%3")
        .arg(major)
        .arg(minor, 2, 10, QLatin1Char('0'))
        .arg(revision, 4, 10, QLatin1Char('0'));
}

frmInfo::frmInfo(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint)
{
    // The window has no title bar; the name is for the task bar and window lists.
    setWindowTitle(QStringLiteral("%1 info").arg(Allgemein::AppTitle));
    setFixedSize(kWidth, kHeight);
    buildControls();
}

frmInfo::~frmInfo()
{
    if (g_loaded == this)
        g_loaded = nullptr;
}

void frmInfo::setMainWindow(MainWindowLink link) { g_main = std::move(link); }

frmInfo *frmInfo::loaded() { return g_loaded; }

void frmInfo::buildControls()
{
    Image2 = new QLabel(this);
    Image2->setGeometry(place(0, 0, 5340, 4935));
    Image2->setPixmap(QPixmap::fromImage(ModResFiles::LoadArtwork(QStringLiteral(":/art/about.png"), plainPicture)));
    Image2->setScaledContents(true);

    Label0 = new QLabel(this);
    Label0->setGeometry(place(840, 1200, 3735, 615));
    Label0->setAlignment(Qt::AlignCenter);
    QFont title = font();
    title.setPointSize(12);
    title.setBold(true);
    Label0->setFont(title);

    lblHomepage = new ClickLabel(this);
    lblHomepage->setGeometry(place(840, 2500, 3135, 255));
    lblHomepage->setAlignment(Qt::AlignCenter);
    // As written: the host's readable form would have Qt load its table of
    // international domains first, 2 ms of the start for a name in plain letters.
    lblHomepage->setText(QUrl(Config::WebSite).host(QUrl::FullyEncoded));
    lblHomepage->setCursor(Qt::PointingHandCursor);
    QFont link = font();
    link.setPointSizeF(8.25);
    link.setBold(true);
    link.setUnderline(true);
    lblHomepage->setFont(link);
    setTextColour(lblHomepage, QColor(0, 0, 192));
    connect(lblHomepage, &ClickLabel::mouseDown, this, &frmInfo::lblHomepage_MouseDown);
    connect(lblHomepage, &ClickLabel::mouseUp, this, &frmInfo::lblHomepage_MouseUp);
    connect(lblHomepage, &ClickLabel::clicked, this, &frmInfo::lblHomepage_Click);

    Image1 = new QLabel(this);
    Image1->setGeometry(place(3960, 2430, 480, 480));
    Image1->setPixmap(QPixmap::fromImage(ModResFiles::LoadArtwork(QStringLiteral(":/art/about_icon.png"), plainIcon)));
    Image1->setScaledContents(true);

    cmdOK = new QPushButton(QStringLiteral("&OK"), this);
    cmdOK->setGeometry(place(2760, 3960, 915, 415));
    cmdOK->setVisible(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmInfo::cmdOK_Click);

    int row = 0;
    for (const Allgemein::Language &language : Allgemein::Languages) {
        if (!language.flag)
            continue;
        const int digit = language.digit;
        ClickLabel *flag = makeLanguageFlag(digit, this);
        flag->setGeometry(place(4680, kFirstFlagTop + kFlagStep * row++, 480, 300));
        flag->setVisible(false);
        connect(flag, &ClickLabel::clicked, this, [this, digit] { imgLang_Click(digit); });
        imgLang[size_t(digit)] = flag;
    }

    Timer1 = new QTimer(this);
    Timer1->setSingleShot(true);
    Timer1->setTimerType(Qt::PreciseTimer); // never early: a coarse timer may fire 5 % sooner
    connect(Timer1, &QTimer::timeout, this, &frmInfo::Timer1_Timer);
}

frmInfo *frmInfo::ShowModeless()
{
    auto *w = new frmInfo();
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->Form_Load();
    w->Sprache();
    w->show();
    w->raise();
    w->activateWindow();
    return w;
}

void frmInfo::ShowModal(QWidget *parent)
{
    frmInfo w(parent);
    w.Form_Load();
    w.Sprache();
    w.exec();
}

void frmInfo::Form_Load()
{
    using namespace Allgemein;
    g_loaded = this;
    ErrorFrame f("frmInfo", "Form_Load");
    f.run([&] {
        // These statements have never carried numbers: a failure reports line 0,
        // and Retry and Ignore still work on each one.
        f.line(0, [&] { WindowPlace::centreOnScreen(this); });
        f.line(0, [&] {
            if (!MainWindowShown) {
                for (ClickLabel *flag : imgLang) {
                    if (flag)
                        flag->setVisible(true);
                }
            }
        });
        f.line(0, [&] {
            if (StartingUp) {
                Timer1->start(2500);
                StartingUp = False;
            } else {
                Timer1->stop();
                cmdOK->setVisible(true);
                cmdOK->setDefault(true);
            }
        });
    });
}

void frmInfo::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        Form_Activate();
    if (event->type() == QEvent::LanguageChange)
        Sprache();
}

void frmInfo::Form_Activate() { Sprache(); }

void frmInfo::Sprache()
{
    using namespace Allgemein;
    ErrorFrame f("frmInfo", "Sprache");
    f.run([&] {
        f.line(10, [&] {
            Label0->setText(
                Msg(Text::ProgramTitle) + QStringLiteral("  ") + ModResFiles::LoadResString(102)
                + QStringLiteral("\r\n")
                + VersionText(STIFTOLINO_VERSION_MAJOR, STIFTOLINO_VERSION_MINOR, STIFTOLINO_VERSION_PATCH));
        });
    });
}

void frmInfo::imgLang_Click(int Index)
{
    using namespace Allgemein;
    ErrorFrame f("frmInfo", "imgLang_Click");
    f.run([&] {
        // The caption follows through the language change event.
        f.line(10, [&] { SwitchLanguage(Index); });
    });
}

void frmInfo::Timer1_Timer()
{
    Timer1->stop();
    cmdOK_Click();
}

void frmInfo::cmdOK_Click()
{
    using namespace Allgemein;
    if (!MainWindowShown && g_main.isVisible && g_main.show && !g_main.isVisible()) {
        g_main.show();
        MainWindowShown = True;
    }
    Unload();
}

void frmInfo::Unload()
{
    m_unloading = true;
    Timer1->stop();
    if (g_loaded == this)
        g_loaded = nullptr;
    // done() ends a modal run; a modeless window closes and deletes itself.
    done(QDialog::Accepted);
    if (testAttribute(Qt::WA_DeleteOnClose))
        deleteLater();
}

void frmInfo::reject()
{
    // Esc presses OK, which only the about box shows.
    if (cmdOK->isVisible())
        cmdOK_Click();
}

void frmInfo::closeEvent(QCloseEvent *event)
{
    // A close from outside (the window manager's close key) goes the way of OK,
    // so the start screen still brings up the main window.
    if (m_unloading) {
        event->accept();
        return;
    }
    event->ignore();
    cmdOK_Click();
}

void frmInfo::lblHomepage_Click() { Shell::open(QUrl(Config::WebSite)); }

void frmInfo::lblHomepage_MouseDown(Qt::MouseButton) { setTextColour(lblHomepage, QColor(255, 0, 0)); }

void frmInfo::lblHomepage_MouseUp(Qt::MouseButton) { setTextColour(lblHomepage, QColor(0, 0, 255)); }
