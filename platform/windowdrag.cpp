#include "platform/windowdrag.h"

#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {
bool g_systemMoveAllowed = true;

// Follows the pointer while the button is held, then removes itself.
class ManualDrag : public QObject
{
public:
    ManualDrag(QWidget *window, QWidget *pressed, QPointF globalPos)
        : QObject(pressed), m_window(window), m_start(globalPos), m_origin(window->pos())
    {
        pressed->installEventFilter(this);
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseMove) {
            const auto *e = static_cast<QMouseEvent *>(event);
            if (m_window)
                m_window->move(m_origin + (e->globalPosition() - m_start).toPoint());
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            watched->removeEventFilter(this);
            deleteLater();
            return false;
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QPointF m_start;
    QPoint m_origin;
};
} // namespace

namespace WindowDrag {

bool begin(QWidget *window, QWidget *pressed, QPointF globalPos)
{
    if (!window || !pressed)
        return false;
    if (g_systemMoveAllowed) {
        if (QWindow *handle = window->windowHandle()) {
            if (handle->startSystemMove())
                return true;
        }
    }
    new ManualDrag(window, pressed, globalPos);
    return false;
}

void setSystemMoveAllowed(bool allowed) { g_systemMoveAllowed = allowed; }

} // namespace WindowDrag
