// The artwork the program embeds: sizes, transparency, the exact pixels that code
// relies on (grid lines, palette cells, cursor hot spot), and the places that must
// stay calm because windows put their controls over them.
#include "core/resources.h"
#include "platform/artwork.h"
#include "platform/memory.h"
#include "platform/pixelfile.h"
#include "support/checkmessage.h"
#include "support/testsupport.h"

#include <QResource>
#include <QSet>
#include <QTest>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

QImage art(const QString &path) { return Artwork::read(path); }

QString iconPath(const QString &name) { return QStringLiteral(":/art/icons/%1.png").arg(name); }

// A picture's name for screens of scale 2: "@2x" before the ending, if it has one.
QString large(const QString &path)
{
    const qsizetype dot = path.lastIndexOf(u'.');
    return dot > path.lastIndexOf(u'/') ? path.left(dot) + QStringLiteral("@2x") + path.mid(dot)
                                        : path + QStringLiteral("@2x");
}

const QStringList IconNames =
    QStringLiteral("clear undo open save pen print sound help web quit previous browse next grid size ok close")
        .split(u' ');

QString flagPath(int digit) { return QStringLiteral(":/art/flag%1.png").arg(digit); }

const QList<int> FlagDigits = {0, 1, 3, 4, 6};

// Mean absolute difference per channel (alpha included) of two equal-sized images.
double meanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int j = 0; j < x.height(); ++j)
        for (int i = 0; i < x.width(); ++i) {
            const QRgb p = x.pixel(i, j), q = y.pixel(i, j);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q))
                   + std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * x.width() * x.height());
}

} // namespace

class tst_Artwork : public QObject
{
    Q_OBJECT

private slots:
    void sizes_data();
    void sizes();
    void shownFromWhereEmbedded();
    void pixelFiles_data();
    void pixelFiles();
    void bitmap100IsBmp();
    void grid_data();
    void grid();
    void palette_data();
    void palette();
    void cursorHotspot();
    void icons_data();
    void icons();
    void colours_data();
    void colours();
    void distinct_data();
    void distinct();
    void logos();
    void calmAreas_data();
    void calmAreas();
    void railGroove();
};

void tst_Artwork::sizes_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("opaque");
    QTest::addColumn<int>("scale");

    const bool opaque = true, clear = false;
    // Everything a window shows comes in its size and, for screens of scale 2, with
    // twice the pixels under the "@2x" name.
    auto both = [](const QString &tag, const QString &path, QSize size, bool alpha) {
        QTest::newRow(qPrintable(tag)) << path << size << alpha << 1;
        QTest::newRow(qPrintable(tag + QStringLiteral("@2x"))) << large(path) << size * 2 << alpha << 2;
    };
    both(QStringLiteral("background"), QStringLiteral(":/art/background.png"), QSize(829, 624), opaque);
    both(QStringLiteral("logo0"), QStringLiteral(":/art/logo0.png"), QSize(585, 67), clear);
    both(QStringLiteral("logo1"), QStringLiteral(":/art/logo1.png"), QSize(585, 67), clear);
    for (int d : FlagDigits)
        both(QStringLiteral("flag%1").arg(d), flagPath(d), QSize(32, 20), opaque);
    for (const QString &name : IconNames)
        both(QStringLiteral("icon ") + name, iconPath(name), QSize(24, 24), clear);
    both(QStringLiteral("picker_bg"), QStringLiteral(":/art/picker_bg.png"), QSize(440, 420), opaque);
    both(QStringLiteral("about"), QStringLiteral(":/art/about.png"), QSize(356, 330), opaque);
    both(QStringLiteral("about_icon"), QStringLiteral(":/art/about_icon.png"), QSize(32, 32), clear);
    both(QStringLiteral("bitmap 100"), QStringLiteral(":/res/BITMAP/100"), QSize(400, 300), opaque);
    both(QStringLiteral("pen_bg"), QStringLiteral(":/art/pen_bg.png"), QSize(609, 239), opaque);
    both(QStringLiteral("palette"), QStringLiteral(":/art/palette.png"), QSize(475, 132), opaque);
    both(QStringLiteral("slider_thumb"), QStringLiteral(":/art/slider_thumb.png"), QSize(16, 16), clear);
    both(QStringLiteral("slider_rail"), QStringLiteral(":/art/slider_rail.png"), QSize(18, 133), opaque);
    both(QStringLiteral("grid"), QStringLiteral(":/art/grid.png"), QSize(400, 300), clear);
    QTest::newRow("cursor 101") << ":/res/CURSOR/101" << QSize(32, 32) << clear << 1;
    QTest::newRow("app icon") << ":/art/icon.png" << QSize(64, 64) << clear << 1;
}

