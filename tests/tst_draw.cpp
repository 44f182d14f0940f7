// The main window: strokes on the canvas, undo and clear, the toolbar's commands,
// saving (the names a child may type, the overwrite question, what the file
// holds, and faults: a folder that turns read-only, a disk that fills, a kill in
// the middle of a save), where the printed page puts the picture, the quit
// question, and the window's own layout. The printed page itself goes through a
// real spooler in tst_toolbar.

#include "about/frminfo.h"
#include "app/allgemein.h"
#include "controls/clicklabel.h"
#include "core/config.h"
#include "core/globals.h"
#include "core/qttexts.h"
#include "core/picturefile.h"
#include "core/resources.h"
#include "core/sound.h"
#include "controls/symbolbutton.h"
#include "controls/canvas.h"
#include "draw/frmdraw.h"
#include "draw/helpmenu.h"
#include "draw/toolwindows.h"
#include "pen/penplace.h"
#include "platform/twips.h"
#include "print/printpage.h"
#include "pen/frmcolor.h"
#include "picker/frmpreview.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "platform/paths.h"
#include "platform/prompts.h"
#include "platform/shell.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPaintEvent>
#include <QProcess>
#include <QPushButton>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSet>
#include <QTest>
#include <QWindow>
#include <QtEndian>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Allgemein;

