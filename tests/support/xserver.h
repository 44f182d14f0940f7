#pragma once
// A private X server for end-to-end tests, and xdotool to drive it.

#include <QProcess>
#include <QString>
#include <QStringList>

class XServer
{
public:
    // Starts Xvfb on a free display; `ok()` tells whether it came up.
    XServer();
    ~XServer();
    bool ok() const { return !m_display.isEmpty(); }
    QString display() const { return m_display; }
    QString whyNot() const { return m_why; }

    // Runs xdotool on this display; returns its output, or a null string on failure.
    QString xdotool(const QStringList &args, int timeoutMs = 5000) const;
    // Waits for a window whose name matches; returns its id or an empty string.
    QString waitForWindow(const QString &name, int timeoutMs = 10000) const;
    // The geometry xdotool reports for a window: x, y, width, height.
    QRect geometry(const QString &window) const;

private:
    QProcess m_xvfb;
    QString m_display;
    QString m_why;
};
