#include "support/programcopy.h"

#include <QDir>
#include <QFile>

bool ProgramCopy::install()
{
    binary = dir.filePath(QStringLiteral("stiftolino"));
    QDir().mkpath(home() + QStringLiteral("/.config"));
    QDir().mkpath(runtime());
    QFile::setPermissions(runtime(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return QFile::copy(QString::fromLocal8Bit(qgetenv("STIFTOLINO_BINARY")), binary);
}

QProcessEnvironment ProgramCopy::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home() + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home() + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
    env.insert(QStringLiteral("PULSE_SERVER"), QStringLiteral("unix:/nonexistent"));
    return env;
}
