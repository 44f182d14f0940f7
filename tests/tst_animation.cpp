// The strokes of a lesson step drawn live: every step ends on its cell, strokes
// come one after another, a frame repaints only what changed, which way the
// build turns a stroke (and which sources it refuses), damaged stroke data, and
// when the lesson window plays a step and when it shows it at once.

#include "core/globals.h"
#include "core/lessonstrokes.h"
#include "core/picturefile.h"
#include "core/resources.h"
#include "draw/frmdraw.h"
#include "picker/frmpreview.h"
#include "picker/stepdrawing.h"
#include "picker/strokeanimation.h"
#include "platform/paths.h"
#include "platform/picturebox.h"
#include "support/checkmessage.h"
#include "support/childrole.h"
#include "support/desktopprobe.h"
#include "support/programcopy.h"
#include "support/testsupport.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include "strokeextract.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QPainter>
#include <QTest>

using namespace Allgemein;

namespace {

constexpr int Lessons = 43;
constexpr int Cells = 6;

LessonStrokes strokesOf(int lesson)
{
    return LessonStrokes::decode(ModResFiles::LoadResData(100 + lesson, QStringLiteral("STROKES")))
        .value_or(LessonStrokes());
}

QImage cellOf(int lesson, int cell)
{
    return ModResFiles::LoadResPicture(100 + lesson)
        .copy(0, cell * 300, 400, 300)
        .convertToFormat(QImage::Format_RGB32);
}

QImage frame(const StepDrawing &d, int t)
{
    QImage img(400, 300, QImage::Format_RGB32);
    QPainter p(&img);
    d.paint(p, t);
    return img;
}

int channelDistance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Ink: a pixel clearly darker than the white page.
bool inked(QRgb c) { return qGray(c) < 160; }

} // namespace

class tst_Animation : public QObject
{
    Q_OBJECT
private slots:
    void endsOnTheCell_data();
    void endsOnTheCell();
    void frames_data();
    void frames();
    void strokeDirection_data();
    void strokeDirection();
    void damagedData();
    void whenItPlays_data();
    void whenItPlays();
    void clickReplaysDragMoves();
};

void tst_Animation::endsOnTheCell_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("cell");
    for (int lesson = 1; lesson <= Lessons; ++lesson)
        for (int cell = 0; cell < Cells; ++cell)
            QTest::addRow("lesson %d cell %d", lesson, cell) << lesson << cell;
}

void tst_Animation::endsOnTheCell()
{
    // The last frame drawn from the strokes is the strip's cell, but for the
    // smoothing of the edges: the strip is rendered from curves and mapped onto
    // its palette, the frame is drawn along points 1/8 pixel apart. Edge pixels
    // differ by up to about 165 in a colour channel, but only a few: at most 24 of
    // the 120,000 may differ by more than 96 (the lessons have at most 14). A
    // stroke left out, a wrong pen or colour shows as hundreds.
    QFETCH(int, lesson);
    QFETCH(int, cell);
    const StepDrawing drawing(strokesOf(lesson), cell);
    QVERIFY(drawing.count() > 0 || cell == 5);
    QVERIFY2(drawing.duration() <= (cell == 5 ? StepTiming::ColoursMs : StepTiming::StepMs),
             qPrintable(QString::number(drawing.duration())));
    const QImage last = frame(drawing, drawing.duration());
    const QImage expected = cellOf(lesson, cell);
    int far = 0, worst = 0;
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            const int d = channelDistance(last.pixel(x, y), expected.pixel(x, y));
            worst = std::max(worst, d);
            far += d > 96;
        }
    }
    QVERIFY2(far <= 24, msg("%1 pixels differ by more than 96 (worst %2)", far, worst));
}

void tst_Animation::frames_data()
{
    QTest::addColumn<int>("lesson");
    QTest::addColumn<int>("cell");
    // Whether the step pauses (nothing moves for a frame) while nothing is drawn
    // over lines already there: such a frame has nothing named changed.
    QTest::addColumn<bool>("pauses");
    QTest::newRow("cat, body") << 7 << 3 << true;
    QTest::newRow("owl, eyes") << 22 << 2 << true;
    QTest::newRow("flower, colours") << 3 << 5 << true;
    // Every seventh lesson, at its step with the most strokes (where it has more
    // than one).
    for (int lesson = 1; lesson <= Lessons; lesson += 7) {
        const LessonStrokes strokes = strokesOf(lesson);
        int most = 0, at = 0;
        for (int cell = 0; cell < Cells - 1; ++cell) {
            const int n = StepDrawing(strokes, cell).count();
            if (n > most) {
                most = n;
                at = cell;
            }
        }
        if (most > 1) // an order needs two strokes at least
            QTest::addRow("lesson %d cell %d, %d strokes", lesson, at, most) << lesson << at << false;
    }
}

