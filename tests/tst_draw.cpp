// The main window: strokes on the canvas, undo and clear, the toolbar's commands,
// the captions and flags, the help menu, the quit question, and the window's own
// layout. Saving is in tst_save, printing in tst_print.

#include "about/frminfo.h"
#include "app/allgemein.h"
#include "controls/canvas.h"
#include "controls/clicklabel.h"
#include "controls/symbolbutton.h"
#include "core/config.h"
#include "core/globals.h"
#include "core/languages.h"
#include "core/qttexts.h"
#include "core/resources.h"
#include "core/sound.h"
#include "draw/frmdraw.h"
#include "draw/helpmenu.h"
#include "pen/frmcolor.h"
#include "picker/frmpreview.h"
#include "platform/picturebox.h"
#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPaintEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>
#include <QWindow>

using namespace Allgemein;

class tst_Draw : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opened();
    void readsOnlyItsOwnImageFormats();
    void dotOnPress_data();
    void dotOnPress();
    void strokeFollowsThePointer();
    void undoAndClear();
    void strokeLeavesAndComesBack();
    void pressOutsideDrawsNothing();
    void strokeReachesTheScreen_data();
    void strokeReachesTheScreen();
    void strokeRepaintHoldsEveryChange_data();
    void strokeRepaintHoldsEveryChange();
    void chainedLineKeepsItsJoint_data();
    void chainedLineKeepsItsJoint();
    void sounds();
    void penWindowReachesTheCanvas();
    void captions_data();
    void captions();
    void captionsOnEveryActivation();
    void helpMenu();
    void helpFile_data();
    void helpFile();
    void quitQuestion();
    void soundSwitch_data();
    void soundSwitch();
    void lessonWindowRefusesToClose();
    void webSite_data();
    void webSite();

private:
    void drag(const QList<QPoint> &path);
    std::optional<TestEnvironment> m_env;
    frmDraw *w = nullptr;
};

void tst_Draw::init()
{
    m_env.emplace();
    m_env->writeLanguageTable();
    m_env->reporter.fallback = 1;
    SoundOn = False;
    QVERIFY((w = showMainWindow()));
}

void tst_Draw::cleanup()
{
    // None of these tests makes an error dialog appear.
    QVERIFY(m_env->reporter.reports.isEmpty());
    endMainWindow();
    w = nullptr;
    m_env.reset();
}

// A stroke with the left button: pressed at the first point, moved through the
// others, released at the last.
void tst_Draw::drag(const QList<QPoint> &path)
{
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, path.first());
    for (const QPoint &p : path.mid(1))
        QTest::mouseMove(w->picBild(), p);
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, path.last());
}

// The window as it opens: its state, then its layout.
void tst_Draw::opened()
{
    QVERIFY(!w->vbeButton(1)->isEnabled());
    QVERIFY(!w->picBild()->strokeActive());
    QCOMPARE(w->picBild()->foreColor(), QColor(Qt::black));
    QCOMPARE(w->picBild()->drawWidth(), 5);
    QCOMPARE(inkedPixels(w->picBild()->image()), 0);
    QCOMPARE(w->vbeButton(6)->foreColor(), QColor(Qt::red)); // sound is off in these tests
    QCOMPARE(w->size(), QSize(829, 624));
    QVERIFY(w->windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w->picPanel()->geometry(), QRect(25, 306, 169, 281));
    QCOMPARE(w->picBild()->geometry(), QRect(219, 160, 585, 439));
    QCOMPARE(w->lblRahmen()->geometry(), QRect(212, 153, 600, 454));
    QCOMPARE(w->lblCopyright()->pos(), QPoint(25, 596));
    QVERIFY(w->lblCopyright()->isVisible());
    QCOMPARE(w->vbeButton(0)->geometry(), QRect(32, 24, 49, 33));
    QCOMPARE(w->vbeButton(9)->geometry(), QRect(88, 184, 49, 33));
    QCOMPARE(w->imgLang(6)->geometry(), QRect(50, 254, 32, 20));
    // The panel's etched edge: dark inside, white outside.
    const QImage panel = w->picPanel()->image();
    QCOMPARE(QColor(panel.pixel(0, 0)), QColor(Qt::white));
    QCOMPARE(QColor(panel.pixel(168, 280)), QColor(64, 64, 0));
    // One logo of the two, for the language: captions().
}

