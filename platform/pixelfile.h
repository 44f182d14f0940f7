#pragma once
// Pictures kept as plain pixels, ready to be shown from where they lie: a head of
// 16 bytes ("STPX", then width, height and QImage format as 32-bit numbers in the
// machine's order) and the rows, four bytes a pixel, one after the other. The
// windows' pictures for ordinary screens are embedded this way, uncompressed, so
// that the program shows them without decoding them and without a copy.

#include <QByteArray>
#include <QImage>

#include <cstdint>
#include <cstring>

namespace PixelFile {

inline constexpr char Magic[4] = {'S', 'T', 'P', 'X'};
inline constexpr qsizetype HeadSize = 16;

// The formats a pixel file may hold: those of 32 bits a pixel that the program's
// pictures come in.
inline bool isKept(QImage::Format format)
{
    return format == QImage::Format_RGB32 || format == QImage::Format_ARGB32
           || format == QImage::Format_ARGB32_Premultiplied;
}

// The file for an image in one of the kept formats; empty for any other.
inline QByteArray write(const QImage &image)
{
    if (image.isNull() || !isKept(image.format()))
        return QByteArray();
    const std::uint32_t head[3] = {std::uint32_t(image.width()), std::uint32_t(image.height()),
                                   std::uint32_t(image.format())};
    QByteArray out(Magic, sizeof Magic);
    out.append(reinterpret_cast<const char *>(head), sizeof head);
    for (int y = 0; y < image.height(); ++y)
        out.append(reinterpret_cast<const char *>(image.constScanLine(y)), qsizetype(image.width()) * 4);
    return out;
}

} // namespace PixelFile
