#include "platform/windowdrag.h"

#include <QApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace {
// One drag, from the press until the last button goes up, whichever widget the
// pointer's events reach; then it removes itself.
class Drag : public QObject
{
public:
    Drag(QWidget *window, QPoint press) : m_window(window), m_press(press), m_offset(press - window->pos())
    {
        all().insert(window, this);
        qApp->installEventFilter(this);
    }
    ~Drag() override { all().remove(m_key); }

    static QHash<const QWidget *, Drag *> &all()
    {
        static QHash<const QWidget *, Drag *> drags;
        return drags;
    }

    bool moving() const { return m_moving; }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        const bool move = event->type() == QEvent::MouseMove;
        if (!move && event->type() != QEvent::MouseButtonRelease)
            return false;
        const auto *e = static_cast<QMouseEvent *>(event);
        if (e->buttons() == Qt::NoButton)
            finish();
        else if (move)
            follow(e->globalPosition().toPoint());
        return false;
    }

private:
    void follow(QPoint global)
    {
        // A hand never holds still: within the drag distance it is a click.
        if (!m_moving && !WindowDrag::pastDragDistance(m_press, global))
            return;
        m_moving = true;
        if (m_window)
            m_window->move(global - m_offset);
    }

    void finish()
    {
        qApp->removeEventFilter(this);
        all().remove(m_key);
        deleteLater();
    }

    QPointer<QWidget> m_window;
    const QWidget *m_key = m_window.data();
    QPoint m_press;
    QPoint m_offset; // the press, from the window's corner
    bool m_moving = false;
};
} // namespace

namespace WindowDrag {

void begin(QWidget *window, QPointF globalPos)
{
    if (window && !Drag::all().contains(window))
        new Drag(window, globalPos.toPoint());
}

bool movingByHand(const QWidget *window)
{
    const Drag *drag = Drag::all().value(window);
    return drag && drag->moving();
}

bool pastDragDistance(QPointF press, QPointF now)
{
    return (now - press).manhattanLength() >= QApplication::startDragDistance();
}

} // namespace WindowDrag
