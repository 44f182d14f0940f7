#include "lessoncheck.h"

#include <QDomDocument>
#include <QLineF>
#include <QRegularExpression>
#include <QTransform>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <limits>

namespace LessonTools {

namespace {

// Curves are cut into pieces this long at most, so that a piece strays less than a
// tenth of a pixel from the curve for every radius the lessons use.
constexpr double PieceLength = 2.0;

QList<double> numbers(const QString &text)
{
    static const QRegularExpression re(QStringLiteral("[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?"));
    QList<double> out;
    for (auto it = re.globalMatch(text); it.hasNext();)
        out << it.next().captured().toDouble();
    return out;
}

double attr(const QDomElement &e, const char *name) { return e.attribute(QLatin1String(name)).toDouble(); }

bool hasClass(const QDomElement &e, QLatin1String name)
{
    return e.attribute(QStringLiteral("class")).split(QLatin1Char(' ')).contains(name);
}

// The transform attribute: translate, scale, rotate (about a point) and matrix.
QTransform transformOf(const QDomElement &e)
{
    static const QRegularExpression re(QStringLiteral("(\\w+)\\s*\\(([^)]*)\\)"));
    QTransform total;
    for (auto it = re.globalMatch(e.attribute(QStringLiteral("transform"))); it.hasNext();) {
        const auto m = it.next();
        const QList<double> v = numbers(m.captured(2));
        const QString name = m.captured(1);
        QTransform t;
        if (name == QLatin1String("translate") && !v.isEmpty()) {
            t.translate(v[0], v.value(1));
        } else if (name == QLatin1String("scale") && !v.isEmpty()) {
            t.scale(v[0], v.size() > 1 ? v[1] : v[0]);
        } else if (name == QLatin1String("rotate") && !v.isEmpty()) {
            t.translate(v.value(1), v.value(2));
            t.rotate(v[0]);
            t.translate(-v.value(1), -v.value(2));
        } else if (name == QLatin1String("matrix") && v.size() == 6) {
            t = QTransform(v[0], v[1], v[2], v[3], v[4], v[5]);
        }
        // The rightmost transform acts first.
        total = t * total;
    }
    return total;
}

int piecesFor(double length) { return qMax(8, int(std::ceil(length / PieceLength))); }

// An elliptic arc about `c` with radii rx, ry turned by `phi`, from angle t0 through dt.
void addArc(QPolygonF &line, QPointF c, double rx, double ry, double phi, double t0, double dt)
{
    const int n = piecesFor(std::abs(dt) * qMax(rx, ry));
    const double cp = std::cos(phi), sp = std::sin(phi);
    for (int i = 1; i <= n; ++i) {
        const double t = t0 + dt * i / n;
        const double x = rx * std::cos(t), y = ry * std::sin(t);
        line << QPointF(c.x() + cp * x - sp * y, c.y() + sp * x + cp * y);
    }
}

double angleBetween(QPointF u, QPointF v)
{
    return std::atan2(u.x() * v.y() - u.y() * v.x(), u.x() * v.x() + u.y() * v.y());
}

// The endpoint form of an SVG arc turned into its centre form.
void addSvgArc(QPolygonF &line, QPointF from, double rx, double ry, double degrees, bool large, bool sweep, QPointF to)
{
    rx = std::abs(rx);
    ry = std::abs(ry);
    if (from == to)
        return;
    if (rx == 0 || ry == 0) {
        line << to;
        return;
    }
    const double phi = qDegreesToRadians(degrees);
    const double cp = std::cos(phi), sp = std::sin(phi);
    const double dx = (from.x() - to.x()) / 2, dy = (from.y() - to.y()) / 2;
    const double x1 = cp * dx + sp * dy, y1 = -sp * dx + cp * dy;
    const double grow = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
    if (grow > 1) {
        rx *= std::sqrt(grow);
        ry *= std::sqrt(grow);
    }
    const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
    const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
    double k = std::sqrt(qMax(0.0, num / den));
    if (large == sweep)
        k = -k;
    const double cx1 = k * rx * y1 / ry, cy1 = -k * ry * x1 / rx;
    const QPointF c(cp * cx1 - sp * cy1 + (from.x() + to.x()) / 2, sp * cx1 + cp * cy1 + (from.y() + to.y()) / 2);
    const QPointF u((x1 - cx1) / rx, (y1 - cy1) / ry);
    const QPointF v((-x1 - cx1) / rx, (-y1 - cy1) / ry);
    const double t0 = angleBetween(QPointF(1, 0), u);
    double dt = angleBetween(u, v);
    if (!sweep && dt > 0)
        dt -= 2 * M_PI;
    else if (sweep && dt < 0)
        dt += 2 * M_PI;
    addArc(line, c, rx, ry, phi, t0, dt);
    line.last() = to;
}

void addBezier(QPolygonF &line, const QList<QPointF> &control)
{
    double length = 0;
    for (int i = 1; i < control.size(); ++i)
        length += std::hypot(control[i].x() - control[i - 1].x(), control[i].y() - control[i - 1].y());
    const int n = piecesFor(length);
    for (int i = 1; i <= n; ++i) {
        // de Casteljau: good for any degree and exact at both ends.
        QList<QPointF> p = control;
        const double t = double(i) / n;
        for (qsizetype d = p.size() - 1; d > 0; --d)
            for (qsizetype j = 0; j < d; ++j)
                p[j] = p[j] * (1 - t) + p[j + 1] * t;
        line << p[0];
    }
}

struct Subpath {
    QPolygonF points;
    bool closed = false;
};

// The subpaths of path data with the commands M L H V C S Q T A Z, absolute or relative.
QList<Subpath> parsePath(const QString &d)
{
    static const QRegularExpression re(
        QStringLiteral("([MmLlHhVvCcSsQqTtAaZz])|([-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?)"));
    QList<Subpath> out;
    QList<double> args;
    QChar command;
    QPointF at, start, lastControl;
    QChar lastCommand;
    auto take = [&](int n) {
        QList<double> v = args.mid(0, n);
        args.remove(0, n);
        return v;
    };
    auto run = [&]() {
        // Runs the current command as often as its arguments allow.
        const bool rel = command.isLower();
        const QChar c = command.toUpper();
        const QPointF base = rel ? at : QPointF();
        auto pt = [&](double x, double y) { return base + QPointF(x, y); };
        const int need = c == QLatin1Char('Z')                                                     ? 0
                         : c == QLatin1Char('H') || c == QLatin1Char('V')                          ? 1
                         : c == QLatin1Char('M') || c == QLatin1Char('L') || c == QLatin1Char('T') ? 2
                         : c == QLatin1Char('S') || c == QLatin1Char('Q')                          ? 4
                         : c == QLatin1Char('C')                                                   ? 6
                                                                                                   : 7;
        if (c == QLatin1Char('Z')) {
            if (!out.isEmpty() && !out.last().points.isEmpty()) {
                if (out.last().points.last() != start)
                    out.last().points << start;
                out.last().closed = true;
            }
            at = start;
            lastCommand = c;
            return;
        }
        bool first = true;
        while (args.size() >= need) {
            const QList<double> v = take(need);
            const QPointF reference = lastControl;
            const bool smooth =
                (c == QLatin1Char('S') && (lastCommand == QLatin1Char('C') || lastCommand == QLatin1Char('S')))
                || (c == QLatin1Char('T') && (lastCommand == QLatin1Char('Q') || lastCommand == QLatin1Char('T')));
            const QPointF mirrored = smooth ? 2 * at - reference : at;
            if (c == QLatin1Char('M') && first) {
                at = start = pt(v[0], v[1]);
                out << Subpath{QPolygonF{at}, false};
            } else {
                if (out.isEmpty() || out.last().closed)
                    out << Subpath{QPolygonF{at}, false};
                QPolygonF &line = out.last().points;
                QPointF to;
                switch (c.unicode()) {
                case 'M':
                case 'L':
                    to = pt(v[0], v[1]);
                    line << to;
                    break;
                case 'H':
                    to = QPointF(rel ? at.x() + v[0] : v[0], at.y());
                    line << to;
                    break;
                case 'V':
                    to = QPointF(at.x(), rel ? at.y() + v[0] : v[0]);
                    line << to;
                    break;
                case 'C':
                    lastControl = pt(v[2], v[3]);
                    to = pt(v[4], v[5]);
                    addBezier(line, {at, pt(v[0], v[1]), lastControl, to});
                    break;
                case 'S':
                    lastControl = pt(v[0], v[1]);
                    to = pt(v[2], v[3]);
                    addBezier(line, {at, mirrored, lastControl, to});
                    break;
                case 'Q':
                    lastControl = pt(v[0], v[1]);
                    to = pt(v[2], v[3]);
                    addBezier(line, {at, lastControl, to});
                    break;
                case 'T':
                    lastControl = mirrored;
                    to = pt(v[0], v[1]);
                    addBezier(line, {at, lastControl, to});
                    break;
                default: // 'A'
                    to = pt(v[5], v[6]);
                    addSvgArc(line, at, v[0], v[1], v[2], v[3] != 0, v[4] != 0, to);
                    break;
                }
                at = to;
            }
            lastCommand = c == QLatin1Char('M') ? QLatin1Char('L') : c;
            first = false;
            if (need == 0)
                break;
        }
    };
    for (auto it = re.globalMatch(d); it.hasNext();) {
        const auto m = it.next();
        if (m.hasCaptured(1)) {
            if (!command.isNull())
                run();
            command = m.captured(1).at(0);
            args.clear();
        } else {
            args << m.captured(2).toDouble();
        }
    }
    if (!command.isNull())
        run();
    return out;
}

QPolygonF ellipse(QPointF c, double rx, double ry)
{
    // From the top, as a drawing teacher starts a circle.
    QPolygonF line{QPointF(c.x(), c.y() - ry)};
    addArc(line, c, rx, ry, 0, -M_PI / 2, 2 * M_PI);
    line.last() = line.first();
    return line;
}

QPolygonF rectangle(const QDomElement &e)
{
    const double x = attr(e, "x"), y = attr(e, "y"), w = attr(e, "width"), h = attr(e, "height");
    double rx = attr(e, "rx"), ry = attr(e, "ry");
    if (!e.hasAttribute(QStringLiteral("ry")))
        ry = rx;
    if (!e.hasAttribute(QStringLiteral("rx")))
        rx = ry;
    rx = qMin(rx, w / 2);
    ry = qMin(ry, h / 2);
    QPolygonF line{QPointF(x + rx, y)};
    auto corner = [&](QPointF c, double t0) {
        if (rx > 0 && ry > 0)
            addArc(line, c, rx, ry, 0, t0, M_PI / 2);
    };
    line << QPointF(x + w - rx, y);
    corner(QPointF(x + w - rx, y + ry), -M_PI / 2);
    line << QPointF(x + w, y + h - ry);
    corner(QPointF(x + w - rx, y + h - ry), 0);
    line << QPointF(x + rx, y + h);
    corner(QPointF(x + rx, y + h - ry), M_PI / 2);
    line << QPointF(x, y + ry);
    corner(QPointF(x + rx, y + ry), M_PI);
    line << line.first();
    return line;
}

QPolygonF pointList(const QDomElement &e)
{
    const QList<double> v = numbers(e.attribute(QStringLiteral("points")));
    QPolygonF line;
    for (qsizetype i = 0; i + 1 < v.size(); i += 2)
        line << QPointF(v[i], v[i + 1]);
    return line;
}

QList<Subpath> subpathsOf(const QDomElement &e)
{
    const QString tag = e.tagName();
    if (tag == QLatin1String("path"))
        return parsePath(e.attribute(QStringLiteral("d")));
    if (tag == QLatin1String("circle"))
        return {{ellipse(QPointF(attr(e, "cx"), attr(e, "cy")), attr(e, "r"), attr(e, "r")), true}};
    if (tag == QLatin1String("ellipse"))
        return {{ellipse(QPointF(attr(e, "cx"), attr(e, "cy")), attr(e, "rx"), attr(e, "ry")), true}};
    if (tag == QLatin1String("rect"))
        return {{rectangle(e), true}};
    if (tag == QLatin1String("line"))
        return {{QPolygonF{QPointF(attr(e, "x1"), attr(e, "y1")), QPointF(attr(e, "x2"), attr(e, "y2"))}, false}};
    if (tag == QLatin1String("polyline"))
        return {{pointList(e), false}};
    if (tag == QLatin1String("polygon")) {
        QPolygonF line = pointList(e);
        if (!line.isEmpty())
            line << line.first();
        return {{line, true}};
    }
    return {};
}

void collect(const QDomElement &group, int step, const QTransform &outer, QList<LessonStroke> &out)
{
    for (QDomElement e = group.firstChildElement(); !e.isNull(); e = e.nextSiblingElement()) {
        const QTransform t = transformOf(e) * outer;
        if (e.tagName() == QLatin1String("g")) {
            collect(e, step, t, out);
            continue;
        }
        if (hasClass(e, QLatin1String("fill")))
            continue;
        for (const Subpath &s : subpathsOf(e)) {
            // A path that comes back to where it started is closed even without "Z".
            const bool back = s.points.size() > 2 && QLineF(s.points.first(), s.points.last()).length() < 0.5;
            LessonStroke stroke;
            stroke.step = step;
            stroke.index =
                int(std::count_if(out.cbegin(), out.cend(), [step](const LessonStroke &o) { return o.step == step; }))
                + 1;
            stroke.shape = e.tagName();
            stroke.points = t.map(s.points);
            stroke.closed = s.closed || back;
            stroke.solid = hasClass(e, QLatin1String("solid"));
            out << stroke;
        }
    }
}

double distanceToSegment(QPointF p, QPointF a, QPointF b)
{
    const QPointF ab = b - a;
    const double len2 = QPointF::dotProduct(ab, ab);
    const double t = len2 > 0 ? qBound(0.0, QPointF::dotProduct(p - a, ab) / len2, 1.0) : 0.0;
    const QPointF q = a + t * ab - p;
    return std::hypot(q.x(), q.y());
}

double cross(QPointF a, QPointF b, QPointF c)
{
    return (b.x() - a.x()) * (c.y() - a.y()) - (b.y() - a.y()) * (c.x() - a.x());
}

double segmentsDistance(QPointF a, QPointF b, QPointF c, QPointF d)
{
    const double d1 = cross(a, b, c), d2 = cross(a, b, d), d3 = cross(c, d, a), d4 = cross(c, d, b);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0)))
        return 0;
    return qMin(qMin(distanceToSegment(a, c, d), distanceToSegment(b, c, d)),
                qMin(distanceToSegment(c, a, b), distanceToSegment(d, a, b)));
}

