// The lesson strips the program carries: their file format, what each step adds,
// and the RLE8 encoder and palette they are made with.

#include "core/resources.h"
#include "lessoncheck.h"
#include "lessonrender.h"
#include "rle8.h"
#include "support/checkmessage.h"
#include "support/testsupport.h"

#include <QDir>
#include <QHash>
#include <QSet>
#include <QTest>
#include <QtEndian>

#include <algorithm>

using namespace LessonTools;

namespace {

constexpr int StripWidth = 400;
constexpr int CellH = 300;
constexpr int Cells = 6;
constexpr int StripHeight = CellH * Cells;
constexpr int EdgeMargin = 12;

quint32 le32(const QByteArray &b, int at) { return qFromLittleEndian<quint32>(b.constData() + at); }
quint16 le16(const QByteArray &b, int at) { return qFromLittleEndian<quint16>(b.constData() + at); }

// A strict reader of an RLE8 pixel stream: every row must be written in full and
// closed by end-of-line, the bitmap closed by end-of-bitmap right after the last
// row; delta escapes are refused. Returns the rows bottom-up, or an explanation.
struct StrictDecode {
    QList<QByteArray> rows;
    QString error;
};

StrictDecode decodeStrict(const QByteArray &data, int width, int height)
{
    StrictDecode out;
    QByteArray row;
    int i = 0;
    auto fail = [&](const QString &why) {
        out.error = QStringLiteral("at byte %1, row %2: %3").arg(i).arg(out.rows.size()).arg(why);
        return out;
    };
    while (i + 1 < data.size()) {
        const uchar a = uchar(data[i]);
        const uchar b = uchar(data[i + 1]);
        if (a > 0) {
            if (row.size() + a > width)
                return fail(QStringLiteral("run beyond the row's end"));
            row.append(QByteArray(a, char(b)));
            i += 2;
        } else if (b == 0) {
            if (row.size() != width)
                return fail(QStringLiteral("row ends after %1 of %2 pixels").arg(row.size()).arg(width));
            out.rows << row;
            row.clear();
            i += 2;
        } else if (b == 1) {
            if (!row.isEmpty() || out.rows.size() != height)
                return fail(QStringLiteral("end of bitmap before all rows were written"));
            if (i + 2 != data.size())
                return fail(QStringLiteral("%1 bytes after the end of bitmap").arg(data.size() - i - 2));
            return out;
        } else if (b == 2) {
            return fail(QStringLiteral("delta escape"));
        } else {
            const int n = b;
            const int padded = n + (n % 2);
            if (i + 2 + padded > data.size())
                return fail(QStringLiteral("absolute run cut short"));
            if (row.size() + n > width)
                return fail(QStringLiteral("absolute run beyond the row's end"));
            row.append(data.mid(i + 2, n));
            i += 2 + padded;
        }
    }
    return fail(QStringLiteral("no end of bitmap"));
}

bool isWhite(QRgb c) { return (c & 0xffffff) == 0xffffff; }
// Clearly drawn: not just the faint edge of an antialiased stroke.
bool isInk(QRgb c) { return qMin(qMin(qRed(c), qGreen(c)), qBlue(c)) < 160; }
// The outline colour of the finished picture, not a dark fill beside it.
bool isOutline(QRgb c) { return qMax(qMax(qRed(c), qGreen(c)), qBlue(c)) < 90; }

// Whether a pixel of cell `cell` within `reach` pixels of x,y passes `test`; a
// neighbour off the cell counts as the cell's edge pixel nearest to it.
bool near(const QImage &image, int cell, int x, int y, int reach, bool (*test)(QRgb))
{
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (test(image.pixel(qBound(0, x + dx, StripWidth - 1), cell * CellH + qBound(0, y + dy, CellH - 1))))
                return true;
    return false;
}

// The pixels of cell `from` for which `was` holds while no pixel of cell `to` within
// `reach` pixels satisfies `is`; the first of them goes to `first`.
int unmatched(const QImage &image, int from, int to, bool (*was)(QRgb), bool (*is)(QRgb), int reach, QPoint *first)
{
    int n = 0;
    for (int y = 0; y < CellH; ++y) {
        for (int x = 0; x < StripWidth; ++x) {
            if (!was(image.pixel(x, from * CellH + y)))
                continue;
            if (!near(image, to, x, y, reach, is) && n++ == 0)
                *first = QPoint(x, y);
        }
    }
    return n;
}

bool isDrawn(QRgb c) { return !isWhite(c); }

// A palette of 256 different colours, so that indices and colours identify each other.
QList<QRgb> distinctPalette()
{
    QList<QRgb> p;
    for (int i = 0; i < 256; ++i)
        p << qRgb(i, 255 - i, (i * 37) & 0xff);
    return p;
}

// The parts that do not start and end on lines already drawn, and what they are:
// parts with a free end leave the drawing on one side, parts apart touch nothing.
struct StandingPart {
    int lesson;
    int step;
    Standing standing;
    const char *what;
};

const StandingPart standingParts[] = {
    {1, 4, Standing::Apart, "the windows"},
    {2, 5, Standing::Apart, "the smile"},
    {3, 4, Standing::Free, "the stem"},
    {4, 3, Standing::Apart, "the apples in the crown"},
    {4, 4, Standing::Apart, "the ground"},
    {5, 2, Standing::Free, "the stem"},
    {6, 4, Standing::Apart, "the eye"},
    {7, 3, Standing::Apart, "the eyes"},
    {7, 4, Standing::Apart, "the nose, mouth and whiskers"},
    {8, 4, Standing::Apart, "the nose and mouth"},
    {9, 3, Standing::Apart, "the eye"},
    {9, 5, Standing::Apart, "the wing"},
    {10, 2, Standing::Free, "the spiral"},
    {10, 4, Standing::Free, "the feelers"},
    {10, 5, Standing::Apart, "the eye"},
    {11, 4, Standing::Free, "the feelers"},
    {11, 5, Standing::Apart, "the spots on the wings"},
    {12, 5, Standing::Free, "the legs"},
    {13, 4, Standing::Apart, "the eye"},
    {13, 5, Standing::Free, "the feelers"},
    {14, 5, Standing::Apart, "the eye"},
    {15, 4, Standing::Apart, "the nostrils and mouth"},
    {16, 4, Standing::Apart, "the eye"},
    {16, 5, Standing::Apart, "the wing"},
    {17, 4, Standing::Apart, "the nose and mouth"},
    {18, 4, Standing::Free, "the whiskers"},
    {18, 5, Standing::Free, "the tail"},
    {20, 5, Standing::Apart, "the muzzle"},
    {22, 3, Standing::Apart, "the eyes"},
    {22, 4, Standing::Apart, "the beak"},
    {22, 5, Standing::Apart, "the wings"},
    {23, 4, Standing::Apart, "the beak"},
    {24, 4, Standing::Apart, "the ear"},
    {26, 2, Standing::Apart, "the mane around the face"},
    {26, 4, Standing::Apart, "the nose and mouth"},
    {26, 5, Standing::Free, "the line between the legs"},
    {27, 4, Standing::Apart, "the eye"},
    {28, 4, Standing::Free, "the mouth"},
    {28, 5, Standing::Free, "the spout"},
    {30, 5, Standing::Apart, "the nose and mouth"},
    {31, 3, Standing::Apart, "the windows"},
    {31, 5, Standing::Apart, "the hubcaps"},
    {32, 4, Standing::Apart, "the window"},
    {33, 2, Standing::Free, "the mast"},
    {34, 4, Standing::Apart, "the windows"},
    {35, 2, Standing::Apart, "the porthole"},
    {36, 3, Standing::Free, "the tail"},
    {36, 5, Standing::Free, "the string"},
    {37, 2, Standing::Free, "the stick"},
    {37, 3, Standing::Free, "the hook"},
    {37, 5, Standing::Free, "the tip"},
    {38, 5, Standing::Apart, "the steam"},
    {39, 5, Standing::Apart, "the windows"},
    {41, 3, Standing::Apart, "the eyes"},
    {42, 4, Standing::Apart, "the nose and mouth"},
};

} // namespace