namespace {

QByteArray md5(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex();
}

// Everything in a folder, hidden entries too.
QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Reads an uncompressed 24-bit bitmap file by hand, independent of Qt's reader.
QImage readBmp24(const QByteArray &b, QString *why)
{
    const auto u16 = [&](int at) { return qFromLittleEndian<quint16>(b.constData() + at); };
    const auto s32 = [&](int at) { return qFromLittleEndian<qint32>(b.constData() + at); };
    if (b.size() < 54 || !b.startsWith("BM")) {
        *why = QStringLiteral("not a bitmap file");
        return {};
    }
    const int offset = s32(10), width = s32(18), height = s32(22);
    if (u16(28) != 24 || s32(30) != 0) {
        *why = QStringLiteral("%1 bits per pixel, compression %2").arg(u16(28)).arg(s32(30));
        return {};
    }
    const int stride = (width * 3 + 3) & ~3;
    if (width <= 0 || height == 0 || offset + stride * qAbs(height) > b.size()) {
        *why = QStringLiteral("size %1 x %2 does not fit the file").arg(width).arg(height);
        return {};
    }
    QImage img(width, qAbs(height), QImage::Format_RGB32);
    for (int y = 0; y < img.height(); ++y) {
        const int row = height > 0 ? img.height() - 1 - y : y;   // bottom-up unless negative
        const auto *p = reinterpret_cast<const uchar *>(b.constData() + offset + row * stride);
        for (int x = 0; x < width; ++x)
            img.setPixel(x, y, qRgb(p[3 * x + 2], p[3 * x + 1], p[3 * x]));
    }
    return img;
}

// The overwrite question's answer comes after the folder turned read-only.
class ProtectingPrompts : public Prompts::Scripted
{
public:
    QString folder;
    Prompts::Answer message(QWidget *parent, const QString &text, Prompts::Buttons buttons,
                            Prompts::Icon icon, const QString &title,
                            Prompts::Answer defaultButton) override
    {
        ::chmod(QFile::encodeName(folder).constData(), 0555);
        return Prompts::Scripted::message(parent, text, buttons, icon, title, defaultButton);
    }
};

void say(const QByteArray &line)
{
    std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// The child process of the fault tests.
//   --child overwrite <program folder> readonly|fill
//       draws, saves over an older "haus.bmp" while the folder turns read-only
//       or with a file size limit below the picture's size, and tells what the
//       error frame was asked ("report <number> <line>") and the old file's
//       checksum ("old <md5>").
//   --child loop <folder>
//       saves large pictures over "haus.bmp" again and again, saying "writing
//       <i> <md5>" before and "saved <i>" after each.
int childMain(int argc, char **argv)
{
    const QByteArray mode = argv[2];
    const QString folder = QString::fromLocal8Bit(argv[3]);
    const QByteArray fault = argc > 4 ? QByteArray(argv[4]) : QByteArray();
    // Root writes into read-only folders: the fault needs an ordinary user.
    if (fault == "readonly" && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
        return 3;
    QApplication app(argc, argv);
    if (mode == "loop") {
        const QString path = folder + QStringLiteral("/haus.bmp");
        for (int i = 0;; ++i) {
            QImage img(3000, 2250, QImage::Format_RGB32);
            img.fill(QColor::fromHsv((i * 47) % 360, 200, 200));
            const QByteArray bytes = PictureFile::bmpBytes(img);
            say("writing " + QByteArray::number(i) + ' ' + md5(bytes));
            PictureFile::save(path, img);
            say("saved " + QByteArray::number(i));
        }
    }
    TestEnvironment env;
    Paths::setProgramFolder(folder, QStringLiteral("stiftolino"));
    const QString pics = Paths::picturesFolder();
    QDir().mkpath(pics);
    QImage old(20, 15, QImage::Format_RGB32);
    old.fill(Qt::darkGreen);
    PictureFile::save(pics + QStringLiteral("/haus.bmp"), old);
    say("old " + md5(readFile(pics + QStringLiteral("/haus.bmp"))));

    ProtectingPrompts prompts;
    prompts.inputs = {QStringLiteral("haus")};
    prompts.answers = {Prompts::Answer::Yes};
    if (fault == "readonly")
        prompts.folder = pics;
    Prompts::setBackend(&prompts);
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    SoundOn = False;
    frmDraw &w = MainWindow();
    w.showCentred();
    w.picBild()->line(QPointF(10, 10), QPointF(300, 200));
    if (fault == "fill") {
        std::signal(SIGXFSZ, SIG_IGN);   // a write past the limit fails instead
        const rlimit limit{64 * 1024, 64 * 1024};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 4;
    }
    w.vbeButton_Click(3);
    for (const auto &r : env.reporter.reports)
        say("report " + QByteArray::number(r.error.number) + ' ' + QByteArray::number(r.error.line));
    say("done");
    Prompts::setBackend(nullptr);
    return 0;
}

} // namespace

class tst_Draw : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void loadState();
    void readsOnlyItsOwnImageFormats();
    void dotOnPress_data();
    void dotOnPress();
    void strokeFollowsThePointer();
    void undoOnlyOnce();
    void clearDisablesUndo();
    void clearAfterUndoLeavesAWhiteCanvas();
    void strokeLeavesAndComesBack();
    void pressOutsideDrawsNothing();
    void moveRepaintsOnlyTheSegment();
    void strokeReachesTheScreen_data();
    void strokeReachesTheScreen();
    void strokeRepaintHoldsEveryChange_data();
    void strokeRepaintHoldsEveryChange();
    void penChangeAffectsOnlyTheNextStroke();
    void sounds();
    void penWindowReachesTheCanvas();
    void captions_data();
    void captions();
    void captionsOnEveryActivation();
    void flags_data();
    void flags();
    void helpMenu();
    void helpFile_data();
    void helpFile();
    void quitQuestion();
    void soundSwitch_data();
    void soundSwitch();
    void penWindowComesBack();
    void lessonWindowRefusesToClose();
    void openShowsTheSavedPictures();
    void helpMenuAtTheMouse();
    void webSite_data();
    void webSite();
    void names_data();
    void names();
    void overwriteQuestion_data();
    void overwriteQuestion();
    void fileHoldsWhatTheCanvasShows();
    void faults_data();
    void faults();
    void killedInTheMiddle();
    void printPage_data();
    void printPage();
    void windowLayout();
    void toolWindowsOnTheScreen_data();
    void toolWindowsOnTheScreen();

private:
    QPoint canvasPoint(int x, int y) const { return QPoint(x, y); }
    int inked(const QImage &img) const;
    void useEnglish();
    void stroke(QPoint from, QPoint to, const QColor &color);
    void save(const QString &name, QList<Prompts::Answer> answers = {});
    QString pics() const { return Paths::picturesFolder(); }
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
    // Tests hand the shell openers that record into their own locals.
    Shell::setOpener({});
    delete m_env;
    m_env = nullptr;
}

void tst_Draw::loadState()
{
    QVERIFY(!w->vbeButton(1)->isEnabled());
    QVERIFY(!w->picBild()->strokeActive());
    QCOMPARE(w->picBild()->foreColor(), QColor(Qt::black));
    QCOMPARE(w->picBild()->drawWidth(), 5);
    QCOMPARE(inked(w->picBild()->image()), 0);
    QCOMPARE(w->vbeButton(6)->foreColor(), QColor(Qt::red));   // sound is off in these tests
}

void tst_Draw::readsOnlyItsOwnImageFormats()
{
    // The windows are up, their artwork, cursor and lesson read: a reader left to
    // guess the format would have loaded every image plugin of the system.
    QFile maps(QStringLiteral("/proc/self/maps"));
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
    QVERIFY(w->vbeButton(1)->isEnabled());
}

void tst_Draw::strokeFollowsThePointer()
{
    w->picBild()->setForeColor(Qt::red);
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, QPoint(50, 50));
    QTest::mouseMove(w->picBild(), QPoint(150, 50));
    QTest::mouseMove(w->picBild(), QPoint(150, 150));
    QTest::mouseMove(w->picBild(), QPoint(60, 120));
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, QPoint(60, 120));
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

void tst_Draw::undoOnlyOnce()
{
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(40, 40));
    const QImage afterFirst = w->picBild()->image().copy();
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(w->picBild(), QPoint(300, 200));
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, QPoint(300, 200));
    QVERIFY(w->picBild()->image() != afterFirst);
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);
    QCOMPARE(w->picBild()->image(), afterFirst);
    QVERIFY(!w->vbeButton(1)->isEnabled());
    // A disabled button raises no click.
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(300, 300));
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);
    QCOMPARE(w->picBild()->image(), afterFirst);
}

void tst_Draw::clearDisablesUndo()
{
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(40, 40));
    QVERIFY(w->vbeButton(1)->isEnabled());
    QTest::mouseClick(w->vbeButton(0), Qt::LeftButton);
    QVERIFY(!w->vbeButton(1)->isEnabled());
    QCOMPARE(inked(w->picBild()->image()), 0);
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);   // disabled: nothing comes back
    QCOMPARE(inked(w->picBild()->image()), 0);
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(60, 60));
    QVERIFY(w->vbeButton(1)->isEnabled());
}

