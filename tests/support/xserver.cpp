#include "support/xserver.h"

#include "support/desktopprobe.h"
#include "support/testsupport.h"
#include "support/waitfor.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QStandardPaths>

namespace {
// Where a dragged window's move began. A window manager takes a move over when
// it gets to the request, from wherever the pointer is then; a drag therefore
// creeps from `from` in steps of `unit` until the window moves (`crept` steps),
// and the move began at one of those places, the same one for the whole drag.
// (A drag's own steps must be no multiple of `unit`, so that a window still on
// its way cannot pass for one whose move began elsewhere.)
struct DragAnchor {
    QPoint from;
    QPoint unit;
    int crept = 0;
    int step = -1; // which place, once known

    // Whether a window moved by `moved` sits under the pointer at `pointer` as it
    // does when its move began at the anchor; the first match fixes the anchor.
    bool matches(QPoint moved, QPoint pointer)
    {
        for (int k = step < 0 ? 0 : step; k <= (step < 0 ? crept : step); ++k) {
            if (moved == pointer - (from + unit * k)) {
                step = k;
                return true;
            }
        }
        return false;
    }
};
} // namespace

bool XServer::start()
{
    for (const QString &tool : {u"Xvfb"_qs, u"xdotool"_qs}) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            m_why = u"%1 is not installed (Debian package %2)"_qs.arg(tool, tool.toLower());
            return false;
        }
    }
    // Each test program takes display numbers of its own, from a place set by its
    // process id. With the lowest free number, as Xvfb picks by itself, one test's
    // server can take a number whose last server is still ending, and that one's
    // clean-up then removes the new server's socket.
    const int base = 100 + int(QCoreApplication::applicationPid() % 400) * 4;
    bool up = false;
    for (int n = base; n < base + 40 && !up; ++n) {
        m_server.setProgram(QStandardPaths::findExecutable(u"Xvfb"_qs));
        m_server.setArguments({u":%1"_qs.arg(n), u"-displayfd"_qs, u"1"_qs, u"-screen"_qs, u"0"_qs,
                               u"%1x%2x24"_qs.arg(m_screen.width()).arg(m_screen.height()), u"-nolisten"_qs, u"tcp"_qs,
                               // Without it the server resets whenever its last client
                               // leaves, and refuses connections meanwhile: a probe
                               // that ends just as the program connects fails it.
                               u"-noreset"_qs});
        m_server.start();
        if (!m_server.waitForStarted(5000)) {
            m_why = u"Xvfb did not start"_qs;
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
            m_display = u":"_qs + QString::fromLatin1(out.trimmed());
            up = true;
        } else {
            m_server.kill();
            m_server.waitForFinished(3000);
        }
    }
    if (!up) {
        m_why = u"Xvfb did not report its display"_qs;
        return false;
    }
    // The server answers a client before anything is started on it.
    if (!waitFor([&] { return !rootProperty(u"_NET_SUPPORTING_WM_CHECK"_qs).isEmpty(); }, 15000)) {
        m_why = u"Xvfb on %1 does not answer"_qs.arg(m_display);
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
    env.insert(u"DISPLAY"_qs, m_display);
    env.insert(u"QT_QPA_PLATFORM"_qs, u"xcb"_qs);
    env.remove(u"WAYLAND_DISPLAY"_qs);
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
        const auto announced = [&] { return rootProperty(u"_NET_SUPPORTING_WM_CHECK"_qs).contains(u"window id"); };
        if (waitFor([&] { return m_wm.state() == QProcess::NotRunning || announced(); }, 30000)
            && m_wm.state() != QProcess::NotRunning)
            return true;
        m_why = u"%1 did not announce itself: %2"_qs.arg(program,
                                                         QString::fromLocal8Bit(m_wm.readAllStandardError()).trimmed());
        m_wm.kill();
        m_wm.waitForFinished(3000);
    }
    return false;
}

