#include "controls/canvas.h"

#include "core/colors.h"
#include "core/globals.h"

#include <QMouseEvent>
#include <QPainter>
#include <QtMath>

Canvas::Canvas(QWidget *parent) : PictureBox(parent)
{
    m_frame.setSingleShot(true);
    m_frame.setTimerType(Qt::PreciseTimer);
    // The frame is painted at once, ahead of the moves waiting in the queue.
    connect(&m_frame, &QTimer::timeout, this, &Canvas::flushLines);
}

QColor Canvas::foreColor() const { return fromRgbValue(Allgemein::PenColor); }

void Canvas::setForeColor(const QColor &color) { Allgemein::PenColor = toRgbValue(color); }

int Canvas::drawWidth() const { return qMax(1, int(Allgemein::PenWidth)); }

void Canvas::setDrawWidth(int width) { Allgemein::PenWidth = int16_t(qBound(1, width, 32767)); }

namespace {
// A dot of the pen: the pixels of a `width` by `width` square whose centres lie
// within half the width of its middle. An odd width is centred on the pixel at
// `at`, an even one on that pixel's top-left corner, just as a line of that width
// lies across its path.
void stampDot(QPainter &p, QPointF at, int width, const QColor &colour)
{
    width = qMax(1, width);
    const int cx = qFloor(at.x());
    const int cy = qFloor(at.y());
    const int lo = -(width / 2);
    const int hi = lo + width - 1;
    const double shift = width % 2 ? 0.5 : 0.0;
    const double r2 = width * width / 4.0;
    for (int dy = lo; dy <= hi; ++dy) {
        const double y = dy + 0.5 - shift;
        int reach = -1; // half the row's length in pixels, less a half for even widths
        for (int dx = hi; dx >= 0 && reach < 0; --dx) {
            const double x = dx + 0.5 - shift;
            if (x * x + y * y <= r2)
                reach = dx;
        }
        if (reach >= 0) {
            const int first = width % 2 ? -reach : -reach - 1;
            p.fillRect(QRect(cx + first, cy + dy, reach - first + 1, 1), colour);
        }
    }
}
} // namespace

void Canvas::putDot(QPainter &p, QPointF at, int width, const QColor &colour)
{
    // The dot is drawn once into a picture of its own, and then copied in one
    // piece instead of row by row: a wide pen's dot has as many rows as pixels.
    width = qMax(1, width);
    if (m_dot.isNull() || m_dot.width() != width || m_dotColour != colour.rgba()) {
        m_dot = QImage(width, width, QImage::Format_ARGB32_Premultiplied);
        m_dot.fill(Qt::transparent);
        QPainter dot(&m_dot);
        stampDot(dot, QPointF(width / 2, width / 2), width, colour);
        m_dotColour = colour.rgba();
    }
    const int lo = -(width / 2);
    p.drawImage(QPoint(qFloor(at.x()) + lo, qFloor(at.y()) + lo), m_dot);
}

void Canvas::line(QPointF from, QPointF to)
{
    const QColor colour = foreColor();
    const int width = drawWidth();
    QImage &image = drawingImage();
    // A line that goes on from the end of the last one, with the same pen and
    // nothing painted since, finds its first dot already there.
    const bool dotThere = Dot{from, colour.rgba(), width, image.cacheKey()} == m_lastDot;
    {
        QPainter p(&image);
        // Solid pixels in exactly the pen colour: no anti-aliasing.
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (from != to)
            p.drawLine(from, to);
        // Qt's own round cap of a wide aliased pen comes out a pixel short and off
        // centre: the tips are put down as the pen's own dots.
        if (!dotThere)
            putDot(p, from, width, colour);
        if (from != to)
            putDot(p, to, width, colour);
    }
    m_lastDot = Dot{to, colour.rgba(), width, image.cacheKey()};
    m_current = to;
    const double r = width / 2.0 + 2;
    const int b = borderWidth();
    scheduleLines(QRectF(from, to).normalized().adjusted(-r, -r, r, r).toAlignedRect().translated(b, b));
}

// A line after a frame with nothing painted goes to the screen at once, so a
// slow stroke never waits for a tick; the lines that follow it within the frame
// wait for the next one, so that moves coming faster than frames are sent one
// area per frame, the union of them.
void Canvas::scheduleLines(const QRect &widgetRect)
{
    m_pendingLines |= widgetRect;
    if (m_frame.isActive())
        return;
    const qint64 since = m_sinceFrame.isValid() ? m_sinceFrame.elapsed() : m_frameInterval;
    if (since >= m_frameInterval) {
        flushLines();
        return;
    }
    m_frame.start(int(qint64(m_frameInterval) - since));
}

void Canvas::flushLines()
{
    m_frame.stop();
    if (!m_pendingLines.isEmpty())
        repaint(m_pendingLines);
    m_pendingLines = QRect();
    m_sinceFrame.start();
}

void Canvas::mousePressEvent(QMouseEvent *event)
{
    // Every button draws; a press while a stroke goes on starts a new one.
    emit strokeBegan();
    m_strokeActive = true;
    const QPointF at = inner(event->position());
    line(at, at);
}

void Canvas::mouseMoveEvent(QMouseEvent *event)
{
    if (m_strokeActive)
        lineTo(inner(event->position()));
}

void Canvas::mouseReleaseEvent(QMouseEvent *)
{
    // The whole stroke is on the screen when the button goes up.
    flushLines();
    m_strokeActive = false;
}