double distanceToLine(QPointF p, const QPolygonF &line)
{
    if (line.isEmpty())
        return std::numeric_limits<double>::infinity();
    if (line.size() == 1)
        return std::hypot(p.x() - line[0].x(), p.y() - line[0].y());
    double best = std::numeric_limits<double>::infinity();
    for (qsizetype i = 1; i < line.size(); ++i)
        best = qMin(best, distanceToSegment(p, line[i - 1], line[i]));
    return best;
}

// The line without its last `length` pixels; empty when nothing is left.
QPolygonF withoutTail(const QPolygonF &line, double length)
{
    QPolygonF out = line;
    while (out.size() > 1) {
        const QPointF d = out.last() - out[out.size() - 2];
        const double piece = std::hypot(d.x(), d.y());
        if (piece > length) {
            out.last() -= d * (length / piece);
            return out;
        }
        length -= piece;
        out.removeLast();
    }
    return {};
}

QString at(QPointF p) { return QStringLiteral("%1,%2").arg(qRound(p.x())).arg(qRound(p.y())); }

} // namespace

QList<LessonStroke> lessonStrokes(const QByteArray &svg)
{
    QList<LessonStroke> out;
    QDomDocument doc;
    if (!doc.setContent(svg))
        return out;
    static const QRegularExpression stepId(QStringLiteral("^step([1-5])$"));
    const QDomElement root = doc.documentElement();
    for (QDomElement g = root.firstChildElement(); !g.isNull(); g = g.nextSiblingElement()) {
        const auto m = stepId.match(g.attribute(QStringLiteral("id")));
        if (g.tagName() == QLatin1String("g") && m.hasMatch())
            collect(g, m.captured(1).toInt(), transformOf(g), out);
    }
    return out;
}

