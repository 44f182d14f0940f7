// Writes the program's artwork into a folder:
//     gen_art <application icon SVG> <output folder>
// or draws one review sheet of what is in that folder:
//     gen_art --contact-sheet <output folder> <sheet.png>
#include "art.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

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

bool writeAll(const QString &svg, const QString &out)
{
    bool ok = true;
    auto put = [&](const QImage &image, const QString &name, const char *format = "PNG") {
        ok = save(image, out + QLatin1Char('/') + name, format) && ok;
    };
    put(Art::background(), QStringLiteral("background.png"));
    put(Art::logo(0), QStringLiteral("logo0.png"));
    put(Art::logo(1), QStringLiteral("logo1.png"));
    for (int digit : Art::flagDigits())
        put(Art::flag(digit), QStringLiteral("flag%1.png").arg(digit));
    for (const QString &name : Art::iconNames()) {
        put(Art::icon(name, 1), QStringLiteral("icons/%1.png").arg(name));
        put(Art::icon(name, 2), QStringLiteral("icons/%1@2x.png").arg(name));
    }
    put(Art::pickerBackground(), QStringLiteral("picker_bg.png"));
    put(Art::aboutPicture(), QStringLiteral("about.png"));
    put(Art::aboutIcon(), QStringLiteral("about_icon.png"));
    put(Art::welcomePicture(), QStringLiteral("bitmap100.bmp"), "BMP");
    put(Art::penBackground(), QStringLiteral("pen_bg.png"));
    put(Art::palette(), QStringLiteral("palette.png"));
    put(Art::sliderThumb(), QStringLiteral("slider_thumb.png"));
    put(Art::sliderRail(), QStringLiteral("slider_rail.png"));
    put(Art::grid(), QStringLiteral("grid.png"));
    put(Art::cursor(), QStringLiteral("cursor101.png"));
    for (int size : {16, 32, 48, 64, 128, 256})
        put(Art::appIcon(svg, size),
            QStringLiteral("hicolor/%1x%1/apps/stiftolino.png").arg(size));
    put(Art::appIcon(svg, 256), QStringLiteral("icon.png"));
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
