#include "picker/strokeanimation.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace {
constexpr QSizeF Cell(400, 300);
}

StrokeAnimation::StrokeAnimation(QWidget *preview) : QWidget(preview)
{
    // It covers the preview while it plays; presses reach the preview beneath.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
    m_steady.start();
    m_clock = [this] { return m_steady.elapsed(); };
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &StrokeAnimation::tick);
}

void StrokeAnimation::play(const StepDrawing &drawing, const QRect &area)
{
    m_drawing.emplace(drawing);
    m_startedAt = m_clock();
    m_shown = 0;
    setGeometry(area);
    show();
    update();
    schedule(0);
}

void StrokeAnimation::stop()
{
    m_timer.stop();
    if (!m_drawing)
        return;
    m_drawing.reset();
    hide();
}

void StrokeAnimation::tick()
{
    if (!m_drawing)
        return;
    const int now = int(std::min<qint64>(m_clock() - m_startedAt, m_drawing->duration()));
    if (now >= m_drawing->duration()) {
        stop();
        emit finished();
        return;
    }
    const QRectF changed = m_drawing->changed(m_shown, now);
    m_shown = now;
    if (!changed.isNull())
        update(onWidget(changed));
    schedule(now);
}

void StrokeAnimation::schedule(int now)
{
    // One frame of the screen while a stroke grows; otherwise nothing until the
    // next change is due.
    const qreal rate = screen() ? screen()->refreshRate() : 60;
    const int frame = std::clamp(int(std::lround(1000 / (rate > 0 ? rate : 60))), 8, 34);
    const int next = m_drawing->nextChange(now);
    m_timer.start(next > now ? std::max(1, next - now) : frame);
}

QRect StrokeAnimation::onWidget(const QRectF &cellRect) const
{
    const qreal sx = width() / Cell.width(), sy = height() / Cell.height();
    return QRectF(cellRect.x() * sx, cellRect.y() * sy, cellRect.width() * sx, cellRect.height() * sy)
        .toAlignedRect()
        .adjusted(-1, -1, 1, 1);
}

void StrokeAnimation::paintEvent(QPaintEvent *event)
{
    if (!m_drawing)
        return;
    QPainter p(this);
    const qreal sx = width() / Cell.width(), sy = height() / Cell.height();
    p.scale(sx, sy);
    const QRectF r = event->rect().adjusted(-1, -1, 1, 1);
    const QRectF cellClip(r.x() / sx, r.y() / sy, r.width() / sx, r.height() / sy);
    m_drawing->paint(p, m_shown, cellClip);
}
