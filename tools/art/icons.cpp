// The button symbols: black shapes on transparent, tinted by the buttons at run
// time. Each is laid out on a 24-unit grid and drawn natively at 24 and 48 pixels:
// straight strokes are two units wide and centred on whole units, so their edges
// fall on pixel boundaries at both sizes; the large size adds a few details that
// would only blur at the small one.
#include "art.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>
#include <functional>
#include <map>

namespace Art {

namespace {

struct Icon {
    QPainter &p;
    int s; // 1 or 2

    QPen pen(double width = 2, Qt::PenCapStyle cap = Qt::SquareCap) const
    {
        QPen pn(Qt::black, width);
        pn.setCapStyle(cap);
        pn.setJoinStyle(cap == Qt::RoundCap ? Qt::RoundJoin : Qt::MiterJoin);
        return pn;
    }
    void stroke(const QPainterPath &path, double width = 2, Qt::PenCapStyle cap = Qt::SquareCap)
    {
        p.strokePath(path, pen(width, cap));
    }
    void fill(const QPainterPath &path) { p.fillPath(path, Qt::black); }
    // Cuts a shape out of what is drawn so far.
    void clear(const QPainterPath &path)
    {
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.fillPath(path, Qt::black);
        p.restore();
    }
    void clearStroke(const QPainterPath &path, double width)
    {
        p.save();
        p.setCompositionMode(QPainter::CompositionMode_Clear);
        p.strokePath(path, pen(width, Qt::FlatCap));
        p.restore();
    }
    static QPainterPath poly(std::initializer_list<QPointF> pts, bool closed = true)
    {
        QPainterPath path;
        bool first = true;
        for (const QPointF &pt : pts) {
            if (first)
                path.moveTo(pt);
            else
                path.lineTo(pt);
            first = false;
        }
        if (closed)
            path.closeSubpath();
        return path;
    }
    static QPainterPath rect(double x1, double y1, double x2, double y2)
    {
        QPainterPath path;
        path.addRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)));
        return path;
    }
    static QPainterPath sparkle(QPointF c, double r)
    {
        // A four-pointed star with curved flanks.
        QPainterPath path;
        const double k = r * 0.18;
        path.moveTo(c.x(), c.y() - r);
        path.quadTo(c.x() + k, c.y() - k, c.x() + r, c.y());
        path.quadTo(c.x() + k, c.y() + k, c.x(), c.y() + r);
        path.quadTo(c.x() - k, c.y() + k, c.x() - r, c.y());
        path.quadTo(c.x() - k, c.y() - k, c.x(), c.y() - r);
        path.closeSubpath();
        return path;
    }
};

void clearIcon(Icon &i)
{
    // A fresh sheet with a folded corner, and sparkles: everything wiped clean.
    i.stroke(Icon::poly({{4, 4}, {11, 4}, {16, 9}, {16, 21}, {4, 21}}), 2);
    i.fill(Icon::poly({{11, 3}, {11, 9}, {17, 9}}));
    // Each sparkle cuts a thin gap into what lies under it, so it stands apart.
    const QPointF big(18.5, 6.5), small(20, 16);
    i.clear(Icon::sparkle(big, 6.8));
    i.fill(Icon::sparkle(big, 5.5));
    i.clear(Icon::sparkle(small, 4.6));
    i.fill(Icon::sparkle(small, 3.4));
    if (i.s == 2)
        i.fill(Icon::sparkle({9.5, 14}, 2.4));
}

void undoIcon(Icon &i)
{
    QPainterPath path;
    path.moveTo(8, 8);
    path.lineTo(14, 8);
    path.arcTo(QRectF(8, 8, 12, 12), 90, -180);
    path.lineTo(6, 20);
    i.stroke(path, 2, Qt::FlatCap);
    i.fill(Icon::poly({{1.5, 8}, {9, 2}, {9, 14}}));
}

void openIcon(Icon &i)
{
    // An open folder: the back with its tab, the front flap tipped forward.
    i.stroke(Icon::poly({{4, 18}, {4, 5}, {9, 5}, {11, 7}, {18, 7}, {18, 10}}, false), 2);
    i.fill(Icon::poly({{3, 20}, {7.5, 11}, {23, 11}, {18.5, 20}}));
    if (i.s == 2)
        i.clear(Icon::rect(9.5, 13.5, 17, 14.5));
}

