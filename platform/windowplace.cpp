#include "platform/windowplace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QWidget>

namespace WindowPlace {

namespace {
QSize frameExtra(const QWidget *window) { return window->frameGeometry().size() - window->size(); }

// Watches a window from its centring until it is hidden; when the frame's size
// changes meanwhile, centres it again for the new frame.
class FrameWatch : public QObject
{
public:
    explicit FrameWatch(QWidget *window) : QObject(window), m_window(window), m_frame(frameExtra(window))
    {
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window)
            return false;
        switch (event->type()) {
        case QEvent::Hide:
            deleteLater();
            m_window->removeEventFilter(this);
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            if (frameExtra(m_window) != m_frame) {
                m_frame = frameExtra(m_window);
                centreOnScreen(m_window);
            }
            break;
        default: break;
        }
        return false;
    }

private:
    QPointer<QWidget> m_window;
    QSize m_frame;
};
} // namespace

void centreOnScreen(QWidget *window)
{
    const QScreen *s = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    // The frame's extra size around the window, zero while it has none yet.
    const QSize outer = window->size() + frameExtra(window);
    window->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}

void centreWhenFramed(QWidget *window)
{
    const QString watchName = QStringLiteral("WindowPlace::FrameWatch");
    for (QObject *old : window->findChildren<QObject *>(watchName, Qt::FindDirectChildrenOnly)) {
        window->removeEventFilter(old);
        delete old;
    }
    centreOnScreen(window);
    (new FrameWatch(window))->setObjectName(watchName);
}

} // namespace WindowPlace