void tst_Artwork::sizes()
{
    QFETCH(QString, path);
    QFETCH(QSize, size);
    QFETCH(bool, opaque);
    QFETCH(int, scale);
    const QImage img = art(path);
    QVERIFY2(!img.isNull(), qPrintable(path + " is not embedded or does not load"));
    QCOMPARE(img.size(), size);
    // Qt reads an "@2x" name as a picture of device pixel ratio 2.
    QCOMPARE(img.devicePixelRatio(), qreal(scale));
    const QImage argb = img.convertToFormat(QImage::Format_ARGB32);
    const int solid = countPixels(argb, argb.rect(), [](QRgb p) { return qAlpha(p) == 255; });
    if (opaque) {
        // Pictures that are painted as backgrounds must cover everything.
        QCOMPARE(solid, argb.width() * argb.height());
    } else {
        // Pictures laid over others need real transparency (at least in the
        // corner) around a visible shape.
        QVERIFY(img.hasAlphaChannel());
        QVERIFY2(solid > 0, "nothing is drawn opaque");
        QCOMPARE(qAlpha(argb.pixel(0, 0)), 0);
    }
}

void tst_Artwork::shownFromWhereEmbedded()
{
    // The windows' pictures for ordinary screens, and the windows' icon, are used
    // in place: no decoding, no copy on the heap.
    QImage img;
    for (const char *path : {":/art/icon.png", ":/art/background.png"}) {
        const QResource embedded(path);
        QCOMPARE(embedded.compressionAlgorithm(), QResource::NoCompression);
        img = Artwork::read(path);
        QCOMPARE(img.constBits(), embedded.data() + PixelFile::HeadSize);
    }

    // Its pages handed back, the picture reads the same from the program file;
    // memory of the heap is never handed back, it would come back zeroed.
    const QImage copy = img.copy();
    QVERIFY(Memory::handBackEmbeddedData() >= std::size_t(img.sizeInBytes()));
    QCOMPARE(img, copy);
    QByteArray heap(1 << 20, 'x');
    QCOMPARE(Memory::handBackFilePages(heap.constData(), std::size_t(heap.size())), std::size_t(0));
    QCOMPARE(heap.count('x'), heap.size());
}

void tst_Artwork::pixelFiles_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("shift"); // bytes the file lies off a 4-byte boundary
    QTest::addColumn<bool>("valid");

    QImage opaque(5, 3, QImage::Format_RGB32);
    opaque.fill(qRgb(10, 20, 30));
    opaque.setPixel(4, 2, qRgb(200, 100, 0));
    QImage clear(3, 2, QImage::Format_ARGB32);
    clear.fill(qRgba(1, 2, 3, 0));
    clear.setPixel(1, 1, qRgba(90, 80, 70, 128));
    const QByteArray good = PixelFile::write(opaque);
    auto withHead = [&](int word, std::uint32_t value) {
        QByteArray f = good;
        std::memcpy(f.data() + 4 + 4 * word, &value, 4);
        return f;
    };
    QTest::newRow("opaque") << good << 0 << true;
    QTest::newRow("transparent") << PixelFile::write(clear) << 0 << true;
    QTest::newRow("off the boundary: copied") << good << 1 << true;
    QTest::newRow("one byte short") << good.chopped(1) << 0 << false;
    QTest::newRow("one byte over") << good + '\0' << 0 << false;
    QTest::newRow("head only") << good.left(PixelFile::HeadSize) << 0 << false;
    QTest::newRow("other magic") << QByteArray("STPY") + good.mid(4) << 0 << false;
    QTest::newRow("width 0") << withHead(0, 0) << 0 << false;
    QTest::newRow("too wide to add up") << withHead(0, 0x40000001) << 0 << false;
    QTest::newRow("16 bits a pixel") << withHead(2, QImage::Format_RGB16) << 0 << false;
    QTest::newRow("no format") << withHead(2, 0xffffffff) << 0 << false;
    QTest::newRow("not an image at all") << QByteArray("BM\0\0") << 0 << false;
}

