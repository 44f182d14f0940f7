#include "support/programcopy.h"

#include "support/mainparts.h"
#include "support/testsupport.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QDir>
#include <QFile>
#include <QTest>

namespace {
QProcessEnvironment withFolders(QProcessEnvironment env, const ProgramCopy &copy)
{
    env.insert(u"HOME"_qs, copy.home());
    env.insert(u"XDG_CONFIG_HOME"_qs, copy.home() + u"/.config"_qs);
    env.insert(u"XDG_DATA_HOME"_qs, copy.home() + u"/.local/share"_qs);
    env.insert(u"XDG_RUNTIME_DIR"_qs, copy.runtime());
    env.insert(u"PULSE_SERVER"_qs, u"unix:/nonexistent"_qs);
    // A first start speaks the desktop's language: a desktop without one of the
    // seven, whatever this machine speaks, so that it starts in German.
    for (const char *name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        env.remove(QString::fromLatin1(name));
    env.insert(u"LANG"_qs, u"C.UTF-8"_qs);
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
    return QDir().mkpath(home() + u"/.config"_qs) && QDir().mkpath(runtime())
           && QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool ProgramCopy::install()
{
    binary = dir.filePath(u"stiftolino"_qs);
    return makeFolders() && QFile::copy(QString::fromLocal8Bit(qgetenv("STIFTOLINO_BINARY")), binary);
}

QProcessEnvironment ProgramCopy::environment() const
{
    return withFolders(QProcessEnvironment::systemEnvironment(), *this);
}

QProcessEnvironment ProgramCopy::environmentOn(const XServer &x) const { return withFolders(x.environment(), *this); }

bool ProgramCopy::writeSettings(const QByteArray &ini) const
{
    const QString folder = home() + u"/.config/Stiftolino"_qs;
    return QDir().mkpath(folder) && writeFile(folder + u"/Stiftolino.ini"_qs, ini);
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
    const int windowsBefore = int(x.windows(u"."_qs).size());
    x.click(mg.topLeft() + MainParts::button(9).center());
    // The quit question is one more window; Return answers it with its default.
    QVERIFY(waitFor([&] { return x.windows(u"."_qs).size() > windowsBefore; }));
    x.xdotool({u"key"_qs, u"Return"_qs});
    QVERIFY2(app.waitForFinished(10000), "the program did not end after Quit and Yes");
    QCOMPARE(app.exitCode(), 0);
}
