// Start-up of the real program: one copy at a time, a crashed run leaves nothing
// that blocks, a lock that cannot be had does not keep it from starting, the
// language table is written at every start, and a setting that is not a number
// shows the error dialog under a real X server.

#include "core/resources.h"
#include "support/programcopy.h"
#include "support/testsupport.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <unistd.h>

class tst_Startup : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void secondStartEndsAtOnce_data();
    void secondStartEndsAtOnce();
    void startNotBlocked_data();
    void startNotBlocked();
    void badSettingShowsTheDialog();

private:
    // A copy of the program, and where it writes its language table.
    struct Install : ProgramCopy {
        QString tempFile() const { return runtime() + QStringLiteral("/stiftolino-%1/~tmp.lng").arg(::getuid()); }
    };
    // Starts the copy in `env` (its own environment when none is given).
    static void start(QProcess &p, const Install &in, QProcessEnvironment env = {});
};

void tst_Startup::initTestCase()
{
    QVERIFY2(QFile::exists(QString::fromLocal8Bit(qgetenv("STIFTOLINO_BINARY"))),
             "STIFTOLINO_BINARY must name the program");
}

void tst_Startup::start(QProcess &p, const Install &in, QProcessEnvironment env)
{
    p.setProcessEnvironment(env.isEmpty() ? in.environment() : env);
    p.setProgram(in.binary);
    p.start();
    QVERIFY(p.waitForStarted());
}

void tst_Startup::secondStartEndsAtOnce_data()
{
    // Whether the second start has a runtime folder: one user has one lock, wherever
    // the session keeps its runtime files.
    QTest::addColumn<bool>("secondHasRuntimeDir");
    QTest::newRow("same environment") << true;
    QTest::newRow("second without XDG_RUNTIME_DIR") << false;
}

void tst_Startup::secondStartEndsAtOnce()
{
    QFETCH(bool, secondHasRuntimeDir);
    Install in;
    QVERIFY(in.install());
    // A stale, longer language file from an earlier run is written over.
    QDir().mkpath(QFileInfo(in.tempFile()).path());
    QFile::setPermissions(QFileInfo(in.tempFile()).path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    {
        QFile stale(in.tempFile());
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.write(QByteArray(40000, 'x'));
    }
    QProcess first;
    start(first, in);
    QVERIFY(waitFor(
        [&] {
            QFile f(in.tempFile());
            return f.open(QIODevice::ReadOnly) && f.read(6) == "[lang]";
        },
        15000));
    QProcessEnvironment env = in.environment();
    if (!secondHasRuntimeDir)
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess second;
    start(second, in, env);
    QVERIFY(second.waitForFinished(10000));
    QCOMPARE(second.exitStatus(), QProcess::NormalExit);
    QCOMPARE(second.exitCode(), 0);
    QCOMPARE(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished();
}

void tst_Startup::startNotBlocked_data()
{
    QTest::addColumn<QString>("left");    // what is where the lock file belongs
    QTest::addColumn<QByteArray>("said"); // what the start says on stderr
    QTest::newRow("the lock of a killed run") << "killed" << QByteArray();
    // No lock to be had: the program runs without the check for a second copy.
    QTest::newRow("a folder in the lock file's place")
        << "folder" << QByteArray("Stiftolino runs without the check for a second copy: the lock file ");
}

void tst_Startup::startNotBlocked()
{
    QFETCH(QString, left);
    QFETCH(QByteArray, said);
    Install in;
    QVERIFY(in.install());
    if (left == u"killed") {
        QProcess first;
        start(first, in);
        QVERIFY(waitFor([&] { return QFile::exists(in.tempFile()); }, 15000));
        first.kill(); // SIGKILL: no chance to clean up
        first.waitForFinished();
        QVERIFY(QFile::remove(in.tempFile()));
    } else {
        QVERIFY(QDir().mkpath(in.home() + QStringLiteral("/.config/Stiftolino/stiftolino.lock")));
    }
    QProcess again;
    start(again, in);
    // It gets as far as writing its language table, and stays.
    QVERIFY(waitFor([&] { return QFile::exists(in.tempFile()); }, 15000));
    QCOMPARE(again.state(), QProcess::Running);
    again.kill();
    again.waitForFinished();
    const QByteArray err = again.readAllStandardError();
    if (said.isEmpty())
        QVERIFY2(!err.contains("second copy"), err.constData());
    else
        QVERIFY2(err.contains(said), err.constData());
}

void tst_Startup::badSettingShowsTheDialog()
{
    XServer x;
    START_DESKTOP_OR_SKIP(x, QString());
    Install in;
    QVERIFY(in.install());
    QVERIFY(in.writeSettings("[Optionen]\nSound=loud\nWidth=9\n"));
    QVERIFY(in.launch(in.environmentOn(x)));
    QProcess &app = in.app;
    const QString dialog = x.waitForWindow(QStringLiteral("Fehler / Error"));
    if (dialog.isEmpty()) {
        QStringList names;
        for (const QString &id : x.windows(QStringLiteral(".")))
            names << x.xdotool({QStringLiteral("getwindowname"), id});
        QFAIL(
            qPrintable(QStringLiteral("the error dialog did not appear; program %1, windows: %2; %3")
                           .arg(app.state() == QProcess::Running ? QStringLiteral("running") : QStringLiteral("ended"),
                                names.join(QStringLiteral(", ")), QString::fromLocal8Bit(app.readAllStandardError()))));
    }
    const QByteArray protocol = readFile(in.dir.filePath(QStringLiteral("stiftolino.EPT")));
    QCOMPARE(protocol.count("F E H L E R P R O T O K O L L"), 1);
    QVERIFY(protocol.contains("Modul:\tAllgemein"));
    QVERIFY(protocol.contains("Prozedur / procedure:\tLoadConfig"));
    QVERIFY(protocol.contains("Zeile / Line:\t20"));
    QVERIFY(protocol.contains("13 (Type mismatch)"));

    // Ignore: the button in the bottom row, second from the left.
    const QRect g = x.geometry(dialog);
    QVERIFY(g.width() > 400);
    const int bx = g.x() + 136 + 44;
    const int by = g.y() + g.height() - 57 + 16 + 16;
    x.click(QPoint(bx, by));
    // The start goes on where the error stopped it: the start screen, then the main window.
    QVERIFY2(!x.waitForWindow(QStringLiteral("^Stiftolino info$")).isEmpty(), "no start screen after Ignore");
    const QString main = x.waitForWindow(QStringLiteral("^Stiftolino$"));
    QVERIFY2(!main.isEmpty(), "the main window did not appear after Ignore");
    const QRect mg = x.geometry(main);
    QCOMPARE(mg.size(), QSize(829, 624));
    QCOMPARE(mg.topLeft(), QPoint((1024 - 829) / 2, (768 - 624) / 2));
    QCOMPARE(app.state(), QProcess::Running);
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
