#pragma once
// The strokes of one lesson, as the lesson window draws them before the child's
// eyes: made at build time from the same source as the lesson's strip, flattened
// to points in cell coordinates (400 x 300), with the pens and colours of the
// strip. Every shape of the source is kept in the source's order; a shape the
// child draws has one stroke per subpath, already turned the way it is drawn.
//
// The embedded form is small: points on a grid of 1/8 pixel, each stored as the
// difference to the one before in a variable-length integer.

#include <QByteArray>
#include <QList>
#include <QPainterPath>
#include <QPolygonF>
#include <QRgb>

#include <optional>

struct StrokePath {
    QPolygonF points;      // in the order the hand draws them
    bool closed = false;   // ends where it began
    bool reversed = false; // runs against the source (its area is filled the source's way)
};

struct StrokeShape {
    int step = 1;       // the step group it belongs to, 1 to 6
    bool drawn = true;  // a line the child draws; false for a shape that only colours
    bool solid = false; // filled with its line colour (a pupil, a nose tip)
    Qt::FillRule fillRule = Qt::WindingFill;
    qreal width = 4; // the pen's width in cell pixels
    QList<StrokePath> paths;

    // The region the shape colours, filled as the source fills it.
    QPainterPath area() const;
};

// A colour of the finished picture: the region of shape `shape` in `colour`.
struct StrokeArea {
    int shape = 0;
    QRgb colour = 0;
};

struct LessonStrokes {
    static constexpr int Grid = 8; // stored points per pixel

    QRgb newLine = 0;     // the lines new in a step
    QRgb earlierLine = 0; // the lines of the earlier steps
    QRgb outline = 0;     // the lines of the finished picture
    QList<StrokeShape> shapes;
    QList<StrokeArea> areas; // in the order the finished picture lays them down

    QByteArray encode() const;
    // The strokes of an encoded lesson; nothing when the bytes are not a whole,
    // well-formed one.
    static std::optional<LessonStrokes> decode(const QByteArray &bytes);
};
