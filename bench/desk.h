#pragma once
// The benchmark's desk: the test kit's private X server (1280 x 1024) with openbox
// and its sound server, programs started on it with a fresh home folder, and what
// a user sees and feels of them: when the first window content appears, what the
// process has spent, and pointer strokes driven through XTest.

#include "support/pulseserver.h"
#include "support/xserver.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/types.h>

#include <functional>
#include <vector>

using Display = struct _XDisplay;

// What a process has used so far, from /proc.
struct ProcessUse {
    double cpuMs = -1;        // utime + stime, in ticks of 10 ms
    double threadsCpuMs = -1; // the running threads' time, exact
    double rssMiB = -1;       // VmRSS
    double anonMiB = -1;      // RssAnon: the heap and other private memory
};
ProcessUse processUse(pid_t pid);

class Desk
{
public:
    static constexpr QSize Screen{1280, 1024};

    Desk() = default;
    ~Desk();
    Desk(const Desk &) = delete;
    Desk &operator=(const Desk &) = delete;

    // Starts the X server, the window manager and (when installed) the sound
    // server; on failure returns why.
    QString start();

    // Starts `program` with a fresh home folder; `settings` is written as the
    // program's stored settings first. Returns the process id, and the monotonic
    // time of the start in `startedNs`.
    pid_t launch(const QString &program, const QStringList &args, const QString &settings, qint64 *startedNs);
    // Ends a process started by launch; returns the CPU time it used in all (ms).
    double end(pid_t pid);

    // Waits until a mapped window shows more than one colour; returns the
    // monotonic time of that in ns, or -1 after `timeoutMs`.
    qint64 waitForContent(int timeoutMs);
    // The place on the screen of the viewable window titled `title`, waiting for it.
    QRect waitForWindow(const QString &title, int timeoutMs);

    // One stroke at `movesPerSecond` pointer moves: press at the first point, move
    // through the others, release. `probeEvery` > 0 measures, for every so many
    // moves, the time until the pixel `lead` pixels ahead of the point, in the
    // direction of the move, is no longer `background` (a wide pen's new pixels
    // lie at its front edge); the latencies in ms go to `latencies`.
    void stroke(const std::vector<QPoint> &points, int probeEvery, unsigned background, std::vector<double> *latencies,
                int movesPerSecond = 1000, int lead = 0);
    // A click of the left button at `at`.
    void click(QPoint at);
    // The colour of one screen pixel (0xRRGGBB).
    unsigned pixel(QPoint p);

private:
    XServer m_x{Screen};
    PulseServer m_sound;
    bool m_soundUp = false;
    Display *m_dpy = nullptr; // this process's own connection, for XTest and pixels
    QTemporaryDir m_dir;
    int m_homes = 0;
};

// Monotonic time in ns.
qint64 nowNs();
