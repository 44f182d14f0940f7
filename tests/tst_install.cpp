// The program as a Linux desktop installs it: `cmake --install` into a fresh
// prefix, the files it puts there, the desktop entry, the AppStream metainfo and
// the manual page checked by their own validators, the help manual's pages, and where an
// installed program keeps its files. Also which windowing platform it asks for.
#include "core/languages.h"
#include "platform/paths.h"
#include "platform/session.h"
#include "support/install.h"
#include "support/testsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {
const QString MakersSite = QStringLiteral("https://www.vorbexa.example/");
} // namespace

class tst_Install : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void installedFiles();
    void validators_data();
    void validators();
    void desktopEntry();
    void manualPages_data();
    void manualPages();
    void folders_data();
    void folders();
    void sessionPlatform_data();
    void sessionPlatform();

private:
    QString prefixPath(const QString &relative) const { return m_prefix.filePath(relative); }
    QTemporaryDir m_prefix;
};

void tst_Install::initTestCase()
{
    QCoreApplication::setApplicationName(QStringLiteral("Stiftolino"));
    QCoreApplication::setOrganizationName(QStringLiteral("Stiftolino"));
    QVERIFY(m_prefix.isValid());
    const QString error = installBuild(m_prefix.path());
    if (error.contains(QLatin1String("not set")))
        QSKIP(qPrintable(error));
    QVERIFY2(error.isEmpty(), qPrintable(error));
}

void tst_Install::installedFiles()
{
    QStringList found;
    QDirIterator it(m_prefix.path(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        found << QDir(m_prefix.path()).relativeFilePath(it.next());
    found.sort();
    QCOMPARE(found, installedFileList());

    QVERIFY(QFileInfo(prefixPath(QStringLiteral("bin/stiftolino"))).isExecutable());
    // Icons of the sizes their folders promise.
    for (int size : {16, 32, 48, 64, 128, 256})
        QCOMPARE(
            QImage(prefixPath(QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId))).size(),
            QSize(size, size));
}

void tst_Install::validators_data()
{
    addValidatorRows();
    // Every warning groff knows, and no output but them.
    QTest::newRow("manual page") << QStringLiteral("groff")
                                 << QStringList{QStringLiteral("-man"), QStringLiteral("-ww"), QStringLiteral("-z")}
                                 << QStringLiteral("share/man/man1/stiftolino.1");
}

void tst_Install::validators() { runValidator(m_prefix.path()); }

void tst_Install::desktopEntry()
{
    const QStringList lines =
        QString::fromUtf8(readFile(prefixPath(QStringLiteral("share/applications/%1.desktop").arg(AppId))))
            .split(u'\n');
    for (const char *entry : {"Exec=stiftolino", "Categories=Education;Art;Graphics;"})
        QVERIFY2(lines.contains(QLatin1String(entry)), entry);
    QVERIFY(lines.contains(QStringLiteral("Icon=") + AppId));
    // Keywords and texts in English and German.
    for (const char *key : {"Keywords=", "Keywords[de]=", "Comment=", "Comment[de]="}) {
        const auto line = std::find_if(lines.cbegin(), lines.cend(),
                                       [&](const QString &l) { return l.startsWith(QLatin1String(key)); });
        QVERIFY2(line != lines.cend() && line->size() > qsizetype(qstrlen(key)) + 3, key);
    }
    // The metainfo names the same entry and the release being installed.
    const QByteArray xml = readFile(prefixPath(QStringLiteral("share/metainfo/%1.metainfo.xml").arg(AppId)));
    QVERIFY(xml.contains("<launchable type=\"desktop-id\">" + AppId.toUtf8() + ".desktop</launchable>"));
    QVERIFY(xml.contains("<release version=\"1.1.344\""));
    QVERIFY(xml.contains("<content_rating type=\"oars-1.1\""));
    QVERIFY(xml.contains("<screenshot type=\"default\">"));
}

void tst_Install::manualPages_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("other");
    QTest::newRow("German") << QStringLiteral("de") << QStringLiteral("en");
    QTest::newRow("English") << QStringLiteral("en") << QStringLiteral("de");
}

