#include "picker/stepdrawing.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int FinishedCell = 5;

double lengthOf(const QPolygonF &points)
{
    double length = 0;
    for (qsizetype i = 1; i < points.size(); ++i)
        length += QLineF(points[i - 1], points[i]).length();
    return length;
}

// The part of the line `points` between the lengths `from` and `to` along it.
QPolygonF partOf(const QPolygonF &points, double from, double to)
{
    QPolygonF part;
    double walked = 0;
    for (qsizetype i = 1; i < points.size(); ++i) {
        const QLineF segment(points[i - 1], points[i]);
        const double length = segment.length();
        const double next = walked + length;
        if (next >= from && walked <= to) {
            const double a = length > 0 ? std::clamp((from - walked) / length, 0.0, 1.0) : 0;
            const double b = length > 0 ? std::clamp((to - walked) / length, 0.0, 1.0) : 1;
            if (part.isEmpty())
                part << segment.pointAt(a);
            part << segment.pointAt(b);
        }
        walked = next;
        if (walked > to)
            break;
    }
    if (part.size() == 1)
        part << part.first();
    return part;
}

// A line's reach with its pen, and a pixel for smoothing.
QRectF withPen(const QRectF &r, qreal width)
{
    const qreal m = width / 2 + 1;
    return r.adjusted(-m, -m, m, m);
}

QPen penFor(QRgb colour, qreal width)
{
    return QPen(QColor(colour), width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

bool meets(const QRectF &clip, const QRectF &bounds) { return clip.isNull() || clip.intersects(bounds); }

} // namespace

StepDrawing::StepDrawing(const LessonStrokes &lesson, int cell)
    : m_lesson(lesson), m_cell(std::clamp(cell, 0, FinishedCell))
{
    const int newStep = m_cell + 1;
    for (qsizetype si = 0; si < m_lesson.shapes.size(); ++si) {
        const StrokeShape &shape = m_lesson.shapes[si];
        if (!shape.drawn)
            continue;
        const qsizetype first = m_strokes.size();
        for (qsizetype pi = 0; pi < shape.paths.size(); ++pi) {
            const QPolygonF &points = shape.paths[pi].points;
            // A solid shape is filled along with its first line.
            const QRectF bounds = withPen(pi == 0 && shape.solid ? shape.area().boundingRect() | points.boundingRect()
                                                                 : points.boundingRect(),
                                          shape.width);
            if (m_cell < FinishedCell && shape.step == newStep)
                m_strokes << Stroke{si, pi, first + shape.paths.size() - 1, lengthOf(points), bounds, 0, 0, 0};
            else if (shape.step < newStep)
                m_lines << Line{si, pi, bounds};
        }
    }
    if (m_cell == FinishedCell) {
        for (const StrokeArea &a : std::as_const(m_lesson.areas)) {
            const QPainterPath region = m_lesson.shapes[a.shape].area();
            m_areas << Area{region, a.colour, 0, withPen(region.boundingRect(), 0)};
        }
    }
    time();
}

void StepDrawing::time()
{
    using namespace StepTiming;
    if (m_cell == FinishedCell) {
        const int n = int(m_areas.size());
        const int each = std::min(AreaMs, ColoursMs / (n + 1));
        for (int i = 0; i < n; ++i)
            m_areas[i].shownAt = (i + 1) * each;
        m_duration = (n + 1) * each;
        return;
    }
    // At a child's pace: a longer stroke grows longer, within its bounds; a step
    // with many strokes goes quicker, so that none takes too long.
    auto growth = [](double length) {
        return ShortestMs + (LongestMs - ShortestMs) * std::min(1.0, length / LongStroke);
    };
    double total = 0;
    for (qsizetype i = 0; i < m_strokes.size(); ++i)
        total += (i > 0 ? PauseMs : 0) + DotMs + growth(m_strokes[i].length);
    const double pace = total > StepMs ? StepMs / total : 1.0;
    double t = 0;
    for (qsizetype i = 0; i < m_strokes.size(); ++i) {
        Stroke &s = m_strokes[i];
        if (i > 0)
            t += PauseMs * pace;
        s.dotAt = int(std::lround(t));
        t += DotMs * pace;
        s.growAt = int(std::lround(t));
        t += growth(s.length) * pace;
        s.doneAt = int(std::lround(t));
    }
    m_duration = int(std::lround(t));
}

double StepDrawing::progress(const Stroke &s, int t) const
{
    if (t < s.dotAt)
        return NotBegun;
    if (t < s.growAt)
        return DotOnly;
    if (t >= s.doneAt)
        return s.length;
    // A hand sets off and comes to rest gently.
    const double u = double(t - s.growAt) / double(s.doneAt - s.growAt);
    return s.length * u * u * (3 - 2 * u);
}

int StepDrawing::areasShown(int t) const
{
    return int(std::count_if(m_areas.cbegin(), m_areas.cend(), [t](const Area &a) { return a.shownAt <= t; }));
}

QRectF StepDrawing::dotRect(const Stroke &s) const
{
    const StrokeShape &shape = m_lesson.shapes[s.shape];
    const QPointF at = shape.paths[s.path].points.first();
    const qreal r = shape.width + 1;
    return QRectF(at - QPointF(r, r), at + QPointF(r, r));
}

void StepDrawing::paint(QPainter &p, int t, const QRectF &clip) const
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(clip.isNull() ? QRectF(0, 0, 400, 300) : clip, Qt::white);
    const QRgb lineColour = m_cell == FinishedCell ? m_lesson.outline : m_lesson.earlierLine;
    if (m_cell == FinishedCell) {
        p.setPen(Qt::NoPen);
        const int shown = areasShown(t);
        for (int i = 0; i < shown; ++i) {
            if (meets(clip, m_areas[i].bounds)) {
                p.setBrush(QColor(m_areas[i].colour));
                p.drawPath(m_areas[i].region);
            }
        }
    }
    // Lines are laid down shape by shape as the strip does: a solid shape's fill,
    // then its lines.
    auto drawLine = [&](qsizetype shape, qsizetype path, QRgb colour, const QPolygonF &points) {
        const StrokeShape &s = m_lesson.shapes[shape];
        if (s.solid && path == 0 && points.size() > 1) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(colour));
            p.drawPath(s.area());
        }
        p.setPen(penFor(colour, s.width));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(points);
    };
    for (const Line &l : m_lines) {
        if (meets(clip, l.bounds))
            drawLine(l.shape, l.path, lineColour, m_lesson.shapes[l.shape].paths[l.path].points);
    }
    for (const Stroke &s : m_strokes) {
        const double done = progress(s, t);
        if (done == NotBegun || !meets(clip, s.bounds))
            continue;
        const QPolygonF &points = m_lesson.shapes[s.shape].paths[s.path].points;
        if (done == DotOnly) {
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(m_lesson.newLine));
            p.drawEllipse(dotRect(s).adjusted(1, 1, -1, -1));
            continue;
        }
        // A solid shape is filled once its last stroke is done; until then its
        // first stroke goes without the fill.
        const bool filled = progress(m_strokes[s.lastOfShape], t) >= m_strokes[s.lastOfShape].length;
        const StrokeShape &shape = m_lesson.shapes[s.shape];
        if (shape.solid && !filled) {
            p.setPen(penFor(m_lesson.newLine, shape.width));
            p.setBrush(Qt::NoBrush);
            p.drawPolyline(partOf(points, 0, done));
        } else {
            drawLine(s.shape, s.path, m_lesson.newLine, done >= s.length ? points : partOf(points, 0, done));
        }
    }
    p.restore();
}

