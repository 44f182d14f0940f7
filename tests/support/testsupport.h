#pragma once
// What the tests share: a scripted error reporter, a fresh settings store and
// program folder per test, the desktop's seams answered by the test, and the End
// choice turned into an exception.

#include "core/errorframe.h"
#include "platform/prompts.h"
#include "platform/settingsbackend.h"
#include "support/recordingsoundoutput.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QList>
#include <QObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QUrl>

#include <cstdint>
#include <memory>
#include <optional>

// Answers errors from a script (0 Retry, 1 Ignore, 2 Cancel, 3 End) and records them.
class ScriptedReporter : public ErrorReporter
{
public:
    struct Report {
        QString module;
        QString procedure;
        PendingError error;
    };
    int onError(const QString &module, const QString &procedure, const PendingError &error) override;

    QList<int> answers; // taken from the front; when empty, `fallback`
    int fallback = 2;   // Cancel
    QList<Report> reports;
    // Every report as "module.procedure line: number", oldest first.
    QStringList said() const;
};

// Runs the test functions of `test`, as QTest::qExec does. In a fast test
// program an end-to-end function runs as a ctest test of its own (label e2e);
// the program's own run, which names those functions in
// STIFTOLINO_E2E_SEPARATE, leaves them out instead of skipping them, so that a
// skip always reports a check that could not run.
int runTestProgram(QObject *test, int argc, char **argv);

// A whole file's bytes; empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes a whole file; false when it cannot be written.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A process's end: how it ended and everything it wrote.
struct Ended {
    bool finished = false; // false: it ran past the time and was killed
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    bool ok() const { return finished && status == QProcess::NormalExit && exitCode == 0; }
};
// Waits for a started process to end, at most `timeoutMs`, and kills it then.
Ended waitForEnd(QProcess &p, int timeoutMs);

// How many pixels of a picture are not white.
int inkedPixels(const QImage &img);

// How many pixels of `area` of a picture pass `test`, which is handed each pixel's QRgb.
template <typename Test> int countPixels(const QImage &img, const QRect &area, Test test)
{
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += test(img.pixel(x, y)) ? 1 : 0;
    return n;
}

// Checks of the program's own encodings and resources that only tests need.
namespace OleColor {
// The stored value (0x00BBGGRR) of a pixel as Qt reads it (0xAARRGGBB).
inline uint32_t fromPixel(uint32_t qrgb) { return (qrgb >> 16 & 0xFF) | (qrgb & 0xFF00) | (qrgb & 0xFF) << 16; }
} // namespace OleColor
namespace ModResFiles {
// True when the program embeds resource `number` of `type` ("BITMAP", "WAV", ...).
bool HasResource(int number, const QString &type);
} // namespace ModResFiles

// Thrown by the End choice in tests instead of ending the process.
struct ProgramEnded {
};

// The environment of a test that needs no window: a scripted reporter, a memory
// settings store, a sound recorder (tests never make a sound), reset globals and
// a temporary program folder, for the lifetime of the object. It links the core
// alone.
class CoreEnvironment
{
public:
    CoreEnvironment();
    ~CoreEnvironment();
    CoreEnvironment(const CoreEnvironment &) = delete;
    CoreEnvironment &operator=(const CoreEnvironment &) = delete;
    ScriptedReporter reporter;
    MemorySettingsBackend settings;
    RecordingSoundOutput sound;
    QTemporaryDir folder;
    QString programFolder() const { return folder.path(); }
    // Writes the language table copy into the folder, as the start does, and
    // points the lookup at it; returns what writing it returned (0 when written).
    int32_t writeLanguageTable();
};

// The environment of a test with windows: the core's, and the seams a window
// reaches the desktop through. Every message and input box is answered from
// `prompts`, the shell's opener records instead of starting a browser, and there
// is no printer. A test may put in a seam of its own (the real boxes, a PDF
// printer); each is restored when the object goes, so no test leaves one behind.
class TestEnvironment : public CoreEnvironment
{
public:
    TestEnvironment();
    ~TestEnvironment();
    Prompts::Scripted prompts;
    // Everything handed to the shell's opener, oldest first, and what it answers.
    QList<QUrl> opened;
    bool openSucceeds = true;
};
