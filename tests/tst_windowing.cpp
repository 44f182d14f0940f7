// The real program under real window managers: the lesson and pen windows stay
// above the main window when it is pressed, leave the toolbar free at a first
// start on a small screen, a tap on them is a click and a drag with any button
// ends with its release, and the lesson window is found where it was left, at
// the size it was left, after a restart (the pen window dragged off the screen
// stays within reach: tst_pen's underX11); an error at the start shows the error
// dialog, which asks for a title bar without buttons, refuses to be closed,
// answers the pointer and the keyboard and sits in the middle of the screen, and
// the start goes on after Ignore. And the program installed into a prefix, which
// keeps its files in the user's folders.

#include "support/desktopprobe.h"
#include "support/install.h"
#include "support/mainparts.h"
#include "support/programcopy.h"
#include "support/testsupport.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {
// Where a window is, for a failure message.
QString where(const QRect &r) { return u"at %1,%2 %3x%4"_qs.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()); }
} // namespace

class tst_Windowing : public QObject
{
    Q_OBJECT
private slots:
    void toolWindowsStayAbove_data();
    void toolWindowsStayAbove();
    void firstStartPlaces_data();
    void firstStartPlaces();
    void dragEndsWithTheRelease_data();
    void dragEndsWithTheRelease();
    void errorDialog_data();
    void errorDialog();
    void installedProgramKeepsItsFolders();

private:
    // Starts the X server, the window manager (none when empty) and the program;
    // false when the test has been skipped or has failed meanwhile.
    bool launch(XServer &x, ProgramCopy &in, const QString &windowManager, const QByteArray &settings = QByteArray(),
                int scale = 1);
    // Moves the pointer on from `from` in five steps with no button held: the
    // window, at `place`, must stay where it is.
    static void staysWithoutButton(const XServer &x, QPoint from, const std::function<QRect()> &place);
};

bool tst_Windowing::launch(XServer &x, ProgramCopy &in, const QString &windowManager, const QByteArray &settings,
                           int scale)
{
    bool started = false;
    [&] {
        START_DESKTOP_OR_SKIP(x, windowManager);
        QVERIFY2(in.install(), "STIFTOLINO_BINARY must name the program");
        if (!settings.isEmpty())
            QVERIFY(in.writeSettings(settings));
        QProcessEnvironment env = in.environmentOn(x);
        env.insert(u"QT_SCALE_FACTOR"_qs, QString::number(scale));
        QVERIFY(in.launch(env));
        started = true;
    }();
    return started;
}

void tst_Windowing::staysWithoutButton(const XServer &x, QPoint from, const std::function<QRect()> &place)
{
    const QRect before = place();
    for (int i = 1; i <= 5; ++i)
        QVERIFY(x.movePointer(from + QPoint(30, 25) * i));
    bool moved = false;
    waitFor([&] { return moved = place() != before; }, 1500);
    QVERIFY2(!moved, qPrintable(u"the window followed the pointer "_qs + where(place())));
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
    QString main, lessons, pen;
    QVERIFY2(DesktopProbe::threeWindows(x, main, lessons, pen), "the windows did not come up and stand still");
    using DesktopProbe::above;
    const auto toolsAbove = [&] { return above(x, lessons, main) && above(x, pen, main); };
    // The stacking of main, lessons and pen, for a failure's message.
    const auto stacking = [&] { return DesktopProbe::describeStacking(x, {main, lessons, pen}); };
    QVERIFY2(waitFor(toolsAbove, 10000), qPrintable(stacking()));

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
    QVERIFY2(waitFor(toolsAbove, 5000), qPrintable(stacking()));
    // The keyboard stays with the main window.
    if (!windowManager.isEmpty())
        QCOMPARE(x.xdotool({u"getactivewindow"_qs}), main);
}

