// The real program under real window managers: the lesson and pen windows stay
// above the main window when it is pressed, a drag with any button ends with
// its release, and the error dialog asks for a title bar without buttons, refuses
// to be closed, answers the keyboard and sits in the middle of the screen.

#include "support/desktopprobe.h"
#include "support/programcopy.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTest>

class tst_Windowing : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void toolWindowsStayAbove_data();
    void toolWindowsStayAbove();
    void dragEndsWithTheRelease_data();
    void dragEndsWithTheRelease();
    void errorDialogFrame();

private:
    // Starts the X server, the window manager (none when empty) and the program;
    // false when the test has been skipped or has failed meanwhile.
    bool launch(XServer &x, ProgramCopy &in, const QString &windowManager, const QByteArray &settings = QByteArray());
    void start(ProgramCopy &in, const XServer &x, const QByteArray &settings);
    static QString penWindow(const XServer &x, const QString &main, const QString &lessons);
};

void tst_Windowing::initTestCase()
{
    QVERIFY2(QFile::exists(QString::fromLocal8Bit(qgetenv("STIFTOLINO_BINARY"))),
             "STIFTOLINO_BINARY must name the program");
}

bool tst_Windowing::launch(XServer &x, ProgramCopy &in, const QString &windowManager, const QByteArray &settings)
{
    bool started = false;
    [&] {
        START_DESKTOP_OR_SKIP(x, windowManager);
        start(in, x, settings);
        started = !QTest::currentTestFailed();
    }();
    return started;
}

void tst_Windowing::start(ProgramCopy &in, const XServer &x, const QByteArray &settings)
{
    QVERIFY(in.install());
    if (!settings.isEmpty())
        QVERIFY(in.writeSettings(settings));
    QVERIFY(in.launch(in.environmentOn(x)));
}

QString tst_Windowing::penWindow(const XServer &x, const QString &main, const QString &lessons)
{
    // The pen window has no title of its own: the program's other visible window.
    for (const QString &w : DesktopProbe::programWindows(x)) {
        if (w != main && w != lessons && x.geometry(w).width() > 100)
            return w;
    }
    return QString();
}

void tst_Windowing::toolWindowsStayAbove_data()
{
    QTest::addColumn<QString>("windowManager");
    QTest::newRow("openbox") << "openbox";
    QTest::newRow("fluxbox") << "fluxbox";
    QTest::newRow("icewm") << "icewm";
    QTest::newRow("no window manager") << "";
}

void tst_Windowing::toolWindowsStayAbove()
{
    QFETCH(QString, windowManager);
    XServer x;
    ProgramCopy in;
    if (!launch(x, in, windowManager))
        return;
    const QString main = x.waitForWindow(QStringLiteral("^Stiftolino$"));
    const QString lessons = x.waitForWindow(QStringLiteral("^Stiftolino lessons$"));
    QVERIFY2(!main.isEmpty() && !lessons.isEmpty(), "the windows did not appear");
    QString pen;
    QVERIFY2(waitFor([&] { return !(pen = penWindow(x, main, lessons)).isEmpty(); }, 10000), "no pen window");
    using DesktopProbe::above;
    QVERIFY2(waitFor([&] { return above(x, lessons, main) && above(x, pen, main); }, 10000),
             qPrintable(DesktopProbe::describeStacking(x, {main, lessons, pen})));

    // Press on the canvas, away from both tool windows; the window manager
    // raises the main window and passes the press on, which draws a dot.
    const QRect mg = x.geometry(main);
    const QRect lg = x.geometry(lessons);
    const QRect pg = x.geometry(pen);
    QPoint press;
    for (int px = mg.right() - 40; px > mg.left() + 220 && press.isNull(); px -= 20) {
        for (int py = mg.bottom() - 40; py > mg.top() + 160 && press.isNull(); py -= 20) {
            if (!lg.adjusted(-10, -10, 10, 10).contains(px, py) && !pg.adjusted(-10, -10, 10, 10).contains(px, py))
                press = QPoint(px, py);
        }
    }
    QVERIFY2(!press.isNull(), "no free place on the canvas");
    const QImage before = DesktopProbe::screenshot(x);
    if (before.isNull())
        QSKIP("no screenshots (Debian package imagemagick)");
    x.click(press);
    QVERIFY2(waitFor([&] { return DesktopProbe::screenshot(x).pixelColor(press) != before.pixelColor(press); }, 10000),
             "the press did not draw on the canvas");
    // The dot shows the program has had the press, so the window manager has
    // raised the main window before it; the tool windows must be above again.
    QVERIFY2(waitFor([&] { return above(x, lessons, main) && above(x, pen, main); }, 5000),
             qPrintable(QStringLiteral("main, lessons, pen ") + DesktopProbe::describeStacking(x, {main, lessons, pen})));
    // The keyboard stays with the main window.
    if (!windowManager.isEmpty())
        QCOMPARE(x.xdotool({QStringLiteral("getactivewindow")}), main);
}

void tst_Windowing::dragEndsWithTheRelease_data()
{
    QTest::addColumn<QString>("windowManager");
    QTest::addColumn<int>("button");
    QTest::newRow("openbox, left") << "openbox" << 1;
    QTest::newRow("openbox, right") << "openbox" << 3;
    QTest::newRow("openbox, middle") << "openbox" << 2;
    QTest::newRow("fluxbox, right") << "fluxbox" << 3;
    QTest::newRow("no window manager, right") << "" << 3;
}

