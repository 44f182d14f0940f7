#include "platform/windowdrag.h"

#include <QApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {
// Watches the pointer from a press on until its release, whichever widget the
// events reach, then removes itself.
class PointerWatch : public QObject
{
public:
    PointerWatch() { qApp->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        if (event->type() == QEvent::MouseMove) {
            const auto *e = static_cast<QMouseEvent *>(event);
            if (e->buttons() == Qt::NoButton)
                finish();
            else
                moved(e->globalPosition().toPoint());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton)
                finish();
        }
        return false;
    }

protected:
    // The pointer is at `global` with a button still down.
    virtual void moved(QPoint global) = 0;

    virtual void finish()
    {
        qApp->removeEventFilter(this);
        deleteLater();
    }
};

// Follows the pointer while a button is held.
class ManualDrag : public PointerWatch
{
public:
    ManualDrag(QWidget *window, QPoint offset) : m_window(window), m_offset(offset)
    {
        active().insert(window, this);
    }
    ~ManualDrag() override { active().remove(m_key); }

    static QHash<const QWidget *, ManualDrag *> &active()
    {
        static QHash<const QWidget *, ManualDrag *> drags;
        return drags;
    }

    void moved(QPoint global) override
    {
        if (m_window)
            m_window->move(global - m_offset);
    }

private:
    void finish() override
    {
        active().remove(m_key);
        PointerWatch::finish();
    }

    QPointer<QWidget> m_window;
    const QWidget *m_key = m_window.data();
    QPoint m_offset;   // the press, from the window's corner
};

// From a press until the pointer has gone the drag distance with the button
// still down: only then does the move begin. A touchpad's tap brings the press
// and the release within milliseconds; a move asked of the window manager at the
// press would reach it after the release, and the window would follow the
// pointer with no button held until the next click.
class PendingDrag : public PointerWatch
{
public:
    PendingDrag(QWidget *window, QPoint press, Qt::MouseButton button)
        : m_window(window), m_press(press), m_button(button)
    {
        pending().insert(window, this);
    }
    ~PendingDrag() override { pending().remove(m_key); }

    static QHash<const QWidget *, PendingDrag *> &pending()
    {
        static QHash<const QWidget *, PendingDrag *> drags;
        return drags;
    }

    void moved(QPoint global) override
    {
        if ((global - m_press).manhattanLength() <= QApplication::startDragDistance())
            return;
        QWidget *window = m_window;
        finish();
        if (window)
            start(window, m_press, global, m_button);
    }

    // Moves `window`, pressed at `press` and dragged to `now`.
    static void start(QWidget *window, QPoint press, QPoint now, Qt::MouseButton button)
    {
        const QPoint offset = press - window->pos();
        // The window's own move first, so that what was grabbed stays under the
        // pointer; the window system carries on from there. It ends its move when
        // the left button goes up only: the other buttons move by hand.
        window->move(now - offset);
        QWindow *handle = window->windowHandle();
        if (button == Qt::LeftButton && handle && handle->startSystemMove())
            return;
        new ManualDrag(window, offset);
    }

private:
    void finish() override
    {
        pending().remove(m_key);
        PointerWatch::finish();
    }

    QPointer<QWidget> m_window;
    const QWidget *m_key = m_window.data();
    QPoint m_press;
    Qt::MouseButton m_button;
};
} // namespace

namespace WindowDrag {

void begin(QWidget *window, QPointF globalPos, Qt::MouseButton button)
{
    if (!window || movingByHand(window) || PendingDrag::pending().contains(window))
        return;
    new PendingDrag(window, globalPos.toPoint(), button);
}

bool movingByHand(const QWidget *window) { return ManualDrag::active().contains(window); }

} // namespace WindowDrag
