#include "platform/windowdrag.h"

#include <QApplication>
#include <QHash>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {
// Follows the pointer while a button is held, whichever widget the events reach,
// then removes itself.
class ManualDrag : public QObject
{
public:
    ManualDrag(QWidget *window, QPointF globalPos)
        : m_window(window), m_offset(globalPos.toPoint() - window->pos())
    {
        active().insert(window, this);
        qApp->installEventFilter(this);
    }
    ~ManualDrag() override { active().remove(m_key); }

    static QHash<const QWidget *, ManualDrag *> &active()
    {
        static QHash<const QWidget *, ManualDrag *> drags;
        return drags;
    }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (!watched->isWidgetType())
            return false;
        if (event->type() == QEvent::MouseMove) {
            const auto *e = static_cast<QMouseEvent *>(event);
            if (e->buttons() == Qt::NoButton)
                finish();
            else if (m_window)
                m_window->move(e->globalPosition().toPoint() - m_offset);
        } else if (event->type() == QEvent::MouseButtonRelease) {
            if (static_cast<QMouseEvent *>(event)->buttons() == Qt::NoButton)
                finish();
        }
        return false;
    }

private:
    void finish()
    {
        qApp->removeEventFilter(this);
        active().remove(m_key);
        deleteLater();
    }

    QPointer<QWidget> m_window;
    const QWidget *m_key = m_window.data();
    QPoint m_offset;
};
} // namespace

namespace WindowDrag {

bool begin(QWidget *window, QPointF globalPos, Qt::MouseButton button)
{
    if (!window)
        return false;
    if (QWindow *handle = window->windowHandle();
        button == Qt::LeftButton && handle && handle->startSystemMove())
        return true;
    if (!movingByHand(window))
        new ManualDrag(window, globalPos);
    return false;
}

bool movingByHand(const QWidget *window) { return ManualDrag::active().contains(window); }

} // namespace WindowDrag
