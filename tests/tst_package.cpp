// The Debian package as `./dev.sh package` builds it: it builds, lintian finds
// nothing it does not explain, it holds what `cmake --install` installs (under
// /usr) and the Debian documents, it names the packages that carry what the
// program loads at run time, and the program unpacked from it runs as an
// installed program.
#include "support/install.h"

#include <QFileInfo>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {
// The packages a Depends or Recommends field names, without versions or alternatives' bars.
QSet<QString> packagesIn(const QString &field)
{
    QSet<QString> names;
    for (const QString &entry : field.split(QRegularExpression(QStringLiteral("[,|]")), Qt::SkipEmptyParts))
        names << entry.trimmed().section(u' ', 0, 0).section(u':', 0, 0);
    return names;
}
} // namespace

class tst_Package : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void lintian();
    void fields();
    void runTimeFiles_data();
    void runTimeFiles();
    void contents();
    void validators_data();
    void validators();
    void installedProgram();

private:
    QString field(const QString &name) const;
    QString m_deb;
    QTemporaryDir m_root;
};

void tst_Package::initTestCase()
{
    for (const char *tool : {"dpkg-buildpackage", "dh", "lintian", "dpkg-deb"}) {
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QSKIP(qPrintable(QStringLiteral("%1 is not installed (Debian packages dpkg-dev, debhelper, lintian)")
                                 .arg(QLatin1String(tool))));
    }
    const QString source = qEnvironmentVariable("STIFTOLINO_SOURCE_DIR");
    const QString build = qEnvironmentVariable("STIFTOLINO_BUILD_DIR");
    const QString version = qEnvironmentVariable("STIFTOLINO_VERSION");
    if (source.isEmpty() || build.isEmpty() || version.isEmpty())
        QSKIP("STIFTOLINO_SOURCE_DIR, STIFTOLINO_BUILD_DIR or STIFTOLINO_VERSION is not set (run through ctest)");
    QVERIFY(m_root.isValid());

    // The same work folder each time, so that ccache finds the last build's work.
    // The fast tests have run on this build already: the package build leaves
    // them out (nocheck), which halves its time and changes none of its files.
    const QString work = build + QStringLiteral("/package");
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DEB_BUILD_OPTIONS"),
               (env.value(QStringLiteral("DEB_BUILD_OPTIONS")) + QStringLiteral(" nocheck")).trimmed());
    const Run built = runProgram(QStringLiteral("bash"),
                                 {source + QStringLiteral("/dev.sh"), QStringLiteral("package"),
                                  work + QStringLiteral("/dist"), work + QStringLiteral("/work")},
                                 -1, env);
    QVERIFY2(built.exitCode == 0, qPrintable(QStringLiteral("./dev.sh package failed:\n") + built.output.right(6000)));

    const QString arch = runProgram(QStringLiteral("dpkg"), {QStringLiteral("--print-architecture")}).output.trimmed();
    m_deb = work + QStringLiteral("/dist/stiftolino_%1_%2.deb").arg(version, arch);
    QVERIFY2(QFile::exists(m_deb), qPrintable(QStringLiteral("no package at ") + m_deb
                                              + QStringLiteral(" (is debian/changelog at the program's version?)")));
    const Run unpacked = runProgram(QStringLiteral("dpkg"), {QStringLiteral("-x"), m_deb, m_root.path()});
    QVERIFY2(unpacked.exitCode == 0, qPrintable(unpacked.output));
}

QString tst_Package::field(const QString &name) const
{
    return runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--field"), m_deb, name}).output.trimmed();
}

void tst_Package::lintian()
{
    // Every tag, down to the pedantic ones: each is fixed or carries an override
    // with its reason in debian/stiftolino.lintian-overrides.
    const Run lint = runProgram(
        QStringLiteral("lintian"),
        {QStringLiteral("--info"), QStringLiteral("--display-info"), QStringLiteral("--pedantic"), m_deb}, 600000);
    QVERIFY2(lint.exitCode == 0, qPrintable(lint.output));
    const QRegularExpression tag(QStringLiteral("^[EWIPXC]: "), QRegularExpression::MultilineOption);
    QVERIFY2(!tag.match(lint.output).hasMatch(), qPrintable(lint.output));
}

void tst_Package::fields()
{
    QCOMPARE(field(QStringLiteral("Package")), QStringLiteral("stiftolino"));
    QCOMPARE(field(QStringLiteral("Version")), qEnvironmentVariable("STIFTOLINO_VERSION"));
    QCOMPARE(field(QStringLiteral("Section")), QStringLiteral("education"));
    const QSet<QString> depends = packagesIn(field(QStringLiteral("Depends")));
    // What the linked libraries show, and the fonts the windows ask for by name.
    for (const char *package : {"libqt6widgets6", "libqt6multimedia6", "libsndfile1", "fonts-dejavu-core"})
        QVERIFY2(depends.contains(QLatin1String(package)), package);
}