void tst_Draw::readsOnlyItsOwnImageFormats()
{
    // The windows are up, their artwork, cursor and lesson read: a reader left to
    // guess the format would have loaded every image plugin of the system.
    QFile maps(u"/proc/self/maps"_qs);
    if (!maps.open(QIODevice::ReadOnly))
        QSKIP("no /proc/self/maps here");
    QVERIFY(w->preview());
    const QByteArray mapped = maps.readAll();
    QVERIFY2(!mapped.contains("/imageformats/"), "an image format plugin was loaded");
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
    w->picBild()->setForeColor(pen);
    w->picBild()->setDrawWidth(width);
    QTest::mousePress(w->picBild(), button, {}, QPoint(100, 100));
    QCOMPARE(w->picBild()->strokeActive(), 1);
    QTest::mouseRelease(w->picBild(), button, {}, QPoint(100, 100));
    QVERIFY(!w->picBild()->strokeActive());
    const QImage img = w->picBild()->image();
    QCOMPARE(inkedPixels(img), pixels);
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
    QVERIFY(w->vbeButton(1)->isEnabled());
}

void tst_Draw::strokeFollowsThePointer()
{
    w->picBild()->setForeColor(Qt::red);
    drag({{50, 50}, {150, 50}, {150, 150}, {60, 120}});
    const QImage img = w->picBild()->image();
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

void tst_Draw::undoAndClear()
{
    // Undo takes back the last stroke only, bringing the canvas back as its
    // background picture; Clear takes that too, and Undo stays impossible until
    // the next stroke, which it then takes back to the white canvas. A disabled
    // button raises no click.
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(40, 40));
    QVERIFY(w->vbeButton(1)->isEnabled());
    const QImage first = w->picBild()->image().copy();
    drag({{200, 200}, {300, 200}});
    QVERIFY(w->picBild()->image() != first);
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);
    QCOMPARE(w->picBild()->image(), first);
    QVERIFY(!w->vbeButton(1)->isEnabled());
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton); // only once: the first dot stays
    QCOMPARE(w->picBild()->image(), first);
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(120, 120));
    QTest::mouseClick(w->vbeButton(0), Qt::LeftButton);
    QCOMPARE(inkedPixels(w->picBild()->image()), 0);
    QVERIFY(!w->vbeButton(1)->isEnabled());
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton); // disabled: nothing comes back
    QCOMPARE(inkedPixels(w->picBild()->image()), 0);
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(160, 160));
    QVERIFY(w->vbeButton(1)->isEnabled());
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);
    QCOMPARE(inkedPixels(w->picBild()->image()), 0);
}

void tst_Draw::strokeLeavesAndComesBack()
{
    // The press captures the mouse: moves outside the canvas still arrive, the
    // line is clipped at the edge, and the release outside ends the stroke.
    const QImage before = w->picBild()->image().copy();
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, QPoint(20, 100));
    QTest::mouseMove(w->picBild(), QPoint(-60, 100));
    QCOMPARE(w->picBild()->image().pixel(0, 100) & 0xFFFFFF, 0u);
    QTest::mouseMove(w->picBild(), QPoint(-60, 200));
    QTest::mouseMove(w->picBild(), QPoint(30, 200));
    QCOMPARE(w->picBild()->image().pixel(10, 200) & 0xFFFFFF, 0u);
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, QPoint(-10, 250));
    QVERIFY(!w->picBild()->strokeActive());
    QTest::mouseMove(w->picBild(), QPoint(200, 250));
    QCOMPARE(w->picBild()->image().pixel(100, 250) & 0xFFFFFF, 0xFFFFFFu);
    QVERIFY(before != w->picBild()->image());
}