void tst_Artwork::pixelFiles()
{
    QFETCH(QByteArray, file);
    QFETCH(int, shift);
    QFETCH(bool, valid);
    // An aligned copy of the file, moved `shift` bytes on.
    std::vector<std::uint32_t> store(std::size_t(file.size()) / 4 + 2);
    auto *data = reinterpret_cast<uchar *>(store.data()) + shift;
    std::memcpy(data, file.constData(), std::size_t(file.size()));

    const QImage img = Artwork::fromPixels(data, file.size(), true);
    QCOMPARE(img.isNull(), !valid);
    if (!valid)
        return;
    QCOMPARE(Artwork::formatOf(file.left(8)), QByteArray("PIXELS"));
    QCOMPARE(PixelFile::write(img), file);
    // In place only where the pixels lie on their boundary; a copy otherwise, and
    // always when asked for one.
    QCOMPARE(img.constBits() == data + PixelFile::HeadSize, shift == 0);
    QVERIFY(Artwork::fromPixels(data, file.size(), false).constBits() != data + PixelFile::HeadSize);
}

void tst_Artwork::bitmap100IsBmp()
{
    // The program reads bitmap resources as BMP files, like the lesson strips.
    CoreEnvironment env;
    QCOMPARE(readFile(QStringLiteral(":/res/BITMAP/100")).left(2), QByteArray("BM"));
    const QImage img = ModResFiles::LoadResPicture(100);
    QCOMPARE(img.size(), QSize(400, 300));
    QVERIFY(env.reporter.reports.isEmpty());
    // A picture, not a blank sheet.
    QSet<QRgb> colours;
    for (int y = 0; y < img.height(); y += 3)
        for (int x = 0; x < img.width(); x += 3)
            colours.insert(img.pixel(x, y));
    QVERIFY2(colours.size() > 20, qPrintable(QString::number(colours.size())));
}

void tst_Artwork::grid_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("scale");
    QTest::newRow("1x") << QStringLiteral(":/art/grid.png") << 1;
    QTest::newRow("2x") << QStringLiteral(":/art/grid@2x.png") << 2;
}

void tst_Artwork::grid()
{
    // Lines two logical pixels wide, exactly on the pixel grid at either scale.
    QFETCH(QString, path);
    QFETCH(int, scale);
    const QImage img = art(path).convertToFormat(QImage::Format_ARGB32);
    const QRgb line = qRgba(255, 182, 47, 255);
    auto onLine = [scale](int v, int limit) {
        const int l = v / scale;
        return l >= 50 && l < limit && l % 50 < 2;
    };
    int lines = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (onLine(x, 400) || onLine(y, 300)) {
                ++lines;
                if (p != line)
                    QFAIL(msg("line pixel %1,%2 is %3", x, y, QString::number(p, 16)));
            } else if (qAlpha(p) != 0) {
                QFAIL(msg("pixel %1,%2 off the lines is not transparent", x, y));
            }
        }
    // 7 columns of 2 x 300 and 5 rows of 2 x 400, crossings counted once.
    QCOMPARE(lines, (7 * 2 * 300 + 5 * 2 * 400 - 7 * 2 * 5 * 2) * scale * scale);
}

void tst_Artwork::palette_data()
{
    QTest::addColumn<int>("column");
    for (int c = 0; c < 19; ++c)
        QTest::addRow("column %d", c) << c;
}

