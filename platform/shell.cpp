#include "platform/shell.h"

#include <QDesktopServices>

namespace {
std::function<bool(const QUrl &)> g_opener;
}

namespace Shell {
bool open(const QUrl &url)
{
    if (g_opener)
        return g_opener(url);
    return QDesktopServices::openUrl(url);
}
void setOpener(std::function<bool(const QUrl &)> opener) { g_opener = std::move(opener); }
} // namespace Shell