class tst_Lessons : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void countMatches();

    void fileFormat_data() { stripRows(); }
    void fileFormat();
    void cells_data() { stripRows(); }
    void cells();
    void sourceDrawable_data() { stripRows(); }
    void sourceDrawable();

    void encodeRow_data();
    void encodeRow();
    void quantise_data();
    void quantise();

private:
    void stripRows();
    QByteArray raw(int lesson);
    QImage strip(int lesson);
    QString sourcePath(int lesson);

    int m_count = 0;
    QHash<int, QImage> m_strips;
};

void tst_Lessons::initTestCase()
{
    QVERIFY2(ModResFiles::HasResource(100, QStringLiteral("STRING")), "string resource 100 is missing");
    bool ok = false;
    m_count = ModResFiles::LoadResString(100).trimmed().toInt(&ok);
    QVERIFY2(ok, "string resource 100 is not a number");
    QVERIFY2(m_count >= 1 && m_count <= 99, msg("lesson count %1", m_count));
}

void tst_Lessons::stripRows()
{
    QTest::addColumn<int>("lesson");
    for (int n = 1; n <= m_count; ++n)
        QTest::newRow(qPrintable(QStringLiteral("lesson %1").arg(n, 2, 10, QLatin1Char('0')))) << n;
}

QByteArray tst_Lessons::raw(int lesson)
{
    if (!ModResFiles::HasResource(100 + lesson, QStringLiteral("BITMAP")))
        return {};
    return ModResFiles::LoadResData(100 + lesson, QStringLiteral("BITMAP"));
}