void tst_Artwork::palette()
{
    QFETCH(int, column);
    const QImage img = art(QStringLiteral(":/art/palette.png"));
    auto cell = [&](int c, int r) { return QColor(img.pixel(c * 25 + 12, r * 22 + 11)); };
    auto hue = [](const QColor &c) { return c.hsvHueF() * 360.0; };

    // Every cell is flat and offers a colour of its own: none of the cells before
    // it has the same.
    for (int r = 0; r < 6; ++r) {
        const QRect area(column * 25, r * 22, 25, 22);
        const QRgb first = img.pixel(area.topLeft());
        QCOMPARE(countPixels(img, area, [&](QRgb p) { return p != first; }), 0);
        for (int before = 0; before < column * 6 + r; ++before)
            QVERIFY2(img.pixel(before / 6 * 25, before % 6 * 22) != first,
                     msg("cell %1,%2 has the colour of cell %3,%4", column, r, before / 6, before % 6));
    }
    if (column < 2) {
        // Two columns of greys, from white at the top left to black at the bottom right.
        for (int r = 0; r < 6; ++r) {
            const QColor g = cell(column, r);
            QVERIFY2(g.red() == g.green() && g.green() == g.blue(), msg("cell %1,%2 is not grey", column, r));
            if (column + r > 0)
                QVERIFY2(g.red() < cell(column - (r == 0), (r + 5) % 6).red(), "greys do not run from white to black");
        }
        return;
    }

    // One hue per column, six shades from light to dark.
    const double h = hue(cell(column, 2));
    QVERIFY2(cell(column, 2).hsvSaturation() > 200, "the middle shade is not a full colour");
    double lightness = 2.0;
    for (int r = 0; r < 6; ++r) {
        const QColor c = cell(column, r);
        double d = std::abs(hue(c) - h);
        d = std::min(d, 360 - d);
        QVERIFY2(d < 4, msg("row %1 hue %2, column hue %3", r, hue(c), h));
        const double l = c.lightnessF() * 0.5 + c.valueF() * 0.5;
        QVERIFY2(l < lightness, msg("row %1 is not darker than the one above", r));
        lightness = l;
    }
    // Columns run red, yellow, green, cyan, blue, magenta.
    if (column == 2)
        QVERIFY(h < 1 || h > 359);
    else
        QVERIFY2(h > hue(cell(column - 1, 2)), "hues are out of order");
    if (column == 18)
        QVERIFY(std::abs(h - 300) < 5);
}

void tst_Artwork::cursorHotspot()
{
    const QByteArray data = readFile(QStringLiteral(":/res/CURSOR/101"));
    QVERIFY(data.startsWith("\x89PNG"));
    const QImage img = QImage::fromData(data);
    QCOMPARE(img.size(), QSize(32, 32));
    const QStringList hot = img.text(QStringLiteral("hotspot")).split(QLatin1Char(','));
    QCOMPARE(hot.size(), 2);
    bool okX = false, okY = false;
    const int x = hot[0].toInt(&okX), y = hot[1].toInt(&okY);
    QVERIFY(okX && okY);
    // A point off the picture reads as transparent.
    QVERIFY2(qAlpha(img.pixel(x, y)) >= 200, "the hot spot is not on the pencil");
    // The point is at the lower left, and the pencil runs up to the upper right.
    QVERIFY(x < 8 && y > 23);
    auto drawn = [&](const QRect &r) { return countPixels(img, r, [](QRgb p) { return qAlpha(p) > 0; }); };
    QVERIFY(drawn(QRect(24, 0, 8, 8)) > 10);
    QCOMPARE(drawn(QRect(0, 0, 8, 8)), 0);
    QCOMPARE(drawn(QRect(24, 24, 8, 8)), 0);
    // No pixel reaches further down-left than the hot spot.
    for (int j = 0; j < 32; ++j)
        for (int i = 0; i < 32; ++i)
            if (qAlpha(img.pixel(i, j)) > 0)
                QVERIFY2(i - j >= x - y - 1, msg("pixel %1,%2 lies beyond the point", i, j));
}

void tst_Artwork::icons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<double>("crisp");
    // Symbols built from straight strokes must sit on whole pixels: at least three
    // fully opaque pixels for each smoothed one (a stroke half a pixel off gives
    // one opaque to two smoothed). Round and slanted ones keep their smoothing.
    const QStringList straight = QStringLiteral("open save print quit previous next browse grid size").split(u' ');
    for (const QString &name : IconNames)
        QTest::newRow(qPrintable(name)) << name << (straight.contains(name) ? 3.0 : 0.5);
}

