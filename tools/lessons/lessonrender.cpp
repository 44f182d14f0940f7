#include "lessonrender.h"

#include "rle8.h"

#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

namespace LessonTools {

namespace {

const QStringList &shapeNames()
{
    static const QStringList names = {QStringLiteral("path"),   QStringLiteral("circle"), QStringLiteral("ellipse"),
                                      QStringLiteral("rect"),   QStringLiteral("line"),   QStringLiteral("polyline"),
                                      QStringLiteral("polygon")};
    return names;
}

QString colourName(QRgb c) { return QStringLiteral("#%1").arg(c & 0xffffff, 6, 16, QLatin1Char('0')); }

bool hasClass(const QDomElement &e, QLatin1String name)
{
    return e.attribute(QStringLiteral("class")).split(QLatin1Char(' ')).contains(name);
}

// A shape the child never draws: it only colours an area of the finished picture.
bool isFillOnly(const QDomElement &e) { return hasClass(e, QLatin1String("fill")); }

enum class Look {
    Lines, // lines in one colour, nothing filled but the dots
    Fills, // the finished picture's colours, without lines
};

// Sets the look of every shape below `element` for one cell; drops the shapes that
// have nothing to show in it.
void styleShapes(QDomElement element, const QString &stroke, Look look)
{
    QList<QDomElement> drop;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == QLatin1String("g")) {
            e.removeAttribute(QStringLiteral("fill"));
            e.removeAttribute(QStringLiteral("stroke"));
            styleShapes(e, stroke, look);
            continue;
        }
        if (!shapeNames().contains(e.tagName()))
            continue;
        const bool solid = hasClass(e, QLatin1String("solid"));
        const QString ownFill = e.attribute(QStringLiteral("fill"));
        QString fill = QStringLiteral("none");
        QString line = stroke;
        if (look == Look::Fills) {
            // Dots are drawn with the lines, so that no colour can cover them.
            if (solid || ownFill.isEmpty() || ownFill == QLatin1String("none"))
                drop << e;
            fill = ownFill;
            line = QStringLiteral("none");
        } else if (isFillOnly(e)) {
            drop << e;
        } else if (solid) {
            fill = stroke;
        }
        e.setAttribute(QStringLiteral("fill"), fill);
        e.setAttribute(QStringLiteral("stroke"), line);
        if (!e.hasAttribute(QStringLiteral("stroke-width")))
            e.setAttribute(QStringLiteral("stroke-width"), QStringLiteral("4"));
        e.setAttribute(QStringLiteral("stroke-linecap"), QStringLiteral("round"));
        e.setAttribute(QStringLiteral("stroke-linejoin"), QStringLiteral("round"));
        e.removeAttribute(QStringLiteral("class"));
        e.removeAttribute(QStringLiteral("style"));
        e.removeAttribute(QStringLiteral("opacity"));
        e.removeAttribute(QStringLiteral("fill-opacity"));
        e.removeAttribute(QStringLiteral("stroke-opacity"));
    }
    for (QDomElement &e : drop)
        element.removeChild(e);
}

// The shapes directly in `group` marked class="back".
QList<QDomElement> backShapes(const QDomElement &group)
{
    QList<QDomElement> shapes;
    for (QDomElement e = group.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (hasClass(e, QLatin1String("back")))
            shapes << e;
    }
    return shapes;
}

// Strokes of one shape: one, or for a path one per subpath ("M" starts each).
int strokesOf(const QDomElement &e)
{
    if (isFillOnly(e))
        return 0;
    if (e.tagName() != QLatin1String("path"))
        return 1;
    const QString d = e.attribute(QStringLiteral("d"));
    return qMax<int>(1, int(d.count(QLatin1Char('M')) + d.count(QLatin1Char('m'))));
}

int countStrokes(const QDomElement &element)
{
    int n = 0;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == QLatin1String("g"))
            n += countStrokes(e);
        else if (shapeNames().contains(e.tagName()))
            n += strokesOf(e);
    }
    return n;
}

int stepOf(const QDomElement &group)
{
    static const QRegularExpression re(QStringLiteral("^step([1-6])$"));
    const auto m = re.match(group.attribute(QStringLiteral("id")));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

void checkShapes(const QDomElement &element, const QString &where, QStringList &problems)
{
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == QLatin1String("g")) {
            checkShapes(e, where, problems);
        } else if (!shapeNames().contains(e.tagName())) {
            problems << QStringLiteral("%1: <%2> is not a plain shape").arg(where, e.tagName());
        } else {
            if (e.hasAttribute(QStringLiteral("stroke")) || e.hasAttribute(QStringLiteral("style")))
                problems << QStringLiteral("%1: <%2> sets its own stroke or style").arg(where, e.tagName());
            const double w = e.attribute(QStringLiteral("stroke-width"), QStringLiteral("4")).toDouble();
            if (w < 3 || w > 5)
                problems << QStringLiteral("%1: <%2> has stroke-width %3 (3 to 5)").arg(where, e.tagName()).arg(w);
        }
    }
}

} // namespace

