#include "desk.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcessEnvironment>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <string>

qint64 nowNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

namespace {

void sleepUntil(qint64 ns)
{
    timespec ts{time_t(ns / 1000000000), long(ns % 1000000000)};
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr) == EINTR) {
    }
}

// A window that goes away between listing and reading is no fault here.
int ignoreXErrors(Display *, XErrorEvent *) { return 0; }

QRect screenRect(Display *dpy)
{
    return QRect(0, 0, DisplayWidth(dpy, DefaultScreen(dpy)), DisplayHeight(dpy, DefaultScreen(dpy)));
}

// The top-level windows (window-manager frames included) that are viewable and
// big enough to be a program's window, clipped to the screen.
std::vector<QRect> viewableWindows(Display *dpy)
{
    std::vector<QRect> result;
    Window root = DefaultRootWindow(dpy);
    Window rootOut = 0, parent = 0;
    Window *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(dpy, root, &rootOut, &parent, &children, &count))
        return result;
    for (unsigned i = 0; i < count; ++i) {
        XWindowAttributes a{};
        if (!XGetWindowAttributes(dpy, children[i], &a) || a.map_state != IsViewable || a.width < 64 || a.height < 64)
            continue;
        const QRect r = QRect(a.x, a.y, a.width, a.height) & screenRect(dpy);
        if (!r.isEmpty())
            result.push_back(r);
    }
    if (children)
        XFree(children);
    return result;
}

// Whether the screen shows more than one colour inside `r`, sampled along seven rows.
bool showsContent(Display *dpy, const QRect &r)
{
    bool first = true;
    unsigned long colour = 0;
    for (int k = 1; k < 8; ++k) {
        const int y = r.top() + r.height() * k / 8;
        XImage *img = XGetImage(dpy, DefaultRootWindow(dpy), r.left(), y, unsigned(r.width()), 1, AllPlanes, ZPixmap);
        if (!img)
            continue;
        for (int x = 0; x < r.width(); ++x) {
            const unsigned long p = XGetPixel(img, x, 0);
            if (first) {
                colour = p;
                first = false;
            } else if (p != colour) {
                XDestroyImage(img);
                return true;
            }
        }
        XDestroyImage(img);
    }
    return false;
}

Window findNamed(Display *dpy, Window w, const QByteArray &title, int depth)
{
    char *name = nullptr;
    if (XFetchName(dpy, w, &name) && name) {
        const bool match = title == name;
        XFree(name);
        XWindowAttributes a{};
        if (match && XGetWindowAttributes(dpy, w, &a) && a.map_state == IsViewable)
            return w;
    }
    if (depth > 3)
        return 0;
    Window rootOut = 0, parent = 0;
    Window *children = nullptr;
    unsigned count = 0;
    Window found = 0;
    if (XQueryTree(dpy, w, &rootOut, &parent, &children, &count)) {
        for (unsigned i = 0; i < count && !found; ++i)
            found = findNamed(dpy, children[i], title, depth + 1);
        if (children)
            XFree(children);
    }
    return found;
}

} // namespace

ProcessUse processUse(pid_t pid)
{
    ProcessUse use;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12) {
            const double tick = 1000.0 / double(sysconf(_SC_CLK_TCK));
            use.cpuMs = double(fields[11].toLongLong() + fields[12].toLongLong()) * tick;
        }
    }
    // The threads' own clocks are exact to the nanosecond, where utime and stime
    // count ticks of 10 ms.
    double threadsNs = 0;
    bool haveThreads = false;
    const QStringList tasks =
        QDir(QStringLiteral("/proc/%1/task").arg(pid)).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString &task : tasks) {
        QFile sched(QStringLiteral("/proc/%1/task/%2/schedstat").arg(pid).arg(task));
        if (sched.open(QIODevice::ReadOnly)) {
            threadsNs += sched.readAll().split(' ').value(0).toDouble();
            haveThreads = true;
        }
    }
    if (haveThreads)
        use.threadsCpuMs = threadsNs / 1e6;
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (status.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : status.readAll().split('\n')) {
            const QList<QByteArray> parts = line.simplified().split(' ');
            if (parts.size() < 2)
                continue;
            if (parts[0] == "VmRSS:")
                use.rssMiB = parts[1].toDouble() / 1024.0;
            else if (parts[0] == "RssAnon:")
                use.anonMiB = parts[1].toDouble() / 1024.0;
        }
    }
    return use;
}