void tst_Draw::pressOutsideDrawsNothing()
{
    // A button pressed on the toolbar panel and dragged over the canvas.
    const QPoint panelPoint(5, 5);
    QTest::mousePress(w->picPanel(), Qt::LeftButton, {}, panelPoint);
    const QPoint overCanvas = w->picPanel()->mapFrom(w, w->picBild()->mapTo(w, QPoint(100, 100)));
    QTest::mouseMove(w->picPanel(), overCanvas);
    QTest::mouseMove(w->picBild(), QPoint(120, 120));
    QTest::mouseRelease(w->picPanel(), Qt::LeftButton, {}, overCanvas);
    QVERIFY(!w->picBild()->strokeActive());
    QCOMPARE(inkedPixels(w->picBild()->image()), 0);
}

namespace {
// Collects what a widget repaints, for as long as it lives.
class PaintSpy : public QObject
{
public:
    explicit PaintSpy(QWidget *widget) : m_widget(widget) { widget->installEventFilter(this); }
    ~PaintSpy() override { m_widget->removeEventFilter(this); }
    QRegion painted;
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            painted += static_cast<QPaintEvent *>(e)->region();
        return false;
    }

private:
    QWidget *m_widget;
};
} // namespace

void tst_Draw::strokeReachesTheScreen_data()
{
    QTest::addColumn<int>("frameMs");
    QTest::addColumn<bool>("shownWhileDrawing");
    // Moves come faster than the screen shows them: what was drawn since the last
    // frame goes out with the next one, and no segment is left behind.
    QTest::newRow("frame by frame") << Canvas::DefaultFrameInterval << true;
    // The release sends everything at once, though no frame is due yet.
    QTest::newRow("at release, before the frame") << 3600 * 1000 << false;
}

void tst_Draw::strokeReachesTheScreen()
{
    QFETCH(int, frameMs);
    QFETCH(bool, shownWhileDrawing);
    Canvas *canvas = w->picBild();
    canvas->setFrameInterval(frameMs);
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QCoreApplication::processEvents();
    PaintSpy spy(canvas);
    if (shownWhileDrawing) {
        // The first segment goes out with the next frame, while the stroke goes
        // on, and the frame repaints only around it.
        QTest::mouseMove(canvas, QPoint(110, 104));
        QTRY_VERIFY(!spy.painted.isEmpty());
        const std::unique_ptr<char[]> around(QTest::toString(spy.painted.boundingRect()));
        QVERIFY2(QRect(92, 92, 26, 20).contains(spy.painted.boundingRect()), around.get());
    }
    QList<QPoint> points;
    for (int i = 1; i <= 40; ++i) {
        points << QPoint(20 + 12 * i, 60 + (i % 2) * 40);
        QTest::mouseMove(canvas, points.last());
        QCoreApplication::processEvents();
    }
    auto shown = [&] {
        return std::all_of(points.cbegin(), points.cend(), [&](QPoint p) { return spy.painted.contains(p); });
    };
    if (shownWhileDrawing)
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 5000);
    else
        QVERIFY(!spy.painted.contains(points.last()));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, points.last());
    QVERIFY(shown());
    // What reached the screen is what was drawn.
    const QImage img = canvas->image();
    for (const QPoint &p : std::as_const(points))
        QCOMPARE(img.pixel(p) & 0xFFFFFF, 0u);
}

void tst_Draw::strokeRepaintHoldsEveryChange_data()
{
    QTest::addColumn<bool>("dots");
    QTest::newRow("dots") << true;
    QTest::newRow("lines") << false;
}

