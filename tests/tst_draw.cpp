// The main window: strokes on the canvas, undo and clear, the quit question, and
// the window's own layout.

#include "app/allgemein.h"
#include "core/globals.h"
#include "core/resources.h"
#include "core/sound.h"
#include "controls/symbolbutton.h"
#include "draw/frmdraw.h"
#include "pen/frmcolor.h"
#include "picker/frmpreview.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "support/testsupport.h"

#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QSet>
#include <QTest>

using namespace Allgemein;

class tst_Draw : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadState();
    void dotOnPress_data();
    void dotOnPress();
    void strokeFollowsThePointer();
    void undoOnlyOnce();
    void clearDisablesUndo();
    void clearAfterUndoKeepsTheRestoredPicture();
    void strokeLeavesAndComesBack();
    void pressOutsideDrawsNothing();
    void moveRepaintsOnlyTheSegment();
    void penChangeAffectsOnlyTheNextStroke();
    void sounds();
    void penWindowReachesTheCanvas();
    void lessonWindowTooltips();
    void quitQuestion();
    void soundSwitch_data();
    void soundSwitch();
    void penWindowComesBack();
    void openShowsTheSavedPictures();
    void helpMenuAtTheMouse();
    void webSite_data();
    void webSite();
    void windowLayout();

private:
    QPoint canvasPoint(int x, int y) const { return QPoint(x, y); }
    int inked(const QImage &img) const;
    TestEnvironment *m_env = nullptr;
    Prompts::Scripted m_prompts;
    frmDraw *w = nullptr;
};

int tst_Draw::inked(const QImage &img) const
{
    int n = 0;
    for (int y = 0; y < img.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            n += (line[x] & 0xFFFFFF) != 0xFFFFFF;
    }
    return n;
}

void tst_Draw::init()
{
    m_env = new TestEnvironment;
    m_env->reporter.fallback = 1;
    m_prompts = Prompts::Scripted();
    Prompts::setBackend(&m_prompts);
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    SoundOn = False;
    w = &Allgemein::MainWindow();
    w->showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(w));
}

void tst_Draw::cleanup()
{
    delete w;
    w = nullptr;
    Prompts::setBackend(nullptr);
    Printing::setPrinterFactory({});
    delete m_env;
    m_env = nullptr;
}

void tst_Draw::loadState()
{
    QVERIFY(!w->vbeButton[1]->isEnabled());
    QCOMPARE(w->StrokeActive, 0);
    QCOMPARE(w->picBild->foreColor(), QColor(Qt::black));
    QCOMPARE(w->picBild->drawWidth(), 5);
    QCOMPARE(inked(w->picBild->image()), 0);
    QCOMPARE(w->vbeButton[6]->foreColor(), QColor(Qt::red));   // sound is off in these tests
}

void tst_Draw::dotOnPress_data()
{
    // The pen's width, and the dot it leaves: its pixels, all in the pen colour,
    // and the square it fills, measured from the pressed pixel.
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("pixels");
    QTest::addColumn<QRect>("square");
    QTest::newRow("left") << Qt::LeftButton << 5 << 21 << QRect(-2, -2, 5, 5);
    QTest::newRow("right") << Qt::RightButton << 5 << 21 << QRect(-2, -2, 5, 5);
    QTest::newRow("middle") << Qt::MiddleButton << 5 << 21 << QRect(-2, -2, 5, 5);
    QTest::newRow("width 1: the pixel") << Qt::LeftButton << 1 << 1 << QRect(0, 0, 1, 1);
    QTest::newRow("width 2: a square") << Qt::LeftButton << 2 << 4 << QRect(-1, -1, 2, 2);
    QTest::newRow("width 3: a square") << Qt::LeftButton << 3 << 9 << QRect(-1, -1, 3, 3);
    QTest::newRow("width 4: corners off") << Qt::LeftButton << 4 << 12 << QRect(-2, -2, 4, 4);
    QTest::newRow("width 10") << Qt::LeftButton << 10 << 80 << QRect(-5, -5, 10, 10);
}

