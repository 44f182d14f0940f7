#pragma once
// The windowing platform the program asks Qt for.
//
// The windows place themselves (the stored places of the tool windows, the main
// window centred on the screen), and they are owned tool windows kept above their
// owner. A Wayland client can do neither, so in a Wayland session the program runs
// on XWayland through Qt's xcb platform, unless the user chose a platform.

#include <QByteArray>
#include <QList>

namespace Session {

struct Environment {
    QByteArray qpaPlatform;    // QT_QPA_PLATFORM
    QByteArray sessionType;    // XDG_SESSION_TYPE
    QByteArray waylandDisplay; // WAYLAND_DISPLAY
    QByteArray display;        // DISPLAY
};

// The platform to ask for, or an empty array to leave Qt's own choice. `arguments`
// are the program's command-line arguments ("-platform" is the user's choice too).
QByteArray platformFor(const Environment &env, const QList<QByteArray> &arguments);

// Reads the environment and arguments and sets QT_QPA_PLATFORM when needed. Call
// before the application object is made.
void choosePlatform(int argc, char *argv[]);

} // namespace Session
