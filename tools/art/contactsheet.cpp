// One picture for reviewing all artwork: the windows put together roughly as the
// program shows them, then every piece on its own, icons tinted as the buttons do.
#include "art.h"

#include <QPainter>
#include <QPainterPath>

namespace Art {

namespace {

class Sheet
{
public:
    explicit Sheet(const QString &dir) : m_dir(dir) {}

    QImage load(const QString &name) const
    {
        QImage img(m_dir + QLatin1Char('/') + name);
        if (img.isNull()) {
            // A missing piece shows as a red cross rather than silently vanishing.
            img = QImage(32, 32, QImage::Format_ARGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            p.setPen(QPen(Qt::red, 3));
            p.drawLine(0, 0, 31, 31);
            p.drawLine(31, 0, 0, 31);
        }
        return img;
    }
    QString m_dir;
};

QImage tinted(const QImage &mask, const QColor &colour)
{
    QImage img = mask.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter t(&img);
    t.setCompositionMode(QPainter::CompositionMode_SourceIn);
    t.fillRect(img.rect(), colour);
    return img;
}

// The symbol button's face as the program paints it: a soft raised sand face.
void button(QPainter &p, const QRect &r, const QImage &icon, const QColor &ink, int iconSide)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF face = QRectF(r).adjusted(1, 1, -1, -1);
    QPainterPath shape;
    const double radius = 6.0 * r.height() / 33.0;
    shape.addRoundedRect(face, radius, radius);
    p.fillPath(shape.translated(0, 1), QColor(0, 0, 0, 40));
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, sand().lighter(112));
    g.setColorAt(1, sand().darker(106));
    p.fillPath(shape, g);
    p.setPen(QPen(QColor(120, 92, 40, 200), 1));
    p.drawPath(shape);
    const QRect target(r.center().x() - iconSide / 2 + 1, r.center().y() - iconSide / 2 + 1, iconSide, iconSide);
    p.drawImage(target, tinted(icon, ink));
    p.restore();
}

void checker(QPainter &p, const QRect &r, int cell = 8)
{
    p.save();
    p.setClipRect(r);
    for (int y = r.top(); y <= r.bottom(); y += cell)
        for (int x = r.left(); x <= r.right(); x += cell)
            p.fillRect(x, y, cell, cell,
                       ((x - r.left()) / cell + (y - r.top()) / cell) % 2 ? QColor(204, 204, 204)
                                                                          : QColor(240, 240, 240));
    p.restore();
}

void label(QPainter &p, int x, int y, const QString &text)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(12);
    p.setFont(f);
    p.setPen(QColor(50, 50, 50));
    p.drawText(x, y, text);
}

QImage zoom(const QImage &img, int factor)
{
    return img.scaled(img.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

const char *const ToolbarIcons[] = {"clear", "undo", "open", "save", "pen", "print", "sound", "help", "web", "quit"};

void mainWindow(QPainter &p, const Sheet &s, QPoint at)
{
    p.save();
    p.translate(at);
    const QImage bg = s.load(QStringLiteral("background.png"));
    p.drawImage(0, 0, bg);
    // Toolbar panel: the background from 150 pixels further right, etched edge.
    const QRect panel(25, 306, 169, 281);
    p.drawImage(panel.topLeft(), bg.copy(panel.translated(150, 0)));
    p.setPen(QColor(64, 64, 0));
    p.drawRect(panel.left() + 2, panel.top() + 2, panel.width() - 3, panel.height() - 3);
    p.setPen(Qt::white);
    p.drawRect(panel.left(), panel.top(), panel.width() - 3, panel.height() - 3);
    for (int i = 0; i < 10; ++i) {
        const QRect r(panel.left() + (i % 2 ? 88 : 32), panel.top() + 24 + (i / 2) * 40, 49, 33);
        button(p, r, s.load(QStringLiteral("icons/%1.png").arg(QLatin1String(ToolbarIcons[i]))),
               i == 6 ? QColor(255, 0, 0) : QColor(0, 0, 0), 24);
    }
    const struct {
        int digit, x, y;
    } flags[] = {{0, 36, 234}, {1, 68, 234}, {4, 100, 234}, {6, 50, 254}, {3, 82, 254}};
    for (const auto &f : flags)
        p.drawImage(panel.left() + f.x, panel.top() + f.y, s.load(QStringLiteral("flag%1.png").arg(f.digit)));
    // Canvas with its sand frame and a first scribble.
    p.fillRect(QRectF(211.5, 152.5, 600, 454), sand());
    p.fillRect(219, 160, 585, 439, Qt::white);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(232, 84, 72), 5, Qt::SolidLine, Qt::RoundCap));
    QPainterPath scribble;
    scribble.moveTo(300, 420);
    scribble.cubicTo(340, 330, 420, 330, 440, 420);
    p.drawPath(scribble);
    p.drawImage(QPoint(440 - 1, 420 - 30), s.load(QStringLiteral("cursor101.png")));
    p.drawImage(QRect(307, 25, 497, 57), s.load(QStringLiteral("logo0.png")));
    QFont f(QStringLiteral("DejaVu Serif"));
    f.setPixelSize(11);
    p.setFont(f);
    p.setPen(QColor(64, 64, 0));
    p.drawText(25, 596 + 11, QStringLiteral("\u00a9 Stiftolino"));
    p.restore();
}