void tst_Animation::frames()
{
    // Frame by frame at 60 Hz, everything that differs from the frame before
    // lies in the area the drawing names as changed, and painting only that area
    // gives the same pixels there; where nothing differs for a while (a pause, a
    // dot), nothing is named. And the pixels that only stroke n inks appear only
    // once every pixel that only stroke n - 1 inks is there.
    QFETCH(int, lesson);
    QFETCH(int, cell);
    QFETCH(bool, pauses);
    const LessonStrokes strokes = strokesOf(lesson);
    const StepDrawing drawing(strokes, cell);
    QList<QImage> alone;
    for (const StrokeShape &s : strokes.shapes) {
        if (!s.drawn || s.step != cell + 1)
            continue;
        for (const StrokePath &path : s.paths) {
            QImage img(400, 300, QImage::Format_RGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(Qt::black, s.width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.drawPolyline(path.points);
            alone << img;
        }
    }
    // The colours of the last step are areas, not strokes.
    QCOMPARE(alone.size(), cell == Cells - 1 ? 0 : drawing.count());
    // Each stroke's own pixels: inked by it and by no other line of the cell.
    const QImage before = frame(drawing, 0);
    QList<QList<QPoint>> own(alone.size());
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 400; ++x) {
            int by = -1, count = 0;
            for (int i = 0; i < alone.size(); ++i) {
                if (alone[i].pixel(x, y) != qRgb(255, 255, 255)) {
                    by = i;
                    ++count;
                }
            }
            if (count == 1 && inked(alone[by].pixel(x, y)) && before.pixel(x, y) == qRgb(255, 255, 255))
                own[by] << QPoint(x, y);
        }
    }
    const QImage last = frame(drawing, drawing.duration());
    QList<int> firstSeen(alone.size(), -1), complete(alone.size(), -1);
    QImage previous = before;
    int still = 0;
    for (int t = 0; t <= drawing.duration(); t += 16) {
        const QImage f = frame(drawing, t);
        for (int i = 0; i < alone.size(); ++i) {
            if (own[i].isEmpty())
                continue;
            const bool any = std::any_of(own[i].cbegin(), own[i].cend(), [&](QPoint p) { return inked(f.pixel(p)); });
            const bool all = std::all_of(own[i].cbegin(), own[i].cend(),
                                         [&](QPoint p) { return inked(f.pixel(p)) == inked(last.pixel(p)); });
            if (any && firstSeen[i] < 0)
                firstSeen[i] = t;
            if (all && complete[i] < 0)
                complete[i] = t;
        }
        if (t == 0)
            continue;
        const QRectF changed = drawing.changed(t - 16, t);
        const QRect allowed = changed.toAlignedRect();
        for (int y = 0; y < 300; ++y) {
            for (int x = 0; x < 400; ++x) {
                if (f.pixel(x, y) != previous.pixel(x, y) && !allowed.contains(x, y))
                    QFAIL(msg("at %1 ms pixel %2,%3 changed outside %4,%5 %6x%7", t, x, y, allowed.x(), allowed.y(),
                              allowed.width(), allowed.height()));
            }
        }
        if (!changed.isNull()) {
            QImage part = previous;
            QPainter p(&part);
            p.setClipRect(allowed);
            drawing.paint(p, t, allowed);
            p.end();
            QCOMPARE(part, f);
        }
        if (f == previous && drawing.nextChange(t) > t + 16)
            still += changed.isNull() ? 1 : 1000;
        previous = f;
    }
    if (pauses)
        QVERIFY2(still > 0 && still < 1000, "a frame with nothing moving was named changed, or there was no pause");
    for (int i = 1; i < alone.size(); ++i) {
        if (own[i].isEmpty() || own[i - 1].isEmpty())
            continue;
        QVERIFY2(
            complete[i - 1] >= 0 && firstSeen[i] >= complete[i - 1],
            msg("stroke %1 appears at %2 ms, stroke %3 is complete at %4 ms", i + 1, firstSeen[i], i, complete[i - 1]));
    }
}