void tst_Draw::clearAfterUndoLeavesAWhiteCanvas()
{
    // Undo brings the canvas back as its background picture; Clear takes that
    // too, and the next Undo stays impossible until a stroke.
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(40, 40));
    const QImage first = w->picBild()->image().copy();
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(80, 80));
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);    // back to the first dot
    QCOMPARE(w->picBild()->image(), first);
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(120, 120));
    QTest::mouseClick(w->vbeButton(0), Qt::LeftButton);
    QCOMPARE(inked(w->picBild()->image()), 0);
    QVERIFY(!w->vbeButton(1)->isEnabled());
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(160, 160));
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);
    QCOMPARE(inked(w->picBild()->image()), 0);
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
    QCOMPARE(inked(w->picBild()->image()), 0);
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
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, QPoint(100, 100));
    QCoreApplication::processEvents();
    PaintSpy spy;
    w->picBild()->installEventFilter(&spy);
    QTest::mouseMove(w->picBild(), QPoint(110, 104));
    w->picBild()->repaint(w->picBild()->rect().adjusted(0, 0, 0, 0).intersected(QRect()));
    QCoreApplication::processEvents();
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, QPoint(110, 104));
    w->picBild()->removeEventFilter(&spy);
    const QRect painted = spy.painted.boundingRect();
    QVERIFY(!painted.isEmpty());
    QVERIFY2(QRect(92, 92, 26, 20).contains(painted),
             qPrintable(QStringLiteral("%1,%2 %3x%4").arg(painted.x()).arg(painted.y())
                            .arg(painted.width()).arg(painted.height())));
}

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
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(20, 20));
    QCoreApplication::processEvents();
    PaintSpy spy;
    canvas->installEventFilter(&spy);
    QList<QPoint> points;
    for (int i = 1; i <= 40; ++i) {
        points << QPoint(20 + 12 * i, 60 + (i % 2) * 40);
        QTest::mouseMove(canvas, points.last());
        QCoreApplication::processEvents();
    }
    auto shown = [&] {
        for (const QPoint &p : std::as_const(points))
            if (!spy.painted.contains(p))
                return false;
        return true;
    };
    if (shownWhileDrawing)
        QTRY_VERIFY_WITH_TIMEOUT(shown(), 5000);
    else
        QVERIFY(!spy.painted.contains(points.last()));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, points.last());
    QVERIFY(shown());
    canvas->removeEventFilter(&spy);
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
    PaintSpy spy;
    box.installEventFilter(&spy);
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
                             qPrintable(QStringLiteral("width %1, pixel %2,%3 not repainted")
                                            .arg(width).arg(x).arg(y)));
                    if (width == 1)
                        QCOMPARE(QColor(after.pixel(x, y)), pen);
                }
            }
            QVERIFY(changed > 0);
        }
    }
}

void tst_Draw::penChangeAffectsOnlyTheNextStroke()
{
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(50, 50));
    w->picBild()->setForeColor(QColor(255, 0, 0));
    w->picBild()->setDrawWidth(12);
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(150, 50));
    const QImage img = w->picBild()->image();
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
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(30, 30));
    QVERIFY(SoundBuffer.isEmpty());
    QVERIFY(m_env->sound.started.isEmpty());

    SoundOn = True;
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, QPoint(40, 40));
    QCOMPARE(SoundBuffer, wav(102));
    QTest::mouseMove(w->picBild(), QPoint(90, 40));
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, QPoint(90, 40));
    QCOMPARE(m_env->sound.started.size(), 1);   // no sound while moving

    // Clear: the click, then at once the clear sound, which is what is heard.
    QTest::mouseClick(w->vbeButton(0), Qt::LeftButton);
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
    QCOMPARE(w->picBild()->foreColor(), QColor(255, 0, 0));
    QTest::mouseClick(w->picBild(), Qt::LeftButton, {}, QPoint(70, 70));
    QCOMPARE(QColor(w->picBild()->image().pixel(70, 70)), QColor(255, 0, 0));
}

void tst_Draw::captions_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("clear");     // toolbar button 0
    QTest::addColumn<QString>("help");      // button 7 and the menu's own caption
    QTest::addColumn<QString>("online");    // first menu item
    QTest::addColumn<QString>("about");     // last menu item
    QTest::addColumn<QString>("browse");    // the lesson window's button 1
    QTest::addColumn<bool>("germanLogo");
    QTest::newRow("German") << 0 << u"Bild löschen"_qs << u"Hilfe"_qs << u"Onlinehilfe"_qs
                            << u"Über..."_qs << u"Vorlage auswählen..."_qs << true;
    QTest::newRow("English") << 1000 << u"Delete picture"_qs << u"Help"_qs << u"Online help"_qs
                             << u"About..."_qs << u"Select picture..."_qs << false;
    QTest::newRow("Swedish") << 2000 << u"Delete picture"_qs << u"Hjälp"_qs << u"Onlinehjälp"_qs
                             << u"Info..."_qs << u"Select picture..."_qs << false;
    QTest::newRow("Italian") << 3000 << u"Annullare la foto"_qs << u"Aiuto"_qs << u"Aiuto diretto"_qs
                             << u"Sopra..."_qs << u"Schegli una base..."_qs << false;
    QTest::newRow("Spanish") << 4000 << u"Borrar dibujo"_qs << u"Ayuda"_qs << u"Consultar Ayuda"_qs
                             << u"Acerca de..."_qs << u"Seleccionar un dibujo..."_qs << false;
    QTest::newRow("Norwegian: empty entries stay empty")
        << 5000 << QString() << u"Hjelp"_qs << u"Online hjelp"_qs << u"Om..."_qs << QString() << false;
    QTest::newRow("French") << 6000 << u"Supprimer l'image"_qs << u"Aide"_qs << u"Aide en &ligne"_qs
                            << u"A propos..."_qs << u"Choisir une image..."_qs << false;
}