void tst_Windowing::firstStartPlaces_data()
{
    // The screen in the X server's pixels and the scale the program runs at;
    // whether all the toolbar's buttons and flags stay free (else Clear, Undo,
    // Open and Save); whether the windows take the places they took before this
    // program chose better ones, which left the toolbar free on a screen this size.
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<int>("scale");
    QTest::addColumn<bool>("wholeToolbar");
    QTest::addColumn<bool>("asBefore");
    QTest::newRow("1366 x 768") << QSize(1366, 768) << 1 << true << false;
    QTest::newRow("1280 x 800") << QSize(1280, 800) << 1 << true << false;
    QTest::newRow("2560 x 1440 at scale 2") << QSize(2560, 1440) << 2 << true << false;
    QTest::newRow("1024 x 768") << QSize(1024, 768) << 1 << false << false;
    QTest::newRow("1920 x 1080") << QSize(1920, 1080) << 1 << true << true;
}

void tst_Windowing::firstStartPlaces()
{
    QFETCH(QSize, screen);
    QFETCH(int, scale);
    QFETCH(bool, wholeToolbar);
    QFETCH(bool, asBefore);
    XServer x(screen);
    ProgramCopy in;
    QString main, lessons, pen;
    if (!launch(x, in, u"openbox"_qs, QByteArray(), scale))
        return;
    QVERIFY2(DesktopProbe::threeWindows(x, main, lessons, pen, scale), "the windows did not come up and stand still");

    // Everything in the program's own pixels.
    const auto place = [&](const QString &window) {
        const QRect r = DesktopProbe::geometry(x, window);
        return QRect(r.topLeft() / scale, r.size() / scale);
    };
    const QRect area(QPoint(0, 0), screen / scale);
    const QRect m = place(main);
    const QRect l = place(lessons);
    const QRect p = place(pen);
    QList<QRect> keepFree;
    for (int i = 0; i < (wholeToolbar ? 10 : 4); ++i)
        keepFree << MainParts::button(i).translated(m.topLeft());
    for (const QRect &flag : wholeToolbar ? MainParts::flags() : QList<QRect>())
        keepFree << flag.translated(m.topLeft());
    const QRect canvas = MainParts::Canvas.translated(m.topLeft());
    const auto leavesFree = [&](const QRect &r, const QList<QRect> &others) {
        return std::none_of(keepFree.begin(), keepFree.end(), [&](const QRect &k) { return k.intersects(r); })
               && std::none_of(others.begin(), others.end(), [&](const QRect &o) { return o.intersects(r); });
    };
    const auto onCanvas = [&](const QRect &r) {
        const QRect c = r.intersected(canvas);
        return c.width() * c.height();
    };
    // The least of the canvas a window of `size` can cover anywhere on the
    // screen while it leaves the toolbar and `others` free; -1: no such place.
    const auto least = [&](QSize size, const QList<QRect> &others) {
        int fewest = -1;
        for (int y = area.top(); y + size.height() <= area.bottom() + 1; ++y) {
            for (int xx = area.left(); xx + size.width() <= area.right() + 1; ++xx) {
                const QRect r(QPoint(xx, y), size);
                if ((fewest < 0 || onCanvas(r) < fewest) && leavesFree(r, others))
                    fewest = onCanvas(r);
            }
        }
        return fewest;
    };
    QVERIFY2(area.contains(l), qPrintable(where(l)));
    QVERIFY2(area.contains(p), qPrintable(where(p)));
    QVERIFY2(leavesFree(l, {}), qPrintable(where(l)));
    QVERIFY2(leavesFree(p, {}), qPrintable(where(p)));
    // The lesson window comes first, over as little of the canvas as can be;
    // the pen window then beside it, where a laptop's screen has room for both.
    QCOMPARE(onCanvas(l), least(l.size(), {}));
    if (wholeToolbar) {
        QVERIFY2(!p.intersects(l), qPrintable(where(p)));
        QCOMPARE(onCanvas(p), least(p.size(), {l}));
    }
    if (asBefore) {
        // The lesson window 8 % of the main window's width from the left, at the
        // top (its own place lies above the screen); the pen window at 80 % of
        // the room beside it and half its height down.
        QCOMPARE(l.topLeft(), QPoint(66, 0));
        QCOMPARE(p.topLeft(), QPoint(1035, 85));
    }
}