void tst_Animation::strokeDirection_data()
{
    QTest::addColumn<QString>("shape");
    QTest::addColumn<QPointF>("start");
    QTest::addColumn<QPointF>("then"); // a point a little further along
    auto row = [](const char *tag, const char *shape, QPointF start, QPointF then) {
        QTest::newRow(tag) << QString::fromUtf8(shape) << start << then;
    };
    row("line drawn right to left", R"(<path d="M300,100 L100,110"/>)", {100, 110}, {150, 107.5});
    row("line drawn upwards", R"(<line x1="150" y1="250" x2="160" y2="50"/>)", {160, 50}, {157.5, 100});
    row("circle from its top, leftwards", R"(<circle cx="200" cy="150" r="50"/>)", {200, 100}, {190, 101});
    row("rotated oval from its top", R"s(<ellipse cx="200" cy="150" rx="60" ry="20" transform="rotate(90 200 150)"/>)s",
        {200, 90}, {195, 91});
    row("square from its top-left corner, rightwards", R"(<polygon points="250,200 150,200 150,100 250,100"/>)",
        {150, 100}, {200, 100});
    row("closed path from its top-left corner", R"(<path d="M250,250 L150,250 L150,101 L250,100 Z"/>)", {150, 101},
        {200, 100.5});
    row("the source wins: as written", R"(<path d="M300,100 L100,110" data-draw="as-written"/>)", {300, 100},
        {250, 102.5});
    row("the source wins: reversed", R"(<line x1="100" y1="100" x2="300" y2="100" data-draw="reversed"/>)", {300, 100},
        {250, 100});
    // Refused sources have no start.
    row("refused: no length", R"(<path d="M200,200 L200,200"/>)", {}, {});
    row("refused: a dot among lines", R"(<path d="M10,10 L10,10 M50,50 L90,90"/>)", {}, {});
    row("refused: a circle of no size", R"(<circle cx="200" cy="150" r="0"/>)", {}, {});
    row("refused: an unknown way", R"(<path d="M100,100 L200,100" data-draw="upwards"/>)", {}, {});
}

void tst_Animation::strokeDirection()
{
    QFETCH(QString, shape);
    QFETCH(QPointF, start);
    QFETCH(QPointF, then);
    const QString svg =
        QStringLiteral(R"(<svg xmlns="http://www.w3.org/2000/svg" width="400" height="300" viewBox="0 0 400 300">)"
                       R"(<g id="step1">%1</g><g id="step2"><path d="M20,20 L60,20"/></g>)"
                       R"(<g id="step3"><path d="M20,30 L60,30"/></g><g id="step4"><path d="M20,40 L60,40"/></g>)"
                       R"(<g id="step5"><path d="M20,50 L60,50"/></g><g id="step6"/></svg>)")
            .arg(shape);
    const LessonTools::ExtractedStrokes got = LessonTools::extractStrokes(svg.toUtf8(), QStringLiteral("test.svg"));
    if (start.isNull()) {
        QVERIFY2(!got.problems.isEmpty(), "the source was taken");
        QVERIFY(got.problems.first().contains(QLatin1String("test.svg step1")));
        return;
    }
    QVERIFY2(got.problems.isEmpty(), qPrintable(got.problems.join(u'\n')));
    const QPolygonF &points = got.strokes.shapes.first().paths.first().points;
    QVERIFY2(QLineF(points.first(), start).length() < 1,
             msg("starts at %1,%2", points.first().x(), points.first().y()));
    // The stroke passes the point `then` in its first half.
    double total = 0, nearest = 1e9, reached = -1;
    for (qsizetype i = 1; i < points.size(); ++i) {
        const QLineF segment(points[i - 1], points[i]);
        for (int k = 0; k <= 20; ++k) {
            const double d = QLineF(segment.pointAt(k / 20.0), then).length();
            if (d < nearest) {
                nearest = d;
                reached = total + segment.length() * k / 20.0;
            }
        }
        total += segment.length();
    }
    QVERIFY2(nearest < 3 && reached < total / 2, msg("passes %1 px from it at %2 of %3", nearest, reached, total));
}

