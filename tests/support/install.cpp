#include "support/install.h"

#include "support/programcopy.h"
#include "support/testsupport.h"
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

Run runProgram(const QString &program, const QStringList &arguments, int timeoutMs, const QProcessEnvironment &env)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.setProcessEnvironment(env);
    p.start(program, arguments);
    const Ended ended = waitForEnd(p, timeoutMs);
    const QString output = QString::fromLocal8Bit(ended.out);
    if (!ended.finished)
        return {-1, QStringLiteral("%1 did not finish: ").arg(program) + output};
    return {ended.status == QProcess::NormalExit ? ended.exitCode : -1, output};
}

QStringList manualPictures()
{
    QStringList names;
    for (int i = 0; i < 10; ++i)
        names << QStringLiteral("toolbar-%1").arg(i);
    for (int i = 0; i < 9; ++i)
        names << QStringLiteral("lesson-button-%1").arg(i);
    names << QStringLiteral("toolbar-6-off") << QStringLiteral("lesson-window") << QStringLiteral("lesson-templates")
          << QStringLiteral("lesson-files") << QStringLiteral("pen-window") << QStringLiteral("program-de")
          << QStringLiteral("program-en");
    return names;
}

QStringList installedFileList()
{
    QStringList files{
        QStringLiteral("bin/stiftolino"),
        QStringLiteral("share/applications/%1.desktop").arg(AppId),
        QStringLiteral("share/metainfo/%1.metainfo.xml").arg(AppId),
        QStringLiteral("share/icons/hicolor/scalable/apps/%1.svg").arg(AppId),
        QStringLiteral("share/stiftolino/help/Stiftolino.de.html"),
        QStringLiteral("share/stiftolino/help/Stiftolino.en.html"),
        QStringLiteral("share/stiftolino/help/manual.css"),
        QStringLiteral("share/man/man1/stiftolino.1"),
    };
    for (int size : {16, 32, 48, 64, 128, 256})
        files << QStringLiteral("share/icons/hicolor/%1x%1/apps/%2.png").arg(size).arg(AppId);
    for (const QString &name : manualPictures()) {
        files << QStringLiteral("share/stiftolino/help/images/%1.png").arg(name)
              << QStringLiteral("share/stiftolino/help/images/%1@2x.png").arg(name);
    }
    files.sort();
    return files;
}

QString installBuild(const QString &prefix)
{
    const QString build = qEnvironmentVariable("STIFTOLINO_BUILD_DIR");
    const QString cmake = qEnvironmentVariable("STIFTOLINO_CMAKE");
    if (build.isEmpty() || cmake.isEmpty())
        return QStringLiteral("STIFTOLINO_BUILD_DIR or STIFTOLINO_CMAKE is not set (run through ctest)");
    const Run install = runProgram(cmake, {QStringLiteral("--install"), build, QStringLiteral("--prefix"), prefix});
    return install.exitCode == 0 ? QString() : QStringLiteral("cmake --install failed: ") + install.output;
}

void addValidatorRows()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::newRow("desktop entry") << QStringLiteral("desktop-file-validate") << QStringList()
                                   << QStringLiteral("share/applications/%1.desktop").arg(AppId);
    QTest::newRow("metainfo") << QStringLiteral("appstreamcli")
                              << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                                             QStringLiteral("--no-color")}
                              << QStringLiteral("share/metainfo/%1.metainfo.xml").arg(AppId);
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
    const Run validated = runProgram(program, arguments << QDir(prefix).filePath(file), 60000);
    const QString &out = validated.output;
    QVERIFY2(validated.exitCode == 0, qPrintable(out));
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