void tst_Draw::strokeRepaintHoldsEveryChange()
{
    // Every pixel a dot or line changes lies in the area repainted for it, at
    // every width and at places between whole pixels; a one-pixel pen draws
    // only its own colour.
    QFETCH(bool, dots);
    Canvas box;
    box.setSunkenBorder(true);
    box.resize(164, 164);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    PaintSpy spy(&box);
    const QColor pen(200, 30, 90);
    box.setForeColor(pen);
    QRandomGenerator random(18);
    for (int width = 1; width <= 50; ++width) {
        box.setDrawWidth(width);
        for (int k = 0; k < 4; ++k) {
            box.cls();
            QCoreApplication::processEvents();
            const QImage before = box.image().copy();
            const QPointF from(50 + random.bounded(60.0), 50 + random.bounded(60.0));
            const QPointF to = dots ? from : from + QPointF(random.bounded(60.0) - 30, random.bounded(60.0) - 30);
            spy.painted = QRegion();
            box.line(from, to);
            box.flushLines();
            QCoreApplication::processEvents();
            const QImage &after = box.image();
            int changed = 0;
            for (int y = 0; y < after.height(); ++y) {
                for (int x = 0; x < after.width(); ++x) {
                    if (after.pixel(x, y) == before.pixel(x, y))
                        continue;
                    ++changed;
                    QVERIFY2(spy.painted.contains(QPoint(x, y) + QPoint(2, 2)),
                             qPrintable(u"width %1, pixel %2,%3 not repainted"_qs.arg(width).arg(x).arg(y)));
                    if (width == 1)
                        QCOMPARE(QColor(after.pixel(x, y)), pen);
                }
            }
            QVERIFY(changed > 0);
        }
    }
}

void tst_Draw::chainedLineKeepsItsJoint_data()
{
    // What happens to the canvas or the pen between two lines that meet.
    QTest::addColumn<QString>("between");
    for (const char *row : {"nothing", "cleared", "picture put in", "colour changed", "width changed"})
        QTest::newRow(row) << QString::fromLatin1(row);
}

void tst_Draw::chainedLineKeepsItsJoint()
{
    // The second line's first dot, where the two lines meet, is whole in the
    // second line's pen, whatever happened to the canvas since the first.
    QFETCH(QString, between);
    for (int width = 2; width <= 30; width += 4) {
        Canvas box;
        box.resize(120, 120);
        box.setForeColor(QColor(200, 30, 90));
        box.setDrawWidth(width);
        const QPointF joint(60, 40);
        box.line(QPointF(20, 90), joint);
        if (between == QLatin1String("cleared")) {
            box.cls();
        } else if (between == QLatin1String("picture put in")) {
            QImage white(box.image().size(), QImage::Format_RGB32);
            white.fill(Qt::white);
            box.setPicture(white);
        } else if (between == QLatin1String("colour changed")) {
            box.setForeColor(QColor(20, 160, 40));
        } else if (between == QLatin1String("width changed")) {
            box.setDrawWidth(width + 5);
        }
        box.lineTo(QPointF(100, 90));
        const QRgb pen = box.foreColor().rgb();

        Canvas reference;
        reference.resize(box.size());
        reference.setDrawWidth(box.drawWidth());
        reference.line(joint, joint);
        const QImage dot = reference.image();
        for (int y = 0; y < dot.height(); ++y)
            for (int x = 0; x < dot.width(); ++x)
                if (dot.pixel(x, y) != qRgb(255, 255, 255) && box.image().pixel(x, y) != pen)
                    QFAIL(qPrintable(
                        u"width %1: the joint's pixel %2,%3 is not in the pen's colour"_qs.arg(box.drawWidth())
                            .arg(x)
                            .arg(y)));
    }
}