void tst_Animation::damagedData()
{
    // Stroke data cut short or with a byte changed anywhere is refused or read as
    // some picture, never read past its end; whole data reads back the same.
    const QByteArray whole = ModResFiles::LoadResData(107, QStringLiteral("STROKES"));
    const auto l = LessonStrokes::decode(whole);
    QVERIFY(l);
    QCOMPARE(l->encode(), whole);
    for (qsizetype n = 0; n < whole.size(); ++n)
        QVERIFY2(!LessonStrokes::decode(whole.left(n)), qPrintable(QString::number(n)));
    QVERIFY(!LessonStrokes::decode(whole + '\0'));
    for (qsizetype i = 0; i < whole.size(); ++i) {
        QByteArray changed = whole;
        changed[i] = char(changed[i] ^ 0xA5);
        const auto read = LessonStrokes::decode(changed);
        if (read) {
            for (const StrokeArea &a : read->areas)
                QVERIFY(a.shape >= 0 && a.shape < read->shapes.size());
            for (int cell = 0; cell < Cells; ++cell)
                frame(StepDrawing(*read, cell), 1000);
        }
    }
}

void tst_Animation::whenItPlays_data()
{
    QTest::addColumn<int>("drawSteps");
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<int>("playing"); // the cell being drawn, or -1
    QTest::addColumn<int>("step");    // StepIndex afterwards
    QTest::addColumn<int>("shows");   // the cell the preview holds, or -1 for a picture

    auto row = [](const char *name, int on, const char *script, int playing, int step, int shows) {
        QTest::newRow(name) << on << QString::fromLatin1(script).split(u' ', Qt::SkipEmptyParts) << playing << step
                            << shows;
    };
    row("next draws the new step", 1, "next", 1, 1, 1);
    row("take this lesson draws step 1", 1, "browse ok", 0, 0, 0);
    row("the last step lays down the colours", 1, "next wait next wait next wait next wait next", 5, 5, 5);
    row("it ends by itself", 1, "next wait", -1, 1, 1);
    row("previous shows its cell at once", 1, "next wait next wait previous", -1, 1, 1);
    row("previous while drawing", 1, "next previous", -1, 0, 0);
    row("next while drawing shows the next cell at once", 1, "next next", -1, 2, 2);
    row("the grid button ends it", 1, "next grid", -1, 1, 1);
    row("the size button ends it", 1, "next size", -1, 1, 1);
    row("browsing ends it", 1, "next browse", -1, 0, 5);
    row("a picture from the file list ends it", 1, "next open pick", -1, 1, -1);
    row("a click draws the step again", 1, "next wait click", 1, 1, 1);
    row("a click while drawing starts it again", 1, "next click", 1, 1, 1);
    row("a drag draws nothing", 1, "next wait drag", -1, 1, 1);
    row("a click while browsing draws nothing", 1, "browse click", -1, 0, 5);
    row("a click with the file list open draws nothing", 1, "open click", -1, 0, 0);
    row("in the small preview too", 1, "size next", 1, 1, 1);
    row("switched off: next", 0, "next", -1, 1, 1);
    row("switched off: take this lesson", 0, "browse ok", -1, 0, 0);
    row("switched off: a click", 0, "click", -1, 0, 0);
    row("switched off: small preview", 0, "size next", -1, 1, 1);
}

