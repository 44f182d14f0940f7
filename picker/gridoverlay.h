#pragma once
// The grid laid over the lesson preview. At the picture's own size it is drawn
// straight from the embedded pixels, which stay where they lie for the whole run:
// no copy of them is kept, neither as a pixmap nor as an image. Only a preview of
// another size keeps the grid scaled to it.

#include <QImage>
#include <QWidget>

class GridOverlay : public QWidget
{
public:
    explicit GridOverlay(QWidget *preview);

    // Lays the grid `grid` over a preview of `size` logical pixels.
    void setGrid(const QImage &grid, QSize size);
    // What is drawn, at the widget's logical size.
    const QImage &image() const { return m_grid; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QImage m_grid;
};
