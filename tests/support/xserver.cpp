#include "support/xserver.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

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
    // Xvfb picks a free display and writes its number to the descriptor given.
    m_server.setProgram(xvfb);
    m_server.setArguments({QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                           QStringLiteral("0"), QStringLiteral("1024x768x24"),
                           QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    m_server.start();
    if (!m_server.waitForStarted(5000)) {
        m_why = QStringLiteral("Xvfb did not start");
        return false;
    }
    QByteArray out;
    QDeadlineTimer deadline(10000);
    while (!out.contains('\n') && !deadline.hasExpired()) {
        m_server.waitForReadyRead(200);
        out += m_server.readAllStandardOutput();
    }
    if (!out.contains('\n')) {
        m_why = QStringLiteral("Xvfb did not report its display");
        return false;
    }
    m_display = QStringLiteral(":") + QString::fromLatin1(out.trimmed());
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
    m_wm.setProcessEnvironment(environment());
    m_wm.setProgram(program);
    m_wm.start();
    if (!m_wm.waitForStarted(5000))
        return false;
    const QString xprop = QStandardPaths::findExecutable(QStringLiteral("xprop"));
    for (int i = 0; i < 50; ++i) {
        QThread::msleep(100);
        if (xprop.isEmpty())
            continue;
        QProcess probe;
        probe.setProcessEnvironment(environment());
        probe.start(xprop, {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
        probe.waitForFinished(2000);
        if (probe.readAllStandardOutput().contains("window id"))
            return true;
    }
    return xprop.isEmpty(); // without xprop, five seconds are plenty
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
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

QString XServer::waitForWindow(const QString &name, int timeoutMs) const
{
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QString ids = xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                     QStringLiteral("--name"), name});
        if (!ids.isEmpty())
            return ids.split(u'\n').first();
        QThread::msleep(100);
    }
    return QString();
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
