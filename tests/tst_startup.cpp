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
};

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
    // A copy of the program; the first start is its own process, which ends
    // with the copy.
    ProgramCopy in;
    QVERIFY2(in.install(), "STIFTOLINO_BINARY must name the program");
    // Where it writes its language table. A stale, longer one from an earlier
    // run is written over.
    const QString table = in.runtime() + QStringLiteral("/stiftolino-%1/~tmp.lng").arg(::getuid());
    const auto stale = [&] { return writeFile(table, QByteArray(40000, 'x')); };
    const auto tableWritten = [&] { return waitFor([&] { return readFile(table).startsWith("[lang]"); }); };
    QDir().mkpath(QFileInfo(table).path());
    QFile::setPermissions(QFileInfo(table).path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QVERIFY(stale());
    if (before == u"folder") {
        QVERIFY(QDir().mkpath(in.home() + QStringLiteral("/.config/Stiftolino/stiftolino.lock")));
    } else {
        QVERIFY(in.launch(in.environment()));
        QVERIFY(tableWritten());
        if (before == u"killed") {
            in.app.kill(); // SIGKILL: no chance to clean up
            in.app.waitForFinished();
            QVERIFY(stale());
        }
    }
    QProcessEnvironment env = in.environment();
    if (!runtimeDir)
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    QProcess second;
    second.setProcessEnvironment(env);
    second.start(in.binary, {});
    QVERIFY(second.waitForStarted());
    if (before == u"running") {
        QVERIFY(second.waitForFinished(10000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QCOMPARE(in.app.state(), QProcess::Running);
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
