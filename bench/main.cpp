// Measures what a child feels: how long the main window takes to come up, what one
// pointer move costs while drawing, and how much memory the program holds.
//
//   stiftolino_bench            all figures, in-process, offscreen
//   stiftolino_bench --moves N  segments per stroke measurement (default 20000)

#include "core/globals.h"
#include "core/settings.h"
#include "draw/frmdraw.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "platform/settingsbackend.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPaintEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

long residentKiB()
{
    QFile f(QStringLiteral("/proc/self/statm"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts[1].toLong() * 4 : -1;
}

// The textbook canvas: a QImage, one drawLine per move, update of its rectangle.
class ScribbleArea : public QWidget
{
public:
    ScribbleArea()
    {
        setAttribute(Qt::WA_StaticContents);
        image = QImage(585, 439, QImage::Format_RGB32);
        image.fill(Qt::white);
    }
    void lineTo(QPointF p)
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(Qt::black, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawLine(last, p);
        const int r = 5;
        update(QRectF(last, p).normalized().toRect().adjusted(-r, -r, r, r));
        last = p;
    }
    QImage image;
    QPointF last{10, 10};

protected:
    void paintEvent(QPaintEvent *e) override
    {
        QPainter p(this);
        p.drawImage(e->rect(), image, e->rect());
    }
};

QPointF wiggle(int i)
{
    // A scribble across the canvas: short moves, as a mouse reports them.
    const double t = i * 0.01;
    return QPointF(290 + 260 * std::sin(t * 1.3), 220 + 190 * std::sin(t * 2.1 + 0.5));
}

double perMoveMicros(const std::function<void(QPointF)> &move, int moves)
{
    QElapsedTimer t;
    t.start();
    for (int i = 0; i < moves; ++i) {
        move(wiggle(i));
        if (i % 8 == 0)
            QCoreApplication::processEvents();   // paint as an event loop would
    }
    QCoreApplication::processEvents();
    return double(t.nsecsElapsed()) / 1000.0 / moves;
}

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int moves = 20000;
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--moves") == 0)
            moves = std::max(100, std::atoi(argv[i + 1]));
    }

    QElapsedTimer total;
    total.start();
    QApplication app(argc, argv);
    const qint64 appReady = total.nsecsElapsed();
    const long rssApp = residentKiB();

    QTemporaryDir dir;
    MemorySettingsBackend settings;
    Allgemein::SetSettingsBackend(&settings);
    Allgemein::SoundOn = Allgemein::False;
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });

    // An empty window, the baseline every Qt program pays.
    QElapsedTimer t;
    t.start();
    {
        QWidget empty;
        empty.resize(829, 624);
        empty.show();
        QCoreApplication::processEvents();
    }
    const double emptyMs = t.nsecsElapsed() / 1e6;

    t.restart();
    frmDraw &w = frmDraw::instance();
    w.showCentred();
    QCoreApplication::processEvents();
    const double mainMs = t.nsecsElapsed() / 1e6;
    const long rssMain = residentKiB();

    w.picBild->line(wiggle(0), wiggle(0));
    const double ours = perMoveMicros([&](QPointF p) { w.picBild->lineTo(p); }, moves);

    ScribbleArea scribble;
    scribble.resize(585, 439);
    scribble.show();
    QCoreApplication::processEvents();
    const double textbook = perMoveMicros([&](QPointF p) { scribble.lineTo(p); }, moves);

    std::printf("Qt application ready:               %8.2f ms\n", appReady / 1e6);
    std::printf("empty 829x624 window shown:         %8.2f ms\n", emptyMs);
    std::printf("main window with lesson and pen:    %8.2f ms\n", mainMs);
    std::printf("resident memory, application only:  %8ld KiB\n", rssApp);
    std::printf("resident memory, all windows up:    %8ld KiB\n", rssMain);
    std::printf("one pointer move, our canvas:       %8.2f us  (%d moves)\n", ours, moves);
    std::printf("one pointer move, textbook canvas:  %8.2f us\n", textbook);
    std::printf("ratio ours / textbook:              %8.2f\n", ours / textbook);
    Allgemein::SetSettingsBackend(nullptr);
    return 0;
}
