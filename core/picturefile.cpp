#include "core/picturefile.h"

#include "core/errorframe.h"

#include <QFileInfo>
#include <QImageReader>

namespace PictureFile {

QImage load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        raiseError(Err::FileNotFound, QStringLiteral("File not found: %1").arg(path));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
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
