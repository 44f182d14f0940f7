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

// The languages that have a flag, by language digit, with the tooltip each flag
// shows: the language's own name.
struct LanguageFlag {
    int digit;
    const char *name;
};
inline constexpr LanguageFlag LanguageFlags[] = {
    {0, "Deutsch"}, {1, "English"}, {3, "Italiano"}, {4, "Espa\u00f1ol"}, {6, "Fran\u00e7ais"}};

// The flag of language `digit` (32 x 20 pixels, its name as tooltip); the first
// letters of the name in a box when the flag picture is missing.
ClickLabel *makeLanguageFlag(int digit, QWidget *parent);