QRectF StepDrawing::changed(int from, int to) const
{
    QRectF r;
    if (m_cell == FinishedCell) {
        const int a = areasShown(from), b = areasShown(to);
        for (int i = std::min(a, b); i < std::max(a, b); ++i)
            r |= m_areas[i].bounds;
        return r;
    }
    for (const Stroke &s : m_strokes) {
        const double a = progress(s, from), b = progress(s, to);
        if (a == b)
            continue;
        // The start dot shows before the stroke grows and is drawn over as it
        // grows: its place counts whenever the stroke changes.
        r |= dotRect(s);
        const double lo = std::max(0.0, std::min(a, b)), hi = std::max(a, b);
        const StrokeShape &shape = m_lesson.shapes[s.shape];
        if (hi >= 0)
            r |= withPen(partOf(shape.paths[s.path].points, lo, hi).boundingRect(), shape.width);
        // A solid shape (a pupil, a nose tip) is filled as it is drawn: small
        // as it is, all of it counts as changed while any of its lines grows.
        if (shape.solid)
            r |= withPen(shape.area().boundingRect(), shape.width);
    }
    // Smoothing reaches a pixel beyond the shapes' own edges.
    return r.isNull() ? r : r.adjusted(-1, -1, 1, 1);
}

int StepDrawing::nextChange(int t) const
{
    if (m_cell == FinishedCell) {
        for (const Area &a : m_areas) {
            if (a.shownAt > t)
                return a.shownAt;
        }
        return m_duration;
    }
    for (const Stroke &s : m_strokes) {
        if (t < s.dotAt)
            return s.dotAt;
        if (t < s.growAt)
            return s.growAt;
        if (t < s.doneAt)
            return t;
    }
    return m_duration;
}