void tst_Install::manualPages()
{
    QFETCH(QString, language);
    QFETCH(QString, other);
    const QString folder = prefixPath(QStringLiteral("share/stiftolino/help/"));
    const QString file = folder + QStringLiteral("Stiftolino.%1.html").arg(language);
    const QByteArray page = readFile(file);
    QVERIFY(page.startsWith("<!DOCTYPE html>"));
    QVERIFY2(!QRegularExpression(QStringLiteral("@[A-Z_]+@")).match(QString::fromUtf8(page)).hasMatch(),
             "a placeholder was left unfilled");

    // Written to parse as XML too, so that every element is checked closed.
    QXmlStreamReader xml(page);
    QStringList targets, images;
    QString lang;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QXmlStreamAttributes a = xml.attributes();
        if (xml.name() == QLatin1String("html"))
            lang = a.value(QLatin1String("lang")).toString();
        if (xml.name() == QLatin1String("img")) {
            QVERIFY2(!a.value(QLatin1String("alt")).isEmpty(), "a picture without a text");
            images << a.value(QLatin1String("src")).toString();
            for (const QString &candidate : a.value(QLatin1String("srcset")).toString().split(u','))
                targets << candidate.trimmed().section(u' ', 0, 0);
        }
        for (const char *name : {"href", "src"}) {
            if (a.hasAttribute(QLatin1String(name)))
                targets << a.value(QLatin1String(name)).toString();
        }
    }
    QVERIFY2(!xml.hasError(),
             qPrintable(xml.errorString() + QStringLiteral(" at line ") + QString::number(xml.lineNumber())));
    QCOMPARE(lang, language);

    bool linksOther = false;
    for (const QString &target : std::as_const(targets)) {
        if (target.startsWith(u'#'))
            continue;
        if (target.contains(QLatin1String("://"))) {
            QVERIFY2(target.startsWith(MakersSite), qPrintable(QStringLiteral("outside link: ") + target));
            continue;
        }
        QVERIFY2(QFile::exists(folder + target), qPrintable(QStringLiteral("missing: ") + target));
        linksOther |= target == QStringLiteral("Stiftolino.%1.html").arg(other);
    }
    QVERIFY(linksOther);
    // The child's part: the ten toolbar buttons, the lesson window's buttons, the pen window.
    const QStringList childsPart = manualPictures().first(19) << QStringLiteral("pen-window");
    for (const QString &name : childsPart)
        QVERIFY2(images.contains(QStringLiteral("images/%1.png").arg(name)), qPrintable(name));
    // Every picture has its sharper twin, of twice the size.
    for (const QString &image : std::as_const(images)) {
        const QImage one(folder + image);
        const QImage two(folder + QString(image).replace(QLatin1String(".png"), QLatin1String("@2x.png")));
        QVERIFY2(!one.isNull() && two.size() == one.size() * 2, qPrintable(image));
    }
    // The independent HTML checker, where it is installed.
    const QString tidy = QStandardPaths::findExecutable(QStringLiteral("tidy"));
    if (!tidy.isEmpty()) {
        const Run checked = runProgram(
            tidy, {QStringLiteral("-errors"), QStringLiteral("-quiet"), QStringLiteral("-utf8"), file}, 30000);
        QVERIFY2(checked.exitCode == 0, qPrintable(checked.output));
    }
}