void tst_Draw::captions()
{
    QFETCH(int, offset);
    QFETCH(QString, clear);
    QFETCH(QString, help);
    QFETCH(QString, online);
    QFETCH(QString, about);
    QFETCH(QString, browse);
    QFETCH(bool, germanLogo);
    m_env->writeLanguageTable();
    LanguageOffset = int16_t(offset);
    w->Sprache();
    QCOMPARE(w->vbeButton(0)->toolTip(), clear);
    QCOMPARE(w->vbeButton(7)->toolTip(), help);
    QCOMPARE(w->mnuHelp()->title(), help);
    QCOMPARE(w->mnuHilfe()->text(), online);
    QCOMPARE(w->mnuUeber()->text(), about);
    QCOMPARE(w->mnuEmail()->text(), u"E-Mail"_qs);
    QCOMPARE(w->preview()->vbeButton[1]->toolTip(), browse);
    QCOMPARE(w->preview()->vbeButton[6]->toolTip(), u"OK"_qs);
    QCOMPARE(w->preview()->vbeButton[8]->toolTip(), u"OK"_qs);
    QCOMPARE(w->imgLogo(0)->isVisible(), germanLogo);
    QCOMPARE(w->imgLogo(1)->isVisible(), !germanLogo);
    // A button without a tooltip is still a button.
    QVERIFY(w->vbeButton(0)->isEnabled());
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::captionsOnEveryActivation()
{
    m_env->writeLanguageTable();
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    LanguageOffset = 1000;   // as a flag of the start screen would leave it
    w->activateWindow();
    QTRY_VERIFY(w->isActiveWindow());
    QCOMPARE(w->vbeButton(0)->toolTip(), u"Delete picture"_qs);
    QVERIFY(w->imgLogo(1)->isVisible());
}

void tst_Draw::flags_data()
{
    QTest::addColumn<int>("digit");
    QTest::addColumn<QStringList>("writes");
    QTest::addColumn<QString>("clear");
    QTest::addColumn<QString>("qtYes");
    QTest::newRow("the language in use writes nothing") << 0 << QStringList() << u"Bild löschen"_qs
                                                        << u"&Ja"_qs;
    QTest::newRow("English") << 1 << QStringList{u"Optionen/Sprache=1000"_qs} << u"Delete picture"_qs
                             << u"&Yes"_qs;
    QTest::newRow("French") << 6 << QStringList{u"Optionen/Sprache=6000"_qs}
                            << u"Supprimer l'image"_qs << u"&Oui"_qs;
    QTest::newRow("Italian") << 3 << QStringList{u"Optionen/Sprache=3000"_qs}
                             << u"Annullare la foto"_qs << u"&Sì"_qs;
    QTest::newRow("Spanish") << 4 << QStringList{u"Optionen/Sprache=4000"_qs} << u"Borrar dibujo"_qs
                             << u"&Sí"_qs;
}

void tst_Draw::flags()
{
    QFETCH(int, digit);
    QFETCH(QStringList, writes);
    QFETCH(QString, clear);
    QFETCH(QString, qtYes);
    m_env->writeLanguageTable();
    UseQtTexts(0);
    w->Sprache();
    SoundOn = True;
    m_env->sound.started.clear();
    QTest::mouseClick(w->imgLang(size_t(digit)), Qt::LeftButton);
    QCOMPARE(m_env->sound.started.size(), 1);   // the click, also for the language in use
    QCOMPARE(m_env->settings.writes, writes);
    QCOMPARE(LanguageOffset, int16_t(digit * 1000));
    QCOMPARE(w->vbeButton(0)->toolTip(), clear);
    QCOMPARE(w->imgLogo(0)->isVisible(), digit == 0);
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), qtYes);
    QVERIFY(m_env->reporter.reports.isEmpty());
    UseQtTexts(1000);
}

