#pragma once
// Holds one lesson strip and hands out its cells: six rows, one column.

#include <QImage>

class PictureClip
{
public:
    static constexpr int Rows = 6;

    void setPicture(const QImage &strip) { m_strip = strip; }
    bool isEmpty() const { return m_strip.isNull(); }
    // Cell `row` (0 = first step, 5 = finished picture); null when empty.
    QImage cell(int row) const;

private:
    QImage m_strip;
};
