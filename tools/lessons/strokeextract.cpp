#include "strokeextract.h"

#include "lessonrender.h"
#include "rle8.h"

#include <QDomDocument>
#include <QHash>
#include <QPaintEngine>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>

namespace LessonTools {

namespace {

const QString ShapeTag = QStringLiteral("data-shape");

// Takes what the SVG renderer paints instead of painting it: every shape as a
// path in cell coordinates, with the pen it is stroked with.
class PathRecorder : public QPaintEngine
{
public:
    struct Item {
        QPainterPath path;
        QPen pen;
        qreal scale = 1; // how much the shape's transform enlarges its pen
    };

    PathRecorder() : QPaintEngine(QPaintEngine::AllFeatures) {}

    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState &s) override
    {
        if (s.state() & DirtyTransform)
            m_transform = s.transform();
        if (s.state() & DirtyPen)
            m_pen = s.pen();
    }
    void drawPath(const QPainterPath &path) override
    {
        items << Item{m_transform.map(path), m_pen, std::sqrt(std::abs(m_transform.determinant()))};
    }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        QPainterPath path;
        if (count > 0)
            path.moveTo(points[0]);
        for (int i = 1; i < count; ++i)
            path.lineTo(points[i]);
        if (mode != PolylineMode)
            path.closeSubpath();
        path.setFillRule(mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill);
        drawPath(path);
    }
    void drawPoints(const QPointF *points, int count) override
    {
        // A line of no length: kept as such, so that it is refused.
        for (int i = 0; i < count; ++i) {
            QPainterPath path;
            path.moveTo(points[i]);
            path.lineTo(points[i]);
            drawPath(path);
        }
    }
    void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}

    QList<Item> items;

private:
    QTransform m_transform;
    QPen m_pen;
};

class RecordingDevice : public QPaintDevice
{
public:
    QPaintEngine *paintEngine() const override { return &m_engine; }
    QList<PathRecorder::Item> items() const { return m_engine.items; }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth:
            return CellWidth;
        case PdmHeight:
            return CellHeight;
        case PdmWidthMM:
            return CellWidth * 254 / 960;
        case PdmHeightMM:
            return CellHeight * 254 / 960;
        case PdmNumColors:
            return 0x7fffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    mutable PathRecorder m_engine;
};

struct ShapeInfo {
    QString tag;
    int step = 0;
    bool drawn = true;
    bool solid = false;
    QString draw;     // data-draw
    int subpaths = 1; // as the source counts them
};

bool hasClass(const QDomElement &e, QLatin1String name)
{
    return e.attribute(QStringLiteral("class")).split(QLatin1Char(' ')).contains(name);
}

bool isShape(const QDomElement &e)
{
    static const QStringList names = {QStringLiteral("path"),   QStringLiteral("circle"), QStringLiteral("ellipse"),
                                      QStringLiteral("rect"),   QStringLiteral("line"),   QStringLiteral("polyline"),
                                      QStringLiteral("polygon")};
    return names.contains(e.tagName());
}

// Numbers every shape below `element` in document order, in its data-shape.
void tagShapes(QDomElement element, int step, QList<ShapeInfo> &shapes)
{
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == QLatin1String("g")) {
            tagShapes(e, step, shapes);
            continue;
        }
        if (!isShape(e))
            continue;
        ShapeInfo info;
        info.tag = e.tagName();
        info.step = step;
        info.drawn = !hasClass(e, QLatin1String("fill"));
        info.solid = hasClass(e, QLatin1String("solid"));
        info.draw = e.attribute(QStringLiteral("data-draw"));
        if (info.tag == QLatin1String("path")) {
            const QString d = e.attribute(QStringLiteral("d"));
            info.subpaths = int(d.count(QLatin1Char('M')) + d.count(QLatin1Char('m')));
        }
        e.setAttribute(ShapeTag, QString::number(shapes.size()));
        shapes << info;
    }
}

