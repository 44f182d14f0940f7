// The larger pictures: window backgrounds, the about picture and the welcome
// picture. Warm paper and sand, with the cheerful things (sun, pencils, rainbow)
// kept away from the places where the windows put their controls.
#include "art.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace Art {

namespace {

constexpr double Pi = 3.14159265358979323846;

QImage paperImage(int w, int h, const QColor &top, const QColor &bottom, int seed, int scale)
{
    QImage img = canvas(w, h, QImage::Format_RGB32, scale);
    QPainter p(&img);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(logicalRect(img), g);
    p.end();
    addGrain(img, 3, seed);
    return img;
}

void softGlow(QPainter &p, QPointF c, double r, const QColor &colour)
{
    QRadialGradient g(c, r);
    g.setColorAt(0, colour);
    QColor clear = colour;
    clear.setAlpha(0);
    g.setColorAt(1, clear);
    p.setPen(Qt::NoPen);
    p.setBrush(g);
    p.drawEllipse(c, r, r);
}

QPainterPath starPath(QPointF c, double r, double inner = 0.45, int points = 5)
{
    QPainterPath path;
    for (int k = 0; k < points * 2; ++k) {
        const double a = -Pi / 2 + k * Pi / points;
        const double rr = k % 2 ? r * inner : r;
        const QPointF pt(c.x() + rr * std::cos(a), c.y() + rr * std::sin(a));
        if (k == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

void star(QPainter &p, QPointF c, double r, const QColor &colour, double angle = 0)
{
    p.save();
    p.translate(c);
    p.rotate(angle);
    QPen pen(colour.darker(135), std::max(1.0, r / 7));
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(colour);
    p.drawPath(starPath(QPointF(0, 0), r));
    p.restore();
}

// A pencil lying from its point `tip` towards `angle` degrees (0 = right,
// counted clockwise as on screen).
void pencil(QPainter &p, QPointF tip, double angle, double length, double width, const QColor &colour,
            bool eraser = true)
{
    p.save();
    p.translate(tip);
    p.rotate(angle);
    const double w = width / 2, cone = width * 1.25, lead = cone * 0.38;
    const double end = length;
    const double ferrule = eraser ? end - width * 1.3 : end;
    const QColor outline(84, 56, 26);
    QPen pen(outline, std::max(1.0, width / 9));
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    // Shadow first, beneath everything.
    p.save();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(92, 64, 28, 40));
    p.drawRoundedRect(QRectF(cone, -w + width * 0.35, end - cone, width), w / 2, w / 2);
    p.restore();
    if (eraser) {
        p.setBrush(QColor(240, 140, 160));
        p.drawRoundedRect(QRectF(ferrule + width * 0.5, -w, end - ferrule - width * 0.5, width), w * 0.6, w * 0.6);
        p.setBrush(QColor(196, 200, 208));
        p.drawRect(QRectF(ferrule, -w, width * 0.6, width));
    }
    QLinearGradient g(0, -w, 0, w);
    g.setColorAt(0, colour.lighter(135));
    g.setColorAt(0.45, colour);
    g.setColorAt(1, colour.darker(125));
    p.setBrush(g);
    p.drawRect(QRectF(cone, -w, ferrule - cone, width));
    QPainterPath wood;
    wood.moveTo(0, 0);
    wood.lineTo(cone, -w);
    wood.lineTo(cone, w);
    wood.closeSubpath();
    p.setBrush(QColor(246, 216, 164));
    p.drawPath(wood);
    QPainterPath point;
    point.moveTo(0, 0);
    point.lineTo(lead, -w * lead / cone);
    point.lineTo(lead, w * lead / cone);
    point.closeSubpath();
    p.setBrush(colour.darker(115));
    p.drawPath(point);
    p.restore();
}

void sun(QPainter &p, QPointF c, double r, bool face = true)
{
    p.save();
    p.translate(c);
    p.setPen(Qt::NoPen);
    softGlow(p, QPointF(0, 0), r * 2.1, QColor(255, 214, 90, 90));
    // Rays: soft rounded triangles all around.
    p.setBrush(QColor(252, 186, 52));
    for (int k = 0; k < 12; ++k) {
        p.save();
        p.rotate(k * 30 + 8);
        QPainterPath ray;
        ray.moveTo(r * 1.08, -r * 0.17);
        ray.quadTo(r * 1.55, 0, r * (k % 2 ? 1.45 : 1.7), 0);
        ray.quadTo(r * 1.55, 0, r * 1.08, r * 0.17);
        ray.closeSubpath();
        p.drawPath(ray);
        p.restore();
    }
    QRadialGradient g(QPointF(-r * 0.3, -r * 0.35), r * 1.3);
    g.setColorAt(0, QColor(255, 246, 160));
    g.setColorAt(0.6, QColor(255, 208, 64));
    g.setColorAt(1, QColor(246, 160, 40));
    p.setBrush(g);
    p.setPen(QPen(QColor(214, 130, 30), std::max(1.0, r / 16)));
    p.drawEllipse(QPointF(0, 0), r, r);
    if (face) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(92, 56, 20));
        p.drawEllipse(QPointF(-r * 0.33, -r * 0.12), r * 0.09, r * 0.12);
        p.drawEllipse(QPointF(r * 0.33, -r * 0.12), r * 0.09, r * 0.12);
        p.setBrush(QColor(244, 120, 90, 110));
        p.drawEllipse(QPointF(-r * 0.55, r * 0.2), r * 0.16, r * 0.1);
        p.drawEllipse(QPointF(r * 0.55, r * 0.2), r * 0.16, r * 0.1);
        QPen smile(QColor(92, 56, 20), std::max(1.2, r / 11), Qt::SolidLine, Qt::RoundCap);
        p.setPen(smile);
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(-r * 0.42, -r * 0.3, r * 0.84, r * 0.7), -20 * 16, -140 * 16);
    }
    p.restore();
}

