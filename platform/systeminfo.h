#pragma once
// What the error protocol says about the running system: the kernel's name and
// version (uname) and the distribution's pretty name (os-release).

#include <QByteArray>
#include <QString>

struct SystemInfo {
    bool known = false; // false: the system's name could not be had
    QString platform;   // "Linux"
    int major = 0;
    int minor = 0;
    int build = 0;       // the kernel's patch level
    QString servicePack; // the distribution's pretty name
};

// Read from the running system.
SystemInfo currentSystemInfo();

// The pieces, apart from the system calls: a kernel name and release
// ("6.1.0-18-amd64": 6, 1, 0) with a pretty name, and the PRETTY_NAME of an
// os-release file's text, its surrounding quotes taken off.
SystemInfo systemInfoFrom(const QString &kernelName, const QString &release, const QString &prettyName);
QString prettyNameFromOsRelease(const QByteArray &osRelease);