QImage tst_Lessons::strip(int lesson)
{
    QImage &image = m_strips[lesson];
    if (image.isNull())
        image.loadFromData(raw(lesson), "BMP");
    return image;
}

QString tst_Lessons::sourcePath(int lesson)
{
    const QString root = qEnvironmentVariable("STIFTOLINO_SOURCE_DIR");
    if (root.isEmpty())
        return {};
    const QDir dir(root + QStringLiteral("/resources/lessons"));
    const QString pattern = QStringLiteral("%1-*.svg").arg(lesson, 2, 10, QLatin1Char('0'));
    const QStringList names = dir.entryList({pattern});
    // Without exactly one source, the name of the missing one makes the reading fail.
    return dir.filePath(names.size() == 1 ? names.first() : pattern);
}

void tst_Lessons::countMatches()
{
    // Every number up to the count has its strip (each row of fileFormat reads
    // one), and there is none beyond it.
    QVERIFY2(!ModResFiles::HasResource(101 + m_count, QStringLiteral("BITMAP")),
             msg("bitmap resource %1 lies beyond the count %2", 101 + m_count, m_count));
    // And there are as many sources.
    const QString root = qEnvironmentVariable("STIFTOLINO_SOURCE_DIR");
    if (root.isEmpty())
        QSKIP("STIFTOLINO_SOURCE_DIR is not set; the lesson sources cannot be counted");
    const QStringList sources =
        QDir(root + QStringLiteral("/resources/lessons")).entryList({QStringLiteral("[0-9][0-9]-*.svg")}, QDir::Files);
    QCOMPARE(m_count, int(sources.size()));
}

void tst_Lessons::fileFormat()
{
    QFETCH(int, lesson);
    const QByteArray b = raw(lesson);
    QVERIFY2(b.size() > 54 + 1024, "the bitmap is too short for its headers and palette");
    QCOMPARE(b.left(2), QByteArray("BM"));
    QCOMPARE(le32(b, 2), quint32(b.size()));
    QCOMPARE(le32(b, 14), quint32(40));
    QCOMPARE(int(le32(b, 18)), StripWidth);
    QCOMPARE(int(le32(b, 22)), StripHeight); // bottom-up
    QCOMPARE(le16(b, 26), quint16(1));
    QCOMPARE(le16(b, 28), quint16(8)); // 8 bits per pixel
    QCOMPARE(le32(b, 30), quint32(1)); // RLE8
    const quint32 used = le32(b, 46) ? le32(b, 46) : 256;
    QVERIFY(used <= 256);
    QCOMPARE(le32(b, 10), quint32(54 + 4 * used)); // the palette fills the gap
    QCOMPARE(le32(b, 34), quint32(b.size()) - le32(b, 10));

    const QImage image = strip(lesson);
    QVERIFY2(!image.isNull(), "Qt cannot read the strip");
    QCOMPARE(image.size(), QSize(StripWidth, StripHeight));
    QCOMPARE(image.format(), QImage::Format_Indexed8);
    QVERIFY(image.colorCount() > 16 && image.colorCount() <= 256);

    // Read here from the bytes, the palette (blue, green, red, unused) and the
    // pixel stream give Qt's reading, colour for colour and pixel for pixel; the
    // stream is strict, so that any reader gets the same.
    QCOMPARE(image.colorCount(), int(used));
    for (int i = 0; i < int(used); ++i)
        QCOMPARE(image.color(i), qRgb(uchar(b[56 + 4 * i]), uchar(b[55 + 4 * i]), uchar(b[54 + 4 * i])));
    const StrictDecode d = decodeStrict(b.mid(int(le32(b, 10))), StripWidth, StripHeight);
    QVERIFY2(d.error.isEmpty(), qPrintable(d.error)); // and so all rows are there
    for (int y = 0; y < StripHeight; ++y) {
        const QByteArray &row = d.rows[StripHeight - 1 - y];
        QVERIFY2(memcmp(row.constData(), image.constScanLine(y), StripWidth) == 0, msg("row %1 differs", y));
    }
}