void tst_Draw::sounds()
{
    const auto wav = [](int n) { return ModResFiles::LoadResData(n, u"WAV"_qs); };
    m_env->sound.started.clear();
    SoundBuffer.clear();
    // Sound off: nothing is loaded at all.
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(30, 30));
    QVERIFY(SoundBuffer.isEmpty());
    QVERIFY(m_env->sound.started.isEmpty());

    SoundOn = True;
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(SoundBuffer, wav(102));
    QTest::mouseMove(w->picBild(), QPoint(90, 40));
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, QPoint(90, 40));
    QCOMPARE(m_env->sound.started.size(), 1); // no sound while moving

    // Clear: the click, then at once the clear sound, which is what is heard.
    QTest::mouseClick(w->vbeButton(0), Qt::LeftButton);
    QCOMPARE(m_env->sound.started.size(), 3);
    QCOMPARE(SoundBuffer, wav(107));
    QVERIFY(m_env->sound.playing);
}

void tst_Draw::penWindowReachesTheCanvas()
{
    // Closed by its own button (tst_pen's closeAndShowAgain looks at that), the
    // pen window comes back from the toolbar; still the one window, also when
    // asked for while it is open.
    frmColor *pen = w->penWindow();
    QVERIFY(pen && pen->isVisible());
    QTest::mouseClick(pen->vbeButton(), Qt::LeftButton);
    QVERIFY(!pen->isVisible());
    QTest::mouseClick(w->vbeButton(4), Qt::LeftButton);
    QVERIFY(pen->isVisible());
    QCOMPARE(PenWindowShown, True);
    QTest::mouseClick(w->vbeButton(4), Qt::LeftButton);
    QCOMPARE(w->penWindow(), pen);
    QCOMPARE(w->findChildren<frmColor *>().size(), 1);
    // A press on the palette's red cell (third column, third row) with the
    // right button, then a stroke.
    const QPoint red(2 * 25 + 12, 2 * 22 + 11);
    QCOMPARE(QColor(pen->picCol()->image().pixel(red)), QColor(255, 0, 0));
    QTest::mousePress(pen->picCol(), Qt::RightButton, {}, red + QPoint(2, 2));
    QTest::mouseRelease(pen->picCol(), Qt::RightButton, {}, red + QPoint(2, 2));
    QCOMPARE(PenColor, 0x0000FF);
    QCOMPARE(w->picBild()->foreColor(), QColor(255, 0, 0));
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(70, 70));
    QCOMPARE(QColor(w->picBild()->image().pixel(70, 70)), QColor(255, 0, 0));
}

void tst_Draw::captions_data()
{
    QTest::addColumn<int>("digit");
    QTest::addColumn<QString>("clear");  // toolbar button 0
    QTest::addColumn<QString>("help");   // button 7 and the menu's own caption
    QTest::addColumn<QString>("online"); // first menu item
    QTest::addColumn<QString>("about");  // last menu item
    QTest::addColumn<QString>("browse"); // the lesson window's button 1
    QTest::addColumn<QString>("qtYes");  // Qt's own Yes, for a language with a flag
    QTest::newRow("German") << 0 << u"Bild löschen"_qs << u"Hilfe"_qs << u"Onlinehilfe"_qs << u"Über..."_qs
                            << u"Vorlage auswählen..."_qs << u"&Ja"_qs;
    QTest::newRow("English") << 1 << u"Delete picture"_qs << u"Help"_qs << u"Online help"_qs << u"About..."_qs
                             << u"Select picture..."_qs << u"&Yes"_qs;
    QTest::newRow("Swedish") << 2 << u"Delete picture"_qs << u"Hjälp"_qs << u"Onlinehjälp"_qs << u"Info..."_qs
                             << u"Select picture..."_qs << QString();
    QTest::newRow("Italian") << 3 << u"Annullare la foto"_qs << u"Aiuto"_qs << u"Aiuto diretto"_qs << u"Sopra..."_qs
                             << u"Schegli una base..."_qs << u"&Sì"_qs;
    QTest::newRow("Spanish") << 4 << u"Borrar dibujo"_qs << u"Ayuda"_qs << u"Consultar Ayuda"_qs << u"Acerca de..."_qs
                             << u"Seleccionar un dibujo..."_qs << u"&Sí"_qs;
    QTest::newRow("Norwegian: empty entries stay empty")
        << 5 << QString() << u"Hjelp"_qs << u"Online hjelp"_qs << u"Om..."_qs << QString() << QString();
    QTest::newRow("French") << 6 << u"Supprimer l'image"_qs << u"Aide"_qs << u"Aide en &ligne"_qs << u"A propos..."_qs
                            << u"Choisir une image..."_qs << u"&Oui"_qs;
}

