#include "platform/picturebox.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    // The image is retained, so a resize only needs the new area painted.
    setAttribute(Qt::WA_StaticContents);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_image = QImage(1, 1, QImage::Format_RGB32);
    m_image.fill(m_backColor);
}

void PictureBox::setBackColor(const QColor &color)
{
    m_backColor = color;
    recomposite();
}

void PictureBox::setSunkenBorder(bool on)
{
    m_sunken = on;
    recomposite();
}

void PictureBox::setPixelRatio(qreal ratio)
{
    if (ratio <= 0 || ratio == m_ratio)
        return;
    m_ratio = ratio;
    recomposite();
}

void PictureBox::setPicture(const QImage &picture)
{
    m_picture = picture;
    if (!picture.isNull())
        m_ratio = picture.devicePixelRatio();
    recomposite();
}

QImage PictureBox::blankImage() const
{
    const QSize size(qMax(1, scaleWidth()), qMax(1, scaleHeight()));
    QImage image(size * m_ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(m_ratio);
    image.fill(m_backColor);
    return image;
}

void PictureBox::cls() { recomposite(); }

void PictureBox::recomposite()
{
    m_image = blankImage();
    if (!m_picture.isNull()) {
        QPainter p(&m_image);
        p.drawImage(QPoint(0, 0), m_picture);
    }
    update();
}

QImage &PictureBox::drawingImage()
{
    syncSize();
    return m_image;
}

void PictureBox::paintPicture(const QImage &source, const QRectF &target, const QRectF &sourceRect)
{
    syncSize();
    {
        QPainter p(&m_image);
        p.setRenderHint(QPainter::SmoothPixmapTransform);
        const QSize want = target.size().toSize() * 2;
        if (sourceRect.isNull() && source.width() > 2 * want.width() && source.height() > 2 * want.height()) {
            // A photo-sized picture into a small box: smoothing all of its pixels
            // costs a tenth of a second; a quick cut to twice the box first,
            // then smoothing, looks the same.
            p.drawImage(target, source.scaled(want, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        } else if (sourceRect.isNull()) {
            p.drawImage(target, source);
        } else {
            p.drawImage(target, source, sourceRect);
        }
    }
    updateImageRect(target);
}

void PictureBox::drawBox(QPoint from, QPoint to, const QColor &color)
{
    syncSize();
    {
        QPainter p(&m_image);
        p.setPen(QPen(color, 1));
        p.drawRect(QRect(from, to).normalized().adjusted(0, 0, -1, -1));
    }
    update();
}

qint64 PictureBox::point(int x, int y) const
{
    syncSize();
    if (x < 0 || y < 0 || x >= scaleWidth() || y >= scaleHeight())
        return -1;
    const int px = int(x * m_ratio), py = int(y * m_ratio);
    if (!m_image.valid(px, py))
        return -1;
    return qint64(m_image.pixel(px, py) & 0xFFFFFF);
}

void PictureBox::updateImageRect(const QRectF &imageRect)
{
    const int b = borderWidth();
    update(imageRect.toAlignedRect().translated(b, b));
}

QPointF PictureBox::inner(QPointF widgetPos) const
{
    const int b = borderWidth();
    return widgetPos - QPointF(b, b);
}

const QImage &PictureBox::image() const
{
    syncSize();
    return m_image;
}

void PictureBox::paintEvent(QPaintEvent *event)
{
    syncSize();
    QPainter p(this);
    const int b = borderWidth();
    const QRect area = event->rect();
    const QRect source = area.translated(-b, -b);
    if (m_ratio == 1.0) {
        p.drawImage(area.topLeft(), m_image, source);
    } else {
        // On a screen of another scale than the image's the pixels are resampled.
        p.setRenderHint(QPainter::SmoothPixmapTransform, m_ratio != devicePixelRatioF());
        const QRectF pixels(source.x() * m_ratio, source.y() * m_ratio, source.width() * m_ratio,
                            source.height() * m_ratio);
        p.drawImage(QRectF(area), m_image, pixels);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
    if (m_sunken) {
        // Two pixels: grey over dark on the top and left, white over light below.
        const QRect r = rect();
        p.setPen(QColor(128, 128, 128));
        p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
        p.drawLine(r.left(), r.top(), r.left(), r.bottom() - 1);
        p.setPen(QColor(64, 64, 64));
        p.drawLine(r.left() + 1, r.top() + 1, r.right() - 2, r.top() + 1);
        p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom() - 2);
        p.setPen(Qt::white);
        p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
        p.drawLine(r.right(), r.top(), r.right(), r.bottom());
        p.setPen(QColor(212, 208, 200));
        p.drawLine(r.left() + 1, r.bottom() - 1, r.right() - 1, r.bottom() - 1);
        p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom() - 1);
    }
}

void PictureBox::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    syncSize();
}

// The widget's size changes at once, its resize event only when it is shown:
// every drawing operation brings the image to the current size first.
void PictureBox::syncSize() const
{
    const QSize size(qMax(1, scaleWidth()), qMax(1, scaleHeight()));
    if (m_image.deviceIndependentSize().toSize() == size && m_image.devicePixelRatio() == m_ratio)
        return;
    QImage next = blankImage();
    if (m_keepOnResize) {
        QPainter p(&next);
        p.drawImage(QPoint(0, 0), m_image);
    } else if (!m_picture.isNull()) {
        QPainter p(&next);
        p.drawImage(QPoint(0, 0), m_picture);
    }
    m_image = next;
}

void PictureBox::mousePressEvent(QMouseEvent *event)
{
    emit mouseDown(event->button(), event->modifiers(), inner(event->position()));
}

void PictureBox::mouseMoveEvent(QMouseEvent *event)
{
    emit mouseMove(event->buttons(), event->modifiers(), inner(event->position()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent *event)
{
    emit mouseUp(event->button(), event->modifiers(), inner(event->position()));
}