Desk::~Desk()
{
    // The servers end with their objects, after this connection.
    if (m_dpy)
        XCloseDisplay(m_dpy);
}

QString Desk::start()
{
    if (!m_dir.isValid())
        return QStringLiteral("no temporary folder");
    if (!m_x.startDesktop(QStringLiteral("openbox")))
        return m_x.whyNot();
    m_dpy = XOpenDisplay(m_x.display().toLocal8Bit().constData());
    if (!m_dpy)
        return QStringLiteral("cannot open the display %1").arg(m_x.display());
    XSetErrorHandler(ignoreXErrors);
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(m_dpy, &event, &error, &major, &minor))
        return QStringLiteral("the X server has no XTest");

    // The programs' private runtime folder.
    QDir(m_dir.path()).mkpath(QStringLiteral("run"));
    QFile::setPermissions(m_dir.filePath(QStringLiteral("run")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    m_sound.setSharedMemory(true);
    const QString why = m_sound.start();
    m_soundUp = why.isEmpty();
    if (!m_soundUp)
        std::fprintf(stderr, "no sound server (%s): programs run without one\n", qPrintable(why));
    return QString();
}

pid_t Desk::launch(const QString &program, const QStringList &args, const QString &settings, qint64 *startedNs)
{
    const QString home = m_dir.filePath(QStringLiteral("home%1").arg(++m_homes));
    QDir().mkpath(home + QStringLiteral("/.config/Stiftolino"));
    if (!settings.isEmpty()) {
        QFile f(home + QStringLiteral("/.config/Stiftolino/Stiftolino.ini"));
        if (f.open(QIODevice::WriteOnly))
            f.write(settings.toUtf8());
    }
    QProcessEnvironment env = m_x.environment();
    env.insert(QStringLiteral("HOME"), home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/.cache"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_dir.filePath(QStringLiteral("run")));
    env.insert(QStringLiteral("PULSE_SERVER"),
               m_soundUp ? m_sound.address() : QStringLiteral("unix:") + m_dir.filePath(QStringLiteral("none")));
    env.remove(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"));

    // Everything execve needs is made before the clock starts.
    std::vector<std::string> strings;
    for (const QString &kv : env.toStringList())
        strings.push_back(kv.toStdString());
    std::vector<char *> envp;
    for (std::string &s : strings)
        envp.push_back(s.data());
    envp.push_back(nullptr);
    std::vector<std::string> argStrings{program.toStdString()};
    for (const QString &a : args)
        argStrings.push_back(a.toStdString());
    std::vector<char *> argv;
    for (std::string &s : argStrings)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    *startedNs = nowNs();
    const pid_t pid = fork();
    if (pid == 0) {
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            dup2(null, 1);
            dup2(null, 2);
        }
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    return pid;
}

double Desk::end(pid_t pid)
{
    if (pid <= 0)
        return -1;
    kill(pid, SIGKILL);
    rusage use{};
    wait4(pid, nullptr, 0, &use);
    // The server drops the windows when it notices the closed connection.
    QDeadlineTimer deadline(3000);
    while (!viewableWindows(m_dpy).empty() && !deadline.hasExpired())
        QThread::msleep(5);
    return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) * 1000.0
           + double(use.ru_utime.tv_usec + use.ru_stime.tv_usec) / 1000.0;
}

qint64 Desk::waitForContent(int timeoutMs)
{
    const qint64 deadline = nowNs() + qint64(timeoutMs) * 1000000;
    while (nowNs() < deadline) {
        for (const QRect &r : viewableWindows(m_dpy)) {
            if (showsContent(m_dpy, r))
                return nowNs();
        }
        usleep(1000);
    }
    return -1;
}

QRect Desk::waitForWindow(const QString &title, int timeoutMs)
{
    QDeadlineTimer deadline(timeoutMs);
    const QByteArray name = title.toUtf8();
    while (!deadline.hasExpired()) {
        if (const Window w = findNamed(m_dpy, DefaultRootWindow(m_dpy), name, 0)) {
            XWindowAttributes a{};
            int x = 0, y = 0;
            Window child = 0;
            if (XGetWindowAttributes(m_dpy, w, &a)
                && XTranslateCoordinates(m_dpy, w, DefaultRootWindow(m_dpy), 0, 0, &x, &y, &child))
                return QRect(x, y, a.width, a.height);
        }
        QThread::msleep(20);
    }
    return QRect();
}

unsigned Desk::pixel(QPoint p)
{
    XImage *img = XGetImage(m_dpy, DefaultRootWindow(m_dpy), p.x(), p.y(), 1, 1, AllPlanes, ZPixmap);
    if (!img)
        return 0;
    const unsigned value = unsigned(XGetPixel(img, 0, 0) & 0xFFFFFF);
    XDestroyImage(img);
    return value;
}

void Desk::click(QPoint at)
{
    XTestFakeMotionEvent(m_dpy, -1, at.x(), at.y(), 0);
    XTestFakeButtonEvent(m_dpy, 1, True, 0);
    XTestFakeButtonEvent(m_dpy, 1, False, 0);
    XSync(m_dpy, False);
}

void Desk::stroke(const std::vector<QPoint> &points, int probeEvery, unsigned background,
                  std::vector<double> *latencies, int movesPerSecond, int lead)
{
    const qint64 interval = 1000000000 / std::max(1, movesPerSecond);
    if (points.empty())
        return;
    struct Probe {
        QPoint at;
        qint64 sent;
    };
    std::vector<Probe> open;
    auto poll = [&] {
        const qint64 now = nowNs();
        for (auto it = open.begin(); it != open.end();) {
            if (pixel(it->at) != background) {
                latencies->push_back(double(nowNs() - it->sent) / 1e6);
                it = open.erase(it);
            } else if (now - it->sent > 500000000) {
                latencies->push_back(500); // lost: counted as half a second
                it = open.erase(it);
            } else {
                ++it;
            }
        }
    };
    XTestFakeMotionEvent(m_dpy, -1, points[0].x(), points[0].y(), 0);
    XSync(m_dpy, False);
    XTestFakeButtonEvent(m_dpy, 1, True, 0);
    XFlush(m_dpy);
    qint64 due = nowNs();
    for (size_t i = 1; i < points.size(); ++i) {
        due += interval;
        while (probeEvery > 0 && !open.empty() && nowNs() < due - 150000) {
            poll();
            usleep(100);
        }
        sleepUntil(due);
        XTestFakeMotionEvent(m_dpy, -1, points[i].x(), points[i].y(), 0);
        XFlush(m_dpy);
        if (probeEvery > 0 && i % size_t(probeEvery) == 0) {
            const qint64 sent = nowNs();
            const QPoint step = points[i] - points[i - 1];
            const QPoint at =
                points[i] + lead * QPoint((step.x() > 0) - (step.x() < 0), (step.y() > 0) - (step.y() < 0));
            // Only a point still showing the background can tell when it is drawn.
            if (pixel(at) == background)
                open.push_back({at, sent});
        }
    }
    XTestFakeButtonEvent(m_dpy, 1, False, 0);
    XSync(m_dpy, False);
    while (!open.empty()) {
        poll();
        usleep(200);
    }
}