void tst_Windowing::dragEndsWithTheRelease()
{
    QFETCH(QString, windowManager);
    QFETCH(int, button);
    XServer x;
    ProgramCopy in;
    if (!launch(x, in, windowManager))
        return;
    const QString lessons = x.waitForWindow(QStringLiteral("^Stiftolino lessons$"));
    QVERIFY2(!lessons.isEmpty(), "the lesson window did not appear");
    QRect before;
    QVERIFY(waitFor([&] {
        before = x.geometry(lessons);
        return before.size() == QSize(440, 420);
    }));

    // Grab the background left of the preview and move it by (120, 60).
    const QPoint grab = before.topLeft() + QPoint(7, 200);
    const QPoint by(120, 60);
    QVERIFY2(x.dragWindow(lessons, grab, grab + by, button), "the window did not follow the drag");
    const QPoint released = x.geometry(lessons).topLeft();

    // With no button held the pointer goes on alone: the window stays.
    for (int i = 1; i <= 5; ++i)
        QVERIFY(x.movePointer(grab + by + QPoint(30, 25) * i));
    bool moved = false;
    waitFor([&] { return moved = x.geometry(lessons).topLeft() != released; }, 1500);
    QVERIFY2(!moved, qPrintable(QStringLiteral("the window went on following the pointer to %1,%2")
                                    .arg(x.geometry(lessons).x()).arg(x.geometry(lessons).y())));
}

void tst_Windowing::errorDialogFrame()
{
    XServer x;
    ProgramCopy in;
    // A stored lesson that does not exist: one error while the lesson window loads.
    if (!launch(x, in, QStringLiteral("openbox"), "[Optionen]\nImage=99\n"))
        return;
    const QString dialog = x.waitForWindow(QStringLiteral("Fehler / Error"));
    QVERIFY2(!dialog.isEmpty(), "the error dialog did not appear");

    // A title bar only: no close, minimise or maximise asked of the window manager
    // (_MOTIF_WM_HINTS: flags, functions, decorations, ...).
    QList<uint> motif;
    QVERIFY(waitFor([&] {
        motif.clear();
        const QString hints = DesktopProbe::property(x, dialog, QStringLiteral("_MOTIF_WM_HINTS"));
        for (const QString &v : hints.section(u'=', 1).split(u',', Qt::SkipEmptyParts))
            motif << v.trimmed().toUInt(nullptr, 16);
        return motif.size() >= 3;
    }));
    constexpr uint FunctionsGiven = 0x1, DecorationsGiven = 0x2;
    constexpr uint AllFunctions = 0x1, Minimise = 0x8, Maximise = 0x10, Close = 0x20;
    QVERIFY(motif[0] & FunctionsGiven);
    QVERIFY2(!(motif[1] & (AllFunctions | Minimise | Maximise | Close)), qPrintable(QString::number(motif[1], 16)));
    constexpr uint AllDecorations = 0x1, MenuButton = 0x10, MinimiseButton = 0x20, MaximiseButton = 0x40;
    if (motif[0] & DecorationsGiven)
        QVERIFY(!(motif[2] & (AllDecorations | MenuButton | MinimiseButton | MaximiseButton)));
    // openbox keeps its close button whatever is asked; pressed (Alt+F4), it is refused.
    x.xdotool({QStringLiteral("key"), QStringLiteral("alt+F4")});

    // Centred with its frame: the frame extents come from the window manager.
    auto centredWithFrame = [&] {
        const QStringList e = DesktopProbe::property(x, dialog, QStringLiteral("_NET_FRAME_EXTENTS"))
                                  .section(u'=', 1)
                                  .split(u',', Qt::SkipEmptyParts);
        if (e.size() != 4)
            return false;
        const QRect g = DesktopProbe::geometry(x, dialog);
        const QRect outer = g.adjusted(-e[0].toInt(), -e[2].toInt(), e[1].toInt(), e[3].toInt());
        return e[2].toInt() > 0 && qAbs(outer.center().x() - 512) <= 1 && qAbs(outer.center().y() - 384) <= 1;
    };
    QVERIFY2(waitFor(centredWithFrame, 10000),
             qPrintable(QStringLiteral("at %1,%2, ").arg(DesktopProbe::geometry(x, dialog).x()).arg(DesktopProbe::geometry(x, dialog).y())
                        + DesktopProbe::property(x, dialog, QStringLiteral("_NET_FRAME_EXTENTS"))));

    // Ignore, by keyboard: five Tabs from Print along the rows, then Enter.
    for (int i = 0; i < 5; ++i)
        x.xdotool({QStringLiteral("key"), QStringLiteral("Tab")});
    x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    // The lesson window comes up on the lesson choice, with no second error.
    QVERIFY2(!x.waitForWindow(QStringLiteral("^Stiftolino lessons$")).isEmpty(), "no lesson window after Ignore");
    QFile ept(in.dir.filePath(QStringLiteral("stiftolino.EPT")));
    QVERIFY(ept.open(QIODevice::ReadOnly));
    const QByteArray protocol = ept.readAll();
    QCOMPARE(protocol.count("F E H L E R P R O T O K O L L"), 1);
    QVERIFY(protocol.contains("326"));
    QVERIFY(x.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"),
                       QStringLiteral("Fehler / Error")})
                .isEmpty());
}

QTEST_GUILESS_MAIN(tst_Windowing)
#include "tst_windowing.moc"
