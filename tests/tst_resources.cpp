// Resource files and the private temporary folder.

#include "core/resources.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace ModResFiles;

class tst_Resources : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_env.emplace(); }
    void cleanup() { m_env.reset(); }
    void trimNull_data();
    void trimNull();
    void writtenOverAnOlderFile();
    void missingResource();
    void failedWrite_data();
    void failedWrite();
    void tempDirIsPrivate();
    void tempDirRefusesAPlantedLink();
    void stringsAndBitmaps();

private:
    std::optional<CoreEnvironment> m_env;
};

void tst_Resources::trimNull_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");
    const QString nul(QChar(0));
    QTest::newRow("no NUL") << u"abc"_qs << u"abc"_qs;
    QTest::newRow("leading NUL") << nul + u"abc"_qs << u""_qs;
    QTest::newRow("NUL inside") << u"ab"_qs + nul + u"cd"_qs << u"ab"_qs;
    QTest::newRow("empty") << u""_qs << u""_qs;
}

void tst_Resources::trimNull()
{
    QFETCH(QString, text);
    QFETCH(QString, result);
    QCOMPARE(Allgemein::TrimNull(text), result);
}

// Written again, the file is the same; written over a longer file, the older
// file's tail stays behind the data.
void tst_Resources::writtenOverAnOlderFile()
{
    const QString path = m_env->folder.filePath(QStringLiteral("~tmp.lng"));
    const QByteArray data = LoadResData(1000, QStringLiteral("CUSTOM"));
    QVERIFY(data.endsWith('\0'));
    for (int i = 0; i < 2; ++i) {
        QCOMPARE(SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), path), 0);
        QCOMPARE(readFile(path), data);
    }
    const QByteArray old = QByteArray(data.size(), 'A') + "TAIL-OF-OLD-FILE";
    QVERIFY(writeFile(path, old));
    QCOMPARE(SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), path), 0);
    QCOMPARE(readFile(path), data + "TAIL-OF-OLD-FILE");
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Resources::missingResource()
{
    m_env->reporter.answers = {2};
    const QString path = m_env->folder.filePath(QStringLiteral("x.bin"));
    QCOMPARE(SaveResItemToDisk(999, QStringLiteral("CUSTOM"), path), 0);
    QCOMPARE(m_env->reporter.said(), QStringList{"ModResFiles.SaveResItemToDisk 20: 326"});
    QVERIFY(!QFile::exists(path));
}

void tst_Resources::failedWrite_data()
{
    QTest::addColumn<QString>("path");       // relative to the test folder, or absolute
    QTest::addColumn<QList<int>>("answers"); // then Cancel
    QTest::addColumn<QList<int>>("lines");
    QTest::addColumn<QList<int>>("numbers");
    // Ignore goes on with the next statement: the failed open leads to a failed
    // write and close, each reported in turn.
    QTest::newRow("missing folder: ignore")
        << "no/such/folder/x.lng" << QList<int>{1, 1, 1} << QList<int>{40, 50, 60} << QList<int>{76, 52, 52};
    QTest::newRow("missing folder: retry, cancel")
        << "no/such/folder/x.lng" << QList<int>{0} << QList<int>{40, 40} << QList<int>{76, 76};
    // A link in the file's place is never written through.
    QTest::newRow("a link: ignore") << "link" << QList<int>{1, 1, 1} << QList<int>{40, 50, 60}
                                    << QList<int>{75, 52, 52};
    QTest::newRow("name too long: cancel") << QString(300, u'n') << QList<int>{} << QList<int>{40} << QList<int>{52};
    // A device that is always full: the open works, the write fails.
    QTest::newRow("disk full: cancel") << "/dev/full" << QList<int>{} << QList<int>{50} << QList<int>{61};
    QTest::newRow("disk full: retry, cancel")
        << "/dev/full" << QList<int>{0} << QList<int>{50, 50} << QList<int>{61, 61};
    QTest::newRow("disk full: ignore closes") << "/dev/full" << QList<int>{1} << QList<int>{50} << QList<int>{61};
}

void tst_Resources::failedWrite()
{
    QFETCH(QString, path);
    QFETCH(QList<int>, answers);
    QFETCH(QList<int>, lines);
    QFETCH(QList<int>, numbers);
    if (path.startsWith(u'/') && !QFileInfo::exists(path))
        QSKIP("no such device here");
    m_env->reporter.answers = answers;
    const QString victim = m_env->folder.filePath(QStringLiteral("victim.txt"));
    QVERIFY(writeFile(victim, "precious"));
    if (path == u"link")
        QVERIFY(QFile::link(victim, m_env->folder.filePath(path)));
    const auto openFiles = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const uint before = openFiles();
    QCOMPARE(
        SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), path.startsWith(u'/') ? path : m_env->folder.filePath(path)),
        0);
    QList<int> gotLines, gotNumbers;
    for (const auto &r : m_env->reporter.reports) {
        gotLines << r.error.line;
        gotNumbers << r.error.number;
    }
    QCOMPARE(gotLines, lines);
    QCOMPARE(gotNumbers, numbers);
    // Whatever was chosen, no file stays open, and the next write works.
    QCOMPARE(openFiles(), before);
    QCOMPARE(readFile(victim), QByteArray("precious"));
    m_env->reporter.reports.clear();
    const QString good = m_env->folder.filePath(QStringLiteral("~tmp.lng"));
    QCOMPARE(SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), good), 0);
    QCOMPARE(readFile(good), LoadResData(1000, QStringLiteral("CUSTOM")));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Resources::tempDirIsPrivate()
{
    const QString dir = Allgemein::GetTempDir();
    QVERIFY(dir.endsWith(u'/'));
    QVERIFY(dir != QDir::tempPath() + u'/');
    struct stat st = {};
    QCOMPARE(::lstat(QFile::encodeName(dir).constData(), &st), 0);
    QVERIFY(S_ISDIR(st.st_mode));
    QCOMPARE(st.st_mode & 0777, mode_t(0700));
    QCOMPARE(st.st_uid, ::getuid());
}

void tst_Resources::tempDirRefusesAPlantedLink()
{
    const QByteArray oldRuntime = qgetenv("XDG_RUNTIME_DIR");
    QTemporaryDir runtime;
    QVERIFY(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    QTemporaryDir elsewhere;
    QVERIFY(QFile::link(elsewhere.path(), runtime.filePath(QStringLiteral("stiftolino-%1").arg(::getuid()))));
    m_env->reporter.answers = {2};
    QCOMPARE(Allgemein::GetTempDir(), QString());
    qputenv("XDG_RUNTIME_DIR", oldRuntime);
    QCOMPARE(m_env->reporter.said(), QStringList{"Allgemein.GetTempDir 10: 76"});
}

void tst_Resources::stringsAndBitmaps()
{
    QCOMPARE(LoadResString(102), QStringLiteral("I"));
    bool ok = false;
    QVERIFY(LoadResString(100).toInt(&ok) > 0 && ok);
    QVERIFY(HasResource(1000, QStringLiteral("custom")));
    QVERIFY(!HasResource(1001, QStringLiteral("CUSTOM")));
}

QTEST_GUILESS_MAIN(tst_Resources)
#include "tst_resources.moc"
