#pragma once
// One step of a lesson drawn over time, as a hand would draw it: what the preview
// shows at each moment, from the step's earlier lines to its cell. No widget and
// no clock: a moment is a number of milliseconds since the step began.
//
// Cells 0 to 4: the lines of the earlier steps stand in grey from the start; the
// step's new strokes follow one another in signal red in the source's order, each
// announced by a dot at its start and then growing along its path. Cell 5: the
// finished picture's lines stand from the start, and its colours are laid down
// area by area beneath them.

#include "core/lessonstrokes.h"

#include <QList>
#include <QRectF>

class QPainter;

namespace StepTiming {
constexpr int DotMs = 180;      // the dot before a stroke grows
constexpr int PauseMs = 150;    // after a stroke, before the next dot
constexpr int ShortestMs = 500; // a short stroke grows in half a second,
constexpr int LongestMs = 1200; // one of LongStroke pixels or more in 1.2 s
constexpr double LongStroke = 400;
constexpr int StepMs = 4000;    // a whole step at most
constexpr int ColoursMs = 3000; // the colours of the finished picture at most
constexpr int AreaMs = 350;     // between two colours at most
} // namespace StepTiming

class StepDrawing
{
public:
    // Cell `cell` (0 to 5) of the lesson `lesson`.
    StepDrawing(const LessonStrokes &lesson, int cell);

    int cell() const { return m_cell; }
    // When the step is drawn completely, in ms.
    int duration() const { return m_duration; }
    // The strokes it draws (cells 0 to 4) or the colours it lays down (cell 5).
    int count() const { return int(m_cell < 5 ? m_strokes.size() : m_areas.size()); }

    // Paints the moment `t` in cell coordinates (400 x 300) over white; only what
    // lies in `clip` (the whole cell when null) needs to be right.
    void paint(QPainter &p, int t, const QRectF &clip = QRectF()) const;
    // What changes between the moments `from` and `to`, in cell coordinates; null
    // when nothing does.
    QRectF changed(int from, int to) const;
    // The next moment after `t` at which the picture changes; `t` itself while a
    // stroke is growing, duration() at the end.
    int nextChange(int t) const;

private:
    struct Stroke {
        qsizetype shape, path; // in the lesson
        qsizetype lastOfShape; // a solid shape is filled once its last stroke is done
        double length;
        QRectF bounds; // the whole stroke with its pen
        int dotAt, growAt, doneAt;
    };
    struct Line { // a line of an earlier step, or of the finished picture
        qsizetype shape, path;
        QRectF bounds;
    };
    struct Area {
        QPainterPath region;
        QRgb colour;
        int shownAt;
        QRectF bounds;
    };
    static constexpr double NotBegun = -2, DotOnly = -1;
    // How far stroke `s` has come at `t`: NotBegun, DotOnly, else the length drawn
    // (its whole length once done).
    double progress(const Stroke &s, int t) const;
    int areasShown(int t) const;
    QRectF dotRect(const Stroke &s) const;
    void time();

    LessonStrokes m_lesson;
    int m_cell;
    int m_duration = 0;
    QList<Line> m_lines;
    QList<Stroke> m_strokes;
    QList<Area> m_areas;
};
