// The title logo: "Stiftolino" in bouncing crayon-coloured letters with a warm
// outline, and the line "Zeichnen lernen" / "Learn to draw" beside it.
#include "art.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace Art {

namespace {

struct Letter {
    QPainterPath path;
    QColor colour;
};

// Lays the name out letter by letter, each nudged up or down and tilted a little.
QList<Letter> bouncingName(const QString &name, const QFont &font, double x0, double baseline, double spacing,
                           double *right)
{
    const QFontMetricsF fm(font);
    const QList<QColor> colours = crayonColours();
    const int order[] = {0, 1, 4, 3, 5, 0, 2, 6, 4, 1};
    QList<Letter> letters;
    double x = x0;
    for (int k = 0; k < name.size(); ++k) {
        const QString ch = name.mid(k, 1);
        QPainterPath glyph;
        glyph.addText(0, 0, font, ch);
        const double advance = fm.horizontalAdvance(ch);
        const double lift = std::sin(k * 1.35 + 0.4) * 3.2;
        const double tilt = std::sin(k * 2.1 + 1.0) * 5.0;
        QTransform t;
        t.translate(x + advance / 2, baseline - lift);
        t.rotate(tilt);
        t.translate(-advance / 2, 0);
        letters.append({t.map(glyph), colours[order[k % 10]]});
        x += advance + spacing;
    }
    *right = x - spacing;
    return letters;
}

} // namespace

QImage logo(int index, int scale)
{
    QImage img = canvas(585, 67, QImage::Format_ARGB32_Premultiplied, scale);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    const QFont nameFont = boldFont(58);
    const double baseline = 54;
    double nameRight = 0;
    const QList<Letter> letters = bouncingName(QStringLiteral("Stiftolino"), nameFont, 6, baseline, 1.5, &nameRight);

    // Soft shadow, then a thick outline under every letter so that neighbours join
    // like stickers, then the colour with a lighter top half.
    for (const Letter &l : letters)
        p.fillPath(l.path.translated(2.5, 3), QColor(92, 64, 28, 55));
    QPen outline(ink(), 6.5);
    outline.setJoinStyle(Qt::RoundJoin);
    for (const Letter &l : letters)
        p.strokePath(l.path, outline);
    QPen rim(QColor(255, 250, 235), 2.2);
    rim.setJoinStyle(Qt::RoundJoin);
    for (const Letter &l : letters)
        p.strokePath(l.path, rim);
    for (const Letter &l : letters) {
        const QRectF b = l.path.boundingRect();
        QLinearGradient g(b.topLeft(), b.bottomLeft());
        g.setColorAt(0, l.colour.lighter(128));
        g.setColorAt(0.55, l.colour);
        g.setColorAt(1, l.colour.darker(112));
        p.fillPath(l.path, g);
    }
    // A little shine on the round letters.
    for (const Letter &l : letters) {
        const QRectF b = l.path.boundingRect();
        p.save();
        p.setClipPath(l.path);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 255, 255, 90));
        p.drawEllipse(
            QRectF(b.left() + b.width() * 0.18, b.top() + b.height() * 0.08, b.width() * 0.35, b.height() * 0.16));
        p.restore();
    }

    // The second line, in brown ink with a crayon stroke under it.
    const QString line = index == 0 ? QStringLiteral("Zeichnen lernen") : QStringLiteral("Learn to draw");
    const double left = nameRight + 20;
    const double room = logicalRect(img).width() - 8 - left;
    int size = 26;
    while (size > 12 && QFontMetricsF(boldFont(size, true)).horizontalAdvance(line) > room)
        --size;
    const QFont lineFont = boldFont(size, true);
    const double width = QFontMetricsF(lineFont).horizontalAdvance(line);
    QPainterPath text;
    text.addText(left, baseline - 12, lineFont, line);
    QPen halo(QColor(255, 250, 235), 4);
    halo.setJoinStyle(Qt::RoundJoin);
    p.strokePath(text, halo);
    p.fillPath(text, QColor(120, 70, 24));

    QPainterPath squiggle;
    const double y = baseline - 3;
    squiggle.moveTo(left, y);
    const int waves = int(width / 22) + 1;
    const double step = width / waves;
    for (int w = 0; w < waves; ++w)
        squiggle.quadTo(left + step * (w + 0.5), y + (w % 2 ? 4 : -4), left + step * (w + 1), y);
    QPen crayon(crayonColours().at(0), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.strokePath(squiggle, crayon);
    p.end();
    return img.convertToFormat(QImage::Format_ARGB32);
}

} // namespace Art
