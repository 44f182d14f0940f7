#include "core/picturefile.h"

#include "core/errorframe.h"
#include "core/resources.h"
#include "platform/artwork.h"
#include "platform/paths.h"
#include "platform/rawfile.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

namespace PictureFile {

QString makeFolder()
{
    const QString folder = Paths::picturesFolder();
    if (!QDir().mkpath(folder))
        raiseError(Err::PathNotFound, QStringLiteral("Path not found: %1").arg(folder));
    return folder;
}

QImage load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        raiseError(Err::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    // Pictures are bitmaps, or PNG files under a bitmap's name; the format is
    // told by the first bytes. Only those two readers are ever loaded: asking
    // every image plugin of the system whether it knows the file would load them all.
    QFile file(path);
    const QByteArray format = file.open(QIODevice::ReadOnly) ? Artwork::formatOf(file.peek(8)) : QByteArray();
    if (format != "BMP" && format != "PNG")
        raiseError(Err::InvalidPicture, QStringLiteral("Invalid picture: %1").arg(path));
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    QSize size = reader.size();
    // A bitmap stored from its top row down has a negative height in its header,
    // and the reader reports it as it stands; the picture is as high all the same.
    if (format == "BMP" && size.height() < 0 && size.height() >= -MaxSide)
        size.setHeight(-size.height());
    if (!size.isValid() || size.isEmpty() || size.width() > MaxSide || size.height() > MaxSide
        || qint64(size.width()) * size.height() > MaxPixels)
        raiseError(Err::InvalidPicture, QStringLiteral("Invalid picture: %1").arg(path));
    QImage image = reader.read();
    if (image.isNull())
        raiseError(Err::InvalidPicture, QStringLiteral("Invalid picture: %1").arg(path));
    return image;
}

QString savedPath(const QString &folder, const QString &name)
{
    const auto refuse = [&] { raiseError(Err::BadFileName, QStringLiteral("Bad file name: %1").arg(name)); };
    // A name beginning with a dot would make a hidden file, which the file list
    // leaves out: the picture would be lost to the child. "." and ".." go with it.
    if (name.isEmpty() || name.startsWith(u'.') || name.contains(u'/') || name.contains(u'\\')
        || name.contains(QChar(0)))
        refuse();
    const QString path = folder + u'/' + name + QStringLiteral(".bmp");
    const QString home = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(path);
    if (home.isEmpty() || QFileInfo(file.absolutePath()).canonicalFilePath() != home)
        refuse();
    // Saving through a link would replace whatever it leads to: another picture,
    // or a file anywhere the child may write. The link itself is not replaced either.
    if (file.isSymLink())
        refuse();
    return path;
}

QByteArray bmpBytes(const QImage &image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32)))
        raiseError(Err::InvalidPicture);
    return bytes;
}

void save(const QString &path, const QImage &image)
{
    raiseFileError(RawFile::replaceWhole(path, bmpBytes(image)), path);
}

} // namespace PictureFile