void tst_Artwork::icons()
{
    QFETCH(QString, name);
    QFETCH(double, crisp);
    // The sizes are checked with every picture's.
    const QImage small = art(iconPath(name)).convertToFormat(QImage::Format_ARGB32);
    const QImage twice = art(large(iconPath(name))).convertToFormat(QImage::Format_ARGB32);
    for (const QImage &img : {small, twice}) {
        // Black with alpha only, so that the button's tint is the only colour.
        QCOMPARE(countPixels(img, img.rect(), [](QRgb p) { return (p & 0xffffff) != 0; }), 0);
        const int covered = countPixels(img, img.rect(), [](QRgb p) { return qAlpha(p) > 0; });
        const int solid = countPixels(img, img.rect(), [](QRgb p) { return qAlpha(p) == 255; });
        const int partial = covered - solid;
        const int area = img.width() * img.height();
        QVERIFY2(covered > area / 12, "the symbol is nearly empty");
        QVERIFY2(covered < area * 3 / 4, "the symbol fills the whole square");
        QVERIFY2(solid >= crisp * partial, msg("%1 px: %2 solid, %3 partial", img.width(), solid, partial));
        // Nothing touches the very edge rows, so neighbouring symbols never meet.
        for (const int y : {0, img.height() - 1})
            QCOMPARE(countPixels(img, QRect(0, y, img.width(), 1), [](QRgb p) { return qAlpha(p) >= 128; }), 0);
    }
    // The large symbol is the same drawing as the small one.
    const QImage reduced = twice.scaled(24, 24, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY2(meanDifference(reduced, small) < 22, qPrintable(QString::number(meanDifference(reduced, small))));
}

void tst_Artwork::colours_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QRect>("area"); // its pixels' mean colour is compared
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<int>("within"); // the red, green and blue distances add up to less
    const QColor black(0, 0, 0), red(210, 20, 40), gold(255, 200, 0), white(255, 255, 255), green(0, 146, 70),
        blue(0, 35, 149), navy(1, 33, 105), sand(222, 191, 120);
    auto flag = [](const char *tag, int digit, QPoint at, const QColor &colour) {
        QTest::newRow(tag) << flagPath(digit) << QRect(at, QSize(1, 1)) << colour << 90;
    };
    flag("German black", 0, {16, 3}, black);
    flag("German red", 0, {16, 10}, red);
    flag("German gold", 0, {16, 16}, gold);
    flag("British cross", 1, {16, 10}, red);
    flag("British upright", 1, {16, 2}, red);
    flag("British white edge", 1, {13, 3}, white);
    flag("British field", 1, {9, 2}, navy);
    flag("British fly", 1, {21, 18}, navy);
    flag("British hoist", 1, {10, 18}, navy);
    flag("Italian green", 3, {5, 10}, green);
    flag("Italian white", 3, {16, 10}, white);
    flag("Italian red", 3, {26, 10}, red);
    flag("Spanish red top", 4, {24, 2}, red);
    flag("Spanish yellow", 4, {24, 10}, gold);
    flag("Spanish red bottom", 4, {24, 17}, red);
    flag("French blue", 6, {5, 10}, blue);
    flag("French white", 6, {16, 10}, white);
    flag("French red", 6, {26, 10}, red);
    // The palette's first cell is white, its last grey black.
    QTest::newRow("palette white") << ":/art/palette.png" << QRect(0, 0, 1, 1) << white << 1;
    QTest::newRow("palette black") << ":/art/palette.png" << QRect(25 + 24, 5 * 22 + 21, 1, 1) << black << 1;
    // The pen window's panel and the slider rail are sand, the colour of the buttons.
    QTest::newRow("pen window sand") << ":/art/pen_bg.png" << QRect(0, 0, 609, 239) << sand << 80;
    QTest::newRow("rail sand top") << ":/art/slider_rail.png" << QRect(0, 0, 1, 1) << sand << 1;
    QTest::newRow("rail sand side") << ":/art/slider_rail.png" << QRect(17, 66, 1, 1) << sand << 1;
}

void tst_Artwork::colours()
{
    QFETCH(QString, path);
    QFETCH(QRect, area);
    QFETCH(QColor, colour);
    QFETCH(int, within);
    const QImage img = art(path);
    QVERIFY(img.rect().contains(area));
    double red = 0, green = 0, blue = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = img.pixel(x, y);
            red += qRed(p);
            green += qGreen(p);
            blue += qBlue(p);
        }
    const double n = double(area.width()) * area.height();
    const QColor c(int(red / n), int(green / n), int(blue / n));
    const int d =
        std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) + std::abs(c.blue() - colour.blue());
    QVERIFY2(d < within, msg("%1 at %2,%3", c.name(), area.x(), area.y()));
}

void tst_Artwork::distinct_data()
{
    QTest::addColumn<QStringList>("paths");
    QTest::addColumn<double>("least"); // the mean difference of any two
    QStringList icons, flags;
    for (const QString &name : IconNames)
        icons << iconPath(name);
    for (int d : FlagDigits)
        flags << flagPath(d);
    QTest::newRow("icons") << icons << 8.0;
    // Italy and France share the white middle and a red side.
    QTest::newRow("flags") << flags << 10.0;
    // The second line of the logos differs; the name is the same (see logos).
    QTest::newRow("logos") << QStringList{QStringLiteral(":/art/logo0.png"), QStringLiteral(":/art/logo1.png")} << 1.0;
}

