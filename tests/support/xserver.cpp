#include "support/xserver.h"

#include "support/desktopprobe.h"
#include "support/waitfor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QStandardPaths>

bool XServer::start()
{
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty()) {
        m_why = QStringLiteral("Xvfb is not installed (Debian package xvfb)");
        return false;
    }
    if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()) {
        m_why = QStringLiteral("xdotool is not installed (Debian package xdotool)");
        return false;
    }
    // Each test program takes display numbers of its own, from a place set by its
    // process id. With the lowest free number, as Xvfb picks by itself, one test's
    // server can take a number whose last server is still ending, and that one's
    // clean-up then removes the new server's socket.
    const int base = 100 + int(QCoreApplication::applicationPid() % 400) * 4;
    bool up = false;
    for (int n = base; n < base + 40 && !up; ++n) {
        m_server.setProgram(xvfb);
        m_server.setArguments({QStringLiteral(":%1").arg(n), QStringLiteral("-displayfd"), QStringLiteral("1"),
                               QStringLiteral("-screen"), QStringLiteral("0"),
                               QStringLiteral("%1x%2x24").arg(m_screen.width()).arg(m_screen.height()),
                               QStringLiteral("-nolisten"), QStringLiteral("tcp"),
                               // Without it the server resets whenever its last client
                               // leaves, and refuses connections meanwhile: a probe
                               // that ends just as the program connects fails it.
                               QStringLiteral("-noreset")});
        m_server.start();
        if (!m_server.waitForStarted(5000)) {
            m_why = QStringLiteral("Xvfb did not start");
            return false;
        }
        // Xvfb writes the number once it listens; a number in use ends it at once.
        QByteArray out;
        QDeadlineTimer deadline(10000);
        while (!out.contains('\n') && !deadline.hasExpired() && m_server.state() == QProcess::Running) {
            m_server.waitForReadyRead(200);
            out += m_server.readAllStandardOutput();
        }
        if (out.contains('\n')) {
            m_display = QStringLiteral(":") + QString::fromLatin1(out.trimmed());
            up = true;
        } else {
            m_server.kill();
            m_server.waitForFinished(3000);
        }
    }
    if (!up) {
        m_why = QStringLiteral("Xvfb did not report its display");
        return false;
    }
    // The server answers a client before anything is started on it.
    if (!waitFor([&] { return !rootProperty(QStringLiteral("_NET_SUPPORTING_WM_CHECK")).isEmpty(); }, 15000)) {
        m_why = QStringLiteral("Xvfb on %1 does not answer").arg(m_display);
        return false;
    }
    return true;
}

XServer::~XServer()
{
    for (QProcess *p : {&m_wm, &m_server}) {
        if (p->state() != QProcess::NotRunning) {
            p->terminate();
            if (!p->waitForFinished(3000))
                p->kill();
            p->waitForFinished(1000);
        }
    }
}

QProcessEnvironment XServer::environment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    return env;
}

bool XServer::startWindowManager(const QString &program)
{
    // A window manager that ends before it has announced itself (a busy machine
    // can make it lose a race with the server) gets a second chance.
    for (int attempt = 0; attempt < 2; ++attempt) {
        m_wm.setProcessEnvironment(environment());
        m_wm.setProgram(program);
        m_wm.start();
        if (!m_wm.waitForStarted(5000))
            continue;
        // It announces itself on the root window once it runs.
        const bool announced =
            waitFor(
                [&] {
                    return m_wm.state() == QProcess::NotRunning
                           || rootProperty(QStringLiteral("_NET_SUPPORTING_WM_CHECK")).contains(u"window id");
                },
                30000)
            && m_wm.state() != QProcess::NotRunning;
        if (announced)
            return true;
        m_why = QStringLiteral("%1 did not announce itself: %2")
                    .arg(program, QString::fromLocal8Bit(m_wm.readAllStandardError()).trimmed());
        m_wm.kill();
        m_wm.waitForFinished(3000);
    }
    return false;
}

bool XServer::startDesktop(const QString &windowManager)
{
    m_missing = true;
    if (!start()) {
        m_why = QStringLiteral("no X server: ") + m_why;
        return false;
    }
    const QString program = windowManager.isEmpty() ? QString() : QStandardPaths::findExecutable(windowManager);
    if (!windowManager.isEmpty() && program.isEmpty()) {
        m_why = QStringLiteral("%1 is not installed (Debian package %1)").arg(windowManager);
        return false;
    }
    m_missing = false;
    return program.isEmpty() || startWindowManager(program);
}

