#include "platform/session.h"

#include <QtGlobal>

namespace Session {

QByteArray platformFor(const Environment &env, const QList<QByteArray> &arguments)
{
    if (!env.qpaPlatform.isEmpty())
        return QByteArray();
    for (const QByteArray &a : arguments) {
        if (a == "-platform" || a == "--platform" || a.startsWith("-platform=") || a.startsWith("--platform="))
            return QByteArray();
    }
    const bool wayland = env.sessionType.compare("wayland", Qt::CaseInsensitive) == 0 || !env.waylandDisplay.isEmpty();
    // Without an X display (no XWayland) xcb cannot start: leave it to Qt.
    if (!wayland || env.display.isEmpty())
        return QByteArray();
    return QByteArrayLiteral("xcb");
}

void choosePlatform(int argc, char *argv[])
{
    const Environment env{qgetenv("QT_QPA_PLATFORM"), qgetenv("XDG_SESSION_TYPE"), qgetenv("WAYLAND_DISPLAY"),
                          qgetenv("DISPLAY")};
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const QByteArray platform = platformFor(env, arguments);
    if (!platform.isEmpty())
        qputenv("QT_QPA_PLATFORM", platform);
}

} // namespace Session
