#pragma once
// The strokes of a lesson source, for the lesson window to draw them live: the
// same shapes the strip is rendered from, read by the same SVG renderer, flattened
// to points in cell coordinates and turned the way a drawing teacher draws them:
// - an open line from its left end, or from its top end when it runs more up
//   and down than across;
// - a circle or an oval from its top, the way the letter "o" is written
//   (leftwards first);
// - any other closed shape from its top-left corner (its topmost point, the
//   leftmost where a top edge is flat), along the top to the right first.
// A shape may say otherwise: data-draw="as-written" draws it as the source
// writes it, data-draw="reversed" the other way round.

#include "core/lessonstrokes.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace LessonTools {

struct ExtractedStrokes {
    LessonStrokes strokes;
    QStringList problems; // what makes them unusable; empty when fine
};

// The strokes of the source `svg` (as read by readLessonSource); `where` names it
// in the problems.
ExtractedStrokes extractStrokes(const QByteArray &svg, const QString &where);

} // namespace LessonTools
