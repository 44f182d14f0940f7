#include "core/lessonstrokes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

constexpr char Magic[4] = {'S', 'T', 'K', '1'};

// Far more than any lesson holds; a count above these marks damaged data.
constexpr quint64 MaxShapes = 4096;
constexpr quint64 MaxPaths = 4096;
constexpr quint64 MaxPoints = 1 << 16;

enum ShapeFlag : quint8 { Drawn = 1, Solid = 2, OddEven = 4 };
enum PathFlag : quint8 { Closed = 1, Reversed = 2 };

void putVarint(QByteArray &out, quint64 v)
{
    while (v >= 0x80) {
        out.append(char((v & 0x7f) | 0x80));
        v >>= 7;
    }
    out.append(char(v));
}

void putSigned(QByteArray &out, qint64 v) { putVarint(out, (quint64(v) << 1) ^ quint64(v >> 63)); }

void putRgb(QByteArray &out, QRgb c)
{
    out.append(char(qRed(c)));
    out.append(char(qGreen(c)));
    out.append(char(qBlue(c)));
}

class Reader
{
public:
    explicit Reader(const QByteArray &bytes) : m_bytes(bytes) {}
    bool failed() const { return m_failed; }
    bool atEnd() const { return m_pos == m_bytes.size(); }

    quint8 byte()
    {
        if (m_pos >= m_bytes.size()) {
            m_failed = true;
            return 0;
        }
        return quint8(m_bytes[m_pos++]);
    }
    quint64 varint()
    {
        quint64 v = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const quint8 b = byte();
            v |= quint64(b & 0x7f) << shift;
            if (!(b & 0x80))
                return v;
        }
        m_failed = true;
        return 0;
    }
    qint64 signedVarint()
    {
        const quint64 u = varint();
        return qint64(u >> 1) ^ -qint64(u & 1);
    }
    QRgb rgb()
    {
        const int r = byte(), g = byte(), b = byte();
        return qRgb(r, g, b);
    }
    // A count no larger than `limit`; a larger one fails the read.
    qsizetype count(quint64 limit)
    {
        const quint64 n = varint();
        if (n > limit)
            m_failed = true;
        return m_failed ? 0 : qsizetype(n);
    }

private:
    const QByteArray &m_bytes;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

} // namespace

QPainterPath StrokeShape::area() const
{
    QPainterPath region;
    region.setFillRule(fillRule);
    for (const StrokePath &p : paths) {
        QPolygonF points = p.points;
        if (p.reversed)
            std::reverse(points.begin(), points.end());
        region.addPolygon(points);
        region.closeSubpath();
    }
    return region;
}

QByteArray LessonStrokes::encode() const
{
    QByteArray out(Magic, sizeof Magic);
    putRgb(out, newLine);
    putRgb(out, earlierLine);
    putRgb(out, outline);
    putVarint(out, quint64(shapes.size()));
    for (const StrokeShape &s : shapes) {
        out.append(char(s.step));
        out.append(char((s.drawn ? Drawn : 0) | (s.solid ? Solid : 0) | (s.fillRule == Qt::OddEvenFill ? OddEven : 0)));
        putVarint(out, quint64(std::lround(s.width * 16)));
        putVarint(out, quint64(s.paths.size()));
        for (const StrokePath &p : s.paths) {
            out.append(char((p.closed ? Closed : 0) | (p.reversed ? Reversed : 0)));
            putVarint(out, quint64(p.points.size()));
            qint64 x = 0, y = 0;
            for (const QPointF &pt : p.points) {
                const qint64 nx = std::llround(pt.x() * Grid), ny = std::llround(pt.y() * Grid);
                putSigned(out, nx - x);
                putSigned(out, ny - y);
                x = nx;
                y = ny;
            }
        }
    }
    putVarint(out, quint64(areas.size()));
    for (const StrokeArea &a : areas) {
        putVarint(out, quint64(a.shape));
        putRgb(out, a.colour);
    }
    return out;
}

std::optional<LessonStrokes> LessonStrokes::decode(const QByteArray &bytes)
{
    if (!bytes.startsWith(QByteArray::fromRawData(Magic, sizeof Magic)))
        return std::nullopt;
    const QByteArray body = bytes.mid(sizeof Magic);
    Reader in(body);
    LessonStrokes l;
    l.newLine = in.rgb();
    l.earlierLine = in.rgb();
    l.outline = in.rgb();
    const qsizetype shapes = in.count(MaxShapes);
    for (qsizetype i = 0; i < shapes && !in.failed(); ++i) {
        StrokeShape s;
        s.step = in.byte();
        const quint8 flags = in.byte();
        s.drawn = flags & Drawn;
        s.solid = flags & Solid;
        s.fillRule = flags & OddEven ? Qt::OddEvenFill : Qt::WindingFill;
        s.width = qreal(in.count(0xffff)) / 16;
        if (s.step < 1 || s.step > 6)
            return std::nullopt;
        const qsizetype paths = in.count(MaxPaths);
        for (qsizetype k = 0; k < paths && !in.failed(); ++k) {
            StrokePath p;
            const quint8 pf = in.byte();
            p.closed = pf & Closed;
            p.reversed = pf & Reversed;
            const qsizetype n = in.count(MaxPoints);
            p.points.reserve(n);
            qint64 x = 0, y = 0;
            for (qsizetype j = 0; j < n && !in.failed(); ++j) {
                x += in.signedVarint();
                y += in.signedVarint();
                // A cell is 400 x 300: anything far outside it is damage, not a point.
                if (std::abs(x) > 0x7fff || std::abs(y) > 0x7fff)
                    return std::nullopt;
                p.points << QPointF(qreal(x) / Grid, qreal(y) / Grid);
            }
            s.paths << p;
        }
        l.shapes << s;
    }
    const qsizetype areas = in.count(MaxShapes);
    for (qsizetype i = 0; i < areas && !in.failed(); ++i) {
        if (l.shapes.isEmpty())
            return std::nullopt;
        StrokeArea a;
        a.shape = int(in.count(quint64(l.shapes.size()) - 1));
        a.colour = in.rgb();
        l.areas << a;
    }
    if (in.failed() || !in.atEnd())
        return std::nullopt;
    return l;
}
