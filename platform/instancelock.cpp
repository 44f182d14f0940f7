#include "platform/instancelock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace InstanceLock {

namespace {
std::function<int(int)> g_lockCall;

int lock(int fd) { return g_lockCall ? g_lockCall(fd) : ::flock(fd, LOCK_EX | LOCK_NB); }
} // namespace

QString path()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
           + QStringLiteral("/Stiftolino/stiftolino.lock");
}

Result acquire(const QString &file)
{
    const auto unavailable = [&](const QString &what) {
        return Result{Outcome::Unavailable, file + QStringLiteral(" ") + what};
    };
    if (!QDir().mkpath(QFileInfo(file).path()))
        return unavailable(QStringLiteral("cannot be made: its folder cannot be made"));
    const int fd = ::open(QFile::encodeName(file).constData(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0)
        return unavailable(QStringLiteral("cannot be made or opened: ") + qt_error_string(errno));
    if (lock(fd) != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EWOULDBLOCK)
            return Result{Outcome::RunningCopy, QString()};
        return unavailable(QStringLiteral("cannot be locked: ") + qt_error_string(err));
    }
    // The file stays open, and locked, as long as the process runs.
    return Result{Outcome::Held, QString()};
}

void setLockCall(std::function<int(int fd)> call) { g_lockCall = std::move(call); }

} // namespace InstanceLock