// A switch of the language reaches the captions of the main and the lesson window
// through Qt's LanguageChange: no window is activated or called. The toolbar's
// flags switch with the click's sound and store the language; a language without
// a flag is switched to as the start does.
void tst_Draw::captions()
{
    QFETCH(int, digit);
    QFETCH(QString, clear);
    QFETCH(QString, help);
    QFETCH(QString, online);
    QFETCH(QString, about);
    QFETCH(QString, browse);
    QFETCH(QString, qtYes);
    SwitchLanguage(digit == 0 ? 1 : 0); // from another language, so that every row switches
    SoundOn = True;
    m_env->sound.started.clear();
    m_env->settings.writes.clear();
    ClickLabel *flag = w->imgLang(digit);
    if (flag) {
        QTest::mouseClick(flag, Qt::LeftButton);
        QCOMPARE(m_env->sound.started.size(), 1);
        // The flag of the language in use: the click, and nothing written.
        QTest::mouseClick(flag, Qt::LeftButton);
        QCOMPARE(m_env->sound.started.size(), 2);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), qtYes);
    } else {
        SwitchLanguage(digit);
    }
    QCOMPARE(m_env->settings.writes, QStringList{u"Optionen/Sprache=%1"_qs.arg(digit * 1000)});
    QCOMPARE(LanguageOffset, int16_t(digit * 1000));
    QCOMPARE(w->vbeButton(0)->toolTip(), clear);
    QCOMPARE(w->vbeButton(7)->toolTip(), help);
    QCOMPARE(w->mnuHelp()->title(), help);
    QCOMPARE(w->mnuHilfe()->text(), online);
    QCOMPARE(w->mnuUeber()->text(), about);
    QCOMPARE(w->mnuEmail()->text(), u"E-Mail"_qs);
    QCOMPARE(w->preview()->vbeButton[1]->toolTip(), browse);
    QCOMPARE(w->preview()->vbeButton[6]->toolTip(), u"OK"_qs);
    QCOMPARE(w->preview()->vbeButton[8]->toolTip(), u"OK"_qs);
    QCOMPARE(w->imgLogo(0)->isVisible(), digit == 0);
    QCOMPARE(w->imgLogo(1)->isVisible(), digit != 0);
    // A button without a tooltip is still a button.
    QVERIFY(w->vbeButton(0)->isEnabled());
    UseQtTexts(1000);
}

void tst_Draw::captionsOnEveryActivation()
{
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    LanguageOffset = 1000; // as a flag of the start screen would leave it
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QCOMPARE(w->vbeButton(0)->toolTip(), u"Delete picture"_qs);
    QVERIFY(w->imgLogo(1)->isVisible());
}

void tst_Draw::helpMenu()
{
    QCursor::setPos(w->vbeButton(7)->mapToGlobal(QPoint(10, 10)));
    QTest::mouseClick(w->vbeButton(7), Qt::LeftButton);
    QTRY_VERIFY(w->mnuHelp()->isVisible());
    QCOMPARE(w->mnuHelp()->pos(), QCursor::pos()); // at the mouse
    const QList<QAction *> items = w->mnuHelp()->actions();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items[0], w->mnuHilfe());
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2], w->mnuEmail());
    QVERIFY(items[3]->isSeparator());
    QCOMPARE(items[4], w->mnuUeber());
    w->mnuHelp()->hide();

    w->mnuEmail()->trigger();
    QCOMPARE(m_env->opened, QList<QUrl>{QUrl(u"mailto:support@vorbexa.example?Subject=Stiftolino"_qs)});

    // About...: the about box, modal, as after the start screen (tst_about looks
    // at it further).
    frmInfo::MainWindowShown = True;
    bool modal = false;
    QTimer::singleShot(0, this, [&] {
        if (frmInfo *box = frmInfo::loaded()) {
            modal = box->isModal() && box->cmdOK->isVisible();
            box->cmdOK_Click();
        }
    });
    w->mnuUeber()->trigger();
    QVERIFY(modal);
    QCOMPARE(frmInfo::loaded(), nullptr);
}

