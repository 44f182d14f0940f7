#include "draw/ownedwindows.h"

#include "core/errorframe.h"

void OwnedWindows::add(QWidget *window, std::function<void()> unload)
{
    m_owned.push_back({window, std::move(unload)});
}

void OwnedWindows::unloadAll()
{
    while (!m_owned.empty()) {
        const Owned owned = m_owned.back();
        m_owned.pop_back();
        if (!owned.window.isNull())
            tryQuietly(owned.unload);
    }
}

void OwnedWindows::raiseAbove(QWidget *owner, QWidget *first)
{
    if (first && first->isVisible())
        first->raise();
    for (QWidget *w : owner->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (w->isWindow() && w->isVisible() && w != first)
            w->raise();
    }
}
