#include "platform/systeminfo.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <sys/utsname.h>

QString prettyNameFromOsRelease(const QByteArray &osRelease)
{
    const QStringList lines = QString::fromUtf8(osRelease).split(u'\n');
    for (const QString &line : lines) {
        if (line.startsWith(QStringLiteral("PRETTY_NAME="))) {
            QString v = line.mid(12).trimmed();
            if (v.size() >= 2 && (v.startsWith(u'"') || v.startsWith(u'\'')))
                v = v.mid(1, v.size() - 2);
            return v;
        }
    }
    return QString();
}

SystemInfo systemInfoFrom(const QString &kernelName, const QString &release, const QString &prettyName)
{
    SystemInfo info;
    info.known = true;
    info.platform = kernelName;
    const QRegularExpression re(QStringLiteral("^(\\d+)(?:\\.(\\d+))?(?:\\.(\\d+))?"));
    const auto m = re.match(release);
    if (m.hasMatch()) {
        info.major = m.captured(1).toInt();
        info.minor = m.captured(2).toInt();
        info.build = m.captured(3).toInt() & 0xFFFF;
    }
    info.servicePack = prettyName;
    return info;
}

SystemInfo currentSystemInfo()
{
    struct utsname u {
    };
    if (::uname(&u) != 0)
        return SystemInfo();
    QString pretty;
    for (const char *path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile f(QString::fromLatin1(path));
        if (f.open(QIODevice::ReadOnly)) {
            pretty = prettyNameFromOsRelease(f.readAll());
            break;
        }
    }
    return systemInfoFrom(QString::fromLocal8Bit(u.sysname), QString::fromLocal8Bit(u.release), pretty);
}
