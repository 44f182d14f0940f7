#pragma once
// A lesson source is an SVG picture of 400 x 300 with six groups "step1" .. "step6".
// Cell k (0..4) shows steps 1..k+1: the earlier steps in dark grey, the new one in
// signal red, all unfilled; cell 5 shows the finished picture with black outlines
// and its colours.

#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

namespace LessonTools {

inline constexpr int CellWidth = 400;
inline constexpr int CellHeight = 300;
inline constexpr int CellCount = 6;
inline constexpr int Margin = 12;

struct LessonSource {
    QString path;
    QByteArray svg;          // the file as read
    QStringList problems;    // what makes it unusable; empty when fine
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
