// The real program under a real X server, with and without a window manager: the
// lesson window floats above the main window, drags by its background, and is
// found where it was left, at the size it was left, after a restart. And the
// program installed into a prefix, which keeps its files in the user's folders.

#include "support/install.h"
#include "support/programcopy.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

class tst_Desktop : public QObject
{
    Q_OBJECT
private slots:
    void dragAndRestart_data();
    void dragAndRestart();
    void installedProgramKeepsItsFolders();

private:
    static void quit(const XServer &x, const QString &main, QProcess &app);
};

// Quits through the toolbar: the last button, then Yes (the default).
void tst_Desktop::quit(const XServer &x, const QString &main, QProcess &app)
{
    const QRect mg = x.geometry(main);
    const int windowsBefore = int(x.windows(QStringLiteral(".")).size());
    x.click(mg.topLeft() + QPoint(25 + 88 + 24, 306 + 184 + 16));
    // The quit question is one more window; Return answers it with its default.
    QVERIFY(waitFor([&] { return x.windows(QStringLiteral(".")).size() > windowsBefore; }));
    x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    QVERIFY2(app.waitForFinished(10000), "the program did not end after Quit and Yes");
    QCOMPARE(app.exitCode(), 0);
}

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

    // Grab the background left of the preview and move it by (120, 60).
    const QPoint grab = before.topLeft() + QPoint(7, 200);
    QVERIFY2(x.dragWindow(lessons, grab, grab + QPoint(120, 60)), "the window did not follow the drag");
    const QRect after = x.geometry(lessons);

    // The small preview: the size button of the step panel.
    x.click(after.topLeft() + QPoint(95 + 128 + 22, 316 + 48 + 16));
    QVERIFY(waitFor([&] { return x.geometry(lessons).size() == QSize(240, 270); }));

    quit(x, main, in.app);
    if (QTest::currentTestFailed())
        return;

    QVERIFY(in.launch(in.environmentOn(x)));
    const QString lessons2 = x.waitForWindow(QStringLiteral("^Stiftolino lessons$"));
    QVERIFY(!lessons2.isEmpty());
    waitFor([&] { return x.geometry(lessons2).topLeft() == after.topLeft(); });
    QCOMPARE(x.geometry(lessons2).topLeft(), after.topLeft());
    QCOMPARE(x.geometry(lessons2).size(), QSize(240, 270));
}

namespace {
// Every file under a folder with its size and time of change.
QStringList snapshot(const QString &folder)
{
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo f(it.next());
        files << QStringLiteral("%1 %2 %3").arg(QDir(folder).relativeFilePath(f.filePath()))
                     .arg(f.size()).arg(f.lastModified().toMSecsSinceEpoch());
    }
    files.sort();
    return files;
}
} // namespace

void tst_Desktop::installedProgramKeepsItsFolders()
{
    ProgramCopy in;
    const QString prefix = in.dir.filePath(QStringLiteral("prefix"));
    const QString error = installBuild(prefix);
    if (error.contains(QLatin1String("not set")))
        QSKIP(qPrintable(error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QStringList installed = snapshot(prefix);

    XServer x;
    START_DESKTOP_OR_SKIP(x, QString());
    QVERIFY(in.makeFolders());
    QVERIFY(in.launch(in.environmentOn(x), prefix + QStringLiteral("/bin/stiftolino")));
    QProcess &app = in.app;
    QVERIFY2(!x.waitForWindow(QStringLiteral("^Stiftolino lessons$")).isEmpty(),
             qPrintable(QStringLiteral("no lesson window; the program %1: %2")
                            .arg(app.state() == QProcess::Running ? QStringLiteral("runs")
                                                                  : QStringLiteral("ended"),
                                 QString::fromLocal8Bit(app.readAllStandardError()))));
    const QString main = x.waitForWindow(QStringLiteral("^Stiftolino$"));
    QVERIFY(!main.isEmpty());

    // The lesson window lists the pictures folder and makes it on a first start:
    // in the user's Pictures folder, although the prefix could be written.
    const QString pictures = in.home() + QStringLiteral("/Pictures/Stiftolino");
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pictures).isDir(), 10000);

    // Save through the toolbar (the right button of the second row): the
    // picture goes there too.
    const QRect mg = x.geometry(main);
    const int windowsBefore = int(x.windows(QStringLiteral(".")).size());
    x.click(mg.topLeft() + QPoint(25 + 88 + 24, 306 + 64 + 16));
    QVERIFY(waitFor([&] { return x.windows(QStringLiteral(".")).size() > windowsBefore; }));
    x.xdotool({QStringLiteral("type"), QStringLiteral("haus")});
    x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pictures + QStringLiteral("/haus.bmp")).isFile(), 10000);

    // Quitting stores the settings in the user's configuration.
    quit(x, main, app);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(QFile::exists(in.home() + QStringLiteral("/.config/Stiftolino/Stiftolino.ini")));

    // Nothing new or changed under the prefix.
    QCOMPARE(snapshot(prefix), installed);
}

QTEST_GUILESS_MAIN(tst_Desktop)
#include "tst_desktop.moc"