void tst_Package::runTimeFiles_data()
{
    // What the program loads by name at run time, and the field that must name
    // the package that carries it on this system.
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("fieldName");
    const QString plugins = QLibraryInfo::path(QLibraryInfo::PluginsPath);
    QTest::newRow("X11 platform") << plugins + QStringLiteral("/platforms/libqxcb.so") << QStringLiteral("Depends");
    QTest::newRow("CUPS printing") << plugins + QStringLiteral("/printsupport/libcupsprintersupport.so")
                                   << QStringLiteral("Depends");
    QTest::newRow("X11 pointer themes") << QLibraryInfo::path(QLibraryInfo::LibrariesPath)
                                               + QStringLiteral("/libXcursor.so.1")
                                        << QStringLiteral("Recommends");
    QTest::newRow("Qt's German texts") << QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                                              + QStringLiteral("/qtbase_de.qm")
                                       << QStringLiteral("Recommends");
}

void tst_Package::runTimeFiles()
{
    QFETCH(QString, file);
    QFETCH(QString, fieldName);
    if (!QFileInfo::exists(file))
        QSKIP(qPrintable(file + QStringLiteral(" is not on this system")));
    const Run owner =
        runProgram(QStringLiteral("dpkg-query"), {QStringLiteral("--search"), QFileInfo(file).canonicalFilePath()});
    QVERIFY2(owner.exitCode == 0, qPrintable(QStringLiteral("no installed package carries ") + file));
    // "libqt6gui6:amd64: /usr/lib/..."
    const QSet<QString> named = packagesIn(field(fieldName)) + packagesIn(field(QStringLiteral("Depends")));
    const QStringList carriers = owner.output.section(QStringLiteral(": "), 0, 0).split(QStringLiteral(", "));
    bool found = false;
    for (const QString &carrier : carriers)
        found |= named.contains(carrier.trimmed().section(u':', 0, 0));
    QVERIFY2(found, qPrintable(QStringLiteral("%1 comes with %2, which %3 does not name")
                                   .arg(file, carriers.join(QStringLiteral(", ")), fieldName)));
}

void tst_Package::contents()
{
    // What `cmake --install` puts under a prefix (the install test holds it to
    // this list), as the package must hold it under /usr, the manual page
    // compressed; and the documents every Debian package carries, and the reasons
    // for lintian.
    QStringList expected;
    for (const QString &file : installedFileList())
        expected << QStringLiteral("/usr/") + file
                        + (file.startsWith(QLatin1String("share/man/")) ? QStringLiteral(".gz") : QString());
    expected << QStringLiteral("/usr/share/doc/stiftolino/copyright")
             << QStringLiteral("/usr/share/doc/stiftolino/changelog.gz")
             << QStringLiteral("/usr/share/lintian/overrides/stiftolino");
    expected.sort();

    // "-rwxr-xr-x root/root 123 2026-12-07 20:00 ./usr/bin/stiftolino"
    const Run listing = runProgram(QStringLiteral("dpkg-deb"), {QStringLiteral("--contents"), m_deb});
    QCOMPARE(listing.exitCode, 0);
    QStringList found;
    for (const QString &line : listing.output.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList parts = line.split(u' ', Qt::SkipEmptyParts);
        QVERIFY2(parts.size() >= 6, qPrintable(line));
        QCOMPARE(parts.at(1), QStringLiteral("root/root"));
        const QString mode = parts.at(0);
        const QString path = parts.at(5).mid(1);
        if (mode.startsWith(u'd'))
            continue;
        // Plain files only, in these modes.
        const QString wanted =
            path == QLatin1String("/usr/bin/stiftolino") ? QStringLiteral("-rwxr-xr-x") : QStringLiteral("-rw-r--r--");
        QVERIFY2(mode == wanted, qPrintable(line));
        found << path;
    }
    found.sort();
    QCOMPARE(found, expected);
}

void tst_Package::validators_data() { addValidatorRows(); }

void tst_Package::validators() { runValidator(m_root.filePath(QStringLiteral("usr"))); }

void tst_Package::installedProgram() { checkInstalledProgram(m_root.filePath(QStringLiteral("usr"))); }

QTEST_GUILESS_MAIN(tst_Package)
#include "tst_package.moc"