void tst_Draw::dotOnPress()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(int, width);
    QFETCH(int, pixels);
    QFETCH(QRect, square);
    const QColor pen(200, 30, 60);
    w->picBild->setForeColor(pen);
    w->picBild->setDrawWidth(width);
    QTest::mousePress(w->picBild, button, {}, QPoint(100, 100));
    QCOMPARE(w->StrokeActive, 1);
    QTest::mouseRelease(w->picBild, button, {}, QPoint(100, 100));
    QCOMPARE(w->StrokeActive, 0);
    const QImage img = w->picBild->image();
    QCOMPARE(inked(img), pixels);
    QRect box;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb c = img.pixel(x, y) & 0xFFFFFF;
            if (c == 0xFFFFFF)
                continue;
            QCOMPARE(c, pen.rgb() & 0xFFFFFF); // solid: no shade between pen and paper
            box |= QRect(x - 100, y - 100, 1, 1);
        }
    }
    QCOMPARE(box, square);
    QVERIFY(w->vbeButton[1]->isEnabled());
}

void tst_Draw::strokeFollowsThePointer()
{
    w->picBild->setForeColor(Qt::red);
    QTest::mousePress(w->picBild, Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(w->picBild, QPoint(150, 50));
    QTest::mouseMove(w->picBild, QPoint(150, 150));
    QTest::mouseMove(w->picBild, QPoint(60, 120));
    QTest::mouseRelease(w->picBild, Qt::LeftButton, {}, QPoint(60, 120));
    const QImage img = w->picBild->image();
    QCOMPARE(img.pixel(100, 50) & 0xFFFFFF, 0xFF0000u);
    QCOMPARE(img.pixel(150, 100) & 0xFFFFFF, 0xFF0000u);
    QCOMPARE(img.pixel(100, 100) & 0xFFFFFF, 0xFFFFFFu);
    // Five pixels wide across a straight segment; the slanted one too has only
    // the pen colour and the paper, nothing between.
    int across = 0;
    for (int y = 40; y < 60; ++y)
        across += (img.pixel(100, y) & 0xFFFFFF) == 0xFF0000u;
    QCOMPARE(across, 5);
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x)
            colours.insert(img.pixel(x, y) & 0xFFFFFF);
    }
    QCOMPARE(colours, (QSet<QRgb>{0xFF0000u, 0xFFFFFFu}));
}

void tst_Draw::undoOnlyOnce()
{
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(40, 40));
    const QImage afterFirst = w->picBild->image().copy();
    QTest::mousePress(w->picBild, Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(w->picBild, QPoint(300, 200));
    QTest::mouseRelease(w->picBild, Qt::LeftButton, {}, QPoint(300, 200));
    QVERIFY(w->picBild->image() != afterFirst);
    QTest::mouseClick(w->vbeButton[1], Qt::LeftButton);
    QCOMPARE(w->picBild->image(), afterFirst);
    QVERIFY(!w->vbeButton[1]->isEnabled());
    // A disabled button raises no click.
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseClick(w->vbeButton[1], Qt::LeftButton);
    QTest::mouseClick(w->vbeButton[1], Qt::LeftButton);
    QCOMPARE(w->picBild->image(), afterFirst);
}

void tst_Draw::clearDisablesUndo()
{
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(40, 40));
    QVERIFY(w->vbeButton[1]->isEnabled());
    QTest::mouseClick(w->vbeButton[0], Qt::LeftButton);
    QVERIFY(!w->vbeButton[1]->isEnabled());
    QCOMPARE(inked(w->picBild->image()), 0);
    QTest::mouseClick(w->vbeButton[1], Qt::LeftButton);   // disabled: nothing comes back
    QCOMPARE(inked(w->picBild->image()), 0);
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(60, 60));
    QVERIFY(w->vbeButton[1]->isEnabled());
}

void tst_Draw::clearAfterUndoKeepsTheRestoredPicture()
{
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(40, 40));
    const QImage first = w->picBild->image().copy();
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(80, 80));
    QTest::mouseClick(w->vbeButton[1], Qt::LeftButton);    // back to `first`
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(120, 120));
    QVERIFY(w->picBild->image() != first);
    QTest::mouseClick(w->vbeButton[0], Qt::LeftButton);
    QCOMPARE(w->picBild->image(), first);
}