void tst_Lessons::cells()
{
    QFETCH(int, lesson);
    const QImage image = strip(lesson);
    QVERIFY(!image.isNull());
    const QRect inside(EdgeMargin, EdgeMargin, StripWidth - 2 * EdgeMargin, CellH - 2 * EdgeMargin);
    for (int cell = 0; cell < Cells; ++cell) {
        const int top = cell * CellH;
        int white = 0, ink = 0, changed = 0;
        QRect drawn;
        for (int y = 0; y < CellH; ++y) {
            for (int x = 0; x < StripWidth; ++x) {
                const QRgb c = image.pixel(x, top + y);
                white += isWhite(c);
                ink += isInk(c);
                if (!isWhite(c))
                    drawn |= QRect(x, y, 1, 1);
                if (cell > 0 && c != image.pixel(x, top - CellH + y))
                    ++changed;
            }
        }
        // Outlines stay on white paper; even the coloured finish leaves a good part of it.
        QVERIFY2(white > StripWidth * CellH / 5, msg("cell %1 has only %2 white pixels", cell, white));
        // Every step adds ink.
        QVERIFY2(ink >= 200, msg("cell %1 has only %2 inked pixels", cell, ink));
        if (cell > 0)
            QVERIFY2(changed >= 100, msg("cell %1 changes only %2 pixels of cell %3", cell, changed, cell - 1));
        // Ink keeps off the cell's edges (so its corners are white too).
        QVERIFY2(inside.contains(drawn), msg("cell %1: ink spans x %2..%3, y %4..%5", cell, drawn.left(), drawn.right(),
                                             drawn.top(), drawn.bottom()));
        // The subject fills a good part of the cell in the finished picture.
        if (cell == Cells - 1)
            QVERIFY2(drawn.width() >= 150 && drawn.height() >= 150,
                     msg("finished picture only %1 x %2", drawn.width(), drawn.height()));
        if (cell == 0)
            continue;
        // A stroke drawn in one step is still there in the next (red turns grey, it
        // does not go away), and in the finished picture it is still a line: the
        // child cannot erase, so nothing may ask for a line the picture later hides
        // or leaves out. Faint antialiased edges may differ a little between steps;
        // in the finished picture a line may move by a pixel or two, but none may go.
        const bool last = cell == Cells - 1;
        QPoint first;
        const int lost = unmatched(image, cell - 1, cell, isInk, last ? isOutline : isDrawn, last ? 2 : 0, &first);
        const int before = countPixels(image, QRect(0, (cell - 1) * CellH, StripWidth, CellH), isInk);
        QVERIFY2(lost <= (last ? 0 : 5 + before / 200),
                 msg("%1 of %2 inked pixels of cell %3 are no line in cell %4, first at %5,%6", lost, before, cell - 1,
                     cell, first.x(), first.y()));
    }
    // The finished picture colours in what the steps drew: it has no line of its own.
    QPoint first;
    const int added = unmatched(image, Cells - 1, Cells - 2, isOutline, isInk, 2, &first);
    QVERIFY2(added == 0,
             msg("the finished picture has %1 line pixels no step drew, first at %2,%3", added, first.x(), first.y()));

    // The steps are outlines in grey and signal red; the finished picture is coloured
    // in: areas left white by the last step get a colour.
    QSet<QRgb> stepColours;
    int filled = 0;
    for (int y = 0; y < CellH; ++y) {
        for (int x = 0; x < StripWidth; ++x) {
            if (isWhite(image.pixel(x, 4 * CellH + y)) && !isWhite(image.pixel(x, 5 * CellH + y)))
                ++filled;
            if (y % 3 == 0 && x % 3 == 0)
                stepColours << (image.pixel(x, 1 * CellH + y) | 0xff000000);
        }
    }
    QVERIFY2(filled >= 2000, msg("only %1 pixels coloured in", filled));
    QVERIFY(stepColours.contains(SignalRed));
    QVERIFY(stepColours.contains(DarkGrey));
}