QString XServer::rootProperty(const QString &name) const
{
    QProcess probe;
    probe.setProcessEnvironment(environment());
    probe.start(QStringLiteral("xprop"), {QStringLiteral("-root"), name});
    if (!probe.waitForFinished(2000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        return QString();
    return QString::fromLocal8Bit(probe.readAllStandardOutput()).trimmed();
}

QString XServer::xdotool(const QStringList &args, int timeoutMs) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished();
        return QString();
    }
    if (p.exitCode() != 0)
        return QString();
    // Empty but not null when it succeeded without a word.
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
    return out.isNull() ? QStringLiteral("") : out;
}

QString XServer::waitForWindow(const QString &name, int timeoutMs) const
{
    // Keeps the first window found: a later search can come back empty while
    // another window is destroyed under it (xdotool then fails as a whole).
    QString found;
    waitFor(
        [&] {
            if (found.isEmpty())
                found = windows(name).value(0);
            return !found.isEmpty();
        },
        timeoutMs);
    return found;
}

bool XServer::isViewable(const QString &window) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(QStringLiteral("xwininfo"), {QStringLiteral("-id"), window});
    if (!p.waitForFinished(5000)) {
        p.kill();
        p.waitForFinished();
        return true; // not known to be gone
    }
    return p.readAllStandardOutput().contains("IsViewable");
}

QStringList XServer::windows(const QString &name) const
{
    const QString ids =
        xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--name"), name});
    return ids.split(u'\n', Qt::SkipEmptyParts);
}

bool DragAnchor::matches(QPoint moved, QPoint pointer)
{
    for (int k = step < 0 ? 0 : step; k <= (step < 0 ? crept : step); ++k) {
        if (moved == pointer - (from + unit * k)) {
            step = k;
            return true;
        }
    }
    return false;
}

bool XServer::movePointer(QPoint to) const
{
    xdotool({QStringLiteral("mousemove"), QString::number(to.x()), QString::number(to.y())});
    return waitFor([&] { return DesktopProbe::pointer(*this) == to; });
}

bool XServer::click(QPoint at, int button) const
{
    return movePointer(at) && !xdotool({QStringLiteral("click"), QString::number(button)}).isNull();
}

bool XServer::dragWindow(const QString &window, QPoint from, QPoint to, int button) const
{
    const QPoint start = geometry(window).topLeft();
    const QString b = QString::number(button);
    bool followed = movePointer(from);
    xdotool({QStringLiteral("mousedown"), b});

    // Creep towards `to` a pixel at a time until the window moves.
    const QPoint unit((to.x() > from.x()) - (to.x() < from.x()), (to.y() > from.y()) - (to.y() < from.y()));
    QPoint at = from;
    const bool began = waitFor(
        [&] {
            if (geometry(window).topLeft() != start)
                return true;
            if (at != to)
                movePointer(at += unit);
            return false;
        },
        10000);
    DragAnchor anchor{from, unit, (at - from).manhattanLength() / qMax(1, unit.manhattanLength())};
    for (int i = 1; i <= 10 && began; ++i) {
        const QPoint p = at + (to - at) * i / 10;
        QPoint seen;
        const bool there = movePointer(p)
                           && waitFor(
                               [&] {
                                   seen = geometry(window).topLeft();
                                   return anchor.matches(seen - start, p);
                               },
                               2000);
        if (!there)
            qWarning("drag: with the pointer at %d,%d the window is at %d,%d (moved from %d,%d)", p.x(), p.y(),
                     seen.x(), seen.y(), start.x(), start.y());
        followed = there && followed;
    }
    if (!began)
        qWarning("drag: the window did not move as the pointer crept to %d,%d", at.x(), at.y());
    xdotool({QStringLiteral("mouseup"), b});
    return began && followed;
}

QRect XServer::geometry(const QString &window) const
{
    const QString out = xdotool({QStringLiteral("getwindowgeometry"), QStringLiteral("--shell"), window});
    QRect r;
    for (const QString &line : out.split(u'\n')) {
        const QStringList kv = line.split(u'=');
        if (kv.size() != 2)
            continue;
        const int v = kv[1].toInt();
        if (kv[0] == u"X")
            r.moveLeft(v);
        else if (kv[0] == u"Y")
            r.moveTop(v);
        else if (kv[0] == u"WIDTH")
            r.setWidth(v);
        else if (kv[0] == u"HEIGHT")
            r.setHeight(v);
    }
    return r;
}

void OwnPointer::moveTo(QPoint global)
{
    m_x.xdotool({QStringLiteral("mousemove"), QString::number(global.x()), QString::number(global.y())});
    waitFor([&] { return m_log.lastGlobal.toPoint() == global; }, 2000);
}

void OwnPointer::press()
{
    const int before = m_log.presses;
    m_x.xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    waitFor([&] { return m_log.presses > before; }, 2000);
}

void OwnPointer::release()
{
    const int before = m_log.releases;
    m_x.xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    waitFor([&] { return m_log.releases > before; }, 2000);
}