void tst_Draw::helpFile_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QStringList>("files"); // in the program's folder
    QTest::addColumn<QString>("opened");    // empty: nothing is opened
    const QString de = u"help/Stiftolino.de.html"_qs;
    const QString en = u"help/Stiftolino.en.html"_qs;
    QTest::newRow("no manual: nothing happens") << 0 << QStringList() << QString();
    QTest::newRow("German page") << 0 << QStringList{de, en} << de;
    QTest::newRow("English page") << 1000 << QStringList{de, en} << en;
    QTest::newRow("French without a page: English") << 6000 << QStringList{de, en} << en;
    QTest::newRow("only another language's page") << 1000 << QStringList{de} << QString();
}

void tst_Draw::helpFile()
{
    QFETCH(int, offset);
    QFETCH(QStringList, files);
    QFETCH(QString, opened);
    QDir().mkpath(m_env->folder.filePath(u"help"_qs));
    for (const QString &file : files)
        QVERIFY(writeFile(m_env->folder.filePath(file), QByteArray()));
    LanguageOffset = int16_t(offset);
    w->mnuHilfe()->trigger();
    if (opened.isEmpty())
        QVERIFY(m_env->opened.isEmpty());
    else
        QCOMPARE(m_env->opened, QList<QUrl>{QUrl::fromLocalFile(m_env->folder.filePath(opened))});
}

void tst_Draw::quitQuestion()
{
    m_env->prompts.answers = {Prompts::Answer::No};
    PenWidth = 9;
    QTest::mouseClick(w->vbeButton(9), Qt::LeftButton);
    QCOMPARE(m_env->prompts.asked.size(), 1);
    QVERIFY(w->isVisible());
    QVERIFY(m_env->settings.writes.isEmpty());

    m_env->prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(w->vbeButton(9), Qt::LeftButton);
    QVERIFY(!w->isVisible());
    QVERIFY(m_env->settings.writes.contains(u"Optionen/Width=9"_qs));
    QVERIFY(m_env->settings.writes.contains(u"Optionen/Sound=0"_qs));
}

void tst_Draw::soundSwitch_data()
{
    QTest::addColumn<int>("before");
    QTest::addColumn<int>("after");
    QTest::addColumn<int>("clicks"); // sounds this click plays
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
    QTest::mouseClick(w->vbeButton(6), Qt::LeftButton);
    QCOMPARE(int(SoundOn), after);
    QCOMPARE(m_env->sound.started.size(), clicks);
    QCOMPARE(w->vbeButton(6)->foreColor(), ink);
}

void tst_Draw::lessonWindowRefusesToClose()
{
    // Closed, it could not be brought back: the window system's close request
    // (Alt+F4) goes through its window as this one does.
    frmPreview *p = w->preview();
    QVERIFY(p && p->isVisible());
    QVERIFY(!p->windowHandle()->close());
    QVERIFY(p->isVisible());
}

void tst_Draw::webSite_data()
{
    QTest::addColumn<bool>("opened");
    QTest::newRow("browser opens") << true;
    QTest::newRow("no browser") << false; // not looked at: no error
}

void tst_Draw::webSite()
{
    QFETCH(bool, opened);
    m_env->openSucceeds = opened;
    QTest::mouseClick(w->vbeButton(8), Qt::LeftButton);
    QCOMPARE(m_env->opened, QList<QUrl>{QUrl(u"https://www.vorbexa.example/"_qs)});
}

QTEST_MAIN(tst_Draw)
#include "tst_draw.moc"