int lessonNumber(const QString &path)
{
    static const QRegularExpression re(QStringLiteral("^(\\d\\d)-[^.]+\\.svg$"));
    const auto m = re.match(QFileInfo(path).fileName());
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

LessonSource readLessonSource(const QString &path)
{
    LessonSource src;
    src.path = path;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        src.problems << QStringLiteral("cannot read %1: %2").arg(path, f.errorString());
        return src;
    }
    src.svg = f.readAll();
    QDomDocument doc;
    QString message;
    int line = 0;
    if (!doc.setContent(src.svg, &message, &line)) {
        src.problems << QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(message);
        return src;
    }
    const QDomElement root = doc.documentElement();
    if (root.tagName() != QLatin1String("svg") || root.attribute(QStringLiteral("width")) != QLatin1String("400")
        || root.attribute(QStringLiteral("height")) != QLatin1String("300")
        || root.attribute(QStringLiteral("viewBox")).simplified() != QLatin1String("0 0 400 300"))
        src.problems << QStringLiteral("%1: the picture must be <svg width=\"400\" height=\"300\" "
                                       "viewBox=\"0 0 400 300\">")
                            .arg(path);
    QList<int> steps;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const int step = stepOf(e);
        if (e.tagName() != QLatin1String("g") || step == 0) {
            src.problems << QStringLiteral("%1: <%2 id=\"%3\"> lies outside the six step groups")
                                .arg(path, e.tagName(), e.attribute(QStringLiteral("id")));
            continue;
        }
        steps << step;
        checkShapes(e, QStringLiteral("%1 step%2").arg(path).arg(step), src.problems);
        const int strokes = countStrokes(e);
        src.strokes[step - 1] += strokes;
        if (step < CellCount && strokes == 0)
            src.problems << QStringLiteral("%1: step%2 draws nothing").arg(path).arg(step);
        if (step == CellCount && strokes > 0)
            src.problems << QStringLiteral("%1: step%2 only colours, yet it has %3 lines "
                                           "(mark its shapes class=\"fill\")")
                                .arg(path)
                                .arg(step)
                                .arg(strokes);
    }
    if (steps != QList<int>{1, 2, 3, 4, 5, 6})
        src.problems << QStringLiteral("%1: the groups must be step1 .. step6 in order").arg(path);
    return src;
}

QByteArray cellSvg(const QByteArray &source, int cell)
{
    QDomDocument doc;
    doc.setContent(source);
    QDomElement root = doc.documentElement();
    const bool finished = cell >= CellCount - 1;
    QList<QDomElement> remove;
    QList<QDomElement> groups;
    for (QDomElement e = root.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const int step = stepOf(e);
        if (step == 0 || step > cell + 1) {
            remove << e;
            continue;
        }
        e.removeAttribute(QStringLiteral("fill"));
        e.removeAttribute(QStringLiteral("stroke"));
        groups << e;
    }
    for (QDomElement &e : remove)
        root.removeChild(e);
    if (!finished) {
        for (QDomElement &e : groups) {
            const QRgb stroke = stepOf(e) == cell + 1 ? SignalRed : DarkGrey;
            styleShapes(e, colourName(stroke), Look::Lines);
        }
        return doc.toByteArray(-1);
    }
    // The finished picture: all colours first, in the order of the source, then all
    // lines on top, so that colouring in never covers a line the child has drawn.
    // Parts behind the earlier ones take their colour beneath them: the later such a
    // part, the further back.
    const QDomNode firstLines = root.firstChild();
    QDomElement back = doc.createElement(QStringLiteral("g"));
    root.insertBefore(back, firstLines);
    for (QDomElement &e : groups) {
        QDomElement fills = e.cloneNode(true).toElement();
        fills.removeAttribute(QStringLiteral("id"));
        for (QDomElement &shape : backShapes(fills))
            back.insertBefore(fills.removeChild(shape), back.firstChild());
        styleShapes(fills, QStringLiteral("none"), Look::Fills);
        root.insertBefore(fills, firstLines);
        styleShapes(e, colourName(Outline), Look::Lines);
    }
    styleShapes(back, QStringLiteral("none"), Look::Fills);
    return doc.toByteArray(-1);
}

QImage renderCell(const QByteArray &source, int cell)
{
    QImage image(CellWidth, CellHeight, QImage::Format_RGB32);
    image.fill(White);
    QSvgRenderer renderer(cellSvg(source, cell));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    renderer.render(&p, QRectF(0, 0, CellWidth, CellHeight));
    p.end();
    return image;
}

QImage renderStrip(const QByteArray &source)
{
    QImage strip(CellWidth, CellHeight * CellCount, QImage::Format_RGB32);
    QPainter p(&strip);
    for (int cell = 0; cell < CellCount; ++cell)
        p.drawImage(0, cell * CellHeight, renderCell(source, cell));
    p.end();
    return quantise(strip);
}

QStringList checkStrip(const QImage &strip)
{
    QStringList problems;
    const QImage img = strip.convertToFormat(QImage::Format_RGB32);
    QImage previous;
    for (int cell = 0; cell < CellCount; ++cell) {
        const QImage c = img.copy(0, cell * CellHeight, CellWidth, CellHeight);
        QRect ink;
        for (int y = 0; y < CellHeight; ++y) {
            const QRgb *row = reinterpret_cast<const QRgb *>(c.constScanLine(y));
            for (int x = 0; x < CellWidth; ++x) {
                if ((row[x] | 0xff000000) != White)
                    ink |= QRect(x, y, 1, 1);
            }
        }
        if (ink.isNull())
            problems << QStringLiteral("cell %1 is empty").arg(cell);
        else if (ink.left() < Margin || ink.top() < Margin || ink.right() >= CellWidth - Margin
                 || ink.bottom() >= CellHeight - Margin)
            problems << QStringLiteral("cell %1: ink reaches x %2..%3, y %4..%5 (allowed %6..%7, %6..%8)")
                            .arg(cell)
                            .arg(ink.left())
                            .arg(ink.right())
                            .arg(ink.top())
                            .arg(ink.bottom())
                            .arg(Margin)
                            .arg(CellWidth - Margin - 1)
                            .arg(CellHeight - Margin - 1);
        if (!previous.isNull() && previous == c)
            problems << QStringLiteral("cell %1 looks the same as cell %2").arg(cell).arg(cell - 1);
        previous = c;
    }
    return problems;
}

} // namespace LessonTools