void tst_Draw::strokeLeavesAndComesBack()
{
    // The press captures the mouse: moves outside the canvas still arrive, the
    // line is clipped at the edge, and the release outside ends the stroke.
    const QImage before = w->picBild->image().copy();
    QTest::mousePress(w->picBild, Qt::LeftButton, {}, QPoint(20, 100));
    QTest::mouseMove(w->picBild, QPoint(-60, 100));
    QCOMPARE(w->picBild->image().pixel(0, 100) & 0xFFFFFF, 0u);
    QTest::mouseMove(w->picBild, QPoint(-60, 200));
    QTest::mouseMove(w->picBild, QPoint(30, 200));
    QCOMPARE(w->picBild->image().pixel(10, 200) & 0xFFFFFF, 0u);
    QTest::mouseRelease(w->picBild, Qt::LeftButton, {}, QPoint(-10, 250));
    QCOMPARE(w->StrokeActive, 0);
    QTest::mouseMove(w->picBild, QPoint(200, 250));
    QCOMPARE(w->picBild->image().pixel(100, 250) & 0xFFFFFF, 0xFFFFFFu);
    QVERIFY(before != w->picBild->image());
}

void tst_Draw::pressOutsideDrawsNothing()
{
    // A button pressed on the toolbar panel and dragged over the canvas.
    const QPoint panelPoint(5, 5);
    QTest::mousePress(w->picPanel, Qt::LeftButton, {}, panelPoint);
    const QPoint overCanvas = w->picPanel->mapFrom(w, w->picBild->mapTo(w, QPoint(100, 100)));
    QTest::mouseMove(w->picPanel, overCanvas);
    w->picBild_MouseMove(Qt::LeftButton, {}, 120, 120);
    QTest::mouseRelease(w->picPanel, Qt::LeftButton, {}, overCanvas);
    QCOMPARE(w->StrokeActive, 0);
    QCOMPARE(inked(w->picBild->image()), 0);
}

namespace {
class PaintSpy : public QObject
{
public:
    QRegion painted;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(e)->region();
        return false;
    }
};
} // namespace

void tst_Draw::moveRepaintsOnlyTheSegment()
{
    QTest::mousePress(w->picBild, Qt::LeftButton, {}, QPoint(100, 100));
    QCoreApplication::processEvents();
    PaintSpy spy;
    w->picBild->installEventFilter(&spy);
    QTest::mouseMove(w->picBild, QPoint(110, 104));
    w->picBild->repaint(w->picBild->rect().adjusted(0, 0, 0, 0).intersected(QRect()));
    QCoreApplication::processEvents();
    QTest::mouseRelease(w->picBild, Qt::LeftButton, {}, QPoint(110, 104));
    w->picBild->removeEventFilter(&spy);
    const QRect painted = spy.painted.boundingRect();
    QVERIFY(!painted.isEmpty());
    QVERIFY2(QRect(92, 92, 26, 20).contains(painted),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(painted.x()).arg(painted.y())
                            .arg(painted.width()).arg(painted.height())));
}

void tst_Draw::penChangeAffectsOnlyTheNextStroke()
{
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(50, 50));
    w->picBild->setForeColor(QColor(255, 0, 0));
    w->picBild->setDrawWidth(12);
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(150, 50));
    const QImage img = w->picBild->image();
    QCOMPARE(img.pixel(50, 50) & 0xFFFFFF, 0u);
    QCOMPARE(QColor(img.pixel(150, 50)), QColor(255, 0, 0));
    QCOMPARE(QColor(img.pixel(154, 50)), QColor(255, 0, 0));
    QCOMPARE(QColor(img.pixel(150, 45)), QColor(255, 0, 0));
}