void tst_Draw::helpMenu()
{
    QList<QUrl> opened;
    Shell::setOpener([&](const QUrl &u) {
        opened << u;
        return true;
    });
    QTest::mouseClick(w->vbeButton(7), Qt::LeftButton);
    QTRY_VERIFY(w->mnuHelp()->isVisible());
    const QList<QAction *> items = w->mnuHelp()->actions();
    QCOMPARE(items.size(), 5);
    QCOMPARE(items[0], w->mnuHilfe());
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2], w->mnuEmail());
    QVERIFY(items[3]->isSeparator());
    QCOMPARE(items[4], w->mnuUeber());
    w->mnuHelp()->hide();

    w->mnuEmail()->trigger();
    QCOMPARE(opened, QList<QUrl>{QUrl(u"mailto:support@vorbexa.example?Subject=Stiftolino"_qs)});

    // About...: the about box, modal, and the main window is not shown again.
    frmInfo::MainWindowShown = True;
    int shown = 0;
    frmInfo::setMainWindow({[this] { return w->isVisible(); }, [&] { ++shown; }});
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
    QCOMPARE(shown, 0);
    frmInfo::setMainWindow({});
}

void tst_Draw::helpFile_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<QStringList>("files");     // in the program's folder
    QTest::addColumn<QString>("opened");        // empty: nothing is opened
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
    for (const QString &file : files) {
        QFile f(m_env->folder.filePath(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    LanguageOffset = int16_t(offset);
    QList<QUrl> urls;
    Shell::setOpener([&](const QUrl &u) {
        urls << u;
        return true;
    });
    w->mnuHilfe()->trigger();
    if (opened.isEmpty())
        QVERIFY(urls.isEmpty());
    else
        QCOMPARE(urls, QList<QUrl>{QUrl::fromLocalFile(m_env->folder.filePath(opened))});
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::quitQuestion()
{
    m_prompts.answers = {Prompts::Answer::No};
    PenWidth = 9;
    QTest::mouseClick(w->vbeButton(9), Qt::LeftButton);
    QCOMPARE(m_prompts.asked.size(), 1);
    QVERIFY(w->isVisible());
    QVERIFY(m_env->settings.writes.isEmpty());

    m_prompts.answers = {Prompts::Answer::Yes};
    QTest::mouseClick(w->vbeButton(9), Qt::LeftButton);
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
    QTest::mouseClick(w->vbeButton(6), Qt::LeftButton);
    QCOMPARE(int(SoundOn), after);
    QCOMPARE(m_env->sound.started.size(), clicks);
    QCOMPARE(w->vbeButton(6)->foreColor(), ink);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::penWindowComesBack()
{
    frmColor *pen = w->penWindow();
    QVERIFY(pen && pen->isVisible());
    QTest::mouseClick(pen->vbeButton(), Qt::LeftButton);   // its close button
    QVERIFY(!pen->isVisible());
    QCOMPARE(PenWindowShown, False);
    QTest::mouseClick(w->vbeButton(4), Qt::LeftButton);
    QVERIFY(pen->isVisible());
    QCOMPARE(PenWindowShown, True);
    // Still the one window, also when asked for while it is open.
    QTest::mouseClick(w->vbeButton(4), Qt::LeftButton);
    QCOMPARE(w->penWindow(), pen);
    QCOMPARE(w->findChildren<frmColor *>().size(), 1);
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

void tst_Draw::openShowsTheSavedPictures()
{
    frmPreview *p = w->preview();
    QImage img(40, 30, QImage::Format_RGB32);
    img.fill(Qt::green);
    QVERIFY(img.save(Paths::picturesFolder() + QStringLiteral("/Baum.bmp"), "BMP"));
    const QImage canvas = w->picBild()->image().copy();
    QTest::mouseClick(w->vbeButton(2), Qt::LeftButton);
    QVERIFY(p->picPanel[2]->isVisible());
    QVERIFY(!p->picPanel[0]->isVisible());
    QCOMPARE(p->pictureNames(), QStringList{QStringLiteral("Baum.bmp")});
    QCOMPARE(w->picBild()->image(), canvas);   // only the file panel's OK paints
}

void tst_Draw::helpMenuAtTheMouse()
{
    QVERIFY(w->mnuHelp());
    w->mnuHelp()->addAction(QStringLiteral("item"));
    QCursor::setPos(w->vbeButton(7)->mapToGlobal(QPoint(10, 10)));
    QTest::mouseClick(w->vbeButton(7), Qt::LeftButton);
    QTRY_VERIFY(w->mnuHelp()->isVisible());
    QCOMPARE(w->mnuHelp()->pos(), QCursor::pos());
    w->mnuHelp()->close();
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
    QTest::mouseClick(w->vbeButton(8), Qt::LeftButton);
    QCOMPARE(urls, QList<QUrl>{QUrl(QStringLiteral("https://www.vorbexa.example/"))});
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::useEnglish()
{
    m_env->writeLanguageTable();
    LanguageOffset = 1000;
}

void tst_Draw::stroke(QPoint from, QPoint to, const QColor &color)
{
    w->picBild()->setForeColor(color);
    QTest::mousePress(w->picBild(), Qt::LeftButton, {}, from);
    QTest::mouseMove(w->picBild(), to);
    QTest::mouseRelease(w->picBild(), Qt::LeftButton, {}, to);
}

void tst_Draw::save(const QString &name, QList<Prompts::Answer> answers)
{
    m_prompts.inputs = {name};
    m_prompts.answers = answers;
    QTest::mouseClick(w->vbeButton(3), Qt::LeftButton);
}

void tst_Draw::names_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("linkOut");     // "<typed>.bmp" is a link to a file outside
    QTest::addColumn<QString>("file");     // what the pictures folder then holds
    QTest::addColumn<int>("error");
    QTest::newRow("cancel") << QString() << false << QString() << 0;
    QTest::newRow("plain") << "haus" << false << "haus.bmp" << 0;
    QTest::newRow("ends in .bmp") << "haus.bmp" << false << "haus.bmp.bmp" << 0;
    QTest::newRow("blanks kept") << " mein haus " << false << " mein haus .bmp" << 0;
    QTest::newRow("umlauts") << "Mäuschen" << false << "Mäuschen.bmp" << 0;
    QTest::newRow("up and out") << "../../x" << false << QString() << 52;
    QTest::newRow("absolute") << "/haus" << false << QString() << 52;
    QTest::newRow("backslash") << "a\\b" << false << QString() << 52;
    QTest::newRow("dot") << "." << false << QString() << 52;
    QTest::newRow("dot dot") << ".." << false << QString() << 52;
    QTest::newRow("nul") << QStringLiteral("a") + QChar(0) + QStringLiteral("b") << false << QString() << 52;
    QTest::newRow("link out") << "weg" << true << "weg.bmp" << 52;
}

void tst_Draw::names()
{
    QFETCH(QString, typed);
    QFETCH(bool, linkOut);
    QFETCH(QString, file);
    QFETCH(int, error);
    useEnglish();
    stroke(QPoint(20, 20), QPoint(200, 100), Qt::black);
    const QString outside = m_env->folder.filePath(QStringLiteral("outside.bmp"));
    if (linkOut) {
        QVERIFY(QDir().mkpath(pics()));
        QVERIFY(QFile::link(outside, pics() + u'/' + typed + QStringLiteral(".bmp")));
    }
    const QStringList before = entries(m_env->folder.path());

    save(typed);
    QCOMPARE(m_prompts.asked.value(0), QStringLiteral("Save picture to file...|Please enter a name for the file:"));
    QCOMPARE(m_prompts.asked.size(), 1);   // no overwrite question
    QCOMPARE(PictureName, typed);
    QCOMPARE(entries(pics()), file.isEmpty() ? QStringList() : QStringList{file});
    if (!file.isEmpty() && !linkOut)
        QVERIFY(!PictureFile::load(pics() + u'/' + file).isNull());
    // Nothing where the name as a path would lead, nothing through the link.
    QVERIFY(!QFileInfo::exists(outside));
    if (error && !linkOut)
        QVERIFY(!QFileInfo::exists(QDir::cleanPath(pics() + u'/' + typed + QStringLiteral(".bmp"))));
    QCOMPARE(entries(m_env->folder.path()), before);
    if (error) {
        QCOMPARE(m_env->reporter.reports.size(), 1);
        QCOMPARE(m_env->reporter.reports[0].error.number, error);
        QCOMPARE(m_env->reporter.reports[0].procedure, QStringLiteral("vbeButton_Click"));
        QCOMPARE(m_env->reporter.reports[0].module, QStringLiteral("frmDraw"));
    } else {
        QVERIFY(m_env->reporter.reports.isEmpty());
    }
}

void tst_Draw::overwriteQuestion_data()
{
    QTest::addColumn<QList<Prompts::Answer>>("answer");   // none: the default button
    QTest::addColumn<bool>("replaced");
    QTest::newRow("no") << QList<Prompts::Answer>{Prompts::Answer::No} << false;
    QTest::newRow("enter") << QList<Prompts::Answer>{} << false;
    QTest::newRow("yes") << QList<Prompts::Answer>{Prompts::Answer::Yes} << true;
}

void tst_Draw::overwriteQuestion()
{
    QFETCH(QList<Prompts::Answer>, answer);
    QFETCH(bool, replaced);
    useEnglish();
    stroke(QPoint(20, 20), QPoint(200, 100), Qt::black);
    save(QStringLiteral("haus"));
    const QString path = pics() + QStringLiteral("/haus.bmp");
    const QByteArray first = readFile(path);
    QVERIFY(!first.isEmpty());
    QCOMPARE(m_prompts.asked.size(), 1);

    // The same name again: now it asks.
    stroke(QPoint(300, 300), QPoint(500, 400), Qt::red);
    save(QStringLiteral("haus"), answer);
    QCOMPARE(m_prompts.asked.size(), 3);
    QCOMPARE(m_prompts.asked[2], QStringLiteral("Please enter a name for the file:|File already exists!\r\nOverwrite?"));
    const QByteArray now = readFile(path);
    if (replaced) {
        QCOMPARE(now, PictureFile::bmpBytes(w->picBild()->image()));
        QVERIFY(now != first);
    } else {
        QCOMPARE(now, first);
    }
    QCOMPARE(entries(pics()), QStringList{QStringLiteral("haus.bmp")});
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::fileHoldsWhatTheCanvasShows()
{
    // A picture painted in from the file list, a stroke, Undo of a second stroke
    // (the restored picture becomes the background), and one more stroke.
    QDir().mkpath(pics());
    QImage sky(40, 30, QImage::Format_RGB32);
    sky.fill(QColor(90, 160, 230));
    QVERIFY(sky.save(pics() + QStringLiteral("/sky.bmp"), "BMP"));
    QTest::mouseClick(w->vbeButton(2), Qt::LeftButton);
    frmPreview *p = w->preview();
    p->filPics->setCurrentRow(0);
    p->filPics_Click();
    QTest::mouseClick(p->vbeButton[8], Qt::LeftButton);
    stroke(QPoint(30, 40), QPoint(250, 60), QColor(200, 0, 0));
    stroke(QPoint(30, 200), QPoint(250, 260), Qt::black);
    QTest::mouseClick(w->vbeButton(1), Qt::LeftButton);
    stroke(QPoint(400, 100), QPoint(420, 400), QColor(0, 120, 0));
    const QImage canvas = w->picBild()->image();
    QCOMPARE(canvas.pixelColor(100, 250), QColor(90, 160, 230));   // the undone stroke is gone

    save(QStringLiteral("bild"));
    QString why;
    const QImage saved = readBmp24(readFile(pics() + QStringLiteral("/bild.bmp")), &why);
    QVERIFY2(!saved.isNull(), qPrintable(why));
    QCOMPARE(saved.size(), QSize(w->picBild()->scaleWidth(), w->picBild()->scaleHeight()));
    QCOMPARE(saved, canvas.convertToFormat(QImage::Format_RGB32));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Draw::faults_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("error");
    QTest::newRow("folder turns read-only") << "readonly" << 75;
    QTest::newRow("disk fills") << "fill" << 61;
}

void tst_Draw::faults()
{
    QFETCH(QString, fault);
    QFETCH(int, error);
    QTemporaryDir dir;
    // The child may run as an ordinary user: let it in.
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7777));
    const QString folder = dir.filePath(QStringLiteral("pics"));
    const auto writableAgain = qScopeGuard([&] { QFile::setPermissions(folder, QFileDevice::Permissions(0x7755)); });
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), QStringLiteral("overwrite"), dir.path(), fault});
    QVERIFY2(child.waitForFinished(60000), "the saving program did not end");
    const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
    QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
             qPrintable(out + QString::fromLocal8Bit(child.readAllStandardError())));
    QVERIFY2(out.contains(QStringLiteral("report %1 130\n").arg(error)), qPrintable(out));
    QVERIFY2(out.endsWith(QStringLiteral("done\n")), qPrintable(out));

    // The old picture byte for byte, and nothing else in the folder.
    const QRegularExpressionMatch old = QRegularExpression(QStringLiteral("old ([0-9a-f]+)")).match(out);
    QVERIFY(old.hasMatch());
    QCOMPARE(QString::fromLatin1(md5(readFile(folder + QStringLiteral("/haus.bmp")))), old.captured(1));
    QCOMPARE(entries(folder), QStringList{QStringLiteral("haus.bmp")});
}