void tst_Windowing::dragEndsWithTheRelease_data()
{
    // Where the window is grabbed, from its top left corner: the lesson window's
    // background left of the preview, below where the pen window may cover it on
    // this small screen, unless the row says otherwise; whether a tap comes first
    // (a touchpad's tap sends the press and the release within milliseconds, as
    // xdotool's click does); and whether the program then starts again, to find
    // the lesson window where it was left, at the size it was left.
    QTest::addColumn<QString>("windowManager");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("onPen");
    QTest::addColumn<QPoint>("grab");
    QTest::addColumn<bool>("tapFirst");
    QTest::addColumn<bool>("restart");
    const QPoint background(7, 300);
    QTest::newRow("openbox, left, restart") << "openbox" << 1 << false << background << false << true;
    QTest::newRow("openbox, right") << "openbox" << 3 << false << background << false << false;
    QTest::newRow("openbox, middle") << "openbox" << 2 << false << background << false << false;
    QTest::newRow("fluxbox, right") << "fluxbox" << 3 << false << background << false << false;
    QTest::newRow("no window manager, left, restart") << "" << 1 << false << background << false << true;
    QTest::newRow("no window manager, right") << "" << 3 << false << background << false << false;
    QTest::newRow("tap on the lesson window's background") << "openbox" << 1 << false << background << true << false;
    QTest::newRow("tap on the lesson window's preview") << "openbox" << 1 << false << QPoint(216, 166) << true << false;
    QTest::newRow("tap on the pen window's palette") << "openbox" << 1 << true << QPoint(124, 76) << true << false;
}

void tst_Windowing::dragEndsWithTheRelease()
{
    QFETCH(QString, windowManager);
    QFETCH(int, button);
    QFETCH(bool, onPen);
    QFETCH(QPoint, grab);
    QFETCH(bool, tapFirst);
    QFETCH(bool, restart);
    XServer x;
    ProgramCopy in;
    QString main, lessons, pen;
    if (!launch(x, in, windowManager))
        return;
    // All three up and still: a window manager that is slow to place a window
    // moves it after it has appeared, and the press would miss it.
    QVERIFY2(DesktopProbe::threeWindows(x, main, lessons, pen), "the windows did not come up and stand still");
    const QString window = onPen ? pen : lessons;
    const auto place = [&] { return DesktopProbe::geometry(x, window); };
    const QPoint from = place().topLeft() + grab;
    if (tapFirst) {
        // The window stays where it is, and takes no move half begun.
        QVERIFY(x.click(from));
        staysWithoutButton(x, from, place);
        if (QTest::currentTestFailed())
            return;
    }
    const QPoint to = from + (tapFirst ? QPoint(-60, 40) : QPoint(120, 60));
    QVERIFY2(x.dragWindow(window, from, to, button), "the window did not follow the drag");
    staysWithoutButton(x, to, place);
    if (!restart || QTest::currentTestFailed())
        return;

    // The small preview: the size button of the step panel.
    const QRect after = place();
    x.click(after.topLeft() + QPoint(95 + 128 + 22, 316 + 48 + 16));
    QVERIFY(waitFor([&] { return place().size() == QSize(240, 270); }));
    quitProgram(x, main, in.app);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(in.launch(in.environmentOn(x)));
    const QString again = x.waitForWindow(u"^Stiftolino lessons$"_qs);
    QVERIFY(!again.isEmpty());
    waitFor([&] { return DesktopProbe::geometry(x, again).topLeft() == after.topLeft(); });
    QCOMPARE(DesktopProbe::geometry(x, again), QRect(after.topLeft(), QSize(240, 270)));
}

void tst_Windowing::errorDialog_data()
{
    // The settings the program starts with, which make one error, and what its
    // protocol says of it.
    QTest::addColumn<QString>("windowManager");
    QTest::addColumn<QByteArray>("settings");
    QTest::addColumn<QByteArrayList>("protocol");
    QTest::newRow("a setting that is not a number, no window manager")
        << "" << QByteArray("[Optionen]\nSound=loud\nWidth=9\n")
        << QByteArrayList{"Modul:\tAllgemein", "Prozedur / procedure:\tLoadConfig", "Zeile / Line:\t20",
                          "13 (Type mismatch)"};
    QTest::newRow("a stored lesson that does not exist, openbox")
        << "openbox" << QByteArray("[Optionen]\nImage=99\n") << QByteArrayList{"326"};
}

