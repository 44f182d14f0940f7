#include "picker/gridoverlay.h"

#include "platform/artwork.h"

#include <QPaintEvent>
#include <QPainter>

GridOverlay::GridOverlay(QWidget *preview) : QWidget(preview)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
}

void GridOverlay::setGrid(const QImage &grid, QSize size)
{
    const qreal ratio = grid.devicePixelRatio();
    if (grid.size() == size * ratio) {
        m_grid = grid;
    } else {
        // Scaled once here rather than at every frame of the stroke animation
        // beneath.
        m_grid = grid.scaled(size * ratio, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        m_grid.setDevicePixelRatio(ratio);
    }
    resize(size);
    update();
}

void GridOverlay::paintEvent(QPaintEvent *event)
{
    QPainter p(this);
    p.drawImage(event->rect(), m_grid, Artwork::devicePixels(event->rect(), m_grid));
}
