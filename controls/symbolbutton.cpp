#include "controls/symbolbutton.h"

#include "core/resources.h"

#include <QFile>
#include <QPainter>
#include <QPainterPath>

SymbolButton::SymbolButton(int index, const QString &symbol, const QString &fallback, QWidget *parent)
    : QAbstractButton(parent), m_index(index), m_fallback(fallback)
{
    const QString path = QStringLiteral(":/art/icons/%1.png").arg(symbol);
    if (QFile::exists(path))
        m_icon = ModResFiles::ReadIcon(path);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover);
    // A disabled button emits no clicked(), so it raises no Click either.
    connect(this, &QAbstractButton::clicked, this, [this] { emit Click(m_index); });
}

void SymbolButton::setForeColor(const QColor &color)
{
    m_foreColor = color;
    update();
}

QSize SymbolButton::sizeHint() const { return QSize(45, 33); }

void SymbolButton::enterEvent(QEnterEvent *event)
{
    m_hover = true;
    update();
    QAbstractButton::enterEvent(event);
}

void SymbolButton::leaveEvent(QEvent *event)
{
    m_hover = false;
    update();
    QAbstractButton::leaveEvent(event);
}

void SymbolButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const bool down = isDown() && isEnabled();
    QRectF face = QRectF(rect()).adjusted(1, 1, -1, -1);
    const QColor base = faceColor();

    // A soft raised face that sinks in when pressed.
    QPainterPath shape;
    shape.addRoundedRect(face, 6, 6);
    p.fillPath(shape.translated(0, 1), QColor(0, 0, 0, 40));
    QLinearGradient g(face.topLeft(), face.bottomLeft());
    g.setColorAt(0, down ? base.darker(112) : base.lighter(112));
    g.setColorAt(1, down ? base.darker(104) : base.darker(106));
    p.fillPath(shape, g);
    p.setPen(QPen(QColor(120, 92, 40, isEnabled() ? 200 : 110), 1));
    p.drawPath(shape);
    if (m_hover && isEnabled()) {
        p.setPen(QPen(QColor(255, 255, 255, 170), 1.5));
        p.drawRoundedRect(face.adjusted(1.5, 1.5, -1.5, -1.5), 5, 5);
    }
    if (hasFocus()) {
        p.setPen(QPen(QColor(64, 64, 0), 1, Qt::DotLine));
        p.drawRoundedRect(face.adjusted(3, 3, -3, -3), 4, 4);
    }

    const QColor ink = isEnabled() ? m_foreColor : QColor(150, 125, 80);
    const QPoint shift = down ? QPoint(1, 1) : QPoint(0, 0);
    if (!m_icon.isNull()) {
        const int side = qMin(24, qMin(width(), height()) - 6);
        const QRect target(QPoint((width() - side) / 2, (height() - side) / 2) + shift, QSize(side, side));
        // The icon is a black mask: keep its alpha, take the ink colour.
        const qreal dpr = devicePixelRatioF();
        QPixmap mask = m_icon.pixmap(QSize(side, side), dpr);
        QImage tinted = mask.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        {
            QPainter t(&tinted);
            t.setCompositionMode(QPainter::CompositionMode_SourceIn);
            t.fillRect(tinted.rect(), ink);
        }
        tinted.setDevicePixelRatio(mask.devicePixelRatio());
        p.drawImage(target, tinted);
    } else {
        QFont f = font();
        f.setBold(true);
        f.setPixelSize(qMax(10, height() / 2));
        p.setFont(f);
        p.setPen(ink);
        p.drawText(rect().translated(shift), Qt::AlignCenter, m_fallback);
    }
}
