#include "platform/windowplace.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace WindowPlace {

void centreOnScreen(QWidget *window)
{
    const QScreen *s = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    // The frame's extra size around the window, zero while it has none yet.
    const QSize frame = window->frameGeometry().size() - window->size();
    const QSize outer = window->size() + frame;
    window->move(area.x() + (area.width() - outer.width()) / 2,
                 area.y() + (area.height() - outer.height()) / 2);
}

} // namespace WindowPlace
