#pragma once
// The drawing canvas: a retained picture surface that the child draws on with
// the mouse. It owns the stroke: a press puts down a dot of the pen and starts
// the stroke, every move with the stroke going draws a line to the pointer, the
// release ends it. The owner only hears that a stroke began, before its first
// dot, so it can keep the canvas as it was for Undo.
//
// The pen is the program's one pen (PenColor, PenWidth): the pen window sets it,
// and the canvas reads it, so the two never disagree.

#include "platform/picturebox.h"

#include <QElapsedTimer>
#include <QTimer>

class Canvas : public PictureBox
{
    Q_OBJECT
public:
    explicit Canvas(QWidget *parent = nullptr);

    // The pen; setting it sets the program's pen.
    QColor foreColor() const;
    void setForeColor(const QColor &color);
    int drawWidth() const;
    void setDrawWidth(int width);

    // A solid line in the pen's colour and width with round ends; from == to
    // leaves a round dot. `to` becomes the current drawing position. The line goes
    // into the image at once; only its bounding box is repainted, together with
    // the other lines of the same display frame (see frameInterval).
    void line(QPointF from, QPointF to);
    void lineTo(QPointF to) { line(m_current, to); }

    // True from a press until its release.
    bool strokeActive() const { return m_strokeActive; }

    // Lines reach the screen at most once per this many milliseconds: a mouse
    // reports up to a thousand moves a second, more than any screen shows. What
    // is drawn meanwhile is sent together, and at once when a button goes up.
    static constexpr int DefaultFrameInterval = 8;
    int frameInterval() const { return m_frameInterval; }
    void setFrameInterval(int ms) { m_frameInterval = ms; }
    // Sends what was drawn since the last frame to the screen now.
    void flushLines();

signals:
    // A press began a stroke; nothing of it is drawn yet.
    void strokeBegan();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void scheduleLines(const QRect &widgetRect);
    // Puts down the pen's dot at `at` (see line()).
    void putDot(QPainter &p, QPointF at, int width, const QColor &colour);

    QPointF m_current;
    // The dot that ends the last line: where, in which pen, and the image as it
    // was right after (any later change to the image gives it a new key).
    struct Dot {
        QPointF at;
        QRgb colour = 0;
        int width = 0;
        qint64 imageKey = 0;
        bool operator==(const Dot &) const = default;
    };
    Dot m_lastDot;
    // The pen's dot as a picture, in the colour it was made for.
    QImage m_dot;
    QRgb m_dotColour = 0;
    bool m_strokeActive = false;
    // Drawn lines not yet on the screen, in widget coordinates, and the frame pacing.
    QRect m_pendingLines;
    QTimer m_frame;
    QElapsedTimer m_sinceFrame;
    int m_frameInterval = DefaultFrameInterval;
};
