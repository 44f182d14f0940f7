#include "art.h"

#include <QFontInfo>

#include <cstdint>
#include <cstdio>

namespace Art {

QList<QColor> crayonColours()
{
    return {QColor(232, 84, 72),    // tomato red
            QColor(247, 150, 46),   // orange
            QColor(250, 204, 56),   // sunflower
            QColor(112, 184, 74),   // leaf green
            QColor(64, 170, 214),   // sky blue
            QColor(146, 104, 200),  // violet
            QColor(236, 110, 160)}; // pink
}

QImage canvas(int w, int h, QImage::Format format, int scale)
{
    QImage img(w * scale, h * scale, format);
    img.setDevicePixelRatio(scale);
    return img;
}

QRect logicalRect(const QImage &image) { return QRect(QPoint(0, 0), image.deviceIndependentSize().toSize()); }

double hashNoise(int x, int y, int seed)
{
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + uint32_t(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return double(h & 0xffffff) / double(0x1000000);
}

void addGrain(QImage &image, int amount, int seed)
{
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            // Two octaves: fine grain plus a softer fibre running along the rows.
            const double n = hashNoise(x, y, seed) * 0.7 + hashNoise(x / 3, y, seed + 1) * 0.3;
            const int d = int((n - 0.5) * 2.0 * amount);
            const QRgb c = line[x];
            line[x] = qRgba(qBound(0, qRed(c) + d, 255), qBound(0, qGreen(c) + d, 255), qBound(0, qBlue(c) + d, 255),
                            qAlpha(c));
        }
    }
}

QFont boldFont(int pixelSize, bool italic)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(pixelSize);
    f.setBold(true);
    f.setItalic(italic);
    f.setHintingPreference(QFont::PreferNoHinting);
    static bool warned = false;
    if (!warned && !QFontInfo(f).family().startsWith(QLatin1String("DejaVu"))) {
        warned = true;
        std::fprintf(stderr,
                     "gen_art: DejaVu Sans not found (package fonts-dejavu-core); "
                     "the lettering uses %s instead\n",
                     qPrintable(QFontInfo(f).family()));
    }
    return f;
}

} // namespace Art
