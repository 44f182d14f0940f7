// The real program under a real X server, with and without a window manager: the
// lesson window floats above the main window, drags by its background, and is
// found where it was left, at the size it was left, after a restart. And the
// program installed into a prefix, which keeps its files in the user's folders.

#include "support/install.h"
#include "support/programcopy.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QTemporaryDir>
#include <QTest>

class tst_Desktop : public QObject
{
    Q_OBJECT
private slots:
    void dragAndRestart_data();
    void dragAndRestart();
    void installedProgramKeepsItsFolders();
};

void tst_Desktop::dragAndRestart_data()
{
    QTest::addColumn<bool>("windowManager");
    QTest::newRow("no window manager") << false;
    QTest::newRow("openbox") << true;
}

void tst_Desktop::dragAndRestart()
{
    QFETCH(bool, windowManager);
    XServer x;
    START_DESKTOP_OR_SKIP(x, windowManager ? QStringLiteral("openbox") : QString());
    ProgramCopy in;
    QVERIFY(in.install());
    QVERIFY(in.launch(in.environmentOn(x)));
    const QString main = x.waitForWindow(QStringLiteral("^Stiftolino$"));
    const QString lessons = x.waitForWindow(QStringLiteral("^Stiftolino lessons$"));
    QVERIFY2(!main.isEmpty() && !lessons.isEmpty(), "the windows did not appear");
    QVERIFY(waitFor([&] { return x.geometry(lessons).size() == QSize(440, 420); }));
    const QRect before = x.geometry(lessons);

    // Grab the background left of the preview, below where the pen window may
    // cover it on this small screen, and move it by (120, 60).
    const QPoint grab = before.topLeft() + QPoint(7, 300);
    QVERIFY2(x.dragWindow(lessons, grab, grab + QPoint(120, 60)), "the window did not follow the drag");
    const QRect after = x.geometry(lessons);

    // The small preview: the size button of the step panel.
    x.click(after.topLeft() + QPoint(95 + 128 + 22, 316 + 48 + 16));
    QVERIFY(waitFor([&] { return x.geometry(lessons).size() == QSize(240, 270); }));

    quitProgram(x, main, in.app);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(in.launch(in.environmentOn(x)));
    const QString lessons2 = x.waitForWindow(QStringLiteral("^Stiftolino lessons$"));
    QVERIFY(!lessons2.isEmpty());
    waitFor([&] { return x.geometry(lessons2).topLeft() == after.topLeft(); });
    QCOMPARE(x.geometry(lessons2).topLeft(), after.topLeft());
    QCOMPARE(x.geometry(lessons2).size(), QSize(240, 270));
}

void tst_Desktop::installedProgramKeepsItsFolders()
{
    QTemporaryDir prefix;
    QVERIFY(prefix.isValid());
    const QString error = installBuild(prefix.path());
    if (error.contains(QLatin1String("not set")))
        QSKIP(qPrintable(error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    checkInstalledProgram(prefix.path());
}

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