void picker(QPainter &p, const Sheet &s, QPoint at)
{
    p.save();
    p.translate(at);
    p.drawImage(0, 0, s.load(QStringLiteral("picker_bg.png")));
    const QRect preview(16, 16, 400, 300);
    p.fillRect(preview, QColor(128, 128, 128));
    p.fillRect(preview.adjusted(1, 1, 0, 0), Qt::white);
    p.drawImage(preview.adjusted(2, 2, -2, -2), s.load(QStringLiteral("bitmap100.bmp")));
    p.drawImage(preview, s.load(QStringLiteral("grid.png")));
    const QPoint panel((440 - 249) / 2, 322);
    const struct {
        const char *icon;
        int x, y;
    } buttons[] = {{"previous", 48, 8}, {"browse", 104, 8}, {"next", 160, 8}, {"grid", 72, 48}, {"size", 128, 48}};
    for (const auto &b : buttons)
        button(p, QRect(panel + QPoint(b.x, b.y), QSize(45, 33)),
               s.load(QStringLiteral("icons/%1.png").arg(QLatin1String(b.icon))), Qt::black, 24);
    p.restore();
}

void about(QPainter &p, const Sheet &s, QPoint at)
{
    p.save();
    p.translate(at);
    p.drawImage(0, 0, s.load(QStringLiteral("about.png")));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(15);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(56, 80, 249, 41), Qt::AlignCenter, QStringLiteral("Stiftolino\nVersion 1.1.344"));
    f.setPixelSize(11);
    f.setUnderline(true);
    p.setFont(f);
    p.setPen(QColor(0, 0, 192));
    p.drawText(QRect(56, 167, 209, 17), Qt::AlignCenter, QStringLiteral("www.stiftolino.example"));
    p.drawImage(264, 162, s.load(QStringLiteral("about_icon.png")));
    const int digits[] = {0, 1, 3, 4, 6};
    for (int k = 0; k < 5; ++k)
        p.drawImage(312, 200 + 24 * k, s.load(QStringLiteral("flag%1.png").arg(digits[k])));
    p.fillRect(184, 264, 61, 28, QColor(236, 236, 236));
    p.setPen(QColor(120, 120, 120));
    p.drawRect(184, 264, 60, 27);
    f.setUnderline(false);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(184, 264, 61, 28), Qt::AlignCenter, QStringLiteral("OK"));
    p.restore();
}

void penWindow(QPainter &p, const Sheet &s, QPoint at)
{
    p.save();
    p.translate(at);
    p.drawImage(QRect(0, 0, 626, 169), s.load(QStringLiteral("pen_bg.png")));
    p.fillRect(24, 16, 479, 136, QColor(128, 128, 128));
    p.fillRect(25, 17, 478, 135, Qt::white);
    p.drawImage(26, 18, s.load(QStringLiteral("palette.png")));
    p.fillRect(520, 16, 18, 137, sand());
    p.drawImage(520, 16, s.load(QStringLiteral("slider_rail.png")));
    p.drawImage(521, 16 + 20, s.load(QStringLiteral("slider_thumb.png")));
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(16);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(560, 16, 40, 25), Qt::AlignCenter, QStringLiteral("5"));
    p.fillRect(560, 48, 40, 41, QColor(232, 84, 72));
    button(p, QRect(560, 112, 40, 40), s.load(QStringLiteral("icons/close.png")), Qt::black, 24);
    p.restore();
}

} // namespace

