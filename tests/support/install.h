#pragma once
// Installs the build under test into a prefix, as `cmake --install` does for a
// user, and the checks that every installed form of the program passes (the
// prefix of `cmake --install`, the Debian package unpacked).

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// The program's name on the desktop, of its desktop entry, metainfo and icons.
inline const QString AppId = QStringLiteral("example.vorbexa.Stiftolino");

// A program run to its end: its exit code (-1 when it crashed or did not finish)
// and its standard output and error together.
struct Run {
    int exitCode = -1;
    QString output;
};
Run runProgram(const QString &program, const QStringList &arguments, int timeoutMs = 120000,
               const QProcessEnvironment &env = QProcessEnvironment::systemEnvironment());

// The manual's pictures: the ten toolbar buttons and the nine of the lesson
// window first.
QStringList manualPictures();
// Every file `cmake --install` puts under a prefix, relative to it, sorted.
QStringList installedFileList();

// Runs `cmake --install <build> --prefix <prefix>`; returns an empty string on
// success, otherwise what went wrong. Needs the build folder and the cmake program
// in the environment (ctest sets STIFTOLINO_BUILD_DIR and STIFTOLINO_CMAKE).
QString installBuild(const QString &prefix);

// The desktop's validators of the installed desktop entry and metainfo, as the
// rows of a _data() function: tool, arguments, file (relative to the prefix).
void addValidatorRows();
// Runs the current row's validator on its file under `prefix`: no error, no
// warning, and no remark but those the program's required names bring with them.
// Skips when the tool is not installed.
void runValidator(const QString &prefix);

// Starts `<prefix>/bin/stiftolino` on a private X server with a home of its own,
// saves a picture through the toolbar and quits: the picture lands in the user's
// Pictures folder, the settings in the user's configuration, and nothing under
// the prefix is new or changed. Skips when the X server cannot be had.
void checkInstalledProgram(const QString &prefix);
