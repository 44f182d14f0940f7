#include "platform/rawfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
RawFile::Status fromErrno(int err)
{
    switch (err) {
    case ENOENT:
    case ENOTDIR:
        return RawFile::Status::NotFound;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return RawFile::Status::DiskFull;
    case ELOOP:
        return RawFile::Status::Link;
    case ENAMETOOLONG:
        return RawFile::Status::NameTooLong;
    default:
        return RawFile::Status::Access;
    }
}

// A name beside `target` that nothing has yet: `target` with a dot and six
// random letters.
QByteArray freshNameBeside(const QByteArray &target)
{
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QByteArray name = target + '.';
    for (int i = 0; i < 6; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return name;
}

// The new content of a file being replaced, written beside it first. Where the
// file system allows it the file has no name until it is complete, so a crash
// leaves nothing behind; otherwise it has a fresh name of its own. Either way it
// is made new (never opened through a link), and goes with the object unless it
// took the target's place.
class TempFile
{
public:
    TempFile(const QString &folder, const QByteArray &target) : m_target(target)
    {
        m_fd = ::open(QFile::encodeName(folder).constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        // Giving an unnamed file its name goes through /proc.
        if (m_fd >= 0 && ::access("/proc/self/fd", X_OK) == 0)
            return;
        if (m_fd >= 0) {
            ::close(m_fd);
            m_fd = -1;
        } else if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL) {
            m_err = errno;
            return;
        }
        for (int attempt = 0; attempt < 100; ++attempt) {
            const QByteArray name = freshNameBeside(target);
            m_fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
            if (m_fd >= 0) {
                m_named = name;
                return;
            }
            if (errno != EEXIST)
                break;
        }
        m_err = errno;
    }
    TempFile(const TempFile &) = delete;
    TempFile &operator=(const TempFile &) = delete;
    ~TempFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_named.isEmpty())
            ::unlink(m_named.constData());
    }

    int fd() const { return m_fd; }
    // Why it could not be made.
    int error() const { return m_err; }

    // Puts the written file in the target's place. rename() replaces whatever
    // has the name, a link included, and never follows it.
    RawFile::Status replaceTarget()
    {
        if (m_named.isEmpty()) {
            const QByteArray self = "/proc/self/fd/" + QByteArray::number(m_fd);
            for (int attempt = 0; attempt < 100 && m_named.isEmpty(); ++attempt) {
                const QByteArray name = freshNameBeside(m_target);
                if (::linkat(AT_FDCWD, self.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0)
                    m_named = name;
                else if (errno != EEXIST)
                    return fromErrno(errno);
            }
            if (m_named.isEmpty())
                return RawFile::Status::Access;
        }
        const int closed = ::close(m_fd);
        m_fd = -1;
        if (closed != 0)
            return fromErrno(errno);
        if (::rename(m_named.constData(), m_target.constData()) != 0)
            return fromErrno(errno);
        m_named.clear();
        return RawFile::Status::Ok;
    }

private:
    QByteArray m_target;
    QByteArray m_named; // the temporary name, once it has one
    int m_fd = -1;
    int m_err = 0;
};
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
    m_fd =
        ::open(QFile::encodeName(path).constData(), flags | O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, mode_t(mode));
    return m_fd < 0 ? fromErrno(errno) : Status::Ok;
}

RawFile::Status RawFile::openForWriting(const QString &path) { return openWith(path, 0, 0600); }

RawFile::Status RawFile::openForAppending(const QString &path) { return openWith(path, O_APPEND, 0644); }

RawFile::Status RawFile::writeFromStart(const QByteArray &bytes) { return writeAll(bytes, true); }

RawFile::Status RawFile::append(const QByteArray &bytes) { return writeAll(bytes, false); }

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
    const QFileInfo info(path);
    if (!info.absoluteDir().exists())
        return Status::NotFound;
    const QByteArray name = QFile::encodeName(info.absoluteFilePath());
    // A link in the file's place is refused, never followed. One planted after
    // this look is replaced by the final rename, which never follows a link.
    struct stat old {
    };
    const bool replacing = ::lstat(name.constData(), &old) == 0;
    if (replacing && S_ISLNK(old.st_mode))
        return Status::Link;

    TempFile temp(info.absolutePath(), name);
    if (temp.fd() < 0)
        return fromErrno(temp.error());
    // The new file gets the old one's permissions, or those of any new file.
    Status status = Status::Ok;
    if (replacing && ::fchmod(temp.fd(), old.st_mode & 07777) != 0)
        status = fromErrno(errno);
    for (qsizetype done = 0; status == Status::Ok && done < bytes.size();) {
        const ssize_t n = ::write(temp.fd(), bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno != EINTR)
            status = fromErrno(errno);
        else if (n > 0)
            done += n;
    }
    if (status == Status::Ok && ::fsync(temp.fd()) != 0)
        status = fromErrno(errno);
    if (status == Status::Ok)
        status = temp.replaceTarget();
    return status;
}
