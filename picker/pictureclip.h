#pragma once
// Holds one lesson strip and hands out its cells: six rows, one column. The strip
// is kept as it is embedded, a run-length coded bitmap a tenth of its pixels'
// size; a cell is decoded when it is asked for, and the window keeps only what it
// has painted.

#include <QByteArray>
#include <QImage>

class PictureClip
{
public:
    static constexpr int Rows = 6;

    // Takes the coded strip `bmp`; false, and the strip held so far kept, when it
    // is no picture.
    bool setPicture(const QByteArray &bmp);
    bool isEmpty() const { return m_bmp.isEmpty(); }
    // Cell `row` (0 = first step, 5 = finished picture); null when empty.
    QImage cell(int row) const;

private:
    QByteArray m_bmp;
};
