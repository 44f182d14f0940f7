#include "platform/windowplace.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace WindowPlace {

namespace {
QSize frameExtra(const QWidget *window) { return window->frameGeometry().size() - window->size(); }

// Watches a window from its centring until it is hidden; when the frame's size
// changes meanwhile, centres it again for the new frame. The window system may
// tell the frame's size only after the window has moved into it, without another
// event: for a short while after the window shows, it is looked at again too.
class FrameWatch : public QObject
{
public:
    explicit FrameWatch(QWidget *window) : QObject(window), m_window(window), m_frame(frameExtra(window))
    {
        window->installEventFilter(this);
        m_timer.setInterval(40);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (++m_looks > 50)
                m_timer.stop();
            check();
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_window)
            return false;
        switch (event->type()) {
        case QEvent::Hide:
            m_timer.stop();
            m_window->removeEventFilter(this);
            deleteLater();
            break;
        case QEvent::Show:
            m_looks = 0;
            m_timer.start();
            check();
            break;
        case QEvent::Move:
        case QEvent::Resize:
            check();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void check()
    {
        if (!m_window || frameExtra(m_window) == m_frame)
            return;
        m_frame = frameExtra(m_window);
        m_timer.stop();
        centreOnScreen(m_window);
    }

    QPointer<QWidget> m_window;
    QSize m_frame;
    QTimer m_timer;
    int m_looks = 0;
};
} // namespace

namespace {
// The left edges `left` may take so that at least `reach` of `width` lies
// within [areaLeft, areaLeft + areaWidth).
int reachable(int left, int width, int areaLeft, int areaWidth, int reach)
{
    const int need = qMin(reach, width);
    const int lowest = areaLeft + need - width;
    const int highest = areaLeft + areaWidth - need;
    return lowest > highest ? areaLeft : qBound(lowest, left, highest);
}
} // namespace

bool inReach(const QRect &window, const QList<QRect> &screens, int reach)
{
    return intoReach(window, screens, reach) == window.topLeft();
}

QPoint intoReach(const QRect &window, const QList<QRect> &screens, int reach)
{
    QPoint best = window.topLeft();
    int bestDistance = -1;
    for (const QRect &area : screens) {
        const QPoint p(reachable(window.x(), window.width(), area.x(), area.width(), reach),
                       reachable(window.y(), window.height(), area.y(), area.height(), reach));
        const int distance = (p - window.topLeft()).manhattanLength();
        if (distance == 0)
            return p;
        if (bestDistance < 0 || distance < bestDistance) {
            best = p;
            bestDistance = distance;
        }
    }
    return best;
}

QList<QRect> availableAreas()
{
    QList<QRect> areas;
    for (const QScreen *s : QGuiApplication::screens())
        areas.append(s->availableGeometry());
    return areas;
}

void centreOnScreen(QWidget *window)
{
    const QScreen *s = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    // The frame's extra size around the window, zero while it has none yet.
    const QSize outer = window->size() + frameExtra(window);
    window->move(area.x() + (area.width() - outer.width()) / 2, area.y() + (area.height() - outer.height()) / 2);
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
