// A long session in one go: thousands of strokes with Undo and Clear, language
// and lesson switches, saves, and what the program holds in memory all along. Memory
// should stay flat once everything has been touched once; run it from a build
// with -DSANITIZE=ON and LeakSanitizer reports whatever is left unfreed at the end.
//
//   stiftolino_soak [--strokes N] [--languages N] [--lessons N] [--saves N]

#include "controls/canvas.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/languages.h"
#include "core/resources.h"
#include "core/settings.h"
#include "draw/frmdraw.h"
#include "picker/frmpreview.h"
#include "platform/paths.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "platform/prompts.h"
#include "platform/settingsbackend.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace Allgemein;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool Sanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool Sanitized = true;
#else
constexpr bool Sanitized = false;
#endif
#else
constexpr bool Sanitized = false;
#endif

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : -1;
}

// Resident memory after each tenth of a phase: the first tenth warms up, the
// rest should stay within a megabyte of each other.
struct Phase {
    const char *name;
    int count;
    std::vector<long> samples;
    double seconds = 0;

    long warm() const { return samples.size() > 1 ? samples[1] : -1; }
    long spread() const
    {
        if (samples.size() < 2)
            return 0;
        const auto [lo, hi] = std::minmax_element(samples.begin() + 1, samples.end());
        return *hi - *lo;
    }
};

template <class Step> void run(Phase &phase, Step &&step)
{
    QElapsedTimer t;
    t.start();
    const int tenth = std::max(1, phase.count / 10);
    for (int i = 0; i < phase.count; ++i) {
        step(i);
        QCoreApplication::processEvents();
        if ((i + 1) % tenth == 0)
            phase.samples.push_back(residentKiB());
    }
    phase.seconds = t.nsecsElapsed() / 1e9;
}

// A mouse event as the window system hands it to the main window.
void send(QWindow *window, QEvent::Type type, QPointF at, Qt::MouseButtons held)
{
    const QPointF global = window->mapToGlobal(at.toPoint());
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, at, global, button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &e);
}

QPointF along(int stroke, int k)
{
    const double t = stroke * 0.37 + k * 0.05;
    return QPointF(0.5 + 0.45 * std::sin(t * 1.3), 0.5 + 0.45 * std::sin(t * 2.1 + 0.5));
}

int argument(int argc, char *argv[], const char *name, int fallback)
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], name) == 0)
            return std::max(1, std::atoi(argv[i + 1]));
    }
    return fallback;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    MemorySettingsBackend settings;
    SetSettingsBackend(&settings);
    Paths::setProgramFolder(dir.path(), QStringLiteral("stiftolino"));
    SoundOn = False;
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    LanguageFilePath = dir.filePath(QStringLiteral("~tmp.lng"));
    ModResFiles::SaveResItemToDisk(1000, QStringLiteral("CUSTOM"), LanguageFilePath);

    frmDraw *w = &frmDraw::instance();
    w->showCentred();
    QCoreApplication::processEvents();
    QWindow *window = w->windowHandle();
    const long rssStart = residentKiB();

    Phase strokes{"strokes (Undo every 10th, Clear every 100th)", argument(argc, argv, "--strokes", 10000), {}};
    run(strokes, [&](int i) {
        const QRect canvas(w->picBild()->mapTo(w, QPoint(0, 0)), w->picBild()->size());
        auto at = [&](int k) {
            const QPointF p = along(i, k);
            return QPointF(canvas.left() + p.x() * canvas.width(), canvas.top() + p.y() * canvas.height());
        };
        send(window, QEvent::MouseButtonPress, at(0), Qt::LeftButton);
        for (int k = 1; k <= 6; ++k)
            send(window, QEvent::MouseMove, at(k), Qt::LeftButton);
        send(window, QEvent::MouseButtonRelease, at(6), Qt::NoButton);
        if (i == 0 && w->picBild()->image().pixelColor(at(3).toPoint() - canvas.topLeft()) == QColor(Qt::white)) {
            std::fprintf(stderr, "the strokes do not reach the canvas\n");
            std::exit(2);
        }
        if (i % 10 == 9)
            w->vbeButton_Click(1);
        if (i % 100 == 99)
            w->vbeButton_Click(0);
    });

    Phase languages{"language switches", argument(argc, argv, "--languages", 1000), {}};
    run(languages, [&](int i) { SwitchLanguage(i % 7); });

    Phase lessons{"lesson switches", argument(argc, argv, "--lessons", 500), {}};
    frmPreview *picker = w->preview();
    run(lessons, [&](int i) {
        if (!picker)
            return;
        if (i % 50 == 0)
            picker->vbeButton_Click(1); // browse
        picker->vbeButton_Click(i % 3 == 2 ? 5 : 7);
        if (i % 50 == 49)
            picker->vbeButton_Click(6); // take it
    });

    // Ten names in turn: from the eleventh save on, each answers Yes to replacing.
    Prompts::Scripted prompts;
    Prompts::setBackend(&prompts);
    Phase saves{"saves (ten names, replaced in turn)", argument(argc, argv, "--saves", 200), {}};
    run(saves, [&](int i) {
        prompts.inputs = {QStringLiteral("Bild%1").arg(i % 10)};
        prompts.answers = {Prompts::Answer::Yes};
        prompts.asked.clear();
        send(window, QEvent::MouseButtonPress, QPointF(w->picBild()->mapTo(w, QPoint(40 + i % 300, 60))),
             Qt::LeftButton);
        send(window, QEvent::MouseButtonRelease, QPointF(w->picBild()->mapTo(w, QPoint(40 + i % 300, 60))),
             Qt::NoButton);
        w->vbeButton_Click(3);
    });
    const QStringList saved = QDir(Paths::picturesFolder()).entryList({QStringLiteral("*.bmp")});
    Prompts::setBackend(nullptr);

    const long rssEnd = residentKiB();
    std::printf("resident memory at start:            %8ld KiB\n", rssStart);
    bool flat = true;
    for (const Phase *p : {&strokes, &languages, &lessons, &saves}) {
        std::printf("%-46s %6d in %6.1f s; after warm-up %8ld KiB, spread %5ld KiB\n", p->name, p->count, p->seconds,
                    p->warm(), p->spread());
        flat = flat && p->spread() <= 1024;
    }
    std::printf("resident memory at the end:          %8ld KiB\n", rssEnd);
    std::printf("pictures in the folder after the saves: %d\n", int(saved.size()));
    if (Sanitized) {
        // Freed memory waits in quarantine and every byte has its shadow: the
        // figures above say nothing here. What counts is LeakSanitizer at the exit.
        std::printf("memory figures of a sanitizer build are not judged\n");
        flat = true;
    } else {
        std::printf("memory %s\n", flat ? "flat (within 1 MB after warm-up)" : "GREW more than 1 MB");
    }
    const bool allSaved = saved.size() == std::min(saves.count, 10);
    if (!allSaved)
        std::printf("NOT every picture was saved\n");

    delete w;
    SetSettingsBackend(nullptr);
    Paths::setProgramFolder(QString());
    return flat && allSaved ? 0 : 1;
}
