#include "support/install.h"

#include "support/programcopy.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

QString installBuild(const QString &prefix)
{
    const QString build = qEnvironmentVariable("STIFTOLINO_BUILD_DIR");
    const QString cmake = qEnvironmentVariable("STIFTOLINO_CMAKE");
    if (build.isEmpty() || cmake.isEmpty())
        return QStringLiteral("STIFTOLINO_BUILD_DIR or STIFTOLINO_CMAKE is not set (run through ctest)");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(cmake, {QStringLiteral("--install"), build, QStringLiteral("--prefix"), prefix});
    if (!p.waitForFinished(120000))
        return QStringLiteral("cmake --install did not finish");
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("cmake --install failed: ") + QString::fromLocal8Bit(p.readAll());
    return QString();
}

void addValidatorRows()
{
    const QString appId = QStringLiteral("example.vorbexa.Stiftolino");
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop entry") << QStringLiteral("desktop-file-validate") << QStringList()
                                   << QStringLiteral("share/applications/%1.desktop").arg(appId);
    QTest::newRow("metainfo") << QStringLiteral("appstreamcli")
                              << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                                             QStringLiteral("--no-color")}
                              << QStringLiteral("share/metainfo/%1.metainfo.xml").arg(appId);
}

void runValidator(const QString &prefix)
{
    QFETCH(QString, tool);
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty())
        QSKIP(qPrintable(
            tool + QStringLiteral(" is not installed (Debian packages desktop-file-utils, appstream, groff-base)")));
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments << QDir(prefix).filePath(file));
    QVERIFY(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAll());
    QVERIFY2(p.exitCode() == 0, qPrintable(out));
    // No error and no warning. Left are two remarks that the required names bring
    // with them: Education and Graphics are both main menu categories, and the
    // top-level name "example" is not one appstreamcli knows.
    const QRegularExpression complaint(QStringLiteral("^(W|E): |warning|error"),
                                       QRegularExpression::MultilineOption | QRegularExpression::CaseInsensitiveOption);
    QVERIFY2(!complaint.match(out).hasMatch(), qPrintable(out));
    QStringList remarks = out.split(u'\n', Qt::SkipEmptyParts);
    remarks.removeIf([](const QString &line) {
        return line.contains(QLatin1String("contains more than one main category"))
               || line.contains(QLatin1String("cid-maybe-not-rdns"))
               || line.contains(QLatin1String("Validation was successful"));
    });
    QVERIFY2(remarks.isEmpty(), qPrintable(remarks.join(u'\n')));
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
        files << QStringLiteral("%1 %2 %3")
                     .arg(QDir(folder).relativeFilePath(f.filePath()))
                     .arg(f.size())
                     .arg(f.lastModified().toMSecsSinceEpoch());
    }
    files.sort();
    return files;
}
} // namespace

void checkInstalledProgram(const QString &prefix)
{
    const QStringList installed = snapshot(prefix);
    XServer x;
    START_DESKTOP_OR_SKIP(x, QString());
    ProgramCopy in;
    QVERIFY(in.makeFolders());
    QVERIFY(in.launch(in.environmentOn(x), prefix + QStringLiteral("/bin/stiftolino")));
    QProcess &app = in.app;
    QVERIFY2(!x.waitForWindow(QStringLiteral("^Stiftolino lessons$")).isEmpty(),
             qPrintable(QStringLiteral("no lesson window; the program %1: %2")
                            .arg(app.state() == QProcess::Running ? QStringLiteral("runs") : QStringLiteral("ended"),
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
    quitProgram(x, main, app);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(QFile::exists(in.home() + QStringLiteral("/.config/Stiftolino/Stiftolino.ini")));

    // Nothing new or changed under the prefix.
    QCOMPARE(snapshot(prefix), installed);
}
