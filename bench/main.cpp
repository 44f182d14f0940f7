// Measures what a child feels, the way a user meets the program: on its own X
// server (1280 x 1024, openbox, a PulseAudio null sink) it starts the real program
// and a bare Qt Widgets window, and draws strokes with XTest on the program's canvas
// and on a textbook scribble canvas. Every figure comes with its floor from the same
// run, because shared machines drift. The lesson window and the file panel are
// timed in this process, offscreen.
//
//   stiftolino_bench [--runs N] [--strokes N] [--moves N] [--slow-moves N] [--in-process]
//     --runs   starts of each program for the start-up medians (default 5)
//     --strokes  strokes of each kind for the drawing medians (default 3)
//     --moves  pointer moves per fast stroke (default 3000, at 1000 per second)
//     --slow-moves  pointer moves per slow stroke (default 300, at 60 per second)
//     --in-process  only the figures measured in this process

#include "desk.h"

#include "controls/canvas.h"
#include "controls/symbolbutton.h"
#include "core/globals.h"
#include "core/lessonstrokes.h"
#include "core/resources.h"
#include "core/settings.h"
#include "draw/frmdraw.h"
#include "picker/frmpreview.h"
#include "picker/stepdrawing.h"
#include "platform/memory.h"
#include "platform/paths.h"
#include "platform/printer.h"
#include "platform/settingsbackend.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <QMouseEvent>
#include <algorithm>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// One event of a stroke with the left button, straight to the canvas.
void mouse(QWidget *canvas, QEvent::Type type, QPointF at)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, canvas->mapToGlobal(at), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                  Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &e);
}

double residentMiB() { return processUse(getpid()).rssMiB; }

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const size_t i = size_t(std::ceil(p / 100.0 * double(v.size()))) - 1;
    return v[std::min(i, v.size() - 1)];
}

double median(const std::vector<double> &v) { return percentile(v, 50); }

struct Row {
    QString figure;
    double ours;
    double floor; // < 0: no floor
    QString unit;
    QString goal;
};

void printTable(const std::vector<Row> &rows)
{
    std::printf("\n| %-52s | %12s | %12s | %6s | %-10s |\n", "figure", "Stiftolino", "floor", "ratio", "goal");
    std::printf("|%s|%s|%s|%s|%s|\n", QByteArray(54, '-').constData(), QByteArray(14, '-').constData(),
                QByteArray(14, '-').constData(), QByteArray(8, '-').constData(), QByteArray(12, '-').constData());
    for (const Row &r : rows) {
        const QString ours = QStringLiteral("%1 %2").arg(r.ours, 0, 'f', r.ours < 10 ? 2 : 1).arg(r.unit);
        const QString floor =
            r.floor < 0 ? QString() : QStringLiteral("%1 %2").arg(r.floor, 0, 'f', r.floor < 10 ? 2 : 1).arg(r.unit);
        const QString ratio = r.floor > 0 ? QStringLiteral("%1x").arg(r.ours / r.floor, 0, 'f', 2) : QString();
        std::printf("| %-52s | %12s | %12s | %6s | %-10s |\n", qPrintable(r.figure), qPrintable(ours),
                    qPrintable(floor), qPrintable(ratio), qPrintable(r.goal));
    }
}

// ---- in this process, offscreen ----------------------------------------------

template <typename F> double timeMs(F &&f)
{
    QElapsedTimer t;
    t.start();
    f();
    QCoreApplication::processEvents();
    return double(t.nsecsElapsed()) / 1e6;
}

void writePictures(const QString &folder, int count)
{
    QDir().mkpath(folder);
    QImage small(80, 60, QImage::Format_RGB32);
    for (int i = 0; i < count; ++i) {
        small.fill(QColor::fromHsv(i % 360, 200, 220));
        small.save(QStringLiteral("%1/picture %2.bmp").arg(folder).arg(i, 4, 10, QLatin1Char('0')), "BMP");
    }
    QImage big(4000, 3000, QImage::Format_RGB32);
    big.fill(QColor(30, 140, 200));
    big.save(folder + QStringLiteral("/zz large.bmp"), "BMP");
}

struct InProcess {
    QRect canvas; // the canvas inside the main window
    QString lessonsTitle;
    QPoint previousAt, nextAt; // the step buttons' centres inside the lesson window
    double stepP99 = 0, switchP99 = 0;
    double listingMs = 0, previewMs = 0, previewLeftMiB = 0;
    double strokesGrowthMiB = 0;
};

