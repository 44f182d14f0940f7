// Makes the lesson strips from their SVG sources.
//
//   gen_lessons --strip NN-subject.svg out.bmp     one strip, RLE8 bitmap (build)
//   gen_lessons --strokes NN-subject.svg out.stk    its strokes for the lesson window
//                                                   to draw live (build)
//   gen_lessons --count out.txt sources...          the number of lessons (build)
//   gen_lessons --preview NN-subject.svg out.png    the six cells side by side
//   gen_lessons --contact-sheet out.png files...    all strips small with the strokes
//                                                   of each step, where each stroke
//                                                   starts (a dot) and which way it
//                                                   runs (an arrow), for review; the
//                                                   files are the strips (.bmp) and
//                                                   their sources (.svg)

#include "lessonrender.h"
#include "rle8.h"
#include "strokeextract.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QMap>
#include <QPainter>
#include <QSaveFile>

#include <algorithm>
#include <cstdio>

using namespace LessonTools;

namespace {

void say(const QString &text) { std::fprintf(stderr, "%s\n", qPrintable(text)); }

int usage()
{
    say(QStringLiteral("usage: gen_lessons --strip source.svg out.bmp\n"
                       "       gen_lessons --strokes source.svg out.stk\n"
                       "       gen_lessons --count out.txt source.svg...\n"
                       "       gen_lessons --preview source.svg out.png\n"
                       "       gen_lessons --contact-sheet out.png strip.bmp... source.svg..."));
    return 2;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        say(QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
        return false;
    }
    return true;
}

// Reads a source and reports what is wrong with it; false when it cannot be used.
bool loadSource(const QString &path, LessonSource &src)
{
    src = readLessonSource(path);
    for (const QString &p : std::as_const(src.problems))
        say(QStringLiteral("error: %1").arg(p));
    return src.problems.isEmpty();
}

void warnAbout(const QString &path, const QImage &strip)
{
    const QStringList problems = checkStrip(strip);
    for (const QString &p : problems)
        say(QStringLiteral("warning: %1: %2").arg(path, p));
}

int makeStrip(const QString &in, const QString &out)
{
    LessonSource src;
    if (!loadSource(in, src))
        return 1;
    if (lessonNumber(in) < 1) {
        say(QStringLiteral("error: %1: the file name must be NN-subject.svg").arg(in));
        return 1;
    }
    const QList<int> &strokes = src.strokes;
    for (int step = 0; step < CellCount; ++step) {
        if (strokes[step] > MaxStrokesPerStep)
            say(QStringLiteral("warning: %1: step%2 asks for %3 strokes (at most %4)")
                    .arg(in)
                    .arg(step + 1)
                    .arg(strokes[step])
                    .arg(MaxStrokesPerStep));
    }
    const QImage strip = renderStrip(src.svg);
    warnAbout(in, strip);
    return writeFile(out, writeRle8Bitmap(strip)) ? 0 : 1;
}

int makeStrokes(const QString &in, const QString &out)
{
    LessonSource src;
    if (!loadSource(in, src))
        return 1;
    const ExtractedStrokes strokes = extractStrokes(src.svg, in);
    for (const QString &p : strokes.problems)
        say(QStringLiteral("error: %1").arg(p));
    if (!strokes.problems.isEmpty())
        return 1;
    return writeFile(out, strokes.strokes.encode()) ? 0 : 1;
}

int makeCount(const QString &out, const QStringList &sources)
{
    QList<int> numbers;
    for (const QString &s : sources)
        numbers << lessonNumber(s);
    std::sort(numbers.begin(), numbers.end());
    for (int i = 0; i < numbers.size(); ++i) {
        if (numbers[i] != i + 1) {
            say(QStringLiteral("warning: the lessons are not numbered 1..%1 without gaps").arg(numbers.size()));
            break;
        }
    }
    return writeFile(out, QByteArray::number(qsizetype(sources.size()))) ? 0 : 1;
}

int makePreview(const QString &in, const QString &out)
{
    LessonSource src;
    const bool usable = loadSource(in, src);
    if (src.svg.isEmpty())
        return 1;
    const QImage strip = renderStrip(src.svg);
    warnAbout(in, strip);
    QImage sheet(CellWidth * CellCount + 10 * (CellCount - 1), CellHeight, QImage::Format_RGB32);
    sheet.fill(QColor(200, 200, 200));
    QPainter p(&sheet);
    for (int cell = 0; cell < CellCount; ++cell)
        p.drawImage(cell * (CellWidth + 10), 0, strip, 0, cell * CellHeight, CellWidth, CellHeight);
    p.end();
    if (!sheet.save(out, "PNG")) {
        say(QStringLiteral("cannot write %1").arg(out));
        return 1;
    }
    return usable ? 0 : 1;
}

// Where each new stroke of cell `cell` starts (a dot) and which way it runs (an
// arrowhead a little way along it), drawn over the cell shown at `target`.
void markStrokes(QPainter &p, const QRectF &target, const LessonStrokes &strokes, int cell)
{
    const qreal scale = target.width() / CellWidth;
    auto at = [&](QPointF c) { return target.topLeft() + c * scale; };
    const QColor mark(20, 90, 230);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    for (const StrokeShape &shape : strokes.shapes) {
        if (!shape.drawn || shape.step != cell + 1)
            continue;
        for (const StrokePath &path : shape.paths) {
            const QPolygonF &pts = path.points;
            if (pts.size() < 2)
                continue;
            // The arrow sits about 7 sheet pixels along the stroke, or half-way
            // along a short one.
            qreal total = 0;
            for (qsizetype i = 1; i < pts.size(); ++i)
                total += QLineF(pts[i - 1], pts[i]).length();
            const qreal want = std::min(total / 2, 7 / scale);
            qreal walked = 0;
            QLineF dir(pts[0], pts[1]);
            for (qsizetype i = 1; i < pts.size(); ++i) {
                const QLineF seg(pts[i - 1], pts[i]);
                if (walked + seg.length() >= want && seg.length() > 0) {
                    dir = QLineF(seg.pointAt((want - walked) / seg.length()), pts[i]);
                    break;
                }
                walked += seg.length();
            }
            const QPointF tip = at(dir.p1());
            QLineF back = QLineF(at(dir.p1()), at(dir.p2()));
            back.setLength(5);
            const QPointF ahead = back.p2();
            back.setAngle(back.angle() + 180);
            const QPointF tail = back.p2();
            QLineF side1(tail, ahead), side2(tail, ahead);
            side1.setAngle(side1.angle() + 90);
            side1.setLength(3);
            side2.setAngle(side2.angle() - 90);
            side2.setLength(3);
            p.setPen(Qt::NoPen);
            p.setBrush(mark);
            p.drawPolygon(QPolygonF{ahead + (ahead - tip) * 0.4, side1.p2(), side2.p2()});
            p.setBrush(Qt::white);
            p.setPen(QPen(mark, 1.5));
            p.drawEllipse(at(pts[0]), 2.5, 2.5);
        }
    }
    p.restore();
}

int makeContactSheet(const QString &out, const QStringList &files)
{
    // Strips are bitmap resource 100 + n, sources NN-subject.svg; both keyed by n.
    QMap<int, QString> strips;
    QMap<int, QList<int>> strokes;
    QMap<int, LessonStrokes> drawn;
    int failures = 0;
    for (const QString &f : files) {
        if (f.endsWith(QLatin1String(".svg"))) {
            const LessonSource src = readLessonSource(f);
            strokes.insert(lessonNumber(f), src.strokes);
            const ExtractedStrokes extracted = extractStrokes(src.svg, f);
            for (const QString &p : extracted.problems)
                say(QStringLiteral("error: %1").arg(p));
            failures += int(extracted.problems.size());
            drawn.insert(lessonNumber(f), extracted.strokes);
        } else {
            strips.insert(QFileInfo(f).completeBaseName().toInt() - 100, f);
        }
    }
    // Large enough to see which way every stroke runs.
    const int cw = 160, ch = 120, gap = 4, label = 36, countHeight = 13;
    const int columns = 2; // two lessons side by side
    const int rowWidth = label + CellCount * (cw + gap);
    const int rowHeight = ch + countHeight + gap;
    const int rows = int((strips.size() + columns - 1) / columns);
    QImage sheet(columns * rowWidth + gap, rows * rowHeight + gap, QImage::Format_RGB32);
    sheet.fill(QColor(190, 190, 190));
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font = p.font();
    font.setBold(true);
    QFont small = font;
    font.setPixelSize(16);
    small.setPixelSize(11);
    int i = 0;
    for (auto it = strips.cbegin(); it != strips.cend(); ++it, ++i) {
        const int x0 = (i % columns) * rowWidth + gap;
        const int y0 = (i / columns) * rowHeight + gap;
        p.setPen(Qt::black);
        p.setFont(font);
        p.drawText(QRect(x0, y0, label - gap, ch), Qt::AlignCenter, QString::number(it.key()));
        const QImage strip(it.value());
        if (strip.isNull()) {
            say(QStringLiteral("cannot read %1").arg(it.value()));
            ++failures;
            continue;
        }
        const QList<int> counts = strokes.value(it.key());
        p.setFont(small);
        for (int cell = 0; cell < CellCount; ++cell) {
            const QRect target(x0 + label + cell * (cw + gap), y0, cw, ch);
            p.drawImage(target, strip, QRect(0, cell * CellHeight, CellWidth, CellHeight));
            if (drawn.contains(it.key()))
                markStrokes(p, target, drawn[it.key()], cell);
            if (counts.isEmpty())
                continue;
            const int n = counts[cell];
            p.setPen(n > MaxStrokesPerStep || (cell == CellCount - 1 && n > 0) ? Qt::red : Qt::black);
            p.drawText(QRect(target.left(), target.bottom() + 1, cw, countHeight), Qt::AlignCenter,
                       cell == CellCount - 1 ? (n ? QStringLiteral("%1 lines!").arg(n) : QStringLiteral("colour"))
                                             : QStringLiteral("%1 stroke%2").arg(n).arg(n == 1 ? "" : "s"));
        }
    }
    p.end();
    if (!sheet.save(out, "PNG")) {
        say(QStringLiteral("cannot write %1").arg(out));
        return 1;
    }
    std::printf("%s\n", qPrintable(out));
    return failures ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    // Needs no display: it only paints into images.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 3 && args[0] == QLatin1String("--strip"))
        return makeStrip(args[1], args[2]);
    if (args.size() == 3 && args[0] == QLatin1String("--strokes"))
        return makeStrokes(args[1], args[2]);
    if (args.size() >= 2 && args[0] == QLatin1String("--count"))
        return makeCount(args[1], args.mid(2));
    if (args.size() == 3 && args[0] == QLatin1String("--preview"))
        return makePreview(args[1], args[2]);
    if (args.size() >= 2 && args[0] == QLatin1String("--contact-sheet"))
        return makeContactSheet(args[1], args.mid(2));
    return usage();
}