void tst_Draw::sounds()
{
    const auto wav = [](int n) { return ModResFiles::LoadResData(n, QStringLiteral("WAV")); };
    m_env->sound.started.clear();
    SoundBuffer.clear();
    // Sound off: nothing is loaded at all.
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(30, 30));
    QVERIFY(SoundBuffer.isEmpty());
    QVERIFY(m_env->sound.started.isEmpty());

    SoundOn = True;
    QTest::mousePress(w->picBild, Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(SoundBuffer, wav(102));
    QTest::mouseMove(w->picBild, QPoint(90, 40));
    QTest::mouseRelease(w->picBild, Qt::LeftButton, {}, QPoint(90, 40));
    QCOMPARE(m_env->sound.started.size(), 1);   // no sound while moving

    // Clear: the click, then at once the clear sound, which is what is heard.
    QTest::mouseClick(w->vbeButton[0], Qt::LeftButton);
    QCOMPARE(m_env->sound.started.size(), 3);
    QCOMPARE(SoundBuffer, wav(107));
    QVERIFY(m_env->sound.playing);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::penWindowReachesTheCanvas()
{
    frmColor *pen = w->penWindow();
    QVERIFY(pen);
    QVERIFY(pen->isVisible());
    // A press on the palette's red cell with the right button, then a stroke.
    const QImage palette = pen->picCol()->image();
    QPoint red;
    for (int y = 0; y < palette.height() && red.isNull(); y += 4) {
        for (int x = 0; x < palette.width(); x += 4) {
            if (QColor(palette.pixel(x, y)) == QColor(255, 0, 0)) {
                red = QPoint(x, y);
                break;
            }
        }
    }
    QVERIFY(!red.isNull());
    QTest::mousePress(pen->picCol(), Qt::RightButton, {}, red + QPoint(2, 2));
    QTest::mouseRelease(pen->picCol(), Qt::RightButton, {}, red + QPoint(2, 2));
    QCOMPARE(PenColor, 0x0000FF);
    QCOMPARE(w->picBild->foreColor(), QColor(255, 0, 0));
    QTest::mouseClick(w->picBild, Qt::LeftButton, {}, QPoint(70, 70));
    QCOMPARE(QColor(w->picBild->image().pixel(70, 70)), QColor(255, 0, 0));
}

void tst_Draw::lessonWindowTooltips()
{
    LanguageFilePath = m_env->folder.filePath(QStringLiteral("~tmp.lng"));
    ModResFiles::SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), LanguageFilePath);
    LanguageOffset = 1000;
    w->Sprache();
    QCOMPARE(w->vbeButton[9]->toolTip(), QStringLiteral("End program"));
    QCOMPARE(w->preview()->vbeButton[1]->toolTip(), QStringLiteral("Select picture..."));
    QCOMPARE(w->preview()->vbeButton[6]->toolTip(), QStringLiteral("OK"));
    QVERIFY(!w->imgLogo[0]->isVisible());
    QVERIFY(w->imgLogo[1]->isVisible());
}

void tst_Draw::quitQuestion()
{
    m_prompts.answers = {Prompts::Answer::No};
    PenWidth = 9;
    QTest::mouseClick(w->vbeButton[9], Qt::LeftButton);
    QCOMPARE(m_prompts.asked.size(), 1);
    QVERIFY(w->isVisible());
    QVERIFY(m_env->settings.writes.isEmpty());

    m_prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(w->vbeButton[9], Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(m_env->settings.writes.contains(QStringLiteral("Optionen/Width=9")));
    QVERIFY(m_env->settings.writes.contains(QStringLiteral("Optionen/Sound=0")));
}

void tst_Draw::soundSwitch_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("clicks");   // sounds this click plays
    QTest::addColumn<QColor>("ink");
    QTest::newRow("off") << int(True) << int(False) << 1 << QColor(255, 0, 0);
    QTest::newRow("on") << int(False) << int(True) << 0 << QColor(Qt::black);
    // Any non-zero value is on; switching it must turn the sound off.
    QTest::newRow("stored 1 is on") << 1 << int(False) << 1 << QColor(255, 0, 0);
}

