#pragma once
// The error protocol: a plain-text report of an error, the program and the
// system, Windows-1252 with CR LF line ends.

#include <QDateTime>
#include <QString>
#include <QStringList>

struct SystemInfo {
    bool known = false;       // false: the system's name could not be had
    QString platform;         // "Linux"
    int major = 0;
    int minor = 0;
    int build = 0;            // the kernel's patch level
    QString servicePack;      // the distribution's pretty name
};

// Read from the running system (uname, os-release).
SystemInfo currentSystemInfo();

struct ProtocolContent {
    QString progInfo;             // "stiftolino  V1.1.344"
    QStringList titles;           // the four title labels
    QStringList values;           // the four value labels
    QDateTime when;
    SystemInfo system;
};

// The protocol text, every line ended by CR LF.
QString buildProtocolText(const ProtocolContent &content);

// The printed lines of a protocol: each line wrapped word by word after 73
// counted characters, continuation lines indented by 20 blanks.
QStringList wrapForPrint(const QString &protocol);
