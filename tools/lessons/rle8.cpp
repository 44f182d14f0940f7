#include "rle8.h"

#include <QHash>
#include <QtEndian>

#include <algorithm>
#include <limits>
#include <vector>

namespace LessonTools {

namespace {

QRgb blend(QRgb a, QRgb b, double t)
{
    auto mix = [t](int x, int y) { return int(x + (y - x) * t + 0.5); };
    return qRgb(mix(qRed(a), qRed(b)), mix(qGreen(a), qGreen(b)), mix(qBlue(a), qBlue(b)));
}

QList<QRgb> buildPalette()
{
    std::vector<QRgb> p;
    p.reserve(256);
    auto add = [&p](QRgb c) {
        c |= 0xff000000;
        if (p.size() < 256 && std::find(p.begin(), p.end(), c) == p.end())
            p.push_back(c);
    };
    add(White);
    add(Outline);
    add(DarkGrey);
    add(SignalRed);
    add(qRgb(0, 0, 0));
    const QList<QRgb> fills = fillColours();
    for (QRgb c : fills)
        add(c);
    // Antialiased strokes on white paper.
    for (int i = 1; i < 8; ++i)
        add(blend(White, SignalRed, i / 8.0));
    for (int i = 1; i < 16; ++i)
        add(blend(White, Outline, i / 16.0));
    for (int i = 1; i < 4; ++i)
        add(blend(SignalRed, DarkGrey, i / 4.0));
    // Edges of the coloured areas against their outlines and against each other.
    for (QRgb c : fills) {
        for (int i = 1; i < 4; ++i)
            add(blend(c, Outline, i / 4.0));
    }
    // Everything else falls back to an even colour cube.
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                add(qRgb(r * 51, g * 51, b * 51));
    while (p.size() < 256)
        p.push_back(White);
    return QList<QRgb>(p.begin(), p.end());
}

// Distance weighted roughly by how strongly the eye sees each channel.
int distance(QRgb a, QRgb b)
{
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

void put16(QByteArray &out, int offset, quint16 v) { qToLittleEndian(v, out.data() + offset); }
void put32(QByteArray &out, int offset, quint32 v) { qToLittleEndian(v, out.data() + offset); }

} // namespace

QList<QRgb> fillColours()
{
    return {
        0xff7ec8f0, // sky blue
        0xff7cc95a, // grass green
        0xffffd23f, // sun yellow
        0xffff9f43, // orange
        0xffe8453c, // red
        0xfff7a1c4, // pink
        0xffa86b3c, // brown
        0xffd9a066, // light brown
        0xffb8b8b8, // grey
        0xffa77bd6, // purple
        0xff4f9a3a, // dark green
        0xff3f7fd0, // deep blue
        0xfffff3c4, // cream
        0xff8a8a8a, // dark grey
        0xff6e4424, // dark brown
        0xffffe9d6, // skin
        0xffe87ba8, // dark pink
    };
}

const QList<QRgb> &lessonPalette()
{
    static const QList<QRgb> palette = buildPalette();
    return palette;
}

QImage quantise(const QImage &image, const QList<QRgb> &palette)
{
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_Indexed8);
    out.setColorTable(palette);
    QHash<QRgb, uchar> cache;
    for (int y = 0; y < src.height(); ++y) {
        const QRgb *in = reinterpret_cast<const QRgb *>(src.constScanLine(y));
        uchar *row = out.scanLine(y);
        for (int x = 0; x < src.width(); ++x) {
            const QRgb c = in[x] | 0xff000000;
            auto it = cache.constFind(c);
            if (it == cache.constEnd()) {
                int best = 0;
                int bestDistance = std::numeric_limits<int>::max();
                for (int i = 0; i < palette.size(); ++i) {
                    const int d = distance(c, palette[i]);
                    if (d < bestDistance) {
                        bestDistance = d;
                        best = i;
                    }
                }
                it = cache.insert(c, uchar(best));
            }
            row[x] = *it;
        }
    }
    return out;
}

QByteArray encodeRle8Row(const uchar *pixels, int width)
{
    QByteArray out;
    auto runAt = [&](int i) {
        int n = 1;
        while (i + n < width && n < 255 && pixels[i + n] == pixels[i])
            ++n;
        return n;
    };
    int i = 0;
    while (i < width) {
        const int run = runAt(i);
        if (run >= 3 || i + run >= width || width - i < 3) {
            out.append(char(run));
            out.append(char(pixels[i]));
            i += run;
            continue;
        }
        // A stretch of differing pixels: gather it up to the next run of three or more.
        int j = i;
        while (j < width && j - i < 255) {
            if (runAt(j) >= 3)
                break;
            ++j;
        }
        const int literal = j - i;
        if (literal < 3) {
            // Absolute mode needs at least three pixels; shorter stretches go as runs.
            for (int k = i; k < j;) {
                const int r = runAt(k) < j - k ? runAt(k) : j - k;
                out.append(char(r));
                out.append(char(pixels[k]));
                k += r;
            }
        } else {
            out.append(char(0));
            out.append(char(literal));
            out.append(reinterpret_cast<const char *>(pixels + i), literal);
            if (literal % 2)
                out.append(char(0));
        }
        i = j;
    }
    out.append(char(0));
    out.append(char(0));
    return out;
}

QByteArray writeRle8Bitmap(const QImage &indexed)
{
    Q_ASSERT(indexed.format() == QImage::Format_Indexed8);
    const int w = indexed.width();
    const int h = indexed.height();
    QByteArray data;
    for (int y = h - 1; y >= 0; --y)
        data.append(encodeRle8Row(indexed.constScanLine(y), w));
    data.append(char(0));
    data.append(char(1));

    const QList<QRgb> colours = indexed.colorTable();
    const int paletteSize = 256 * 4;
    const int offset = 14 + 40 + paletteSize;
    QByteArray out(offset, '\0');
    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, quint32(offset + data.size()));
    put32(out, 10, quint32(offset));
    put32(out, 14, 40);
    put32(out, 18, quint32(w));
    put32(out, 22, quint32(h)); // positive: bottom-up
    put16(out, 26, 1);          // planes
    put16(out, 28, 8);          // bits per pixel
    put32(out, 30, 1);          // BI_RLE8
    put32(out, 34, quint32(data.size()));
    put32(out, 38, 3780); // 96 dots per inch
    put32(out, 42, 3780);
    put32(out, 46, 256); // colours used
    put32(out, 50, 0);
    for (int i = 0; i < 256; ++i) {
        const QRgb c = i < colours.size() ? colours[i] : White;
        char *entry = out.data() + 54 + 4 * i;
        entry[0] = char(qBlue(c));
        entry[1] = char(qGreen(c));
        entry[2] = char(qRed(c));
        entry[3] = 0;
    }
    out.append(data);
    return out;
}

} // namespace LessonTools
