#include "core/picturefile.h"

#include "core/errorframe.h"
#include "platform/artwork.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace PictureFile {

QImage load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        raiseError(Err::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    // Pictures are bitmaps, or PNG files under a bitmap's name; the format is
    // told by the first bytes. Only those two readers are ever loaded: asking
    // every image plugin of the system whether it knows the file would load them all.
    QFile file(path);
    QByteArray head;
    if (file.open(QIODevice::ReadOnly))
        head = file.read(8);
    file.close();
    const QByteArray format = Artwork::formatOf(head);
    if (format.isEmpty())
        raiseError(Err::InvalidPicture, QStringLiteral("Invalid picture: %1").arg(path));
    QImageReader reader(path, format);
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty() || size.width() > MaxSide || size.height() > MaxSide
        || qint64(size.width()) * size.height() > MaxPixels)
        raiseError(Err::InvalidPicture, QStringLiteral("Invalid picture: %1").arg(path));
    QImage image = reader.read();
    if (image.isNull())
        raiseError(Err::InvalidPicture, QStringLiteral("Invalid picture: %1").arg(path));
    return image;
}

} // namespace PictureFile
