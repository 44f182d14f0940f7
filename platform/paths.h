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

// The program's data folder when it is installed: <prefix>/share/stiftolino next
// to <prefix>/bin. Empty when the program runs from its build folder or from any
// other folder that is not an installed prefix.
QString installedDataFolder();
// Whether the program runs from an installed prefix. Decided by the data folder
// beside it, never by write permission: root can write /usr/local/bin.
bool isInstalled();

// The one folder where pictures are saved and from which the lesson window lists
// them, without a trailing separator. Installed: the user's Pictures folder +
// "/Stiftolino". Otherwise "pics" beside the program, or the Pictures folder when
// the program's folder cannot be written.
QString picturesFolder();
// Where the error protocol files go: the per-user data folder when installed,
// otherwise the program's folder (or the per-user data folder when that folder
// cannot be written).
QString protocolFolder();

// The help manual's page for a language code ("de", "en", ...):
// <help folder>/Stiftolino.<code>.html, where the help folder is "help" in the
// installed data folder or beside the program. A language without a page of its
// own gets the English one. The path is returned even when the file is missing.
QString manualFile(const QString &languageCode);

} // namespace Paths
