#pragma once
// The program's own pictures on screens of any scale. Every picture a window
// shows is made in two sizes: "name.png" and, with twice the pixels, "name@2x.png".
// On a screen of scale above 1 the larger one is taken; it carries a device pixel
// ratio of 2, so that it covers the same logical size, only sharper.

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace Artwork {

// The scale the pictures are taken for: 2 when any screen's scale is above 1, else 1.
int scale();

// Loads a picture ("…/name.png" or "…/name" without extension), taking its "@2x"
// form when scale() is 2 and one exists. A null image when neither exists.
QImage load(const QString &path);
// Reads exactly this picture file, a PNG, a BMP or a pixel file; null when it is
// none of these. A pixel file embedded uncompressed is shown from where it lies.
QImage read(const QString &path);
// "PNG", "BMP" or "PIXELS" for a file that begins with these bytes (8 are
// enough), else empty.
QByteArray formatOf(const QByteArray &head);
// The picture a pixel file holds, over `data` itself when `inPlace` and the data
// lie as the pixels need (the data must then outlive the picture), else a copy.
// Null for anything but a whole pixel file.
QImage fromPixels(const uchar *data, qsizetype size, bool inPlace);

// A surface of `size` logical pixels at scale(): a painter on it draws in logical
// pixels; a window that composes its background on it stays sharp.
QImage surface(QSize size, QImage::Format format = QImage::Format_RGB32);

// The image's size in logical pixels.
QSize logicalSize(const QImage &image);
// The image's pixels that a rectangle in its logical pixels covers.
QRect devicePixels(const QRect &logical, const QImage &image);

} // namespace Artwork
