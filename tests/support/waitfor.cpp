#include "support/waitfor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QMouseEvent>
#include <QTimer>

bool waitFor(const std::function<bool()> &condition, int timeoutMs)
{
    if (condition())
        return true;
    QEventLoop loop;
    QTimer check;
    QDeadlineTimer deadline(timeoutMs);
    // Looks again every few milliseconds, and at once whenever the loop wakes.
    QObject::connect(&check, &QTimer::timeout, &loop, [&] {
        if (condition() || deadline.hasExpired())
            loop.quit();
    });
    check.start(5);
    loop.exec();
    return condition();
}

PointerLog::PointerLog() { QCoreApplication::instance()->installEventFilter(this); }

PointerLog::~PointerLog()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool PointerLog::eventFilter(QObject *watched, QEvent *event)
{
    // A widget's event reaches the filter once for the widget itself; events
    // for the window handle (QWindow) are not counted twice.
    const QEvent::Type type = event->type();
    int *count = type == QEvent::MouseButtonPress     ? &presses
                 : type == QEvent::MouseButtonRelease ? &releases
                 : type == QEvent::MouseMove          ? &moves
                                                      : nullptr;
    if (count && watched->isWidgetType()) {
        ++*count;
        lastGlobal = static_cast<QMouseEvent *>(event)->globalPosition();
    }
    return QObject::eventFilter(watched, event);
}