void tst_Lessons::sourceDrawable()
{
    QFETCH(int, lesson);
    const QString path = sourcePath(lesson);
    if (path.isEmpty())
        QSKIP("STIFTOLINO_SOURCE_DIR is not set; the lesson sources cannot be read");
    const LessonSource src = readLessonSource(path);
    QVERIFY2(src.problems.isEmpty(), qPrintable(src.problems.join(QLatin1Char('\n'))));
    // A child copies a step in a few strokes; the last step only colours.
    const QList<int> &counts = src.strokes;
    QCOMPARE(counts.size(), Cells);
    for (int step = 0; step + 1 < Cells; ++step)
        QVERIFY2(counts[step] >= 1 && counts[step] <= MaxStrokesPerStep,
                 msg("step%1 asks for %2 strokes", step + 1, counts[step]));
    QCOMPARE(counts.last(), 0);

    // The strokes keep to the lines of their step's cell. The rule checks below
    // read the source's shapes themselves, and would judge a wrong picture.
    const QList<LessonStroke> strokes = lessonStrokes(src.svg);
    const QImage image = strip(lesson);
    QVERIFY(!image.isNull());
    for (const LessonStroke &s : strokes) {
        for (const QPointF &p : s.points) {
            if (!near(image, s.step - 1, qRound(p.x()), qRound(p.y()), 1, isInk))
                QFAIL(msg("%1 passes %2,%3, where its cell has no line", describe(s), p.x(), p.y()));
        }
    }
    // The child copies a picture that hangs together: each new part starts and ends
    // on a line already there, so nothing ends in the air or floats with a gap.
    QHash<int, Standing> standing;
    for (const StandingPart &p : standingParts)
        if (p.lesson == lesson)
            standing.insert(p.step, p.standing);
    const QStringList loose = looseStrokes(strokes, standing);
    QVERIFY2(loose.isEmpty(), qPrintable(loose.join(QLatin1Char('\n'))));
    // The list allows no more than each part needs: held to the next stricter rule,
    // every part in it stands loose.
    for (const StandingPart &p : standingParts) {
        if (p.lesson != lesson)
            continue;
        QHash<int, Standing> stricter = standing;
        stricter.insert(p.step, p.standing == Standing::Apart ? Standing::Free : Standing::Joined);
        const QString mark = QStringLiteral("step%1 ").arg(p.step);
        const QStringList found = looseStrokes(strokes, stricter);
        QVERIFY2(std::any_of(found.cbegin(), found.cend(), [&](const QString &f) { return f.startsWith(mark); }),
                 msg("step%1, %2, meets the drawing better than the list says", p.step, QString::fromUtf8(p.what)));
    }
    // A closed shape a few pixels wide cannot be drawn with a mouse; a pupil or a nose
    // tip is a filled dot instead.
    const QStringList tiny = tinyShapes(strokes);
    QVERIFY2(tiny.isEmpty(), qPrintable(tiny.join(QLatin1Char('\n'))));
}

