#pragma once
// Plays a lesson step over the preview: a child of the preview that covers its
// drawing area while the step's strokes are drawn, and goes away at the end, so
// that the cell the preview holds beneath is what stays. The child is never made
// to wait: stop() ends it at once.
//
// Frames follow the screen: at most one repaint of the changed area per frame,
// none while nothing moves. The clock can be set, so that tests step it.

#include "picker/stepdrawing.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <optional>

class StrokeAnimation : public QWidget
{
    Q_OBJECT
public:
    explicit StrokeAnimation(QWidget *preview);

    // The clock in milliseconds; a steady one unless set.
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // Starts drawing `drawing` over `area` (the preview's drawing area, which the
    // cell is stretched to).
    void play(const StepDrawing &drawing, const QRect &area);
    // Ends at once: the cell beneath shows.
    void stop();
    bool isPlaying() const { return m_drawing.has_value(); }
    // What is playing, and the moment it shows (ms since it began).
    const StepDrawing *drawing() const { return m_drawing ? &*m_drawing : nullptr; }
    int shownAt() const { return m_shown; }

    // Shows the moment the clock says: repaints what changed since the last
    // frame, or ends the step when its time is up. The frame timer calls it.
    void tick();

signals:
    void finished();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void schedule(int now);
    QRect onWidget(const QRectF &cellRect) const;

    std::optional<StepDrawing> m_drawing;
    std::function<qint64()> m_clock;
    QElapsedTimer m_steady;
    QTimer m_timer;
    qint64 m_startedAt = 0;
    int m_shown = 0;
};
