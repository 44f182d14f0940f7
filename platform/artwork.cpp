#include "platform/artwork.h"

#include "platform/pixelfile.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QResource>

#include <cmath>
#include <cstdint>
#include <cstring>

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
        const QString larger =
            dot > slash ? path.left(dot) + QStringLiteral("@2x") + path.mid(dot) : path + QStringLiteral("@2x");
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
    if (head.startsWith(QByteArrayView(PixelFile::Magic, sizeof PixelFile::Magic)))
        return QByteArrayLiteral("PIXELS");
    return QByteArray();
}

QImage fromPixels(const uchar *data, qsizetype size, bool inPlace)
{
    if (!data || size < PixelFile::HeadSize || std::memcmp(data, PixelFile::Magic, sizeof PixelFile::Magic) != 0)
        return QImage();
    std::uint32_t head[3];
    std::memcpy(head, data + sizeof PixelFile::Magic, sizeof head);
    // A number that names no format is refused before it becomes one.
    if (head[2] >= std::uint32_t(QImage::NImageFormats) || !PixelFile::isKept(QImage::Format(head[2])))
        return QImage();
    const auto format = QImage::Format(head[2]);
    // No picture of the program comes near 16384 pixels a side; the limit keeps
    // the size arithmetic far from overflowing.
    constexpr std::uint32_t Largest = 16384;
    if (head[0] == 0 || head[1] == 0 || head[0] > Largest || head[1] > Largest
        || size != PixelFile::HeadSize + qsizetype(head[0]) * head[1] * 4)
        return QImage();
    const uchar *pixels = data + PixelFile::HeadSize;
    const QImage over(pixels, int(head[0]), int(head[1]), qsizetype(head[0]) * 4, format);
    const bool aligned = reinterpret_cast<std::uintptr_t>(pixels) % alignof(std::uint32_t) == 0;
    return inPlace && aligned ? over : over.copy();
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
    if (format == "PIXELS") {
        // Embedded uncompressed, the pixels stay where they lie for the whole run.
        const QResource embedded(path);
        if (embedded.isValid() && embedded.compressionAlgorithm() == QResource::NoCompression)
            return fromPixels(embedded.data(), embedded.size(), true);
        const QByteArray bytes = file.readAll();
        return fromPixels(reinterpret_cast<const uchar *>(bytes.constData()), bytes.size(), false);
    }
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

QSize logicalSize(const QImage &image) { return image.deviceIndependentSize().toSize(); }

QRect devicePixels(const QRect &logical, const QImage &image)
{
    const qreal r = image.devicePixelRatio();
    if (r == 1.0)
        return logical;
    return QRect(int(std::lround(logical.x() * r)), int(std::lround(logical.y() * r)),
                 int(std::lround(logical.width() * r)), int(std::lround(logical.height() * r)));
}

} // namespace Artwork