void tst_Animation::whenItPlays()
{
    QFETCH(int, drawSteps);
    QFETCH(QStringList, script);
    QFETCH(int, playing);
    QFETCH(int, step);
    QFETCH(int, shows);
    TestEnvironment env;
    SoundOn = False;
    DrawSteps = int16_t(drawSteps);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    PictureFile::makeFolder();
    QVERIFY(picture.save(Paths::picturesFolder() + QStringLiteral("/blue.bmp"), "BMP"));
    frmDraw *w = &frmDraw::instance();
    w->showCentred();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    frmPreview *p = w->preview();
    StrokeAnimation *a = p->strokeAnimation();
    qint64 now = 0;
    a->setClock([&] { return now; });
    const QPoint inPreview(120, 90);
    // The lesson window's buttons by the script's names for them.
    const QHash<QString, int> buttons = {{"previous", 0}, {"browse", 1}, {"next", 2},
                                         {"grid", 3},     {"size", 4},   {"ok", 6}};
    for (const QString &action : std::as_const(script)) {
        if (buttons.contains(action))
            p->vbeButton_Click(buttons.value(action));
        else if (action == u"open")
            p->ShowFilePanel();
        else if (action == u"pick")
            p->filPics->setCurrentRow(0);
        else if (action == u"click") {
            now += 100;
            a->tick();
            QTest::mousePress(p->picPreview, Qt::LeftButton, {}, inPreview);
            QTest::mouseRelease(p->picPreview, Qt::LeftButton, {}, inPreview);
        } else if (action == u"drag") {
            QTest::mousePress(p->picPreview, Qt::LeftButton, {}, inPreview);
            QTest::mouseMove(p->picPreview, inPreview + QPoint(30, 20));
            QTest::mouseRelease(p->picPreview, Qt::LeftButton, {}, inPreview + QPoint(30, 20));
        } else if (action == u"wait") {
            now += StepTiming::StepMs;
            a->tick();
        }
        QCoreApplication::processEvents();
    }
    QCOMPARE(p->StepIndex, step);
    QCOMPARE(a->isPlaying() ? a->drawing()->cell() : -1, playing);
    QCOMPARE(a->isVisible(), playing >= 0);
    if (playing >= 0) {
        QCOMPARE(a->shownAt(), 0);
        const int b = p->picPreview->borderWidth();
        QCOMPARE(a->geometry(), QRect(b, b, p->picPreview->scaleWidth(), p->picPreview->scaleHeight()));
    }
    if (shows >= 0) {
        // The preview holds the cell, at once: beneath a drawing, the one it ends on.
        PictureBox cell;
        cell.setSunkenBorder(true);
        cell.setPixelRatio(p->picPreview->pixelRatio());
        cell.resize(p->picPreview->size());
        cell.paintPicture(p->clpPicture.cell(shows), QRectF(0, 0, cell.scaleWidth(), cell.scaleHeight()));
        QCOMPARE(p->picPreview->image(), cell.image());
    }
    QVERIFY(env.reporter.reports.isEmpty());
    delete w;
}

void tst_Animation::clickReplaysDragMoves()
{
    // The real program under openbox: a click on the preview draws the step
    // again; a drag from the preview moves the window and draws nothing.
    XServer x;
    START_DESKTOP_OR_SKIP(x, QStringLiteral("openbox"));
    ProgramCopy in;
    QVERIFY(in.install());
    // The pen window closed, so that nothing lies over the lesson window.
    QVERIFY(in.writeSettings("[Optionen]\nCShow=0\n"));
    QVERIFY(in.launch(in.environmentOn(x)));
    const QString lessons = x.waitForWindow(QStringLiteral("^Stiftolino lessons$"));
    QVERIFY2(!lessons.isEmpty(), "the lesson window did not appear");
    QRect window;
    QVERIFY(waitFor([&] { return (window = DesktopProbe::geometry(x, lessons)).size() == QSize(440, 420); }));
    // The preview's drawing area on the screen, and what it shows at rest.
    auto preview = [&] {
        const QImage screen = DesktopProbe::screenshot(x);
        return screen.isNull()
                   ? screen
                   : screen.copy(QRect(DesktopProbe::geometry(x, lessons).topLeft() + QPoint(18, 18), QSize(396, 296)));
    };
    // At rest: the same picture on the screen for longer than a pause between strokes.
    QImage rest;
    QElapsedTimer unchanged;
    QVERIFY(waitFor([&] {
        const QImage now = preview();
        if (now.isNull() || now != rest) {
            rest = now;
            unchanged.start();
            return false;
        }
        return unchanged.elapsed() >= 400;
    }));
    if (rest.isNull())
        QSKIP("no screenshots (Debian package imagemagick)");

    const QPoint middle = window.topLeft() + QPoint(18 + 198, 18 + 148);
    x.click(middle);
    QVERIFY2(waitFor([&] { return preview() != rest; }, 3000), "a click did not draw the step again");
    QVERIFY2(waitFor([&] { return preview() == rest; }, StepTiming::StepMs + 3000),
             "the drawing did not end on the cell");
    QCOMPARE(DesktopProbe::geometry(x, lessons).topLeft(), window.topLeft());

    // Leftwards: on this small screen the window starts at its right edge, and
    // the whole preview stays on the screen.
    const QPoint by(-120, 60);
    // True once the window moved and kept its place under the pointer.
    QVERIFY2(x.dragWindow(lessons, middle, middle + by), "the window did not follow a drag from the preview");
    bool drawn = false;
    waitFor([&] { return drawn = preview() != rest; }, 1500);
    QVERIFY2(!drawn, "a drag drew the step again");
}

QTEST_MAIN_WITH_ROLES(tst_Animation, QApplication)
#include "tst_animation.moc"