InProcess measureInProcess()
{
    InProcess r;
    frmDraw &w = frmDraw::instance();
    w.showCentred();
    QCoreApplication::processEvents();
    r.canvas = w.picBild()->geometry();
    frmPreview *picker = w.preview();

    std::vector<double> steps;
    for (int lap = 0; lap < 40; ++lap) {
        for (int i = 0; i < 5; ++i)
            steps.push_back(timeMs([&] { picker->vbeButton_Click(2); }));
        for (int i = 0; i < 5; ++i)
            steps.push_back(timeMs([&] { picker->vbeButton_Click(0); }));
    }
    r.stepP99 = percentile(steps, 99);
    r.lessonsTitle = picker->windowTitle();
    auto centre = [&](int button) {
        const QWidget *b = picker->vbeButton[size_t(button)];
        return b->mapTo(picker, b->rect().center());
    };
    r.previousAt = centre(0);
    r.nextAt = centre(2);

    picker->vbeButton_Click(1); // browse the lessons
    std::vector<double> switches;
    for (int i = 0; i < 100; ++i)
        switches.push_back(timeMs([&] { picker->vbeButton_Click(i % 4 == 3 ? 5 : 7); }));
    r.switchP99 = percentile(switches, 99);
    picker->vbeButton_Click(6); // take it

    // The file panel with 1,000 saved pictures and one of 4000 x 3000.
    for (int i = 0; i < 5; ++i) {
        r.listingMs = std::max(r.listingMs, timeMs([&] { picker->ShowFilePanel(); }));
        picker->vbeButton_Click(8); // back to the steps, nothing chosen
    }
    picker->ShowFilePanel();
    const double before = residentMiB();
    picker->filPics->setCurrentRow(picker->filPics->count() - 1);
    r.previewMs = timeMs([&] { picker->filPics_Click(); });
    picker->filPics->setCurrentRow(0);
    picker->filPics_Click();
    QCoreApplication::processEvents();
    r.previewLeftMiB = residentMiB() - before;
    picker->vbeButton_Click(8);

    // 10,000 strokes with Undo and Clear between them.
    double warm = 0;
    for (int i = 0; i < 10000; ++i) {
        const double x = 20 + (i * 37) % 500, y = 20 + (i * 53) % 380;
        mouse(w.picBild(), QEvent::MouseButtonPress, QPointF(x, y));
        for (int k = 1; k <= 8; ++k)
            mouse(w.picBild(), QEvent::MouseMove, QPointF(x + 6 * k, y + 3 * k));
        mouse(w.picBild(), QEvent::MouseButtonRelease, QPointF(x + 48, y + 24));
        if (i % 3 == 1)
            w.vbeButton_Click(1); // Undo
        else if (i % 3 == 2)
            w.vbeButton_Click(0); // Clear
        if (i % 50 == 0)
            QCoreApplication::processEvents();
        // Compared at the same point of the Undo/Clear cycle: the undo copy is
        // there or not depending on it.
        if (i == 1998)
            warm = residentMiB();
    }
    QCoreApplication::processEvents();
    r.strokesGrowthMiB = residentMiB() - warm;
    return r;
}

// ---- on the X server -----------------------------------------------------------

// A serpentine through `area`: 4 pixels per move, rows `rowGap` pixels apart (at
// least the pen's width), so that every move paints pixels no earlier move has
// touched.
std::vector<QPoint> serpentine(const QRect &area, int moves, int rowGap = 16)
{
    std::vector<QPoint> points;
    QPoint p = area.topLeft();
    int dir = 1;
    points.push_back(p);
    while (int(points.size()) <= moves) {
        const int nx = p.x() + 4 * dir;
        if (nx < area.left() || nx > area.right()) {
            for (int k = 0; k < rowGap / 4; ++k) {
                p.ry() += 4;
                if (p.y() > area.bottom())
                    p.ry() = area.top();
                points.push_back(p);
            }
            dir = -dir;
        } else {
            p.rx() = nx;
            points.push_back(p);
        }
    }
    points.resize(size_t(moves) + 1);
    return points;
}

struct Start {
    double contentMs = -1, cpuMs = -1, rssMiB = -1, anonMiB = -1;
};