double distanceToLines(QPointF p, const QList<QPolygonF> &lines)
{
    double best = std::numeric_limits<double>::infinity();
    for (const QPolygonF &line : lines)
        best = qMin(best, distanceToLine(p, line));
    return best;
}

double distanceBetween(const QPolygonF &a, const QPolygonF &b)
{
    if (a.size() < 2 || b.size() < 2) {
        double best = std::numeric_limits<double>::infinity();
        for (const QPointF &p : a)
            best = qMin(best, distanceToLine(p, b));
        for (const QPointF &p : b)
            best = qMin(best, distanceToLine(p, a));
        return best;
    }
    double best = std::numeric_limits<double>::infinity();
    for (qsizetype i = 1; i < a.size(); ++i)
        for (qsizetype j = 1; j < b.size(); ++j)
            best = qMin(best, segmentsDistance(a[i - 1], a[i], b[j - 1], b[j]));
    return best;
}

double widthAcross(const QPolygonF &shape)
{
    // Turning a calliper in steps of a quarter degree misses the narrowest width by
    // far less than a pixel for shapes of this size.
    double best = std::numeric_limits<double>::infinity();
    for (int i = 0; i < 720; ++i) {
        const double t = i * M_PI / 720;
        const QPointF n(std::cos(t), std::sin(t));
        double lo = std::numeric_limits<double>::infinity(), hi = -lo;
        for (const QPointF &p : shape) {
            const double v = QPointF::dotProduct(p, n);
            lo = qMin(lo, v);
            hi = qMax(hi, v);
        }
        best = qMin(best, hi - lo);
    }
    return best;
}