void cloud(QPainter &p, QPointF c, double s)
{
    QPainterPath path;
    path.addEllipse(QPointF(c.x() - s * 0.9, c.y() + s * 0.15), s * 0.65, s * 0.5);
    path.addEllipse(QPointF(c.x() - s * 0.2, c.y() - s * 0.25), s * 0.75, s * 0.7);
    path.addEllipse(QPointF(c.x() + s * 0.6, c.y() + s * 0.05), s * 0.7, s * 0.55);
    path.addRoundedRect(QRectF(c.x() - s * 1.4, c.y(), s * 2.7, s * 0.62), s * 0.3, s * 0.3);
    path = path.simplified();
    p.fillPath(path.translated(1.5, 2.5), QColor(120, 110, 90, 40));
    p.setPen(QPen(QColor(170, 180, 200), 1.4));
    QLinearGradient g(0, c.y() - s, 0, c.y() + s * 0.6);
    g.setColorAt(0, Qt::white);
    g.setColorAt(1, QColor(232, 240, 250));
    p.setBrush(g);
    p.drawPath(path);
}

// A double frame: a dark outer line, a band of sand, a light inner line.
void doubleFrame(QPainter &p, const QRect &r, int band)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(140, 100, 44), 1));
    p.drawRect(r.adjusted(0, 0, -1, -1));
    p.setPen(QPen(sand(), 1));
    for (int k = 1; k <= band; ++k)
        p.drawRect(r.adjusted(k, k, -1 - k, -1 - k));
    p.setPen(QPen(QColor(255, 244, 214), 1));
    p.drawRect(r.adjusted(1, 1, -2, -2));
    p.setPen(QPen(QColor(150, 110, 50), 1));
    p.drawRect(r.adjusted(band + 1, band + 1, -2 - band, -2 - band));
    p.setPen(QPen(QColor(255, 248, 226), 1));
    p.drawRect(r.adjusted(band + 2, band + 2, -3 - band, -3 - band));
    p.restore();
}

