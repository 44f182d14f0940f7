#include "draw/toolwindows.h"

#include "controls/clicklabel.h"
#include "controls/symbolbutton.h"
#include "core/errorframe.h"
#include "draw/toolpanel.h"
#include "pen/frmcolor.h"
#include "picker/frmpreview.h"
#include "platform/picturebox.h"

#include <QGuiApplication>
#include <QScreen>

ToolWindows::ToolWindows(QWidget *owner, PictureBox *canvas, const ToolPanel *panel,
                         std::function<double()> ownerPanelTop)
    : m_owner(owner), m_canvas(canvas), m_panel(panel), m_ownerPanelTop(std::move(ownerPanelTop))
{
}

namespace {
QRect onScreen(const QWidget *w) { return QRect(w->mapToGlobal(QPoint(0, 0)), w->size()); }

// The screen area a window placed for `owner` goes on.
QRect screenArea(const QWidget *owner)
{
    const QScreen *s = owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    return s ? s->availableGeometry() : QRect();
}
} // namespace

QList<ToolPlace::Obstacle> ToolWindows::obstaclesFor(const QWidget *window) const
{
    using namespace ToolPlace;
    QList<Obstacle> obstacles;
    // Clear, Undo, Open and Save come first: the commands of a child's first minutes.
    for (size_t i = 0; i < m_panel->buttons.size(); ++i)
        obstacles.append({onScreen(m_panel->buttons[i]), i < 4 ? Weight::FirstButton : Weight::Button});
    for (const ClickLabel *flag : m_panel->flags) {
        if (flag)
            obstacles.append({onScreen(flag), Weight::Button});
    }
    obstacles.append({onScreen(m_canvas), Weight::Canvas});
    for (const QWidget *other : {static_cast<const QWidget *>(m_preview), static_cast<const QWidget *>(m_pen)}) {
        if (other && other != window && other->isVisible())
            obstacles.append({other->frameGeometry(), Weight::ToolWindow});
    }
    return obstacles;
}

QPoint ToolWindows::placeFor(const QWidget *window, const QRect &area, const QRect &described) const
{
    return ToolPlace::bestPlace(area, described.size(), described.topLeft(), obstaclesFor(window));
}

void ToolWindows::loaded(QWidget *window, std::function<void()> unload)
{
    m_loaded.push_back({window, std::move(unload)});
}

void ToolWindows::showPreview()
{
    if (!m_preview) {
        m_preview = new frmPreview(m_owner, m_canvas, m_ownerPanelTop);
        m_preview->setPlacer(
            [this, p = m_preview](const QRect &described) { return placeFor(p, screenArea(m_owner), described); });
        loaded(m_preview, [p = m_preview] {
            p->Form_Unload();
            p->hide();
        });
    }
    m_preview->ShowOwned();
}

void ToolWindows::showPen()
{
    if (!m_pen) {
        m_pen = new frmColor(m_owner);
        m_pen->setPlacer(
            [this, c = m_pen](const QRect &described) { return placeFor(c, screenArea(m_owner), described); });
        loaded(m_pen, [c = m_pen] {
            c->Form_Unload();
            c->hide();
        });
    }
    m_pen->ShowOwned();
}

void ToolWindows::unloadAll()
{
    while (!m_loaded.empty()) {
        const Loaded window = m_loaded.back();
        m_loaded.pop_back();
        if (!window.window.isNull())
            tryQuietly(window.unload);
    }
}

void ToolWindows::raiseAll() const
{
    if (m_preview && m_preview->isVisible())
        m_preview->raise();
    for (QWidget *w : m_owner->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() && w->isVisible() && w != m_preview)
            w->raise();
    }
}