void tst_Draw::soundSwitch()
{
    QFETCH(int, before);
    QFETCH(int, after);
    QFETCH(int, clicks);
    QFETCH(QColor, ink);
    SoundOn = int16_t(before);
    m_env->sound.started.clear();
    QTest::mouseClick(w->vbeButton[6], Qt::LeftButton);
    QCOMPARE(int(SoundOn), after);
    QCOMPARE(m_env->sound.started.size(), clicks);
    QCOMPARE(w->vbeButton[6]->foreColor(), ink);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::penWindowComesBack()
{
    frmColor *pen = w->penWindow();
    QVERIFY(pen && pen->isVisible());
    QTest::mouseClick(pen->vbeButton(), Qt::LeftButton);   // its close button
    QVERIFY(!pen->isVisible());
    QCOMPARE(PenWindowShown, False);
    QTest::mouseClick(w->vbeButton[4], Qt::LeftButton);
    QVERIFY(pen->isVisible());
    QCOMPARE(PenWindowShown, True);
    // Still the one window, also when asked for while it is open.
    QTest::mouseClick(w->vbeButton[4], Qt::LeftButton);
    QCOMPARE(w->penWindow(), pen);
    QCOMPARE(w->findChildren<frmColor *>().size(), 1);
}

void tst_Draw::openShowsTheSavedPictures()
{
    frmPreview *p = w->preview();
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::green);
    QVERIFY(img.save(Paths::picturesFolder() + QStringLiteral("/Baum.bmp"), "BMP"));
    const QImage canvas = w->picBild->image().copy();
    QTest::mouseClick(w->vbeButton[2], Qt::LeftButton);
    QVERIFY(p->picPanel[2]->isVisible());
    QVERIFY(!p->picPanel[0]->isVisible());
    QCOMPARE(p->pictureNames(), QStringList{QStringLiteral("Baum.bmp")});
    QCOMPARE(w->picBild->image(), canvas);   // only the file panel's OK paints
}

void tst_Draw::helpMenuAtTheMouse()
{
    QVERIFY(w->mnuHelp);
    w->mnuHelp->addAction(QStringLiteral("item"));
    QCursor::setPos(w->vbeButton[7]->mapToGlobal(QPoint(10, 10)));
    QTest::mouseClick(w->vbeButton[7], Qt::LeftButton);
    QTRY_VERIFY(w->mnuHelp->isVisible());
    QCOMPARE(w->mnuHelp->pos(), QCursor::pos());
    w->mnuHelp->close();
}

void tst_Draw::webSite_data()
{
    QTest::addColumn<bool>("opened");
    QTest::newRow("browser opens") << true;
    QTest::newRow("no browser") << false;   // not looked at: no error
}

void tst_Draw::webSite()
{
    QFETCH(bool, opened);
    QList<QUrl> urls;
    Shell::setOpener([&](const QUrl &url) {
        urls << url;
        return opened;
    });
    QTest::mouseClick(w->vbeButton[8], Qt::LeftButton);
    Shell::setOpener({});
    QCOMPARE(urls, QList<QUrl>{QUrl(QStringLiteral("https://www.vorbexa.example/"))});
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::windowLayout()
{
    QCOMPARE(w->size(), QSize(829, 624));
    QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w->picPanel->geometry(), QRect(25, 306, 169, 281));
    QCOMPARE(w->picBild->geometry(), QRect(219, 160, 585, 439));
    QCOMPARE(w->lblRahmen->geometry(), QRect(212, 153, 600, 454));
    QCOMPARE(w->lblCopyright->pos(), QPoint(25, 596));
    QVERIFY(w->lblCopyright->isVisible());
    QCOMPARE(w->vbeButton[0]->geometry(), QRect(32, 24, 49, 33));
    QCOMPARE(w->vbeButton[9]->geometry(), QRect(88, 184, 49, 33));
    QCOMPARE(w->imgLang[6]->geometry(), QRect(50, 254, 32, 20));
    // The panel's etched edge: dark inside, white outside.
    const QImage panel = w->picPanel->image();
    QCOMPARE(QColor(panel.pixel(0, 0)), QColor(Qt::white));
    QCOMPARE(QColor(panel.pixel(168, 280)), QColor(64, 64, 0));
    QVERIFY(w->imgLogo[0]->isVisible() != w->imgLogo[1]->isVisible());
}

QTEST_MAIN(tst_Draw)
#include "tst_draw.moc"
