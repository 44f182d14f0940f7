#pragma once
// A lesson source is an SVG picture of 400 x 300 with six groups "step1" .. "step6".
// Cell k (0..4) shows steps 1..k+1: the earlier steps in dark grey, the new one in
// signal red, all unfilled; cell 5 shows the finished picture with black outlines
// and its colours.
//
// How a source is written:
// - Every shape of steps 1 to 5 is a line the child draws. Its `fill` is the colour
//   it gets in the finished picture; an open path is coloured as if closed by a
//   straight line, so a later part can hide that edge under its own colour.
// - class="solid" marks a small shape drawn filled with the line colour (a pupil,
//   a nose tip).
// - class="fill" marks a shape that is never drawn as a line: it only colours an
//   area of the finished picture. Step 6 holds nothing else (it may be empty).
// - class="back" marks a part that lies behind what was drawn before: its line is
//   only the visible part of its outline, and its colour lies beneath the colours
//   of all other shapes (the later such a part, the further back).
// - In the finished picture all colours are laid down first (the back ones, then the
//   others in the order of the source) and all lines on top; colouring in therefore
//   never hides a line.
// - Strokes, as counted for the child: every shape is one stroke, a path one per
//   subpath (each "M" starts a new one), a class="fill" shape none. A step asks for
//   at most MaxStrokesPerStep of them.
// - The lesson window draws each step's strokes live, in the source's order and
//   the way a drawing teacher draws them (strokeextract.h says which way that
//   is). data-draw="as-written" on a shape draws it as the source writes it,
//   data-draw="reversed" the other way round. A stroke of no length, whose way
//   cannot be told, is refused.

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace LessonTools {

inline constexpr int CellWidth = 400;
inline constexpr int CellHeight = 300;
inline constexpr int CellCount = 6;
inline constexpr int Margin = 12;
inline constexpr int MaxStrokesPerStep = 6;

struct LessonSource {
    QString path;
    QByteArray svg;                                // the file as read
    QStringList problems;                          // what makes it unusable; empty when fine
    QList<int> strokes = QList<int>(CellCount, 0); // the strokes each step asks for
};

// Reads and checks a lesson source: the size, the six step groups, nothing
// drawn outside them, only plain shapes.
LessonSource readLessonSource(const QString &path);

// The SVG text of cell `cell` (0..5) with the stroke colours and fills set.
QByteArray cellSvg(const QByteArray &source, int cell);

// Cell `cell` rendered antialiased on white, 400 x 300.
QImage renderCell(const QByteArray &source, int cell);

// The six cells rendered, mapped onto the palette and stacked top to bottom.
QImage renderStrip(const QByteArray &source);

// Lines describing ink outside the margin and steps that add nothing; empty when fine.
QStringList checkStrip(const QImage &strip);

// The lesson number of a source file named "NN-subject.svg", or 0.
int lessonNumber(const QString &path);

} // namespace LessonTools
