#include "support/programcopy.h"

#include "support/mainparts.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
QProcessEnvironment withFolders(QProcessEnvironment env, const ProgramCopy &copy)
{
    env.insert(QStringLiteral("HOME"), copy.home());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), copy.home() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), copy.home() + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), copy.runtime());
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent"));
    // A first start speaks the desktop's language: a desktop without one of the
    // seven, whatever this machine speaks, so that it starts in German.
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    return env;
}
} // namespace

ProgramCopy::~ProgramCopy()
{
    if (app.state() != QProcess::NotRunning) {
        app.kill();
        app.waitForFinished();
    }
}

bool ProgramCopy::makeFolders() const
{
    return QDir().mkpath(home() + QStringLiteral("/.config")) && QDir().mkpath(runtime())
           && QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool ProgramCopy::install()
{
    binary = dir.filePath(QStringLiteral("stiftolino"));
    return makeFolders() && QFile::copy(QString::fromLocal8Bit(qgetenv("STIFTOLINO_BINARY")), binary);
}

QProcessEnvironment ProgramCopy::environment() const
{
    return withFolders(QProcessEnvironment::systemEnvironment(), *this);
}

QProcessEnvironment ProgramCopy::environmentOn(const XServer &x) const { return withFolders(x.environment(), *this); }

bool ProgramCopy::writeSettings(const QByteArray &ini) const
{
    const QString folder = home() + QStringLiteral("/.config/Stiftolino");
    QFile file(folder + QStringLiteral("/Stiftolino.ini"));
    return QDir().mkpath(folder) && file.open(QIODevice::WriteOnly) && file.write(ini) == ini.size();
}

bool ProgramCopy::launch(const QProcessEnvironment &env, const QString &program)
{
    app.setProcessEnvironment(env);
    app.start(program.isEmpty() ? binary : program, {});
    return app.waitForStarted();
}

void quitProgram(const XServer &x, const QString &mainWindow, QProcess &app)
{
    const QRect mg = x.geometry(mainWindow);
    const int windowsBefore = int(x.windows(QStringLiteral(".")).size());
    x.click(mg.topLeft() + MainParts::button(9).center());
    // The quit question is one more window; Return answers it with its default.
    QVERIFY(waitFor([&] { return x.windows(QStringLiteral(".")).size() > windowsBefore; }));
    x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    QVERIFY2(app.waitForFinished(10000), "the program did not end after Quit and Yes");
    QCOMPARE(app.exitCode(), 0);
}
