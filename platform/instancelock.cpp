#include "platform/instancelock.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace InstanceLock {

QString path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Stiftolino/stiftolino.lock");
}

bool acquire()
{
    static int fd = -1;
    if (fd >= 0)
        return true;
    const QString file = path();
    if (!QDir().mkpath(QFileInfo(file).path()))
        return true;
    const int f = ::open(QFile::encodeName(file).constData(),
                         O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (f < 0)
        return true;
    if (::flock(f, LOCK_EX | LOCK_NB) != 0) {
        ::close(f);
        return false;
    }
    fd = f;
    return true;
}

} // namespace InstanceLock