Start startOnce(Desk &desk, const QString &program, const QStringList &args)
{
    Start s;
    qint64 started = 0;
    const pid_t pid = desk.launch(program, args, QString(), &started);
    const qint64 content = desk.waitForContent(15000);
    if (content > 0) {
        s.contentMs = double(content - started) / 1e6;
        QThread::msleep(3000);
        const ProcessUse use = processUse(pid);
        s.rssMiB = use.rssMiB;
        s.anonMiB = use.anonMiB;
    }
    // Killed at once, idle since: the exact total of the whole run.
    s.cpuMs = desk.end(pid);
    return s;
}

struct Drawing {
    double usPerMove = -1;
    std::vector<double> latencies;
};

// Starts a program that shows a canvas at `canvas`, waits until it has settled and
// draws one stroke through it with a pen `pen` wide at `rate` moves per second,
// measuring every `probeEvery` moves how soon the move is seen (none when 0).
Drawing drawOnce(Desk &desk, const QString &program, const QStringList &args, const QString &settings,
                 const QString &title, const QPoint &canvasInWindow, QSize canvasSize, int pen, int moves,
                 int probeEvery, int rate)
{
    Drawing d;
    qint64 started = 0;
    const pid_t pid = desk.launch(program, args, settings, &started);
    const QRect window = desk.waitForWindow(title, 15000);
    if (window.isNull()) {
        desk.end(pid);
        return d;
    }
    QThread::msleep(1500); // the start is over, the sound output open
    const QRect canvas(window.topLeft() + canvasInWindow, canvasSize);
    // Watched moves need rows a pen's width apart; unwatched ones keep the rows
    // of the earlier figures.
    const int rowGap = probeEvery > 0 ? std::max(16, pen + 8) : 16;
    const std::vector<QPoint> path = serpentine(canvas.adjusted(30, 30, -30, -30), moves, rowGap);
    const ProcessUse before = processUse(pid);
    // A profile of the program's stroke at pen 5, on request: BENCH_PERF=file
    // (the slow stroke's goes to file.slow).
    QProcess perf;
    const QString perfFile = qEnvironmentVariable("BENCH_PERF");
    if (!perfFile.isEmpty() && probeEvery != 10 && title == Allgemein::AppTitle && pen == 5) {
        perf.start(QStringLiteral("perf"),
                   {QStringLiteral("record"), QStringLiteral("-q"), QStringLiteral("-g"), QStringLiteral("-o"),
                    perfFile + (rate < 1000 ? QStringLiteral(".slow") : QString()), QStringLiteral("-p"),
                    QString::number(pid)});
        perf.waitForStarted();
        QThread::msleep(300);
    }
    desk.stroke(path, probeEvery, 0xFFFFFF, &d.latencies, rate, std::max(0, pen / 2 - 2));
    if (perf.state() == QProcess::Running) {
        perf.terminate();
        perf.waitForFinished(10000);
    }
    QThread::msleep(1000);
    const ProcessUse after = processUse(pid);
    d.usPerMove = (after.threadsCpuMs - before.threadsCpuMs) * 1000.0 / moves;
    desk.end(pid);
    return d;
}

QString programSettings(int pen)
{
    // The pen window closed and the lesson window in the upper left corner, away
    // from the canvas.
    return QStringLiteral("[Optionen]\nWidth=%1\nCShow=0\nPLeft=0\nPTop=0\n").arg(pen);
}

// The lesson window animating a step while the child draws: what the animation
// costs alone, and what a pointer move costs on top of it.
struct Animating {
    double msPerSecond = -1; // CPU while the animation runs alone, per second
    double stepCpuMs = -1;   // the whole step, from the click on Next to its end
    double usPerMove = -1;   // CPU per pointer move drawn meanwhile, the animation's own taken off
    int stepMs = 0;
    int moves = 0;
};

