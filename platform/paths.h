#pragma once
// The folders the program works in.

#include <QString>

namespace Paths {

// The folder of the executable, without a trailing separator.
QString programFolder();
// The executable's file name without extension ("stiftolino").
QString programName();
// For tests: pretend the program lives in this folder under this name.
void setProgramFolder(const QString &folder, const QString &name = QString());

// A per-user private temporary folder (mode 0700, owned by us, not a link),
// ending in '/'; empty when none can be had.
QString privateTempFolder();

// A folder the program can write, for saved pictures ("pics") and protocol files:
// the program's folder when it is writable, otherwise the user's Pictures folder
// (pictures) or the per-user data folder (protocols).
QString picturesFolder();
QString protocolFolder();

} // namespace Paths
