#pragma once
// The error protocol: a plain-text report of an error, the program and the
// system, Windows-1252 with CR LF line ends.

#include "platform/systeminfo.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

struct ProtocolContent {
    QString progInfo;   // "stiftolino  V1.1.344"
    QStringList titles; // the four title labels
    QStringList values; // the four value labels
    QDateTime when;
    SystemInfo system;
};

// The protocol text, every line ended by CR LF. A line break inside one of the
// texts becomes a blank, so every piece stays on its own line.
QString buildProtocolText(const ProtocolContent &content);

// The protocol as it goes into a file: Windows-1252, each character the code page
// lacks as one '?'.
QByteArray protocolBytes(const QString &protocol);

// The printed lines of a protocol: each line wrapped word by word after 73
// counted characters, continuation lines indented by 20 blanks.
QStringList wrapForPrint(const QString &protocol);
