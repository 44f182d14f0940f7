#include "controls/toolwindow.h"

#include "core/convert.h"
#include "core/settings.h"
#include "platform/twips.h"
#include "platform/windowdrag.h"
#include "platform/windowplace.h"

#include <QGuiApplication>
#include <QScreen>

ToolWindow::ToolWindow(QWidget *owner, const Allgemein::SettingKey &leftKey, const Allgemein::SettingKey &topKey)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint), m_leftKey(leftKey), m_topKey(topKey),
      m_twipsX(Twips::perPixelX()), m_twipsY(Twips::perPixelY())
{
}

bool ToolWindow::isMovingByHand() const { return WindowDrag::movingByHand(this); }

bool ToolWindow::placeStored() const
{
    return Allgemein::IsSettingStored(m_leftKey) || Allgemein::IsSettingStored(m_topKey);
}

void ToolWindow::readStoredLeft() { m_place.setX(Allgemein::GetSettingInt32(m_leftKey, m_place.x())); }

void ToolWindow::readStoredTop() { m_place.setY(Allgemein::GetSettingInt32(m_topKey, m_place.y())); }

void ToolWindow::moveToPlace() { move(Twips::toPixels(m_place.x(), m_twipsX), Twips::toPixels(m_place.y(), m_twipsY)); }

void ToolWindow::keepOnScreen()
{
    const QWidget *owner = parentWidget();
    const QScreen *s = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->availableGeometry();
    QRect r = frameGeometry();
    if (area.contains(r))
        return;
    r.moveLeft(qBound(area.left(), r.left(), qMax(area.left(), area.right() - r.width() + 1)));
    r.moveTop(qBound(area.top(), r.top(), qMax(area.top(), area.bottom() - r.height() + 1)));
    move(r.topLeft());
}

void ToolWindow::settlePlace(bool byDefault)
{
    if (byDefault) {
        if (m_placer)
            move(m_placer(frameGeometry()) + (pos() - frameGeometry().topLeft()));
        else
            keepOnScreen();
    }
    keepInReach();
}

void ToolWindow::keepInReach()
{
    const QRect outer = frameGeometry();
    const QPoint inReach = WindowPlace::intoReach(outer, WindowPlace::availableAreas());
    if (inReach != outer.topLeft())
        move(pos() + (inReach - outer.topLeft()));
}

void ToolWindow::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    // While it is loaded, its load settles its place.
    if (isVisible())
        keepInReach();
}

void ToolWindow::storePlace() const
{
    using namespace Allgemein;
    SaveSetting(m_leftKey, singleText(Twips::fromPixels(x(), m_twipsX)));
    SaveSetting(m_topKey, singleText(Twips::fromPixels(y(), m_twipsY)));
}

void ToolWindow::beginDrag(QPointF globalPos) { WindowDrag::begin(this, globalPos); }