void pencilCup(QPainter &p, QPointF bottomCentre, double s)
{
    const QList<QColor> c = crayonColours();
    // Pencils first, the cup in front of them.
    const struct {
        double dx, angle, len;
        int colour;
    } pencils[] = {
        {-0.30, -104, 1.55, 0}, {-0.12, -95, 1.75, 4}, {0.05, -84, 1.6, 2}, {0.22, -76, 1.45, 3}, {0.33, -65, 1.3, 5},
    };
    for (const auto &pc : pencils) {
        const double a = pc.angle * Pi / 180;
        const QPointF base(bottomCentre.x() + pc.dx * s, bottomCentre.y() - s * 0.55);
        const QPointF tip(base.x() + std::cos(a) * s * pc.len, base.y() + std::sin(a) * s * pc.len);
        pencil(p, tip, pc.angle + 180, s * pc.len, s * 0.16, c[pc.colour], false);
    }
    QPainterPath cup;
    const double top = bottomCentre.y() - s * 0.95;
    cup.moveTo(bottomCentre.x() - s * 0.48, top);
    cup.lineTo(bottomCentre.x() + s * 0.48, top);
    cup.lineTo(bottomCentre.x() + s * 0.40, bottomCentre.y() - s * 0.06);
    cup.quadTo(bottomCentre.x() + s * 0.39, bottomCentre.y(), bottomCentre.x() + s * 0.32, bottomCentre.y());
    cup.lineTo(bottomCentre.x() - s * 0.32, bottomCentre.y());
    cup.quadTo(bottomCentre.x() - s * 0.39, bottomCentre.y(), bottomCentre.x() - s * 0.40, bottomCentre.y() - s * 0.06);
    cup.closeSubpath();
    p.fillPath(cup.translated(3, 4), QColor(92, 64, 28, 45));
    QLinearGradient g(bottomCentre.x() - s * 0.5, 0, bottomCentre.x() + s * 0.5, 0);
    g.setColorAt(0, QColor(70, 150, 196));
    g.setColorAt(0.35, QColor(120, 196, 232));
    g.setColorAt(1, QColor(52, 122, 170));
    p.setPen(QPen(QColor(40, 80, 110), std::max(1.0, s / 45)));
    p.setBrush(g);
    p.drawPath(cup);
    // White polka dots on the cup.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 200));
    p.save();
    p.setClipPath(cup);
    for (int row = 0; row < 3; ++row)
        for (int col = -3; col <= 3; ++col) {
            const double x = bottomCentre.x() + col * s * 0.2 + (row % 2) * s * 0.1;
            const double y = top + s * 0.2 + row * s * 0.26;
            p.drawEllipse(QPointF(x, y), s * 0.045, s * 0.045);
        }
    p.restore();
    p.setPen(QPen(QColor(40, 80, 110), std::max(1.0, s / 45)));
    p.setBrush(QColor(150, 210, 240));
    p.drawRoundedRect(QRectF(bottomCentre.x() - s * 0.52, top - s * 0.06, s * 1.04, s * 0.12), s * 0.05, s * 0.05);
}

void paperPlane(QPainter &p, QPointF c, double s, double angle)
{
    p.save();
    p.translate(c);
    p.rotate(angle);
    QPen pen(QColor(120, 100, 80), 1.2);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::white);
    QPainterPath top;
    top.moveTo(s, 0);
    top.lineTo(-s, -s * 0.55);
    top.lineTo(-s * 0.55, 0);
    top.closeSubpath();
    p.drawPath(top);
    p.setBrush(QColor(225, 232, 240));
    QPainterPath under;
    under.moveTo(s, 0);
    under.lineTo(-s * 0.55, 0);
    under.lineTo(-s * 0.75, s * 0.35);
    under.closeSubpath();
    p.drawPath(under);
    p.restore();
}

