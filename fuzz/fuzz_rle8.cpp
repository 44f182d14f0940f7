// The lesson encoder on any 8-bit picture up to 400 x 300 with any palette: what
// Qt's reader makes of the bitmap is the same picture, pixel for pixel.

#include "fuzz/fuzzcheck.h"
#include "rle8.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <QImage>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int width = in.ConsumeIntegralInRange(1, 400);
    const int height = in.ConsumeIntegralInRange(1, 300);
    const int colours = in.ConsumeIntegralInRange(1, 256);
    QList<QRgb> palette;
    for (int i = 0; i < colours; ++i)
        palette << (in.ConsumeIntegral<uint32_t>() | 0xff000000u);

    QImage picture(width, height, QImage::Format_Indexed8);
    picture.setColorTable(palette);
    // Runs and stretches of differing pixels as the input says; the last pattern
    // repeats when the input runs out.
    std::vector<uint8_t> pattern;
    while (in.remaining_bytes() > 0 && pattern.size() < size_t(width) * height) {
        const int run = in.ConsumeIntegralInRange(1, 300);
        const uint8_t index = in.ConsumeIntegral<uint8_t>();
        pattern.insert(pattern.end(), size_t(run), index);
    }
    if (pattern.empty())
        pattern.push_back(0);
    size_t k = 0;
    for (int y = 0; y < height; ++y) {
        uchar *row = picture.scanLine(y);
        for (int x = 0; x < width; ++x)
            row[x] = pattern[k++ % pattern.size()];
    }

    const QByteArray file = LessonTools::writeRle8Bitmap(picture);
    QImage decoded;
    check(decoded.loadFromData(file, "BMP"), "Qt cannot read the bitmap");
    check(decoded.size() == picture.size(), "the size differs");
    check(decoded.format() == QImage::Format_Indexed8, "not read back as an 8-bit picture");
    const QList<QRgb> table = decoded.colorTable();
    for (int y = 0; y < height; ++y) {
        const uchar *want = picture.constScanLine(y);
        const uchar *got = decoded.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            const QRgb w = want[x] < palette.size() ? palette.at(want[x]) : LessonTools::White;
            const QRgb g = got[x] < table.size() ? table.at(got[x]) | 0xff000000u : 0;
            if (g != w) {
                fprintf(stderr, "pixel %d,%d of %dx%d: %08x, not %08x\n", x, y, width, height, g, w);
                std::abort();
            }
        }
    }
    return 0;
}