void saveIcon(Icon &i)
{
    // A floppy disk: body with the cut corner, metal shutter, paper label.
    i.stroke(Icon::poly({{4, 4}, {17, 4}, {20, 7}, {20, 20}, {4, 20}}), 2);
    i.fill(Icon::rect(8, 4, 16, 10));
    i.clear(Icon::rect(12, 5, 14, 9));
    i.stroke(Icon::rect(8, 14, 16, 20), 2);
    if (i.s == 2) {
        i.fill(Icon::rect(9.5, 15.5, 14.5, 16));
        i.fill(Icon::rect(9.5, 17.5, 14.5, 18));
    }
}

void penIcon(Icon &i)
{
    // A pencil, point at the lower left.
    i.p.save();
    i.p.translate(3.2, 20.8);
    i.p.rotate(-45);
    const double w = 3.6, cone = 6.5, body = 18.5, end = 22.5;
    QPainterPath outline;
    outline.moveTo(0, 0);
    outline.lineTo(cone, -w);
    outline.lineTo(end - 1.5, -w);
    outline.quadTo(end, -w, end, -w + 1.5);
    outline.lineTo(end, w - 1.5);
    outline.quadTo(end, w, end - 1.5, w);
    outline.lineTo(cone, w);
    outline.closeSubpath();
    i.fill(outline);
    // Open the bare wood of the point, leaving the lead, and mark the ferrule.
    const double inset = i.s == 2 ? 1.1 : 1.3;
    i.clear(Icon::poly({{2.9 + inset * 0.3, -1.2 + 0.1},
                        {cone - inset * 0.5, -w + inset * 1.3},
                        {cone - inset * 0.5, w - inset * 1.3},
                        {2.9 + inset * 0.3, 1.2 - 0.1}}));
    i.clearStroke(Icon::poly({{body, -w - 1}, {body, w + 1}}, false), i.s == 2 ? 0.9 : 1.1);
    if (i.s == 2)
        i.clearStroke(Icon::poly({{cone + 1.5, 0}, {body - 1.5, 0}}, false), 0.7);
    i.p.restore();
}

void printIcon(Icon &i)
{
    i.stroke(Icon::poly({{7, 9}, {7, 3}, {17, 3}, {17, 9}}, false), 2);
    QPainterPath body;
    body.addRoundedRect(QRectF(2, 8, 20, 10), 2, 2);
    i.fill(body);
    i.clear(Icon::rect(6, 13, 18, 22));
    i.stroke(Icon::rect(8, 14, 16, 21), 2);
    i.clear(Icon::rect(17.5, 10, 19.5, 11.5)); // the little lamp
    if (i.s == 2)
        i.fill(Icon::rect(10, 16.5, 14, 17));
}

void soundIcon(Icon &i)
{
    i.fill(Icon::poly({{3, 9}, {7, 9}, {12, 4}, {12, 20}, {7, 15}, {3, 15}}));
    QPainterPath waves;
    const QPointF c(12, 12);
    for (double r : {4.5, 8.5}) {
        QPainterPath arc;
        arc.arcMoveTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 45);
        arc.arcTo(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 45, -90);
        waves.addPath(arc);
    }
    i.stroke(waves, 2, Qt::RoundCap);
}

void helpIcon(Icon &i)
{
    QPainterPath glyph;
    glyph.addText(0, 0, boldFont(100), QStringLiteral("?"));
    const QRectF b = glyph.boundingRect();
    const double scale = 19.0 / b.height();
    QTransform t;
    t.translate(12, 2.5);
    t.scale(scale, scale);
    t.translate(-b.center().x(), -b.top());
    i.fill(t.map(glyph));
}

void webIcon(Icon &i)
{
    QPainterPath globe;
    globe.addEllipse(QRectF(3, 3, 18, 18));
    i.stroke(globe, 2);
    QPainterPath meridian;
    meridian.addEllipse(QRectF(8, 3, 8, 18));
    i.stroke(meridian, i.s == 2 ? 1.5 : 2);
    i.stroke(Icon::poly({{3, 12}, {21, 12}}, false), 2, Qt::FlatCap);
    if (i.s == 2) {
        QPainterPath lat;
        lat.moveTo(5, 7.5);
        lat.quadTo(12, 9.5, 19, 7.5);
        lat.moveTo(5, 16.5);
        lat.quadTo(12, 14.5, 19, 16.5);
        i.stroke(lat, 1.5, Qt::FlatCap);
    }
}

void quitIcon(Icon &i)
{
    // A door frame with an arrow walking out of it.
    i.stroke(Icon::poly({{14, 8}, {14, 3}, {4, 3}, {4, 21}, {14, 21}, {14, 16}}, false), 2);
    i.fill(Icon::poly({{4, 3}, {10, 5}, {10, 22}, {4, 21}}));
    i.stroke(Icon::poly({{12, 12}, {18, 12}}, false), 2.4, Qt::FlatCap);
    i.fill(Icon::poly({{22.5, 12}, {17, 6.5}, {17, 17.5}}));
    if (i.s == 2)
        i.clear(Icon::rect(7.5, 11.5, 8.5, 13)); // the door knob
}

