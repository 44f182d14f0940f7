#pragma once
// A label that takes the mouse: the flags and the web link. It reports the press
// and the release of every button, and a click when the left button is released
// over the label it was pressed on.

#include <QLabel>

class ClickLabel : public QLabel
{
    Q_OBJECT
public:
    explicit ClickLabel(QWidget *parent = nullptr);

signals:
    void mouseDown(Qt::MouseButton button);
    void mouseUp(Qt::MouseButton button);
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

// The flag of language `digit` (32 x 20 pixels, the language's own name as
// tooltip); the first letters of the name in a box when the flag picture is missing.
ClickLabel *makeLanguageFlag(int digit, QWidget *parent);