QImage contactSheet(const QString &artDir)
{
    const Sheet s(artDir);
    QImage sheet(1320, 1990, QImage::Format_RGB32);
    sheet.fill(QColor(250, 250, 250));
    QPainter p(&sheet);

    label(p, 15, 25, QStringLiteral("Main window (background, toolbar, flags, canvas frame, logo 0, cursor)"));
    mainWindow(p, s, QPoint(15, 35));
    label(p, 865, 25, QStringLiteral("Template picker (picker_bg, bitmap 100, grid)"));
    picker(p, s, QPoint(865, 35));
    label(p, 865, 490, QStringLiteral("About (about, about_icon, flags)"));
    about(p, s, QPoint(865, 500));

    int y = 690;
    label(p, 15, y - 10, QStringLiteral("Pen window (pen_bg, palette, slider rail and thumb, close)"));
    penWindow(p, s, QPoint(15, y));

    y = 880;
    label(p, 15, y - 10, QStringLiteral("Logos on the background and on a checkerboard"));
    const QImage bg = s.load(QStringLiteral("background.png"));
    for (int k = 0; k < 2; ++k) {
        const QImage logo = s.load(QStringLiteral("logo%1.png").arg(k));
        p.drawImage(QRect(15, y + k * 80, 597, 75), bg, QRect(200, 10, 597, 75));
        p.drawImage(21, y + 4 + k * 80, logo);
        checker(p, QRect(640, y + k * 80, 597, 75));
        p.drawImage(646, y + 4 + k * 80, logo);
    }

    y = 1060;
    label(p, 15, y - 10,
          QStringLiteral("Icons: 24 px black, red, on sand buttons; 48 px black, red, bare 48 px on checkerboard"));
    const QStringList names = iconNames();
    for (int k = 0; k < names.size(); ++k) {
        const int col = k % 9, row = k / 9;
        const int x = 15 + col * 145, top = y + row * 250;
        const QImage one = s.load(QStringLiteral("icons/%1.png").arg(names[k]));
        const QImage two = s.load(QStringLiteral("icons/%1@2x.png").arg(names[k]));
        label(p, x, top + 12, names[k]);
        button(p, QRect(x, top + 20, 49, 33), one, Qt::black, 24);
        button(p, QRect(x + 55, top + 20, 49, 33), one, QColor(255, 0, 0), 24);
        button(p, QRect(x, top + 60, 64, 64), two, Qt::black, 48);
        button(p, QRect(x + 68, top + 60, 64, 64), two, QColor(255, 0, 0), 48);
        checker(p, QRect(x, top + 130, 48, 48));
        p.drawImage(x, top + 130, two);
        p.drawImage(x + 56, top + 130, zoom(one, 2));
        p.fillRect(x + 56, top + 182, 48, 1, QColor(200, 200, 200));
        label(p, x + 56, top + 196, QStringLiteral("1x zoomed"));
    }

    y = 1570;
    label(
        p, 15, y - 10,
        QStringLiteral("Flags 1x and 3x; cursor 1x and 4x (hot spot red); thumb, rail, about icon; application icon"));
    int x = 15;
    for (int digit : flagDigits()) {
        const QImage f = s.load(QStringLiteral("flag%1.png").arg(digit));
        p.drawImage(x, y, f);
        p.drawImage(x, y + 28, zoom(f, 3));
        x += 104;
    }
    const QImage cur = s.load(QStringLiteral("cursor101.png"));
    p.fillRect(x, y, 32, 32, Qt::white);
    p.drawImage(x, y, cur);
    checker(p, QRect(x + 40, y, 128, 128));
    p.drawImage(x + 40, y, zoom(cur, 4));
    const QStringList hs = cur.text(QStringLiteral("hotspot")).split(QLatin1Char(','));
    if (hs.size() == 2) {
        p.setPen(Qt::red);
        p.setBrush(Qt::NoBrush);
        p.drawRect(x + 40 + hs[0].toInt() * 4, y + hs[1].toInt() * 4, 3, 3);
    }
    x += 180;
    p.drawImage(x, y, s.load(QStringLiteral("slider_thumb.png")));
    p.drawImage(x, y + 24, zoom(s.load(QStringLiteral("slider_thumb.png")), 4));
    p.drawImage(x + 72, y, s.load(QStringLiteral("slider_rail.png")));
    p.drawImage(x + 140, y, s.load(QStringLiteral("about_icon.png")));
    p.drawImage(x + 140, y + 40, zoom(s.load(QStringLiteral("about_icon.png")), 3));

    x = 15;
    y = 1710;
    label(p, 15, y - 10, QStringLiteral("Application icon 16, 32, 48, 64, 128, 256; bitmap 100"));
    for (int size : {16, 32, 48, 64, 128}) {
        p.drawImage(x, y + 256 - size, s.load(QStringLiteral("hicolor/%1x%1/apps/stiftolino.png").arg(size)));
        x += size + 16;
    }
    p.drawImage(x, y, s.load(QStringLiteral("icon.png")));
    p.drawImage(x + 280, y - 22, s.load(QStringLiteral("bitmap100.bmp")));
    return sheet;
}

} // namespace Art
