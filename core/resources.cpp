#include "core/resources.h"

#include "core/errorframe.h"
#include "platform/artwork.h"
#include "platform/paths.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace {
QString resourcePath(int number, const QString &type)
{
    return QStringLiteral(":/res/%1/%2").arg(type.toUpper()).arg(number);
}

[[noreturn]] void raiseFileError(int err, const QString &path)
{
    switch (err) {
    case ENOENT: raiseError(Err::PathNotFound, QStringLiteral("Path not found: %1").arg(path));
    case ENOSPC:
    case EDQUOT: raiseError(Err::DiskFull);
    case ELOOP: raiseError(Err::PathFileAccess,
                           QStringLiteral("Refused to write through a symbolic link: %1").arg(path));
    case ENAMETOOLONG: raiseError(Err::BadFileName);
    default: raiseError(Err::PathFileAccess, QStringLiteral("Path/File access error: %1").arg(path));
    }
}
} // namespace

namespace ModResFiles {

bool HasResource(int number, const QString &type)
{
    return QFile::exists(resourcePath(number, type));
}

QByteArray LoadResData(int number, const QString &type)
{
    QFile f(resourcePath(number, type));
    if (!f.open(QIODevice::ReadOnly))
        raiseError(Err::ResourceNotFound,
                   QStringLiteral("Resource with identifier '%1' of type '%2' not found")
                       .arg(number).arg(type));
    return f.readAll();
}

QString LoadResString(int number)
{
    return QString::fromUtf8(LoadResData(number, QStringLiteral("STRING")));
}

QImage LoadResPicture(int number)
{
    const QByteArray data = LoadResData(number, QStringLiteral("BITMAP"));
    QImage image;
    if (!image.loadFromData(data, "BMP"))
        raiseError(Err::InvalidPicture);
    // A picture drawn for screens of scale 2 (the start screen's) comes with a
    // larger form; the lesson strips have none and are drawn as they are.
    const QString path = QStringLiteral(":/res/BITMAP/%1").arg(number);
    if (Artwork::scale() > 1 && QFile::exists(path + QStringLiteral("@2x"))) {
        const QImage larger = Artwork::load(path);
        if (!larger.isNull())
            return larger;
    }
    return image;
}

int32_t SaveResItemToDisk(int16_t number, const QString &type, const QString &path)
{
    int32_t result = 0;
    ErrorFrame f("ModResFiles", "SaveResItemToDisk");
    QByteArray bytes;
    int fd = -1;
    f.run([&] {
        f.line(20, [&] { bytes = LoadResData(number, type); });
        f.line(30, [&] { /* one file handle at a time; nothing to reserve */ });
        f.line(40, [&] {
            // Created when missing and not shortened, never through a link: a name
            // in a shared folder could otherwise redirect the write.
            fd = ::open(QFile::encodeName(path).constData(),
                        O_WRONLY | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (fd < 0)
                raiseFileError(errno, path);
        });
        f.line(50, [&] {
            if (fd < 0)
                raiseError(Err::BadFileName);
            qsizetype done = 0;
            while (done < bytes.size()) {
                const ssize_t n = ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done),
                                           off_t(done));
                if (n < 0) {
                    if (errno == EINTR)
                        continue;
                    raiseFileError(errno, path);
                }
                done += n;
            }
        });
        f.line(60, [&] {
            if (fd < 0)
                raiseError(Err::BadFileName);
            const int rc = ::close(fd);
            fd = -1;
            if (rc != 0)
                raiseFileError(errno, path);
        });
        f.line(70, [&] { result = 0; });
    });
    if (fd >= 0)
        ::close(fd);
    return result;
}

} // namespace ModResFiles

namespace Allgemein {

QString GetTempDir()
{
    QString result;
    ErrorFrame f("Allgemein", "GetTempDir");
    f.run([&] {
        f.line(10, [&] {
            const QString folder = Paths::privateTempFolder();
            if (folder.isEmpty())
                raiseError(Err::PathNotFound,
                           QStringLiteral("No private temporary folder could be made"));
            result = TrimNull(folder);
        });
    });
    return result;
}

QString TrimNull(const QString &text)
{
    const qsizetype p = text.indexOf(QChar(0));
    return p < 0 ? text : text.left(p);
}

} // namespace Allgemein