// Each shape stroked in a colour of its own (its number + 1), nothing filled.
void markShapes(QDomElement element)
{
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        e.removeAttribute(QStringLiteral("fill"));
        e.removeAttribute(QStringLiteral("stroke"));
        if (e.tagName() == QLatin1String("g")) {
            markShapes(e);
            continue;
        }
        if (!e.hasAttribute(ShapeTag))
            continue;
        const int n = e.attribute(ShapeTag).toInt() + 1;
        e.setAttribute(QStringLiteral("fill"), QStringLiteral("none"));
        e.setAttribute(QStringLiteral("stroke"), QStringLiteral("#%1").arg(n, 6, 16, QLatin1Char('0')));
        if (!e.hasAttribute(QStringLiteral("stroke-width")))
            e.setAttribute(QStringLiteral("stroke-width"), QStringLiteral("4"));
        e.removeAttribute(QStringLiteral("class"));
        e.removeAttribute(QStringLiteral("style"));
    }
}

qreal lengthOf(const QPolygonF &points)
{
    qreal length = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        length += QLineF(points[i - 1], points[i]).length();
    return length;
}

// Twice the signed area: positive when the ring runs clockwise on the screen.
qreal signedArea(const QPolygonF &ring)
{
    qreal sum = 0;
    for (qsizetype i = 0; i < ring.size(); ++i) {
        const QPointF &a = ring[i];
        const QPointF &b = ring[(i + 1) % ring.size()];
        sum += a.x() * b.y() - b.x() * a.y();
    }
    return sum;
}

// The subpaths on the stored grid, without repeated points; a subpath that ends
// where it began ends exactly there.
QList<StrokePath> flatten(const QPainterPath &path)
{
    // Curves are flattened four times finer than the renderer's threshold, so
    // that a line drawn along the points lies on the strip's line.
    constexpr qreal Fine = 4;
    QList<StrokePath> paths;
    for (const QPolygonF &fine : path.toSubpathPolygons(QTransform::fromScale(Fine, Fine))) {
        StrokePath p;
        for (const QPointF &pt : fine) {
            const QPointF snapped(std::round(pt.x() / Fine * LessonStrokes::Grid) / LessonStrokes::Grid,
                                  std::round(pt.y() / Fine * LessonStrokes::Grid) / LessonStrokes::Grid);
            if (p.points.isEmpty() || p.points.last() != snapped)
                p.points << snapped;
        }
        if (p.points.size() > 2 && QLineF(p.points.first(), p.points.last()).length() < 0.5) {
            p.points.last() = p.points.first();
            p.closed = true;
        }
        paths << p;
    }
    return paths;
}

// Turns a closed subpath so that it starts at `start` of its ring and runs
// clockwise on the screen (or counter-clockwise).
void turnRing(StrokePath &p, qsizetype start, bool clockwise)
{
    QPolygonF ring = p.points.mid(0, p.points.size() - 1);
    std::rotate(ring.begin(), ring.begin() + start, ring.end());
    const qreal area = signedArea(ring);
    if ((clockwise && area < 0) || (!clockwise && area > 0)) {
        std::reverse(ring.begin() + 1, ring.end());
        p.reversed = !p.reversed;
    }
    ring << ring.first();
    p.points = ring;
}

void orient(StrokePath &p, bool round)
{
    if (p.closed) {
        const QPolygonF &pts = p.points;
        qreal top = pts.first().y();
        for (const QPointF &pt : pts)
            top = std::min(top, pt.y());
        // A round shape starts at its very top; a shape with corners at the
        // leftmost point of its top edge, which may lean a little.
        const qreal reach = round ? 0 : 1.5;
        qsizetype start = -1;
        for (qsizetype i = 0; i + 1 < pts.size(); ++i) {
            if (pts[i].y() <= top + reach && (start < 0 || pts[i].x() < pts[start].x()))
                start = i;
        }
        turnRing(p, start, !round);
        return;
    }
    const QPointF a = p.points.first(), b = p.points.last();
    const bool across = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
    if ((across && b.x() < a.x()) || (!across && b.y() < a.y())) {
        std::reverse(p.points.begin(), p.points.end());
        p.reversed = true;
    }
}

void elementsInOrder(const QDomElement &element, QList<QDomElement> &out)
{
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        if (e.tagName() == QLatin1String("g"))
            elementsInOrder(e, out);
        else if (e.hasAttribute(ShapeTag))
            out << e;
    }
}

QRgb paletteColour(const QColor &c)
{
    QImage one(1, 1, QImage::Format_RGB32);
    one.fill(c);
    return quantise(one).pixel(0, 0);
}

