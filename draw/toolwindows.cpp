#include "draw/toolwindows.h"

#include "core/errorframe.h"
#include "pen/frmcolor.h"
#include "picker/frmpreview.h"

ToolWindows::ToolWindows(QWidget *owner, PictureBox *canvas, std::function<double()> ownerPanelTop)
    : m_owner(owner), m_canvas(canvas), m_ownerPanelTop(std::move(ownerPanelTop))
{
}

void ToolWindows::loaded(QWidget *window, std::function<void()> unload)
{
    m_loaded.push_back({window, std::move(unload)});
}

void ToolWindows::showPreview()
{
    if (!m_preview) {
        m_preview = new frmPreview(m_owner, m_canvas, m_ownerPanelTop);
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
