#include "support/xserver.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRect>
#include <QStandardPaths>
#include <QThread>

#include <unistd.h>

XServer::XServer()
{
    if (QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty()) {
        m_why = QStringLiteral("Xvfb is not installed");
        return;
    }
    for (int n = 90 + (::getpid() % 50); n < 300; n += 7) {
        if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))
            || QFile::exists(QStringLiteral("/tmp/.X%1-lock").arg(n)))
            continue;
        m_xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral(":%1").arg(n), QStringLiteral("-screen"),
                                               QStringLiteral("0"), QStringLiteral("1024x768x24"),
                                               QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        QDeadlineTimer deadline(5000);
        while (!deadline.hasExpired() && m_xvfb.state() == QProcess::Running) {
            if (QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(n))) {
                m_display = QStringLiteral(":%1").arg(n);
                return;
            }
            QThread::msleep(50);
        }
        m_xvfb.kill();
        m_xvfb.waitForFinished();
    }
    m_why = QStringLiteral("Xvfb did not start");
}

XServer::~XServer()
{
    if (m_xvfb.state() != QProcess::NotRunning) {
        m_xvfb.terminate();
        if (!m_xvfb.waitForFinished(3000))
            m_xvfb.kill();
        m_xvfb.waitForFinished();
    }
}

QString XServer::xdotool(const QStringList &args, int timeoutMs) const
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), m_display);
    p.setProcessEnvironment(env);
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
        if (kv[0] == u"X") r.moveLeft(v);
        else if (kv[0] == u"Y") r.moveTop(v);
        else if (kv[0] == u"WIDTH") r.setWidth(v);
        else if (kv[0] == u"HEIGHT") r.setHeight(v);
    }
    return r;
}