int stepOf(const QDomElement &group)
{
    static const QRegularExpression re(QStringLiteral("^step([1-6])$"));
    const auto m = re.match(group.attribute(QStringLiteral("id")));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

ExtractedStrokes extractStrokes(const QByteArray &svg, const QString &where)
{
    ExtractedStrokes out;
    QStringList &problems = out.problems;
    QDomDocument doc;
    if (!doc.setContent(svg)) {
        problems << QStringLiteral("%1: not readable").arg(where);
        return out;
    }
    QList<ShapeInfo> info;
    QDomElement root = doc.documentElement();
    for (QDomElement g = root.firstChildElement(); !g.isNull(); g = g.nextSiblingElement())
        tagShapes(g, stepOf(g), info);
    const QByteArray tagged = doc.toByteArray(-1);

    // The shapes' geometry, exactly as the renderer of the strips reads it.
    QDomDocument marked = doc.cloneNode(true).toDocument();
    QDomElement markedRoot = marked.documentElement();
    markShapes(markedRoot);
    RecordingDevice device;
    {
        QSvgRenderer renderer(marked.toByteArray(-1));
        QPainter p(&device);
        renderer.render(&p, QRectF(0, 0, CellWidth, CellHeight));
    }
    QHash<int, PathRecorder::Item> geometry;
    for (const PathRecorder::Item &item : device.items()) {
        const int n = int(item.pen.color().rgb() & 0xffffff) - 1;
        if (n >= 0 && n < info.size())
            geometry.insert(n, item);
    }

    LessonStrokes &l = out.strokes;
    l.newLine = SignalRed;
    l.earlierLine = DarkGrey;
    l.outline = Outline;
    for (int i = 0; i < info.size(); ++i) {
        const ShapeInfo &s = info[i];
        const QString shape = QStringLiteral("%1 step%2: shape %3 <%4>").arg(where).arg(s.step).arg(i + 1).arg(s.tag);
        StrokeShape stroke;
        stroke.step = s.step;
        stroke.drawn = s.drawn;
        stroke.solid = s.solid;
        if (!geometry.contains(i)) {
            problems << QStringLiteral("%1 draws nothing: which way it runs cannot be told").arg(shape);
            l.shapes << stroke;
            continue;
        }
        const PathRecorder::Item &item = geometry[i];
        stroke.fillRule = item.path.fillRule();
        stroke.width = item.pen.widthF() * item.scale;
        stroke.paths = flatten(item.path);
        if (s.drawn) {
            if (stroke.paths.size() != s.subpaths)
                problems << QStringLiteral("%1 draws %2 strokes where %3 begin with \"M\": a stroke of no "
                                           "length, whose way cannot be told, or one that does not "
                                           "begin with M")
                                .arg(shape)
                                .arg(stroke.paths.size())
                                .arg(s.subpaths);
            if (!s.draw.isEmpty() && s.draw != QLatin1String("as-written") && s.draw != QLatin1String("reversed"))
                problems << QStringLiteral("%1: data-draw=\"%2\" is neither \"as-written\" nor \"reversed\"")
                                .arg(shape, s.draw);
            const bool round = s.tag == QLatin1String("circle") || s.tag == QLatin1String("ellipse");
            for (int k = 0; k < stroke.paths.size(); ++k) {
                StrokePath &p = stroke.paths[k];
                if (p.points.size() < 2 || lengthOf(p.points) < 0.5) {
                    problems << QStringLiteral("%1, stroke %2 has no length: which way it runs cannot be told")
                                    .arg(shape)
                                    .arg(k + 1);
                    continue;
                }
                if (s.draw == QLatin1String("reversed")) {
                    if (p.closed)
                        std::reverse(p.points.begin() + 1, p.points.end() - 1);
                    else
                        std::reverse(p.points.begin(), p.points.end());
                    p.reversed = true;
                } else if (s.draw.isEmpty()) {
                    orient(p, round);
                }
            }
        }
        l.shapes << stroke;
    }

    // The colours of the finished picture, in the order its cell lays them down.
    QDomDocument finished;
    finished.setContent(cellSvg(tagged, CellCount - 1));
    QList<QDomElement> laid;
    elementsInOrder(finished.documentElement(), laid);
    for (const QDomElement &e : std::as_const(laid)) {
        if (e.attribute(QStringLiteral("stroke")) != QLatin1String("none"))
            continue;
        const QColor colour(e.attribute(QStringLiteral("fill")));
        if (!colour.isValid())
            continue;
        l.areas << StrokeArea{e.attribute(ShapeTag).toInt(), paletteColour(colour)};
    }
    return out;
}

} // namespace LessonTools