Animating animateOnce(Desk &desk, const QString &program, const InProcess &in, const QPoint &canvasAt, int stepMs,
                      int rate)
{
    Animating a;
    a.stepMs = stepMs;
    qint64 started = 0;
    const pid_t pid = desk.launch(program, {}, programSettings(5), &started);
    const QRect main = desk.waitForWindow(Allgemein::AppTitle, 15000);
    const QRect lessons = desk.waitForWindow(in.lessonsTitle, 15000);
    if (main.isNull() || lessons.isNull()) {
        desk.end(pid);
        return a;
    }
    QThread::msleep(1500);
    // The stroke fits into the step, after its first 100 ms.
    const int windowMs = std::clamp(stepMs - 300, 300, 3000);
    a.moves = std::max(10, windowMs * rate / 1000);
    const QRect canvas(canvasAt, in.canvas.size());
    const std::vector<QPoint> path = serpentine(canvas.adjusted(30, 30, -30, -30), a.moves);
    const QPoint next = lessons.topLeft() + in.nextAt, previous = lessons.topLeft() + in.previousAt;

    // Alone: the same span of the step, measured on its own.
    const ProcessUse idle = processUse(pid);
    desk.click(next);
    qint64 t0 = nowNs();
    QThread::usleep(100000);
    const ProcessUse a0 = processUse(pid);
    const qint64 w0 = nowNs();
    QThread::usleep(ulong(windowMs) * 1000);
    const ProcessUse a1 = processUse(pid);
    const double aloneMs = a1.threadsCpuMs - a0.threadsCpuMs;
    const double aloneWall = double(nowNs() - w0) / 1e6;
    QThread::usleep(ulong(std::max<qint64>(0, t0 + qint64(stepMs + 300) * 1000000 - nowNs()) / 1000));
    const ProcessUse end = processUse(pid);
    a.stepCpuMs = end.threadsCpuMs - idle.threadsCpuMs;
    a.msPerSecond = aloneMs * 1000.0 / aloneWall;

    // Back a step (drawn at once) and forward again, drawing meanwhile.
    desk.click(previous);
    QThread::msleep(500);
    desk.click(next);
    t0 = nowNs();
    QThread::usleep(100000);
    const ProcessUse b0 = processUse(pid);
    const qint64 s0 = nowNs();
    desk.stroke(path, 0, 0xFFFFFF, nullptr, rate);
    const ProcessUse b1 = processUse(pid);
    const double strokeWall = double(nowNs() - s0) / 1e6;
    // Past the step's end the animation costs nothing more.
    const double animationPart = a.msPerSecond * std::min(strokeWall, double(stepMs) - 100) / 1000.0;
    a.usPerMove = (b1.threadsCpuMs - b0.threadsCpuMs - animationPart) * 1000.0 / a.moves;
    desk.end(pid);
    return a;
}

} // namespace