void tst_Draw::killedInTheMiddle()
{
    QTemporaryDir dir;
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--child"), QStringLiteral("loop"), dir.path()});
    QVERIFY(child.waitForStarted());
    // Two whole saves, then a kill while the third has its file open.
    const auto writingNow = [&] {
        const QDir fds(QStringLiteral("/proc/%1/fd").arg(child.processId()));
        for (const QFileInfo &fd : fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
            if (fd.symLinkTarget().startsWith(dir.path() + u'/'))
                return true;
        }
        return false;
    };
    QByteArray saved, writing;
    bool caught = false;
    QDeadlineTimer deadline(60000);
    while (!deadline.hasExpired() && writing.isEmpty()) {
        if (!child.canReadLine() && !child.waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        const QList<QByteArray> parts = child.readLine().trimmed().split(' ');
        if (parts.value(0) != "writing")
            continue;
        if (parts.value(1).toInt() < 2) {
            saved = parts.value(2);   // whole once the next "writing" comes
            continue;
        }
        while (!deadline.hasExpired() && !caught)
            caught = writingNow();
        child.kill();
        writing = parts.value(2);
    }
    QVERIFY2(caught, "the save loop was not caught writing");
    child.waitForFinished();
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    // Either the last whole picture or the new one, whole; no leftovers.
    const QByteArray now = md5(readFile(dir.filePath(QStringLiteral("haus.bmp"))));
    QVERIFY2(now == saved || now == writing, now.constData());
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("haus.bmp")});
}