QString describe(const LessonStroke &stroke)
{
    return QStringLiteral("step%1 stroke %2 (%3 from %4)")
        .arg(stroke.step)
        .arg(stroke.index)
        .arg(stroke.shape, stroke.points.isEmpty() ? QString() : at(stroke.points.first()));
}

QStringList looseStrokes(const QList<LessonStroke> &strokes, const QHash<int, Standing> &standing)
{
    QStringList problems;
    QList<QPolygonF> drawn;
    for (const LessonStroke &s : strokes) {
        const Standing how = standing.value(s.step, Standing::Joined);
        if (s.step >= 2 && how != Standing::Apart && !s.solid && s.points.size() > 1) {
            if (s.closed) {
                double gap = std::numeric_limits<double>::infinity();
                for (const QPolygonF &line : std::as_const(drawn))
                    gap = qMin(gap, distanceBetween(s.points, line));
                if (gap > JoinDistance)
                    problems << QStringLiteral("%1 is closed and keeps %2 px from every line")
                                    .arg(describe(s))
                                    .arg(gap, 0, 'f', 1);
            } else {
                const QPolygonF reversed(s.points.crbegin(), s.points.crend());
                QStringList loose;
                for (const QPolygonF &line : {s.points, reversed}) {
                    const QPointF end = line.last();
                    const double gap = distanceToLines(end, drawn);
                    if (gap > JoinDistance && distanceToLine(end, withoutTail(line, 4 * JoinDistance)) > JoinDistance)
                        loose << QStringLiteral("%1 ends in the air at %2, %3 px from any line")
                                     .arg(describe(s), at(end))
                                     .arg(gap, 0, 'f', 1);
                }
                // A free part only has to leave the drawing at one of its ends.
                if (how == Standing::Joined || loose.size() == 2)
                    problems << loose;
            }
        }
        drawn << s.points;
    }
    return problems;
}

QStringList tinyShapes(const QList<LessonStroke> &strokes)
{
    QStringList problems;
    for (const LessonStroke &s : strokes) {
        if (!s.closed || s.solid)
            continue;
        const double w = widthAcross(s.points);
        if (w < SmallestShape)
            problems << QStringLiteral("%1 is only %2 px across").arg(describe(s)).arg(w, 0, 'f', 1);
    }
    return problems;
}

} // namespace LessonTools
