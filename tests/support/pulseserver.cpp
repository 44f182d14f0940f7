#include "support/pulseserver.h"

#include "support/testsupport.h"
#include "support/waitfor.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QProcessEnvironment>
#include <QStandardPaths>

#include <signal.h>

PulseServer::~PulseServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.terminate();
        if (!m_process.waitForFinished(3000)) {
            m_process.kill();
            m_process.waitForFinished(1000);
        }
    }
}

void PulseServer::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished(3000);
    QFile::remove(socketPath());
}

QString PulseServer::start()
{
    if (!m_dir.isValid())
        return QStringLiteral("no temporary folder");
    const QString program = QStandardPaths::findExecutable(QStringLiteral("pulseaudio"));
    if (program.isEmpty())
        return QStringLiteral("pulseaudio is not installed");
    QDir(m_dir.path()).mkpath(QStringLiteral("home"));
    QDir(m_dir.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(m_dir.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    // Without rewinds the sink's monitor holds exactly what was mixed; with them
    // it can miss the start of a sound that arrives while the sink runs ahead.
    const QString script = m_dir.filePath(QStringLiteral("server.pa"));
    if (!writeFile(script, QStringLiteral("load-module module-null-sink sink_name=%1 norewinds=1\n"
                                          "load-module module-native-protocol-unix socket=%2 auth-anonymous=1\n"
                                          "set-default-sink %1\n")
                               .arg(sinkName(), socketPath())
                               .toUtf8()))
        return QStringLiteral("cannot write the server script");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("home")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("PULSE_RUNTIME_PATH"), m_dir.filePath(QStringLiteral("run")));
    env.remove(QStringLiteral("PULSE_SERVER"));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));
    m_process.setProcessEnvironment(env);
    // As root PulseAudio only warns that it is meant for a user session; -n and
    // -F keep it from reading the machine's own configuration.
    m_process.start(program, {QStringLiteral("-n"), QStringLiteral("-F"), script, QStringLiteral("--daemonize=no"),
                              QStringLiteral("--exit-idle-time=-1"), QStringLiteral("--use-pid-file=no"),
                              m_sharedMemory ? QStringLiteral("--disable-shm=no") : QStringLiteral("--disable-shm=yes"),
                              QStringLiteral("--log-target=stderr"), QStringLiteral("--log-level=error")});
    if (!m_process.waitForStarted(3000))
        return QStringLiteral("pulseaudio did not start: %1").arg(m_process.errorString());
    bool listening = false;
    waitFor(
        [&] {
            if (m_process.state() == QProcess::NotRunning)
                return true;
            QLocalSocket probe;
            probe.connectToServer(socketPath());
            listening = probe.waitForConnected(200);
            return listening;
        },
        8000);
    if (listening)
        return QString();
    if (m_process.state() == QProcess::NotRunning)
        return QStringLiteral("pulseaudio ended at once: %1")
            .arg(QString::fromLocal8Bit(m_process.readAllStandardError()).trimmed());
    return QStringLiteral("pulseaudio did not open its socket in time");
}
