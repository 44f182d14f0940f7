#pragma once
// Reading a picture file that the child saved earlier.

#include <QImage>
#include <QString>

namespace PictureFile {
// The largest picture we read: larger ones would eat the memory for nothing.
constexpr int MaxSide = 8192;
constexpr qint64 MaxPixels = qint64(4096) * 4096;

// Reads the picture; raises 53 when the file is missing and 481 when it is not a
// picture we can read (damaged, empty, another kind of file, or too large).
QImage load(const QString &path);
} // namespace PictureFile