void tst_Draw::printPage_data()
{
    QTest::addColumn<QSizeF>("printable");
    QTest::addColumn<QList<int>>("margins");   // left, right, top, bottom
    QTest::addColumn<QRectF>("picture");
    QTest::addColumn<QPointF>("title");
    QTest::newRow("no margins measured") << QSizeF(200, 287) << QList<int>{0, 0, 0, 0}
                                         << QRectF(0, 0, 200, 287) << QPointF(0, 0);
    QTest::newRow("even margins") << QSizeF(200, 287) << QList<int>{5, 5, 5, 5}
                                  << QRectF(5, 5, 195, 282) << QPointF(5, 0);
    // Reaching past the printable area's far edges: cut back to it.
    QTest::newRow("left larger than right") << QSizeF(200, 287) << QList<int>{12, 3, 9, 2}
                                            << QRectF(12, 9, 188, 278) << QPointF(12, 0);
    QTest::newRow("margins eat the page") << QSizeF(200, 287) << QList<int>{5, 250, 5, 5}
                                          << QRectF() << QPointF(5, 0);
}

void tst_Draw::printPage()
{
    QFETCH(QSizeF, printable);
    QFETCH(QList<int>, margins);
    QFETCH(QRectF, picture);
    QFETCH(QPointF, title);
    const PrintPage page = printPageFor(printable, {int16_t(margins[0]), int16_t(margins[1]),
                                                   int16_t(margins[2]), int16_t(margins[3])});
    QCOMPARE(page.picture, picture);
    QCOMPARE(page.title, title);
}