void arrowhead(Icon &i, bool left)
{
    QPainterPath tri = left ? Icon::poly({{5, 12}, {18, 4}, {18, 20}}) : Icon::poly({{19, 12}, {6, 4}, {6, 20}});
    i.fill(tri);
    i.stroke(tri, 2, Qt::RoundCap);
}

void browseIcon(Icon &i)
{
    // A small stack of pictures: the front one shows hills and a sun.
    i.stroke(Icon::poly({{7, 7}, {7, 3}, {21, 3}, {21, 15}, {18, 15}}, false), 2);
    i.stroke(Icon::rect(3, 8, 17, 20), 2);
    i.fill(Icon::poly({{4, 19}, {8.5, 13}, {11, 16}, {12.5, 14.5}, {16, 19}}));
    QPainterPath sun;
    sun.addEllipse(QRectF(11.5, 9.5, 3, 3));
    i.fill(sun);
}

void gridIcon(Icon &i)
{
    QPainterPath g;
    g.addRect(QRectF(3, 3, 18, 18));
    for (int v : {9, 15}) {
        g.moveTo(v, 3);
        g.lineTo(v, 21);
        g.moveTo(3, v);
        g.lineTo(21, v);
    }
    i.stroke(g, 2);
}

void sizeIcon(Icon &i)
{
    // A small square inside a large one, with an arrow: make it bigger.
    i.stroke(Icon::rect(3, 3, 21, 21), 2);
    i.fill(Icon::rect(6, 12, 12, 18));
    i.stroke(Icon::poly({{12.5, 11.5}, {16, 8}}, false), 2, Qt::FlatCap);
    i.fill(Icon::poly({{18, 6}, {11.5, 7}, {17, 12.5}}));
}

void okIcon(Icon &i) { i.stroke(Icon::poly({{4, 12.5}, {9.5, 18}, {20, 6}}, false), 3.4, Qt::RoundCap); }

void closeIcon(Icon &i)
{
    QPainterPath x;
    x.moveTo(5.5, 5.5);
    x.lineTo(18.5, 18.5);
    x.moveTo(18.5, 5.5);
    x.lineTo(5.5, 18.5);
    i.stroke(x, 3.2, Qt::RoundCap);
}

const std::map<QString, std::function<void(Icon &)>> &painters()
{
    static const std::map<QString, std::function<void(Icon &)>> table = {
        {QStringLiteral("clear"), clearIcon},
        {QStringLiteral("undo"), undoIcon},
        {QStringLiteral("open"), openIcon},
        {QStringLiteral("save"), saveIcon},
        {QStringLiteral("pen"), penIcon},
        {QStringLiteral("print"), printIcon},
        {QStringLiteral("sound"), soundIcon},
        {QStringLiteral("help"), helpIcon},
        {QStringLiteral("web"), webIcon},
        {QStringLiteral("quit"), quitIcon},
        {QStringLiteral("previous"), [](Icon &i) { arrowhead(i, true); }},
        {QStringLiteral("browse"), browseIcon},
        {QStringLiteral("next"), [](Icon &i) { arrowhead(i, false); }},
        {QStringLiteral("grid"), gridIcon},
        {QStringLiteral("size"), sizeIcon},
        {QStringLiteral("ok"), okIcon},
        {QStringLiteral("close"), closeIcon},
    };
    return table;
}

} // namespace

QStringList iconNames()
{
    return {QStringLiteral("clear"), QStringLiteral("undo"),  QStringLiteral("open"),     QStringLiteral("save"),
            QStringLiteral("pen"),   QStringLiteral("print"), QStringLiteral("sound"),    QStringLiteral("help"),
            QStringLiteral("web"),   QStringLiteral("quit"),  QStringLiteral("previous"), QStringLiteral("browse"),
            QStringLiteral("next"),  QStringLiteral("grid"),  QStringLiteral("size"),     QStringLiteral("ok"),
            QStringLiteral("close")};
}

QImage icon(const QString &name, int scale)
{
    const auto it = painters().find(name);
    if (it == painters().end())
        return QImage();
    QImage img(24 * scale, 24 * scale, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        Icon i{p, scale};
        it->second(i);
    }
    // Black with alpha only: whatever the smoothing left, the colour is pure black.
    QImage out = img.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            line[x] = qRgba(0, 0, 0, qAlpha(line[x]));
    }
    return out;
}

} // namespace Art
