// Start-up of the real program: one copy at a time, a crashed run leaves nothing
// that blocks, a lock that cannot be had does not keep it from starting, and the
// language table is written at every start. (A setting that is not a number, and
// the error dialog it brings, are in tst_windowing.)

#include "support/programcopy.h"
#include "support/waitfor.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

class tst_Startup : public QObject
{
    Q_OBJECT
private slots:
    void secondStartEndsAtOnce_data();
    void secondStartEndsAtOnce();
    void startNotBlocked_data();
    void startNotBlocked();

private:
    // A copy of the program, and where it writes its language table.
    struct Install : ProgramCopy {
        QString tempFile() const { return runtime() + QStringLiteral("/stiftolino-%1/~tmp.lng").arg(::getuid()); }
    };
    // Starts the copy in `env` (its own environment when none is given).
    static void start(QProcess &p, const Install &in, QProcessEnvironment env = {});
};

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
    QVERIFY2(in.install(), "STIFTOLINO_BINARY must name the program");
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
    QVERIFY2(in.install(), "STIFTOLINO_BINARY must name the program");
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

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