void confetti(QPainter &p, const QRectF &area, int count, int seed, double maxR, int alpha)
{
    const QList<QColor> c = crayonColours();
    p.setPen(Qt::NoPen);
    for (int k = 0; k < count; ++k) {
        const double x = area.left() + hashNoise(k, 1, seed) * area.width();
        const double y = area.top() + hashNoise(k, 2, seed) * area.height();
        const double r = 1.5 + hashNoise(k, 3, seed) * (maxR - 1.5);
        QColor col = c[int(hashNoise(k, 4, seed) * c.size()) % c.size()];
        col.setAlpha(alpha);
        p.setBrush(col);
        if (k % 3 == 0)
            p.drawPath(starPath(QPointF(x, y), r * 1.5));
        else
            p.drawEllipse(QPointF(x, y), r, r);
    }
}

void rainbow(QPainter &p, QPointF c, double outer, double band, double clipBottom)
{
    const QColor bands[] = {QColor(236, 96, 84),  QColor(248, 160, 64), QColor(250, 214, 80),
                            QColor(126, 194, 96), QColor(86, 172, 222), QColor(150, 118, 206)};
    p.save();
    p.setClipRect(QRectF(0, 0, 10000, clipBottom));
    p.setBrush(Qt::NoBrush);
    for (int k = 0; k < 6; ++k) {
        const double r = outer - band * (k + 0.5);
        QColor col = bands[k];
        col.setAlpha(215);
        p.setPen(QPen(col, band + 0.6, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(QRectF(c.x() - r, c.y() - r, 2 * r, 2 * r), 0, 180 * 16);
    }
    p.restore();
}

void hills(QPainter &p, double width, double height, double y0)
{
    QPainterPath back;
    back.moveTo(0, height);
    back.lineTo(0, y0 + 8);
    back.cubicTo(width * 0.25, y0 - 18, width * 0.45, y0 + 10, width * 0.62, y0 + 6);
    back.cubicTo(width * 0.74, y0 + 6, width * 0.8, y0 + 30, width * 0.87, y0 + 40);
    back.lineTo(width, y0 + 40);
    back.lineTo(width, height);
    back.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(170, 210, 120));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(0, height);
    front.lineTo(0, y0 + 22);
    front.cubicTo(width * 0.2, y0 + 10, width * 0.35, y0 + 26, width * 0.55, y0 + 24);
    front.cubicTo(width * 0.7, y0 + 22, width * 0.78, y0 + 30, width * 0.86, y0 + 44);
    front.lineTo(width, y0 + 44);
    front.lineTo(width, height);
    front.closeSubpath();
    p.setBrush(QColor(128, 186, 92));
    p.drawPath(front);
}

void flower(QPainter &p, QPointF c, double r, const QColor &petal)
{
    p.setPen(QPen(QColor(80, 140, 60), std::max(1.0, r / 3)));
    p.drawLine(c, c + QPointF(0, r * 3));
    p.setPen(Qt::NoPen);
    p.setBrush(petal);
    for (int k = 0; k < 5; ++k) {
        const double a = k * 2 * Pi / 5;
        p.drawEllipse(c + QPointF(std::cos(a) * r * 0.9, std::sin(a) * r * 0.9), r * 0.65, r * 0.65);
    }
    p.setBrush(QColor(255, 214, 70));
    p.drawEllipse(c, r * 0.55, r * 0.55);
}

} // namespace

