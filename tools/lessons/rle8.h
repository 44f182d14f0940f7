#pragma once
// The lesson strips are stored as 8-bit bitmaps with a fixed palette, run-length
// compressed (RLE8). These plain functions make them: the palette, the mapping of a
// rendered picture onto it, and the encoder and file writer.

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QRgb>

namespace LessonTools {

// The colours every strip is drawn with.
inline constexpr QRgb White = 0xffffffff;
inline constexpr QRgb SignalRed = 0xffe02020; // the strokes new in a step
inline constexpr QRgb DarkGrey = 0xff5a5a5a;  // the strokes of earlier steps
inline constexpr QRgb Outline = 0xff1a1a1a;   // the outlines of the finished picture

// The fill colours of the finished pictures; they stay flat because they are in the palette.
QList<QRgb> fillColours();

// The fixed palette of 256 opaque colours. Index 0 is white; the stroke colours, the
// fill colours and the blends that antialiased edges need are all in it.
const QList<QRgb> &lessonPalette();

// Maps every pixel of `image` to the nearest palette colour. The result is an
// indexed 8-bit image with the palette as its colour table.
QImage quantise(const QImage &image, const QList<QRgb> &palette = lessonPalette());

// One row of palette indices in RLE8: runs of equal pixels as (count, index) pairs,
// stretches of differing pixels in absolute mode (padded to an even length), and the
// end-of-line escape 00 00. Every pixel of the row is written; no delta escapes.
QByteArray encodeRle8Row(const uchar *pixels, int width);

// A complete bottom-up RLE8 bitmap file of an indexed 8-bit image (at most 256
// colours): every row in turn, each ended by 00 00, then end-of-bitmap 00 01.
QByteArray writeRle8Bitmap(const QImage &indexed);

} // namespace LessonTools
