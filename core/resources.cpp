#include "core/resources.h"

#include "core/errorframe.h"
#include "platform/artwork.h"
#include "platform/paths.h"
#include "platform/rawfile.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>

namespace {
QString resourcePath(int number, const QString &type)
{
    return QStringLiteral(":/res/%1/%2").arg(type.toUpper()).arg(number);
}

} // namespace

void raiseFileError(RawFile::Status status, const QString &path)
{
    switch (status) {
    case RawFile::Status::Ok:
        return;
    case RawFile::Status::NotOpen:
        raiseError(Err::BadFileName);
    case RawFile::Status::NotFound:
        raiseError(Err::PathNotFound, QStringLiteral("Path not found: %1").arg(path));
    case RawFile::Status::DiskFull:
        raiseError(Err::DiskFull);
    case RawFile::Status::Link:
        raiseError(Err::PathFileAccess, QStringLiteral("Refused to write through a symbolic link: %1").arg(path));
    case RawFile::Status::NameTooLong:
        raiseError(Err::BadFileName);
    case RawFile::Status::Access:
        raiseError(Err::PathFileAccess, QStringLiteral("Path/File access error: %1").arg(path));
    }
}

namespace ModResFiles {

QByteArray LoadResData(int number, const QString &type)
{
    QFile f(resourcePath(number, type));
    if (!f.open(QIODevice::ReadOnly))
        raiseError(Err::ResourceNotFound,
                   QStringLiteral("Resource with identifier '%1' of type '%2' not found").arg(number).arg(type));
    return f.readAll();
}

QString LoadResString(int number) { return QString::fromUtf8(LoadResData(number, QStringLiteral("STRING"))); }

QImage DecodeImage(const QByteArray &data, const char *format)
{
    // Only that format's reader: one left to guess would load every image plugin.
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QIcon ReadIcon(const QString &path)
{
    QIcon icon;
    const QImage image = Artwork::read(path);
    if (image.isNull())
        return icon;
    icon.addPixmap(QPixmap::fromImage(image));
    // The larger form serves screens of scale 2 only; on others it is not read.
    if (Artwork::scale() > 1) {
        const QImage large = Artwork::load(path);
        if (large.devicePixelRatio() == 2)
            icon.addPixmap(QPixmap::fromImage(large));
    }
    return icon;
}

QImage LoadArtwork(const QString &path, QImage (*plain)())
{
    const QImage image = Artwork::load(path);
    return image.isNull() ? plain() : image;
}

QImage ArtworkAt(const QImage &art, QSize size)
{
    size = size.expandedTo(QSize(1, 1));
    const int scale = Artwork::scale();
    if (art.format() == QImage::Format_RGB32 && art.size() == size * scale && art.devicePixelRatio() == scale)
        return art;
    QImage out = Artwork::surface(size);
    QPainter p(&out);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    p.drawImage(QRect(QPoint(0, 0), size), art);
    return out;
}

QImage LoadResPicture(int number)
{
    const QByteArray data = LoadResData(number, QStringLiteral("BITMAP"));
    const QImage image = DecodeImage(data, "BMP");
    if (image.isNull())
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
    RawFile file; // closed when it goes, whatever was chosen on an error
    f.run([&] {
        f.line(20, [&] { bytes = LoadResData(number, type); });
        f.line(30, [&] { /* one file handle at a time; nothing to reserve */ });
        f.line(40, [&] { raiseFileError(file.openForWriting(path), path); });
        f.line(50, [&] { raiseFileError(file.writeFromStart(bytes), path); });
        f.line(60, [&] { raiseFileError(file.close(), path); });
        f.line(70, [&] { result = 0; });
    });
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
                raiseError(Err::PathNotFound, QStringLiteral("No private temporary folder could be made"));
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