QImage background(int scale)
{
    QImage img = paperImage(829, 624, QColor(255, 248, 228), QColor(243, 224, 178), 11, scale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    // Light falls from the upper left; a warm sand haze lies along the bottom.
    softGlow(p, QPointF(90, 80), 330, QColor(255, 255, 244, 150));
    softGlow(p, QPointF(560, 120), 260, QColor(255, 250, 236, 90));

    // A wavy sand band along the top edge, like the edge of a sheet of coloured paper.
    QPainterPath band;
    band.moveTo(0, 0);
    for (int x = 0; x <= 829; x += 4)
        band.lineTo(x, 9 + 3 * std::sin(x / 23.0));
    band.lineTo(829, 0);
    band.closeSubpath();
    p.fillPath(band, QColor(222, 191, 120, 150));

    confetti(p, QRectF(232, 96, 560, 44), 26, 5, 3.2, 120);
    confetti(p, QRectF(120, 20, 170, 110), 9, 9, 3.0, 140);

    sun(p, QPointF(70, 70), 36);
    // A paper plane looping from the sun towards the title.
    QPainterPath trail;
    trail.moveTo(128, 118);
    trail.cubicTo(170, 150, 222, 150, 214, 118);
    trail.cubicTo(208, 96, 176, 104, 196, 78);
    trail.cubicTo(210, 62, 240, 60, 262, 56);
    p.setPen(QPen(QColor(150, 120, 80, 160), 1.6, Qt::DashLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trail);
    paperPlane(p, QPointF(276, 52), 15, -12);

    pencilCup(p, QPointF(108, 292), 78);
    star(p, QPointF(176, 214), 8, crayonColours().at(2), 12);
    star(p, QPointF(40, 196), 6, crayonColours().at(6), -8);
    return img;
}

QImage pickerBackground(int scale)
{
    QImage img = paperImage(440, 420, QColor(255, 249, 234), QColor(242, 222, 172), 23, scale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    softGlow(p, QPointF(220, 160), 260, QColor(255, 255, 248, 120));
    // Things to smile at in the bottom corners, beside the button panels.
    star(p, QPointF(40, 352), 11, crayonColours().at(2), -10);
    star(p, QPointF(64, 388), 6, crayonColours().at(0), 14);
    star(p, QPointF(22, 395), 5, crayonColours().at(4), 4);
    pencil(p, QPointF(356, 404), -28, 72, 11, crayonColours().at(0));
    QPainterPath curl;
    curl.moveTo(356, 404);
    curl.cubicTo(370, 412, 382, 398, 374, 392);
    curl.cubicTo(366, 386, 358, 400, 374, 404);
    p.setPen(QPen(crayonColours().at(0), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curl);
    doubleFrame(p, logicalRect(img), 4);
    return img;
}

QImage aboutPicture(int scale)
{
    QImage img = paperImage(356, 330, QColor(255, 250, 236), QColor(244, 226, 180), 31, scale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    softGlow(p, QPointF(180, 130), 190, QColor(255, 255, 250, 140));
    // A rainbow over the title, ending in two clouds; the middle stays calm for
    // the title, the link and the buttons.
    rainbow(p, QPointF(178, 112), 100, 6.5, 74);
    cloud(p, QPointF(58, 62), 24);
    cloud(p, QPointF(300, 62), 24);
    sun(p, QPointF(28, 24), 15, false);
    hills(p, 356, 330, 296);
    flower(p, QPointF(30, 298), 5, crayonColours().at(6));
    flower(p, QPointF(60, 306), 4, crayonColours().at(2));
    flower(p, QPointF(130, 303), 4.5, crayonColours().at(0));
    pencil(p, QPointF(226, 322), -14, 64, 10, crayonColours().at(4));
    doubleFrame(p, logicalRect(img), 3);
    return img;
}

QImage aboutIcon(int scale)
{
    // A little globe beside the web address.
    QImage img = canvas(32, 32, QImage::Format_ARGB32_Premultiplied, scale);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF ball(2.5, 2.5, 27, 27);
    QRadialGradient sea(QPointF(11, 10), 22);
    sea.setColorAt(0, QColor(150, 214, 250));
    sea.setColorAt(1, QColor(40, 130, 200));
    p.setPen(Qt::NoPen);
    p.setBrush(sea);
    p.drawEllipse(ball);
    QPainterPath globe;
    globe.addEllipse(ball);
    p.setClipPath(globe);
    p.setBrush(QColor(104, 180, 76));
    QPainterPath land;
    land.moveTo(7, 9);
    land.cubicTo(10, 5, 16, 6, 15, 10);
    land.cubicTo(14, 13, 18, 14, 16, 18);
    land.cubicTo(14, 22, 11, 19, 10, 16);
    land.cubicTo(9, 13, 4, 13, 7, 9);
    land.moveTo(19, 17);
    land.cubicTo(22, 14, 28, 16, 27, 21);
    land.cubicTo(26, 26, 20, 28, 19, 24);
    land.cubicTo(18, 21, 17, 19, 19, 17);
    land.moveTo(19, 5);
    land.cubicTo(22, 4, 26, 7, 24, 9);
    land.cubicTo(22, 10, 19, 8, 19, 5);
    p.drawPath(land);
    p.setBrush(QColor(255, 255, 255, 90));
    p.drawEllipse(QRectF(6, 5, 10, 6));
    p.setClipping(false);
    p.setPen(QPen(QColor(30, 80, 130), 1.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(ball);
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

QImage welcomePicture(int scale)
{
    // A finished child's drawing on white paper: a house, a tree, the sun, flowers,
    // and the pencil that drew it.
    QImage img = canvas(400, 300, QImage::Format_RGB32, scale);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QList<QColor> c = crayonColours();
    auto line = [&](const QColor &col, double w) {
        QPen pen(col, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
    };
    sun(p, QPointF(330, 62), 28);
    cloud(p, QPointF(120, 52), 20);
    // Ground.
    line(QColor(100, 170, 70), 4);
    QPainterPath ground;
    ground.moveTo(10, 248);
    ground.cubicTo(110, 240, 250, 256, 390, 244);
    p.drawPath(ground);
    // House with a red roof, a door and a window.
    p.setBrush(QColor(255, 236, 190));
    line(QColor(120, 80, 40), 3);
    p.setBrush(QColor(255, 236, 190));
    p.drawRect(QRectF(60, 160, 110, 86));
    QPainterPath roof;
    roof.moveTo(48, 164);
    roof.lineTo(115, 106);
    roof.lineTo(182, 164);
    roof.closeSubpath();
    p.setBrush(c[0]);
    p.drawPath(roof);
    p.setBrush(c[4].lighter(130));
    p.drawRect(QRectF(76, 178, 30, 26));
    p.drawLine(QPointF(91, 178), QPointF(91, 204));
    p.drawLine(QPointF(76, 191), QPointF(106, 191));
    p.setBrush(QColor(170, 110, 60));
    p.drawRoundedRect(QRectF(124, 196, 28, 50), 4, 4);
    // Tree.
    p.setBrush(QColor(150, 100, 50));
    p.drawRect(QRectF(246, 180, 16, 66));
    p.setBrush(c[3]);
    QPainterPath crown;
    crown.addEllipse(QPointF(254, 160), 34, 30);
    crown.addEllipse(QPointF(232, 176), 22, 18);
    crown.addEllipse(QPointF(278, 176), 22, 18);
    p.drawPath(crown.simplified());
    p.setPen(Qt::NoPen);
    p.setBrush(c[0]);
    for (const QPointF &apple : {QPointF(240, 152), QPointF(268, 160), QPointF(252, 178)})
        p.drawEllipse(apple, 4.5, 4.5);
    flower(p, QPointF(200, 226), 6, c[6]);
    flower(p, QPointF(310, 222), 6, c[5]);
    flower(p, QPointF(340, 230), 5, c[2]);
    // The pencil, just finishing a curl in the grass.
    line(c[4], 3);
    QPainterPath curl;
    curl.moveTo(272, 270);
    curl.cubicTo(284, 288, 302, 272, 290, 264);
    curl.cubicTo(280, 258, 278, 278, 298, 280);
    p.drawPath(curl);
    pencil(p, QPointF(298, 280), -35, 90, 14, c[4]);
    return img;
}

QImage penBackground(int scale)
{
    QImage img = paperImage(609, 239, QColor(246, 232, 196), QColor(222, 191, 120), 41, scale);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    softGlow(p, QPointF(160, 40), 240, QColor(255, 252, 236, 110));
    doubleFrame(p, logicalRect(img), 5);
    return img;
}

} // namespace Art
