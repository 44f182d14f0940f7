#pragma once
// A copy of the real program in a folder of its own, with a home and a private
// runtime folder of its own, for tests that start the program as a user would.

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

class XServer;

struct ProgramCopy {
    QTemporaryDir dir;
    QString binary;
    // The program once launched; killed when the copy goes.
    QProcess app;

    ProgramCopy() = default;
    ProgramCopy(const ProgramCopy &) = delete;
    ProgramCopy &operator=(const ProgramCopy &) = delete;
    ~ProgramCopy();

    QString home() const { return dir.filePath(QStringLiteral("home")); }
    QString runtime() const { return dir.filePath(QStringLiteral("runtime")); }

    // Makes the home and runtime folders.
    bool makeFolders() const;
    // Makes the folders and copies the program named by STIFTOLINO_BINARY; false
    // when the copy failed.
    bool install();
    // Its own home, configuration, data and runtime folders, and no sound server.
    QProcessEnvironment environment() const;
    // The same for a program on the X server's display.
    QProcessEnvironment environmentOn(const XServer &x) const;
    // Writes the settings file the program reads at start; false when it cannot.
    bool writeSettings(const QByteArray &ini) const;
    // Starts `program` (the copy when empty) in `env`; false when it did not start.
    bool launch(const QProcessEnvironment &env, const QString &program = QString());
};

// Quits the program through the toolbar (the last button, then Yes) and checks
// that it ends with exit code 0.
void quitProgram(const XServer &x, const QString &mainWindow, QProcess &app);
