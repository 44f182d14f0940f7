#pragma once
// A private X server for end-to-end tests, an optional window manager on it, and
// xdotool to drive it. Everything started here ends with the object.

#include <QObject>
#include <QPoint>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>

#include "support/waitfor.h"

#include <utility>

// Starts the desktop, or skips the test when a part of it is not installed and
// fails it when the window manager does not come up.
#define START_DESKTOP_OR_SKIP(x, windowManager)                                                                        \
    do {                                                                                                               \
        if (!(x).startDesktop(windowManager)) {                                                                        \
            if ((x).missing())                                                                                         \
                QSKIP(qPrintable((x).whyNot()));                                                                       \
            QFAIL(qPrintable((x).whyNot()));                                                                           \
        }                                                                                                              \
    } while (false)

class XServer
{
public:
    // A screen of `screen` pixels at 24 bits; the tests' own is 1024 x 768.
    explicit XServer(QSize screen = QSize(1024, 768)) : m_screen(screen) {}
    // The X server at `display`, started by someone else (for a test's child
    // process, its own display); this object starts and ends nothing.
    explicit XServer(QString display) : m_display(std::move(display)) {}
    ~XServer();
    XServer(const XServer &) = delete;
    XServer &operator=(const XServer &) = delete;

    // Starts Xvfb on a display it picks itself; false when Xvfb is missing or
    // does not come up (whyNot() says which).
    bool start();
    // Starts a window manager and waits until it has announced itself.
    bool startWindowManager(const QString &program);
    // Starts Xvfb and, unless `windowManager` is empty, that window manager from
    // the PATH. False when something is missing (missing(): Xvfb, xdotool or the
    // window manager not installed, or the server did not come up) or the
    // window manager did not announce itself; whyNot() says which.
    bool startDesktop(const QString &windowManager = QString());
    bool missing() const { return m_missing; }

    QString display() const { return m_display; }
    QString whyNot() const { return m_why; }
    // The environment for a Qt program on this display.
    QProcessEnvironment environment() const;

    // Runs `program` on this display to its end; returns its output, or a null
    // array when it failed or ran past `timeoutMs`.
    QByteArray run(const QString &program, const QStringList &args, int timeoutMs = 10000) const;
    // Runs xdotool on this display; returns its output, or a null string on failure.
    QString xdotool(const QStringList &args, int timeoutMs = 5000) const;
    // Waits for a visible window whose name matches; returns its id or an empty string.
    QString waitForWindow(const QString &name, int timeoutMs = 30000) const;
    // The visible windows whose name matches, as ids.
    QStringList windows(const QString &name) const;
    // The geometry xdotool reports for a window.
    QRect geometry(const QString &window) const;
    // A root window property as xprop prints it (empty when it is not set).
    QString rootProperty(const QString &name) const;
    // Moves the pointer and waits until it is there.
    bool movePointer(QPoint to) const;
    // Moves the pointer there and clicks `button`.
    bool click(QPoint at, int button = 1) const;
    // Drags `window` with `button` from `from` to `to` and releases. True when the
    // window, once it moved, kept its place under the pointer to the end.
    // A window manager takes a move over when it gets to the request, from
    // wherever the pointer is then: the pointer creeps a pixel at a time until the
    // window moves, and the window may end short of the whole drag by that creep.
    bool dragWindow(const QString &window, QPoint from, QPoint to, int button = 1) const;

private:
    QProcess m_server;
    QProcess m_wm;
    QSize m_screen;
    QString m_display;
    QString m_why;
    bool m_missing = false;
};

// This program's own pointer on the X server it runs on, driven through xdotool.
// Each step waits until the program has been handed the event; while a window
// manager moves a window the program is handed nothing, and the step ends after
// two seconds.
class OwnPointer : public QObject
{
public:
    explicit OwnPointer(const XServer &x);
    ~OwnPointer() override;
    void moveTo(QPoint global);
    void press();
    void release();

protected:
    // Counts the presses and releases the program's widgets are handed, and
    // keeps where the last press, release or move happened.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Sends the left button's `action` and waits until `count` goes up.
    void button(const QString &action, const int &count);
    const XServer &m_x;
    int m_presses = 0;
    int m_releases = 0;
    QPoint m_last; // global
};