void tst_Install::folders_data()
{
    QTest::addColumn<bool>("installed");
    QTest::addColumn<int>("offset"); // of the language whose manual is asked for
    QTest::addColumn<QString>("page");
    const QString en = QStringLiteral("Stiftolino.en.html");
    QTest::newRow("installed, German") << true << 0 << QStringLiteral("Stiftolino.de.html");
    QTest::newRow("installed, English") << true << 1000 << en;
    QTest::newRow("installed, Swedish falls back") << true << 2000 << en;
    QTest::newRow("installed, Norwegian falls back") << true << 5000 << en;
    QTest::newRow("installed, French falls back") << true << 6000 << en;
    QTest::newRow("installed, no such language") << true << 9000 << en;
    QTest::newRow("installed, not a language offset") << true << 1001 << en;
    // An unpacked folder without the German page names the English one.
    QTest::newRow("unpacked folder") << false << 0 << en;
}

void tst_Install::folders()
{
    QFETCH(bool, installed);
    QFETCH(int, offset);
    QFETCH(QString, page);
    QTemporaryDir unpacked;
    const QString program = installed ? prefixPath(QStringLiteral("bin")) : unpacked.path();
    Paths::setProgramFolder(program, QStringLiteral("stiftolino"));
    const bool isInstalled = Paths::isInstalled();
    const QString pictures = Paths::picturesFolder();
    const QString protocols = Paths::protocolFolder();
    const QString manual = Paths::manualFile(Allgemein::LanguageCode(offset));
    Paths::setProgramFolder(QString());

    QCOMPARE(isInstalled, installed);
    if (installed) {
        // Even though the prefix can be written (a temporary folder; or root's
        // /usr/local), nothing goes beside the program.
        QVERIFY(QFileInfo(program).isWritable());
        QCOMPARE(pictures,
                 QStandardPaths::writableLocation(QStandardPaths::PicturesLocation) + QStringLiteral("/Stiftolino"));
        QCOMPARE(protocols, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        QCOMPARE(manual, QDir::cleanPath(prefixPath(QStringLiteral("share/stiftolino/help/")) + u'/' + page));
        QVERIFY(QFileInfo(manual).isFile());
    } else {
        QCOMPARE(pictures, program + QStringLiteral("/pics"));
        QCOMPARE(protocols, program);
        QCOMPARE(manual, program + QStringLiteral("/help/") + page);
    }
}

void tst_Install::sessionPlatform_data()
{
    QTest::addColumn<Session::Environment>("env"); // QT_QPA_PLATFORM, XDG_SESSION_TYPE, WAYLAND_DISPLAY, DISPLAY
    QTest::addColumn<QByteArrayList>("arguments");
    QTest::addColumn<QByteArray>("platform");
    using Env = Session::Environment;
    QTest::newRow("X11 session") << Env{{}, "x11", {}, ":0"} << QByteArrayList() << QByteArray();
    QTest::newRow("Wayland session") << Env{{}, "wayland", "wayland-0", ":0"} << QByteArrayList() << QByteArray("xcb");
    QTest::newRow("Wayland display only") << Env{{}, {}, "wayland-1", ":1"} << QByteArrayList() << QByteArray("xcb");
    QTest::newRow("Wayland without XWayland")
        << Env{{}, "wayland", "wayland-0", {}} << QByteArrayList() << QByteArray();
    QTest::newRow("user chose by variable")
        << Env{"wayland", "wayland", "wayland-0", ":0"} << QByteArrayList() << QByteArray();
    QTest::newRow("user chose by argument")
        << Env{{}, "wayland", "wayland-0", ":0"} << QByteArrayList{"-platform", "wayland"} << QByteArray();
    QTest::newRow("other arguments") << Env{{}, "Wayland", {}, ":0"} << QByteArrayList{"-style", "fusion"}
                                     << QByteArray("xcb");
}

void tst_Install::sessionPlatform()
{
    QFETCH(Session::Environment, env);
    QFETCH(QByteArrayList, arguments);
    QFETCH(QByteArray, platform);
    QCOMPARE(Session::platformFor(env, arguments), platform);
}

QTEST_GUILESS_MAIN(tst_Install)
#include "tst_install.moc"
