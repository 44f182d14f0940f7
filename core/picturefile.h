#pragma once
// The picture files the child saves and reads back.

#include <QImage>
#include <QString>

namespace PictureFile {
// The largest picture we read: larger ones would eat the memory for nothing.
// Reading one file holds at most 64 MB: the picture at four bytes a pixel, and
// what the reader and the stretched painting need besides.
constexpr int MaxSide = 8192;
constexpr qint64 MaxPixels = qint64(4000) * 3000;

// The pictures folder, made when it is missing (a first start has none); raises
// 76 when it cannot be made.
QString makeFolder();

// Reads the picture; raises 53 when the file is missing and 481 when it is not a
// picture we can read (damaged, empty, another kind of file, or too large).
QImage load(const QString &path);

// The file a picture saved under the typed `name` goes to: `folder` + "/" +
// `name` + ".bmp", the name exactly as typed (blanks kept, a name ending in
// ".bmp" gets a second one). Raises 52 for a name that would put the file
// anywhere but straight in the folder (one with a path separator or NUL), one
// that begins with a dot (a hidden file the list would not show; "." and ".."
// among them), and one whose file is a symbolic link, wherever it leads. The
// folder must exist.
QString savedPath(const QString &folder, const QString &name);

// The image as a Windows bitmap file with 24 bits per pixel.
QByteArray bmpBytes(const QImage &image);

// Writes the image as a bitmap file whole or not at all: a failure leaves an
// existing file as it was and raises 61 (disk full), 75 (access) or 76 (path
// not found).
void save(const QString &path, const QImage &image);
} // namespace PictureFile