int main(int argc, char *argv[])
{
    int runs = 5;
    int moves = 3000;
    int slowMoves = 300;
    int strokes = 3;
    bool inProcessOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (qstrcmp(argv[i], "--in-process") == 0)
            inProcessOnly = true;
        if (i + 1 >= argc)
            break;
        if (qstrcmp(argv[i], "--runs") == 0)
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (qstrcmp(argv[i], "--strokes") == 0)
            strokes = std::max(1, std::atoi(argv[i + 1]));
        else if (qstrcmp(argv[i], "--moves") == 0)
            moves = std::max(100, std::atoi(argv[i + 1]));
        else if (qstrcmp(argv[i], "--slow-moves") == 0)
            slowMoves = std::max(20, std::atoi(argv[i + 1]));
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    Memory::keepHeapSmall(); // as the program does
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &message) {
        if (!message.contains(QLatin1String("does not support raise")))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    const QString folder = QCoreApplication::applicationDirPath();
    const QString program = folder + QStringLiteral("/stiftolino");
    const QString floorProgram = folder + QStringLiteral("/stiftolino_bench_floor");

    QElapsedTimer total;
    total.start();

    // In process first: the program folder is a fresh one with 1,000 pictures.
    QTemporaryDir dir;
    writePictures(dir.filePath(QStringLiteral("pics")), 1000);
    Paths::setProgramFolder(dir.path(), QStringLiteral("stiftolino"));
    MemorySettingsBackend settings;
    Allgemein::SetSettingsBackend(&settings);
    Allgemein::SoundOn = Allgemein::False;
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    const InProcess in = measureInProcess();
    std::fprintf(stderr, "in process: %.1f s\n", total.elapsed() / 1000.0);
    if (inProcessOnly) {
        std::printf("lesson step p99 %.2f ms, switch p99 %.2f ms, file panel %.1f ms, preview %.1f ms, "
                    "left %.2f MiB, strokes growth %.2f MiB\n",
                    in.stepP99, in.switchP99, in.listingMs, in.previewMs, in.previewLeftMiB, in.strokesGrowthMiB);
        return 0;
    }

    Desk desk;
    const QString why = desk.start();
    if (!why.isEmpty()) {
        std::fprintf(stderr, "cannot measure on a screen: %s\n", qPrintable(why));
        return 1;
    }

    // Start-up, alternating so that both see the same machine.
    std::vector<double> content[2], cpu[2], rss[2], anon[2];
    for (int r = 0; r < runs; ++r) {
        for (int which = 0; which < 2; ++which) {
            const Start s =
                which == 0 ? startOnce(desk, program, {}) : startOnce(desk, floorProgram, {QStringLiteral("--bare")});
            if (s.contentMs < 0) {
                std::fprintf(stderr, "%s showed nothing\n", which == 0 ? "the program" : "the bare window");
                continue;
            }
            content[which].push_back(s.contentMs);
            cpu[which].push_back(s.cpuMs);
            rss[which].push_back(s.rssMiB);
            anon[which].push_back(s.anonMiB);
        }
    }
    std::fprintf(stderr, "start-up: %.1f s\n", total.elapsed() / 1000.0);

    // Drawing: the textbook canvas goes where the program's canvas is.
    const QPoint inWindow = in.canvas.topLeft();
    const QSize canvasSize = in.canvas.size();
    const QPoint mainAt((Desk::Screen.width() - DesignWidth) / 2, (Desk::Screen.height() - DesignHeight) / 2);
    const QPoint canvasAt = mainAt + inWindow;
    auto scribbleArgs = [&](int pen) {
        return QStringList{QStringLiteral("--scribble"),         QString::number(canvasAt.x()),
                           QString::number(canvasAt.y()),        QString::number(canvasSize.width()),
                           QString::number(canvasSize.height()), QString::number(pen)};
    };
    const int pens[3] = {1, 5, 50};
    // Fast: a quick scribble at 1000 moves per second, the CPU it costs. Slow: a
    // careful line at 60 per second, one move a frame, every move watched.
    constexpr int Fast = 1000, Slow = 60;
    // Each CPU figure is the median of `strokes` strokes, program and floor taken
    // in turn; the latencies of the slow strokes are pooled.
    std::vector<double> ours[3], textbook[3], oursSlow[3], textbookSlow[3];
    std::vector<double> oursSlowSeen[3], textbookSlowSeen[3];
    // One stroke on the program's canvas, and one on the textbook canvas laid over it.
    auto drawOurs = [&](int pen, int count, int probeEvery, int rate) {
        return drawOnce(desk, program, {}, programSettings(pen), Allgemein::AppTitle, inWindow, canvasSize, pen, count,
                        probeEvery, rate);
    };
    auto drawTextbook = [&](int pen, int count, int probeEvery, int rate) {
        return drawOnce(desk, floorProgram, scribbleArgs(pen), QString(), QStringLiteral("bench-scribble"), QPoint(),
                        canvasSize, pen, count, probeEvery, rate);
    };
    // A stroke that could not be drawn (no window came up) counts for nothing.
    auto keep = [](std::vector<double> &perMove, std::vector<double> *seen, const Drawing &d) {
        if (d.usPerMove < 0)
            return;
        perMove.push_back(d.usPerMove);
        if (seen)
            seen->insert(seen->end(), d.latencies.begin(), d.latencies.end());
    };
    for (int round = 0; round < strokes; ++round) {
        for (int i = 0; i < 3; ++i) {
            keep(ours[i], nullptr, drawOurs(pens[i], moves, 0, Fast));
            keep(textbook[i], nullptr, drawTextbook(pens[i], moves, 0, Fast));
            keep(oursSlow[i], &oursSlowSeen[i], drawOurs(pens[i], slowMoves, 1, Slow));
            keep(textbookSlow[i], &textbookSlowSeen[i], drawTextbook(pens[i], slowMoves, 1, Slow));
        }
    }
    const Drawing oursSeen = drawOurs(5, moves, 10, Fast);
    const Drawing textbookSeen = drawTextbook(5, moves, 10, Fast);
    // The step the lesson window shows after Next on a fresh start.
    int stepMs = 0;
    if (const auto lesson = LessonStrokes::decode(
            ModResFiles::LoadResData(100 + Allgemein::Defaults::TemplateIndex, QStringLiteral("STROKES"))))
        stepMs = StepDrawing(*lesson, 1).duration();
    const Animating animFast = animateOnce(desk, program, in, canvasAt, stepMs, Fast);
    const Animating animSlow = animateOnce(desk, program, in, canvasAt, stepMs, Slow);
    std::fprintf(stderr, "drawing: %.1f s\n", total.elapsed() / 1000.0);

    const QString ms = QStringLiteral("ms"), mib = QStringLiteral("MiB"), us = QStringLiteral("us");
    std::vector<Row> rows{
        {QStringLiteral("exec to first window content (median of %1)").arg(runs), median(content[0]),
         median(content[1]), ms, QStringLiteral("<= 1.25x")},
        {QStringLiteral("CPU from exec to 3 s after the window"), median(cpu[0]), median(cpu[1]), ms,
         QStringLiteral("<= 2x")},
        {QStringLiteral("resident memory 3 s after the window (VmRSS)"), median(rss[0]), median(rss[1]), mib,
         QStringLiteral("<= 1.5x")},
        {QStringLiteral("anonymous memory (RssAnon)"), median(anon[0]), median(anon[1]), mib,
         QStringLiteral("<= 8 MiB")},
    };
    for (int i = 0; i < 3; ++i)
        rows.push_back({QStringLiteral("CPU per pointer move, pen %1 (%2 moves at 1000/s)").arg(pens[i]).arg(moves),
                        median(ours[i]), median(textbook[i]), us, QStringLiteral("<= 0.75x")});
    for (int i = 0; i < 3; ++i) {
        rows.push_back({QStringLiteral("CPU per pointer move, pen %1 (%2 moves at 60/s)").arg(pens[i]).arg(slowMoves),
                        median(oursSlow[i]), median(textbookSlow[i]), us, QStringLiteral("<= 0.75x")});
        rows.push_back({QStringLiteral("  move to pixels on screen at 60/s, p50 (pen %1)").arg(pens[i]),
                        median(oursSlowSeen[i]), median(textbookSlowSeen[i]), ms, QStringLiteral("<= 1 ms")});
        rows.push_back({QStringLiteral("  move to pixels on screen at 60/s, p99 (pen %1)").arg(pens[i]),
                        percentile(oursSlowSeen[i], 99), percentile(textbookSlowSeen[i], 99), ms,
                        QStringLiteral("<= 8 ms")});
    }
    rows.push_back({QStringLiteral("pointer move to pixels on screen, p50 (pen 5)"), median(oursSeen.latencies),
                    median(textbookSeen.latencies), ms, QString()});
    rows.push_back({QStringLiteral("pointer move to pixels on screen, p99 (pen 5)"), percentile(oursSeen.latencies, 99),
                    percentile(textbookSeen.latencies, 99), ms, QStringLiteral("<= 17 ms")});
    rows.push_back({QStringLiteral("lesson step animation (%1 ms): CPU per second of it").arg(stepMs),
                    animFast.msPerSecond, -1, ms, QString()});
    rows.push_back({QStringLiteral("  the whole step, from the click on Next"), animFast.stepCpuMs, -1, ms, QString()});
    rows.push_back({QStringLiteral("  CPU per move drawn meanwhile, pen 5 (%1 at 1000/s)").arg(animFast.moves),
                    animFast.usPerMove, median(textbook[1]), us, QStringLiteral("<= 0.75x")});
    rows.push_back({QStringLiteral("  CPU per move drawn meanwhile, pen 5 (%1 at 60/s)").arg(animSlow.moves),
                    animSlow.usPerMove, median(textbookSlow[1]), us, QStringLiteral("<= 0.75x")});
    rows.push_back({QStringLiteral("lesson step, p99 in process"), in.stepP99, -1, ms, QString()});
    rows.push_back({QStringLiteral("lesson switch, p99 in process"), in.switchP99, -1, ms, QString()});
    rows.push_back({QStringLiteral("file panel with 1,000 pictures, slowest of 5"), in.listingMs, -1, ms,
                    QStringLiteral("<= 100 ms")});
    rows.push_back(
        {QStringLiteral("preview of a 4000 x 3000 picture"), in.previewMs, -1, ms, QStringLiteral("<= 200 ms")});
    rows.push_back(
        {QStringLiteral("  memory left after the next preview"), in.previewLeftMiB, -1, mib, QStringLiteral("~ 0")});
    rows.push_back({QStringLiteral("10,000 strokes with Undo/Clear: growth after warm-up"), in.strokesGrowthMiB, -1,
                    mib, QStringLiteral("<= 1 MiB")});
    printTable(rows);
    std::printf("\nwhole benchmark: %.0f s\n", total.elapsed() / 1000.0);
    Allgemein::SetSettingsBackend(nullptr);
    return 0;
}
