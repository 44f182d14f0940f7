#include "platform/rawfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
RawFile::Status fromErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR: return RawFile::Status::NotFound;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return RawFile::Status::DiskFull;
    case ELOOP: return RawFile::Status::Link;
    case ENAMETOOLONG: return RawFile::Status::NameTooLong;
    default: return RawFile::Status::Access;
    }
}

// Qt reports a failed step without its cause; errno still holds it. A step
// that failed without a system error (Qt refusing a file it may not write)
// is an access error.
RawFile::Status failedStep(int err)
{
    return err == 0 ? RawFile::Status::Access : fromErrno(err);
}
} // namespace

RawFile::~RawFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

RawFile::Status RawFile::openWith(const QString &path, int flags, unsigned mode)
{
    if (m_fd >= 0)
        close();
    m_fd = ::open(QFile::encodeName(path).constData(), flags | O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC,
                  mode_t(mode));
    return m_fd < 0 ? fromErrno(errno) : Status::Ok;
}

RawFile::Status RawFile::openForWriting(const QString &path)
{
    return openWith(path, 0, 0600);
}

RawFile::Status RawFile::openForAppending(const QString &path)
{
    return openWith(path, O_APPEND, 0644);
}

RawFile::Status RawFile::writeFromStart(const QByteArray &bytes)
{
    return writeAll(bytes, true);
}

RawFile::Status RawFile::append(const QByteArray &bytes)
{
    return writeAll(bytes, false);
}

RawFile::Status RawFile::writeAll(const QByteArray &bytes, bool fromStart)
{
    if (m_fd < 0)
        return Status::NotOpen;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const char *data = bytes.constData() + done;
        const size_t left = size_t(bytes.size() - done);
        const ssize_t n = fromStart ? ::pwrite(m_fd, data, left, off_t(done)) : ::write(m_fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return fromErrno(errno);
        }
        done += n;
    }
    return Status::Ok;
}

RawFile::Status RawFile::close()
{
    if (m_fd < 0)
        return Status::NotOpen;
    const int rc = ::close(m_fd);
    m_fd = -1;
    return rc != 0 ? fromErrno(errno) : Status::Ok;
}

RawFile::Status RawFile::replaceWhole(const QString &path, const QByteArray &bytes)
{
    if (!QFileInfo(path).absoluteDir().exists())
        return Status::NotFound;
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return failedStep(errno);
    errno = 0;
    if (file.write(bytes) != bytes.size()) {
        const int err = errno;
        file.cancelWriting();
        return failedStep(err);
    }
    errno = 0;
    if (!file.commit())
        return failedStep(errno);
    return Status::Ok;
}
