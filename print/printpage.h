#pragma once
// Where the printed page puts the picture and the title line, in millimetres
// from the top left corner of the printer's printable area.

#include <QPointF>
#include <QRectF>
#include <QSizeF>

#include "print/drucker.h"

struct PrintPage {
    QRectF picture; // the canvas, stretched (its 4:3 shape is not kept); may be empty
    QPointF title;  // top left corner of the title line
};

// The picture starts at the left and top margins and is `printable` less the
// right and bottom margins wide and high, cut back to the printable area where
// it would reach beyond it. The title line starts at the left margin at the top.
PrintPage printPageFor(QSizeF printable, const Drucker::Margins &margins);