bool XServer::startDesktop(const QString &windowManager)
{
    m_missing = true;
    if (!start()) {
        m_why = u"no X server: "_qs + m_why;
        return false;
    }
    const QString program = windowManager.isEmpty() ? QString() : QStandardPaths::findExecutable(windowManager);
    if (!windowManager.isEmpty() && program.isEmpty()) {
        m_why = u"%1 is not installed (Debian package %1)"_qs.arg(windowManager);
        return false;
    }
    m_missing = false;
    return program.isEmpty() || startWindowManager(program);
}

QString XServer::rootProperty(const QString &name) const
{
    return QString::fromLocal8Bit(run(u"xprop"_qs, {u"-root"_qs, name}, 2000)).trimmed();
}

QByteArray XServer::run(const QString &program, const QStringList &args, int timeoutMs) const
{
    QProcess p;
    p.setProcessEnvironment(environment());
    p.start(program, args);
    const Ended ended = waitForEnd(p, timeoutMs);
    if (!ended.ok())
        return QByteArray();
    // Empty but not null when it succeeded without a word.
    return ended.out.isNull() ? QByteArray("") : ended.out;
}

QString XServer::xdotool(const QStringList &args, int timeoutMs) const
{
    const QByteArray out = run(u"xdotool"_qs, args, timeoutMs);
    if (out.isNull())
        return QString();
    const QString text = QString::fromLocal8Bit(out).trimmed();
    return text.isNull() ? u""_qs : text;
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

QStringList XServer::windows(const QString &name) const
{
    const QString ids = xdotool({u"search"_qs, u"--onlyvisible"_qs, u"--name"_qs, name});
    return ids.split(u'\n', Qt::SkipEmptyParts);
}

bool XServer::movePointer(QPoint to) const
{
    xdotool({u"mousemove"_qs, QString::number(to.x()), QString::number(to.y())});
    return waitFor([&] { return DesktopProbe::pointer(*this) == to; });
}

bool XServer::click(QPoint at, int button) const
{
    return movePointer(at) && !xdotool({u"click"_qs, QString::number(button)}).isNull();
}

bool XServer::dragWindow(const QString &window, QPoint from, QPoint to, int button) const
{
    const QPoint start = geometry(window).topLeft();
    const QString b = QString::number(button);
    bool followed = movePointer(from);
    xdotool({u"mousedown"_qs, b});

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
    xdotool({u"mouseup"_qs, b});
    return began && followed;
}

QRect XServer::geometry(const QString &window) const
{
    // "X=10", "Y=20", "WIDTH=...", "HEIGHT=..." on lines of their own.
    const QString out = xdotool({u"getwindowgeometry"_qs, u"--shell"_qs, window});
    const auto value = [&](const char *key) {
        const QRegularExpression line(u"^%1=(-?\\d+)$"_qs.arg(QLatin1String(key)), QRegularExpression::MultilineOption);
        return line.match(out).captured(1).toInt();
    };
    return QRect(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
}

OwnPointer::OwnPointer(const XServer &x) : m_x(x) { QCoreApplication::instance()->installEventFilter(this); }

OwnPointer::~OwnPointer() { QCoreApplication::instance()->removeEventFilter(this); }

bool OwnPointer::eventFilter(QObject *watched, QEvent *event)
{
    // A widget's event reaches the filter once for the widget itself; events
    // for the window handle (QWindow) are not counted twice.
    const QEvent::Type type = event->type();
    if (watched->isWidgetType()
        && (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease || type == QEvent::MouseMove)) {
        m_presses += type == QEvent::MouseButtonPress;
        m_releases += type == QEvent::MouseButtonRelease;
        m_last = static_cast<QMouseEvent *>(event)->globalPosition().toPoint();
    }
    return QObject::eventFilter(watched, event);
}

void OwnPointer::moveTo(QPoint global)
{
    m_x.xdotool({u"mousemove"_qs, QString::number(global.x()), QString::number(global.y())});
    waitFor([&] { return m_last == global; }, 2000);
}

void OwnPointer::press() { button(u"mousedown"_qs, m_presses); }

void OwnPointer::release() { button(u"mouseup"_qs, m_releases); }

void OwnPointer::button(const QString &action, const int &count)
{
    const int before = count;
    m_x.xdotool({action, u"1"_qs});
    waitFor([&] { return count > before; }, 2000);
}
