// Start-up of the real program: one copy at a time, a crashed run leaves nothing
// that blocks, a lock that cannot be had does not keep it from starting, and the
// language table is written at every start. (A setting that is not a number, and
// the error dialog it brings, are in tst_windowing.)

#include "support/programcopy.h"
#include "support/testsupport.h"
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
    void secondStart_data();
    void secondStart();

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

void tst_Startup::secondStart_data()
{
    // What a start finds: a copy of the program that runs, the lock a killed run
    // left, or something else where the lock file belongs; whether the start has a
    // runtime folder (one user has one lock, wherever the session keeps its runtime
    // files); and what it says on stderr.
    QTest::addColumn<QString>("before");
    QTest::addColumn<bool>("runtimeDir");
    QTest::addColumn<QByteArray>("said");
    QTest::newRow("a running copy: ends at once") << "running" << true << QByteArray();
    QTest::newRow("a running copy, no XDG_RUNTIME_DIR: ends at once") << "running" << false << QByteArray();
    QTest::newRow("the lock of a killed run: starts") << "killed" << true << QByteArray();
    // No lock to be had: the program runs without the check for a second copy.
    QTest::newRow("a folder in the lock file's place: starts")
        << "folder" << true << QByteArray("Stiftolino runs without the check for a second copy: the lock file ");
}

void tst_Startup::secondStart()
{
    QFETCH(QString, before);
    QFETCH(bool, runtimeDir);
    QFETCH(QByteArray, said);
    Install in;
    QVERIFY2(in.install(), "STIFTOLINO_BINARY must name the program");
    // A stale, longer language file from an earlier run is written over.
    const auto stale = [&] { return writeFile(in.tempFile(), QByteArray(40000, 'x')); };
    const auto tableWritten = [&] { return waitFor([&] { return readFile(in.tempFile()).startsWith("[lang]"); }); };
    QDir().mkpath(QFileInfo(in.tempFile()).path());
    QFile::setPermissions(QFileInfo(in.tempFile()).path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(stale());
    QProcess first;
    if (before == u"folder") {
        QVERIFY(QDir().mkpath(in.home() + QStringLiteral("/.config/Stiftolino/stiftolino.lock")));
    } else {
        start(first, in);
        QVERIFY(tableWritten());
        if (before == u"killed") {
            first.kill(); // SIGKILL: no chance to clean up
            first.waitForFinished();
            QVERIFY(stale());
        }
    }
    QProcessEnvironment env = in.environment();
    if (!runtimeDir)
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess second;
    start(second, in, env);
    if (before == u"running") {
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(first.state(), QProcess::Running);
        first.kill();
        first.waitForFinished();
        return;
    }
    // It gets as far as writing its language table, and stays.
    QVERIFY(tableWritten());
    QCOMPARE(second.state(), QProcess::Running);
    second.kill();
    second.waitForFinished();
    const QByteArray err = second.readAllStandardError();
    if (said.isEmpty())
        QVERIFY2(!err.contains("second copy"), err.constData());
    else
        QVERIFY2(err.contains(said), err.constData());
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