void tst_Windowing::errorDialog()
{
    QFETCH(QString, windowManager);
    QFETCH(QByteArray, settings);
    QFETCH(QByteArrayList, protocol);
    XServer x;
    ProgramCopy in;
    if (!launch(x, in, windowManager, settings))
        return;
    const QString dialog = x.waitForWindow(u"Fehler / Error"_qs);
    QVERIFY2(!dialog.isEmpty(), "the error dialog did not appear");
    if (windowManager.isEmpty()) {
        // Ignore, by the pointer: the button in the bottom row, second from the left.
        const QRect g = x.geometry(dialog);
        QVERIFY(g.width() > 400);
        x.click(QPoint(g.x() + 136 + 44, g.y() + g.height() - 57 + 16 + 16));
        // The start goes on where the error stopped it: the start screen, then the
        // main window in the middle of the screen.
        QVERIFY2(!x.waitForWindow(u"^Stiftolino info$"_qs).isEmpty(), "no start screen after Ignore");
        const QString main = x.waitForWindow(u"^Stiftolino$"_qs);
        QVERIFY2(!main.isEmpty(), "the main window did not appear after Ignore");
        QCOMPARE(x.geometry(main), QRect(QPoint((1024 - 829) / 2, (768 - 624) / 2), QSize(829, 624)));
    } else {
        // A title bar only: no close, minimise or maximise asked of the window manager
        // (_MOTIF_WM_HINTS: flags, functions, decorations, ...).
        QList<uint> motif;
        QVERIFY(waitFor([&] {
            motif.clear();
            const QString hints = DesktopProbe::property(x, dialog, u"_MOTIF_WM_HINTS"_qs);
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
        x.xdotool({u"key"_qs, u"alt+F4"_qs});

        // Centred with its frame: the frame extents come from the window manager.
        auto centredWithFrame = [&] {
            const QStringList e = DesktopProbe::property(x, dialog, u"_NET_FRAME_EXTENTS"_qs)
                                      .section(u'=', 1)
                                      .split(u',', Qt::SkipEmptyParts);
            if (e.size() != 4)
                return false;
            const QRect g = DesktopProbe::geometry(x, dialog);
            const QRect outer = g.adjusted(-e[0].toInt(), -e[2].toInt(), e[1].toInt(), e[3].toInt());
            return e[2].toInt() > 0 && qAbs(outer.center().x() - 512) <= 1 && qAbs(outer.center().y() - 384) <= 1;
        };
        QVERIFY2(waitFor(centredWithFrame, 10000),
                 qPrintable(where(DesktopProbe::geometry(x, dialog)) + u", "_qs
                            + DesktopProbe::property(x, dialog, u"_NET_FRAME_EXTENTS"_qs)));
        // Ignore, by keyboard: five Tabs from Print along the rows, then Enter.
        for (int i = 0; i < 5; ++i)
            x.xdotool({u"key"_qs, u"Tab"_qs});
        x.xdotool({u"key"_qs, u"Return"_qs});
        // The lesson window comes up on the lesson choice.
        QVERIFY2(!x.waitForWindow(u"^Stiftolino lessons$"_qs).isEmpty(), "no lesson window after Ignore");
    }
    // One error, and no second one after Ignore; the program runs on without the dialog.
    const QByteArray written = readFile(in.dir.filePath(u"stiftolino.EPT"_qs));
    QCOMPARE(written.count("F E H L E R P R O T O K O L L"), 1);
    for (const QByteArray &line : protocol)
        QVERIFY2(written.contains(line), line.constData());
    QCOMPARE(in.app.state(), QProcess::Running);
    QVERIFY(x.windows(u"Fehler / Error"_qs).isEmpty());
}

void tst_Windowing::installedProgramKeepsItsFolders()
{
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QString error = installBuild(prefix.path());
    if (error.contains(QLatin1String("not set")))
        QSKIP(qPrintable(error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    checkInstalledProgram(prefix.path());
}

QTEST_GUILESS_MAIN(tst_Windowing)
#include "tst_windowing.moc"
