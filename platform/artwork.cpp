#include "platform/artwork.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>

#include <cmath>

namespace Artwork {

int scale()
{
    // Asked without a screen (a plain core application) the answer is 1.
    const auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    return app && app->devicePixelRatio() > 1.0 ? 2 : 1;
}

QImage load(const QString &path)
{
    if (scale() > 1) {
        const qsizetype dot = path.lastIndexOf(u'.');
        const qsizetype slash = path.lastIndexOf(u'/');
        const QString larger = dot > slash ? path.left(dot) + QStringLiteral("@2x") + path.mid(dot)
                                           : path + QStringLiteral("@2x");
        if (QFile::exists(larger)) {
            QImage image = read(larger);
            if (!image.isNull()) {
                image.setDevicePixelRatio(2);
                return image;
            }
        }
    }
    return read(path);
}

QByteArray formatOf(const QByteArray &head)
{
    if (head.startsWith("BM"))
        return QByteArrayLiteral("BMP");
    if (head.startsWith("\x89PNG\r\n\x1a\n"))
        return QByteArrayLiteral("PNG");
    return QByteArray();
}

QImage read(const QString &path)
{
    // The format is told by the file's first bytes, and the reader told not to
    // guess: a reader left to guess asks every image plugin of the system first,
    // and so loads them all.
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QImage();
    const QByteArray format = formatOf(file.peek(8));
    if (format.isEmpty())
        return QImage();
    QImageReader reader(&file, format);
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

QImage surface(QSize size, QImage::Format format)
{
    const int s = scale();
    QImage image(size.expandedTo(QSize(1, 1)) * s, format);
    image.setDevicePixelRatio(s);
    return image;
}

QSize logicalSize(const QImage &image)
{
    return image.deviceIndependentSize().toSize();
}

QRect devicePixels(const QRect &logical, const QImage &image)
{
    const qreal r = image.devicePixelRatio();
    if (r == 1.0)
        return logical;
    return QRect(int(std::lround(logical.x() * r)), int(std::lround(logical.y() * r)),
                 int(std::lround(logical.width() * r)), int(std::lround(logical.height() * r)));
}

} // namespace Artwork
