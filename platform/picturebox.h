#pragma once
// A picture surface with a retained image: what is drawn stays until it is
// erased, survives repainting and can be read back as one image. It has two
// layers: a background picture, and what was drawn since that picture was set.
// Cls erases the drawn layer and leaves the picture.

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QWidget>

class PictureBox : public QWidget
{
    Q_OBJECT
public:
    explicit PictureBox(QWidget *parent = nullptr);

    QColor backColor() const { return m_backColor; }
    void setBackColor(const QColor &color);

    // A sunken border two pixels wide; the drawing area lies inside it.
    void setSunkenBorder(bool on);
    int borderWidth() const { return m_sunken ? 2 : 0; }
    // The drawing area's size (the widget's size less the border).
    int scaleWidth() const { return width() - 2 * borderWidth(); }
    int scaleHeight() const { return height() - 2 * borderWidth(); }

    // The retained image's device pixel ratio: 1 keeps one image pixel per logical
    // pixel (the canvas, whose picture is saved at its logical size); 2 keeps a
    // surface that shows artwork sharply on a screen of scale 2. Discards the
    // drawn layer when it changes.
    qreal pixelRatio() const { return m_ratio; }
    void setPixelRatio(qreal ratio);

    // The background picture; setting it discards the drawn layer. The retained
    // image takes the picture's pixel ratio.
    void setPicture(const QImage &picture);
    QImage picture() const { return m_picture; }

    // The composite of the background picture and the drawn layer, at
    // pixelRatio(): its logical size is the drawing area's size.
    const QImage &image() const;

    // Erases the drawn layer.
    void cls();

    // Paints `source` (or its part `sourceRect`) stretched into `target`, in the
    // drawn layer.
    void paintPicture(const QImage &source, const QRectF &target, const QRectF &sourceRect = QRectF());
    // A rectangle outline from corner to corner, both included.
    void drawBox(QPoint from, QPoint to, const QColor &color);

    // The colour of the pixel at logical (x, y) of the drawing area; -1 outside it.
    qint64 point(int x, int y) const;

    // Whether the retained image follows the widget when its size changes.
    void setKeepContentOnResize(bool keep) { m_keepOnResize = keep; }

signals:
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, QPointF pos);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, QPointF pos);

protected:
    // The retained image at the current size, to draw into; the caller repaints.
    QImage &drawingImage();
    // A widget position in the drawing area's coordinates.
    QPointF inner(QPointF widgetPos) const;

    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void recomposite();
    void syncSize() const;
    void updateImageRect(const QRectF &imageRect);
    QImage blankImage() const;

    QColor m_backColor = Qt::white;
    bool m_sunken = false;
    bool m_keepOnResize = true;
    qreal m_ratio = 1.0;
    QImage m_picture;
    mutable QImage m_image;
};
