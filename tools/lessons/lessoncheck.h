#pragma once
// The geometry of a lesson source's strokes, for the rules a step must keep: every
// new stroke joins what was drawn before, and nothing is too small to draw with a
// mouse. The source format is described in lessonrender.h.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QPolygonF>
#include <QString>
#include <QStringList>

namespace LessonTools {

// Within this distance of a line, a point lies on it (the lines are 3 to 5 px wide).
inline constexpr double JoinDistance = 3.0;
// A closed shape narrower than this, measured across its line's middle, is too small
// for a child's mouse, unless it is a filled dot.
inline constexpr double SmallestShape = 10.0;

struct LessonStroke {
    int step = 0;        // 1 .. 5; step 6 only colours
    int index = 0;       // its place among the step's strokes, from 1, in the source's order
    QString shape;       // the element it comes from: "circle", "path", ...
    QPolygonF points;    // its middle line in cell coordinates, in drawing order
    bool closed = false; // a closed stroke ends where it starts
    bool solid = false;  // a filled dot
};

// The strokes the child draws, in the source's order: one per shape, one per subpath
// of a path, none for a class="fill" shape. Curves and arcs are flattened finely
// enough that a point is within a tenth of a pixel of the true line.
QList<LessonStroke> lessonStrokes(const QByteArray &svg);

// How far `p` is from the nearest of `lines`.
double distanceToLines(QPointF p, const QList<QPolygonF> &lines);

// How close two lines come; 0 when they cross.
double distanceBetween(const QPolygonF &a, const QPolygonF &b);

// The narrowest width of a shape over all directions.
double widthAcross(const QPolygonF &shape);

// Describes a stroke for a message: "step3 stroke 2 (ellipse near 178,92)".
QString describe(const LessonStroke &stroke);

// How the part a step adds meets what was drawn before it.
enum class Standing {
    Joined, // each stroke starts and ends on a line already drawn, or is closed and touches one
    Free,   // each stroke leaves the drawing and may end in the air (rays, whiskers, a mast)
    Apart,  // the part stands apart on purpose (eyes inside a head, spots, steam)
};

// Strokes of steps 2 to 5 that do not meet the drawing as their step's `standing`
// (Joined when not given) asks. A line already drawn is one of an earlier step, one
// drawn before in the same step, or the stroke's own line further back, as when a
// stroke ends on itself. Filled dots are placed, not joined, and are left out.
QStringList looseStrokes(const QList<LessonStroke> &strokes, const QHash<int, Standing> &standing);

// Closed strokes, filled dots aside, narrower than SmallestShape.
QStringList tinyShapes(const QList<LessonStroke> &strokes);

} // namespace LessonTools
