#pragma once
// The shell's "Open": web addresses, mail links and the help file go to the
// user's own programs. The result is not looked at by the callers.

#include <QUrl>

#include <functional>

namespace Shell {
bool open(const QUrl &url);
// Replaces the opener (tests record instead of starting a browser); empty restores it.
void setOpener(std::function<bool(const QUrl &)> opener);
} // namespace Shell