void tst_Draw::windowLayout()
{
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
    QVERIFY(w->imgLogo(0)->isVisible() != w->imgLogo(1)->isVisible());
}

void tst_Draw::toolWindowsOnTheScreen_data()
{
    // The screen; whether every toolbar button and flag stays free (else Clear,
    // Undo, Open and Save); whether the pen window can keep off the canvas and
    // the lesson window; whether both stay at the places they take by themselves.
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("everyButton");
    QTest::addColumn<bool>("penApart");
    QTest::addColumn<bool>("asDescribed");
    QTest::newRow("1366 x 768") << QSize(1366, 768) << true << true << false;
    QTest::newRow("1280 x 800") << QSize(1280, 800) << true << true << false;
    QTest::newRow("1280 x 720 (2560 x 1440 at scale 2)") << QSize(1280, 720) << true << true << false;
    QTest::newRow("1024 x 768") << QSize(1024, 768) << false << false << false;
    QTest::newRow("1920 x 1080: as before") << QSize(1920, 1080) << true << true << true;
}

void tst_Draw::toolWindowsOnTheScreen()
{
    // A first start: the lesson window is placed first, the pen window then
    // beside it.
    QFETCH(QSize, screen);
    QFETCH(bool, everyButton);
    QFETCH(bool, penApart);
    QFETCH(bool, asDescribed);
    const QRect area(QPoint(0, 0), screen);
    w->move((screen.width() - w->width()) / 2, (screen.height() - w->height()) / 2);
    frmPreview *lesson = w->preview();
    frmColor *pen = w->penWindow();
    QVERIFY(lesson && pen);
    pen->hide();
    const auto global = [](const QWidget *c) { return QRect(c->mapToGlobal(QPoint(0, 0)), c->size()); };
    QList<QRect> keepFree;
    for (int i = 0; i < (everyButton ? 10 : 4); ++i)
        keepFree << global(w->vbeButton(i));
    for (int digit : {0, 1, 3, 4, 6}) {
        if (everyButton)
            keepFree << global(w->imgLang(digit));
    }
    const QRect canvas = global(w->picBild());
    const auto covers = [&](const QRect &r) {
        return std::any_of(keepFree.begin(), keepFree.end(), [&](const QRect &k) { return k.intersects(r); });
    };
    const auto canvasCovered = [&](const QRect &r) {
        const QRect c = r.intersected(canvas);
        return c.isEmpty() ? 0 : c.width() * c.height();
    };

    const QSize lessonSize = lesson->frameGeometry().size();
    const QPoint lessonDescribed(Twips::toPixels(lesson->placeTwips().x(), 15),
                                 Twips::toPixels(lesson->placeTwips().y(), 15));
    const QRect l(w->toolWindows().placeFor(lesson, area, QRect(lessonDescribed, lessonSize)), lessonSize);
    QVERIFY(area.contains(l));
    QVERIFY(!covers(l));
    // As little of the canvas as any place on the screen that leaves the buttons free.
    int least = -1;
    for (int y = area.top(); y + lessonSize.height() <= area.bottom() + 1; ++y) {
        for (int x = area.left(); x + lessonSize.width() <= area.right() + 1; ++x) {
            const QRect r(QPoint(x, y), lessonSize);
            if (!covers(r) && (least < 0 || canvasCovered(r) < least))
                least = canvasCovered(r);
        }
    }
    QCOMPARE(canvasCovered(l), least);

    lesson->move(l.topLeft());
    pen->show();
    const QSize penSize = pen->frameGeometry().size();
    const QPoint penTwips = PenPlace::defaultPlace(screen.width() * 15, penSize.width() * 15, penSize.height() * 15);
    const QPoint penDescribed(Twips::toPixels(penTwips.x(), 15), Twips::toPixels(penTwips.y(), 15));
    const QRect p(w->toolWindows().placeFor(pen, area, QRect(penDescribed, penSize)), penSize);
    QVERIFY(area.contains(p));
    QVERIFY(!covers(p));
    if (penApart) {
        QCOMPARE(canvasCovered(p), 0);
        QVERIFY(!p.intersects(l));
    }
    if (asDescribed) {
        QCOMPARE(l.topLeft(), QPoint(lessonDescribed.x(), 0));   // moved down onto the screen only
        QCOMPARE(p.topLeft(), penDescribed);
    }
}

int main(int argc, char **argv)
{
    if (argc >= 4 && qstrcmp(argv[1], "--child") == 0)
        return childMain(argc, argv);
    QApplication app(argc, argv);
    tst_Draw test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_draw.moc"