void tst_Artwork::distinct()
{
    QFETCH(QStringList, paths);
    QFETCH(double, least);
    for (qsizetype a = 0; a < paths.size(); ++a)
        for (qsizetype b = a + 1; b < paths.size(); ++b)
            QVERIFY2(meanDifference(art(paths[a]), art(paths[b])) > least, msg("%1 looks like %2", paths[a], paths[b]));
}

void tst_Artwork::logos()
{
    const QImage german = art(QStringLiteral(":/art/logo0.png")).convertToFormat(QImage::Format_ARGB32);
    const QImage english = art(QStringLiteral(":/art/logo1.png")).convertToFormat(QImage::Format_ARGB32);
    // The name is the same; that the second line differs, the distinct rows check.
    QCOMPARE(german.copy(0, 0, 200, 67), english.copy(0, 0, 200, 67));
    // Playful: the letters come in several crayon colours.
    QSet<int> hues;
    for (int y = 0; y < german.height(); ++y)
        for (int x = 0; x < german.width(); ++x) {
            const QColor c(german.pixel(x, y));
            if (qAlpha(german.pixel(x, y)) == 255 && c.hsvSaturation() > 100 && c.value() > 150)
                hues.insert(c.hsvHue() / 30);
        }
    QVERIFY2(hues.size() >= 5, qPrintable(QString::number(hues.size())));
    // Drawn across the width, with a transparent border all round.
    auto drawn = [](const QImage &img, int left, int right) {
        return countPixels(img, QRect(left, 0, right - left + 1, img.height()), [](QRgb p) { return qAlpha(p) > 128; });
    };
    for (const QImage &img : {german, english}) {
        QVERIFY(drawn(img, 0, 19) > 0);
        QVERIFY(drawn(img, 501, img.width() - 1) > 0);
        QCOMPARE(drawn(img, img.width() - 1, img.width() - 1), 0);
    }
}

void tst_Artwork::calmAreas_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QRect>("area");
    QTest::addColumn<int>("range");
    // Behind the toolbar panel and the copy the panel takes 150 pixels to its right,
    // and the notice text in the lower left corner.
    QTest::newRow("main toolbar") << ":/art/background.png" << QRect(25, 300, 326, 300) << 40;
    QTest::newRow("main notice") << ":/art/background.png" << QRect(20, 590, 200, 20) << 40;
    // The title, the link and the OK button of the about window.
    QTest::newRow("about title") << ":/art/about.png" << QRect(56, 80, 250, 42) << 40;
    QTest::newRow("about link") << ":/art/about.png" << QRect(56, 160, 240, 36) << 40;
    QTest::newRow("about button") << ":/art/about.png" << QRect(180, 260, 70, 35) << 40;
    QTest::newRow("about flags") << ":/art/about.png" << QRect(312, 200, 32, 116) << 40;
    // The panels under the picker's preview, and the pen window's controls.
    QTest::newRow("picker panels") << ":/art/picker_bg.png" << QRect(92, 320, 257, 92) << 40;
    QTest::newRow("pen window") << ":/art/pen_bg.png" << QRect(20, 20, 569, 199) << 60;
}

void tst_Artwork::calmAreas()
{
    QFETCH(QString, path);
    QFETCH(QRect, area);
    QFETCH(int, range);
    const QImage img = art(path);
    QVERIFY(img.rect().contains(area));
    // No drawn object: neighbouring pixels differ only by grain, and the area as a
    // whole changes only as slowly as a gradient.
    int steepest = 0, low = 255, high = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const int g = qGray(img.pixel(x, y));
            low = std::min(low, g);
            high = std::max(high, g);
            if (x > area.left())
                steepest = std::max(steepest, std::abs(g - qGray(img.pixel(x - 1, y))));
            if (y > area.top())
                steepest = std::max(steepest, std::abs(g - qGray(img.pixel(x, y - 1))));
        }
    QVERIFY2(steepest <= 12, msg("an edge of %1 levels", steepest));
    QVERIFY2(high - low <= range, msg("range %1..%2", low, high));
}

void tst_Artwork::railGroove()
{
    // The groove in the middle of the slider rail is darker than the sand around it.
    const QImage rail = art(QStringLiteral(":/art/slider_rail.png"));
    QVERIFY(qGray(rail.pixel(9, 66)) < qGray(QColor(222, 191, 120).rgb()) - 20);
}

QTEST_GUILESS_MAIN(tst_Artwork)
#include "tst_artwork.moc"
