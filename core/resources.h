#pragma once
// Resources by type and number ("WAV" 101, "CUSTOM" 1000, "BITMAP" 105, "STRING" 100,
// "CURSOR" 101), and the small file helpers around them.

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QString>

#include "platform/rawfile.h"

#include <cstdint>

// A failed step of a file write as the run-time error the user sees: 76 path
// not found, 61 disk full, 75 access (a symbolic link too), 52 bad file name.
void raiseFileError(RawFile::Status status, const QString &path);

namespace ModResFiles {

// The resource's bytes; a missing one raises error 326.
QByteArray LoadResData(int number, const QString &type);
// String resource `number` as text.
QString LoadResString(int number);
// Bitmap resource `number`; a missing one raises 326, an unreadable one 481.
QImage LoadResPicture(int number);

// Copies the resource byte for byte to `path`. An existing longer file is not
// shortened; a path that is a symbolic link is refused. Returns 0.
int32_t SaveResItemToDisk(int16_t number, const QString &type, const QString &path);

// A picture of the program's artwork (":/art/..."), its "@2x" form on a screen
// of scale 2, or the plain one `plain` draws when the artwork is missing or
// unreadable, so a window keeps its layout.
QImage LoadArtwork(const QString &path, QImage (*plain)());
// A picture held in memory, in the given format ("PNG", "BMP"); null when it is
// not one. Only that format's reader is used.
QImage DecodeImage(const QByteArray &data, const char *format);
// An icon of such a picture, with its double-size variant ("name@2x.png") if any
// when the pictures are taken for scale 2.
QIcon ReadIcon(const QString &path);
// `art` stretched to `size` for a window's backdrop; the artwork itself, shared
// and not copied, when it has that size already.
QImage ArtworkAt(const QImage &art, QSize size);

} // namespace ModResFiles

namespace Allgemein {

// The per-user private temporary folder, ending in the path separator.
QString GetTempDir();
// The part of `text` before its first NUL, or all of it.
QString TrimNull(const QString &text);

} // namespace Allgemein
