// Writes the program's artwork into a folder:
//     gen_art <application icon SVG> <output folder>
// or draws one review sheet of what is in that folder:
//     gen_art --contact-sheet <output folder> <sheet.png>
#include "art.h"
#include "platform/pixelfile.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QSaveFile>

#include <cstdio>

namespace {

bool save(const QImage &image, const QString &path, const char *format = "PNG")
{
    if (image.isNull()) {
        std::fprintf(stderr, "gen_art: nothing drawn for %s\n", qPrintable(path));
        return false;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path, format)) {
        std::fprintf(stderr, "gen_art: cannot write %s\n", qPrintable(path));
        return false;
    }
    return true;
}

// Writes the PNG `name` (in `out`) once more as a pixel file beside it
// ("name.pix"), exactly as the PNG reads back.
bool savePixels(const QString &out, const QString &name)
{
    const QString png = out + QLatin1Char('/') + name;
    QImageReader reader(png, "PNG");
    const QByteArray pixels = PixelFile::write(reader.read());
    QSaveFile file(png.left(png.size() - 4) + QStringLiteral(".pix"));
    if (pixels.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(pixels) != pixels.size() || !file.commit()) {
        std::fprintf(stderr, "gen_art: cannot write the pixels of %s\n", qPrintable(png));
        return false;
    }
    return true;
}

bool writeAll(const QString &svg, const QString &out)
{
    bool ok = true;
    auto put = [&](const QImage &image, const QString &name, const char *format = "PNG") {
        ok = save(image, out + QLatin1Char('/') + name, format) && ok;
    };
    // Everything the windows show is drawn twice: for ordinary screens, and with
    // twice the pixels under an "@2x" name, which Qt picks on a screen of scale 2.
    // The one for ordinary screens is also written as plain pixels, which the
    // program embeds and shows without decoding.
    for (int scale : {1, 2}) {
        const QString x = scale == 1 ? QString() : QStringLiteral("@2x");
        auto window = [&](const QImage &image, const QString &name) {
            const QString file = name + x + QStringLiteral(".png");
            put(image, file);
            if (scale == 1)
                ok = savePixels(out, file) && ok;
        };
        window(Art::background(scale), QStringLiteral("background"));
        window(Art::logo(0, scale), QStringLiteral("logo0"));
        window(Art::logo(1, scale), QStringLiteral("logo1"));
        for (int digit : Art::flagDigits())
            window(Art::flag(digit, scale), QStringLiteral("flag%1").arg(digit));
        for (const QString &name : Art::iconNames())
            window(Art::icon(name, scale), QStringLiteral("icons/") + name);
        window(Art::pickerBackground(scale), QStringLiteral("picker_bg"));
        window(Art::aboutPicture(scale), QStringLiteral("about"));
        window(Art::aboutIcon(scale), QStringLiteral("about_icon"));
        window(Art::penBackground(scale), QStringLiteral("pen_bg"));
        window(Art::palette(scale), QStringLiteral("palette"));
        window(Art::sliderThumb(scale), QStringLiteral("slider_thumb"));
        window(Art::sliderRail(scale), QStringLiteral("slider_rail"));
        window(Art::grid(scale), QStringLiteral("grid"));
    }
    // The start screen's picture is bitmap resource 100, a BMP like the lesson
    // strips; its larger form is a PNG beside it.
    put(Art::welcomePicture(), QStringLiteral("bitmap100.bmp"), "BMP");
    put(Art::welcomePicture(2), QStringLiteral("bitmap100@2x.png"));
    put(Art::cursor(), QStringLiteral("cursor101.png"));
    for (int size : {16, 32, 48, 64, 128, 256})
        put(Art::appIcon(svg, size), QStringLiteral("hicolor/%1x%1/apps/stiftolino.png").arg(size));
    // The windows' own icon, for the window list and the task bar; the desktop's
    // menus and launchers take the themed sizes above. Each window hands its icon
    // to the X server as a property at start: 64 pixels is what those lists show
    // at the most, a sixteenth of the 256 ones. Plain pixels too, read without
    // decoding.
    put(Art::appIcon(svg, 64), QStringLiteral("icon.png"));
    ok = savePixels(out, QStringLiteral("icon.png")) && ok;
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("--contact-sheet"))
        return save(Art::contactSheet(args[2]), args[3]) ? 0 : 1;
    if (args.size() == 3)
        return writeAll(args[1], args[2]) ? 0 : 1;
    std::fprintf(stderr, "usage: gen_art <icon.svg> <output folder>\n"
                         "       gen_art --contact-sheet <output folder> <sheet.png>\n");
    return 2;
}