void tst_Lessons::encodeRow_data()
{
    QTest::addColumn<QByteArray>("row");
    auto run = [](int n, int v) { return QByteArray(n, char(v)); };
    auto ramp = [](int n, int start) {
        QByteArray r;
        for (int i = 0; i < n; ++i)
            r.append(char((start + i) & 0xff));
        return r;
    };
    QTest::newRow("one pixel") << run(1, 7);
    QTest::newRow("two equal") << run(2, 9);
    QTest::newRow("two different") << ramp(2, 3);
    QTest::newRow("three different") << ramp(3, 40);
    QTest::newRow("literal of four") << ramp(4, 10);
    QTest::newRow("literal of five") << ramp(5, 10);
    QTest::newRow("run of 255") << run(255, 200);
    QTest::newRow("run of 256") << run(256, 17);
    QTest::newRow("run of 400") << run(400, 0);
    QTest::newRow("literal of 255") << ramp(255, 1);
    QTest::newRow("literal of 256") << ramp(256, 0);
    QTest::newRow("literal of 300") << ramp(300, 5);
    QTest::newRow("pairs") << QByteArray::fromHex("0101020203030404");
    QTest::newRow("literal, run, literal") << ramp(5, 1) + run(9, 77) + ramp(7, 100);
    QTest::newRow("run, single, run") << run(6, 1) + run(1, 2) + run(6, 1);
    QTest::newRow("ends in two") << ramp(6, 20) + run(2, 99);
    QTest::newRow("ends in one after run") << run(30, 5) + run(1, 6);
    QTest::newRow("odd width, alternating") << QByteArray::fromHex("01020102010201020102010201");
    QTest::newRow("high indices") << QByteArray::fromHex("fffffefdfcfcfcfcff00");
}

void tst_Lessons::encodeRow()
{
    QFETCH(QByteArray, row);
    const int w = int(row.size());
    // The row alone reads back strictly. Absolute mode is only allowed from three
    // pixels on: the strict reader takes a shorter one for the escape it would
    // spell (end of bitmap, delta) and refuses it.
    const QByteArray encoded = encodeRle8Row(reinterpret_cast<const uchar *>(row.constData()), w);
    const StrictDecode d = decodeStrict(encoded + QByteArray("\0\1", 2), w, 1);
    QVERIFY2(d.error.isEmpty(), qPrintable(d.error));
    QCOMPARE(d.rows.value(0), row);

    // Three rows in a file: the row itself, reversed, and constant, so that rows
    // follow each other; Qt reads them back.
    QImage image(w, 3, QImage::Format_Indexed8);
    image.setColorTable(distinctPalette());
    QByteArray reversed = row;
    std::reverse(reversed.begin(), reversed.end());
    memcpy(image.scanLine(0), row.constData(), size_t(w));
    memcpy(image.scanLine(1), reversed.constData(), size_t(w));
    memset(image.scanLine(2), 0x42, size_t(w));
    const QByteArray file = writeRle8Bitmap(image);
    QImage back;
    QVERIFY(back.loadFromData(file, "BMP"));
    QCOMPARE(back.size(), image.size());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < w; ++x)
            QVERIFY2(back.pixel(x, y) == image.pixel(x, y),
                     msg("pixel %1,%2: %3 instead of %4", x, y, QString::number(back.pixel(x, y), 16),
                         QString::number(image.pixel(x, y), 16)));
}

void tst_Lessons::quantise_data()
{
    QTest::addColumn<QRgb>("colour");
    QTest::addColumn<QRgb>("expected");
    // The flat colours of the strips stay as they are.
    QTest::newRow("white") << White << White;
    QTest::newRow("signal red") << SignalRed << SignalRed;
    QTest::newRow("dark grey") << DarkGrey << DarkGrey;
    QTest::newRow("outline") << Outline << Outline;
    const QList<QRgb> fills = fillColours();
    for (QRgb c : fills)
        QTest::newRow(qPrintable(QStringLiteral("fill #%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0')))) << c << c;
    // Nearly white stays white; a colour between two palette entries goes to the nearer one.
    QTest::newRow("nearly white") << qRgb(254, 254, 253) << White;
    QTest::newRow("near signal red") << qRgb(0xe2, 0x22, 0x20) << SignalRed;
    QTest::newRow("near dark grey") << qRgb(0x58, 0x5b, 0x5a) << DarkGrey;
}

void tst_Lessons::quantise()
{
    QFETCH(QRgb, colour);
    QFETCH(QRgb, expected);
    QCOMPARE(lessonPalette().size(), 256);
    QImage image(4, 2, QImage::Format_RGB32);
    image.fill(colour);
    const QImage q = LessonTools::quantise(image);
    QCOMPARE(q.format(), QImage::Format_Indexed8);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            QCOMPARE(q.pixel(x, y) | 0xff000000, expected | 0xff000000);
}

QTEST_MAIN(tst_Lessons)
#include "tst_lessons.moc"
