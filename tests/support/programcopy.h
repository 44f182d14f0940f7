#pragma once
// A copy of the real program in a folder of its own, with a home and a private
// runtime folder of its own, for tests that start the program as a user would.

#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

struct ProgramCopy {
    QTemporaryDir dir;
    QString binary;
    QString home() const { return dir.filePath(QStringLiteral("home")); }
    QString runtime() const { return dir.filePath(QStringLiteral("runtime")); }

    // Copies the program named by STIFTOLINO_BINARY and makes the folders; false
    // when the copy failed.
    bool install();
    // Its own home, configuration, data and runtime folders, and no sound server.
    QProcessEnvironment environment() const;
};
