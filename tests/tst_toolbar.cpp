// The toolbar end to end. The printer's margins measured on real queues and a
// page printed, both through a print spooler the test starts itself, with the
// cups-pdf driver's PPD as the reference; and the real program under Xvfb and
// openbox: draw, save as "haus", clear, open, pick "haus.bmp", OK, and the
// drawing is back; the sound switch; the pen window closed and brought back.

#include "app/allgemein.h"
#include "controls/canvas.h"
#include "controls/symbolbutton.h"
#include "core/globals.h"
#include "core/settings.h"
#include "draw/frmdraw.h"
#include "picker/previewlayout.h"
#include "platform/picturebox.h"
#include "platform/printer.h"
#include "print/drucker.h"
#include "support/desktopprobe.h"
#include "support/fixtures.h"
#include "support/mainparts.h"
#include "support/printspooler.h"
#include "support/programcopy.h"
#include "support/testsupport.h"
#include "support/waitfor.h"
#include "support/xserver.h"

#include <QFileInfo>
#include <QLabel>
#include <QPrinterInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

#include <optional>

using namespace Allgemein;

namespace {

// Runs a program to its end; its standard output, or nothing when it failed.
std::optional<QByteArray> runTool(const QString &program, const QStringList &args)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return p.readAllStandardOutput();
}

// Pixel by pixel, whatever colour space the two files declare.
bool samePixels(const QImage &a, const QImage &b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF))
                return false;
        }
    }
    return true;
}

// A rectangle in points, for messages.
QString points(const QRectF &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// The cups-pdf driver's PPD with another imageable area on A4 (in points), as
// the file `path`.
bool writeEdgedPpd(const QString &path, const QByteArray &area, const QByteArray &extra = {})
{
    const QByteArray fullPage = "*ImageableArea A4/A4: \"0 0 595 842\"";
    QByteArray text = readFile(PrintSpooler::cupsPdfPpd());
    if (!text.contains(fullPage))
        return false;
    text.replace(fullPage, "*ImageableArea A4/A4: \"" + area + '"');
    text.replace("*DefaultPageSize:", extra + "*DefaultPageSize:");
    return writeFile(path, text);
}

bool isInk(QRgb c) { return qGray(c) < 100; }
bool isRed(QRgb c) { return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90; }

} // namespace

class tst_Toolbar : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init();
    void cleanup();
    void imageableArea_data();
    void imageableArea();
    void printThroughASpooler();
    void drawSaveClearOpenUnderOpenbox();

private:
    std::optional<TestEnvironment> m_env;
    frmDraw *w = nullptr;
    PrintSpooler m_spooler;
    QString m_noSpooler; // why there is none
};

void tst_Toolbar::initTestCase()
{
    // One spooler for the run, before Qt first asks for a printer; this
    // process prints through it.
    m_noSpooler = m_spooler.startForCupsPdf();
}

void tst_Toolbar::init()
{
    m_env.emplace();
    Printing::setPrinterFactory({}); // the spooler's default printer
    SoundOn = False;
}

void tst_Toolbar::cleanup()
{
    endMainWindow();
    w = nullptr;
    ErrorHandling::setReporter(&m_env->reporter);
    m_env.reset();
}

void tst_Toolbar::imageableArea_data()
{
    QTest::addColumn<QString>("queue");
    QTest::addColumn<QByteArray>("area");     // A4's imageable area in the queue's PPD, points
    QTest::addColumn<QList<int>>("expected"); // left, right, top, bottom
    QTest::newRow("cups-pdf, whole page printable") << "cupspdf" << QByteArray("0 0 595 842") << QList<int>{1, 1, 1, 1};
    // Edges of 18 points at the sides, 36 at top and bottom (6.35 and 12.7 mm):
    // the left and top offsets are 75 and 150 dots of 300 per inch, 6 and 13 once
    // divided by 11.8125; the right and bottom are what is left of 210 x 297 mm
    // beside the printable area and the offset, rounded down: 7 and 13. The left
    // and top get one millimetre more.
    QTest::newRow("cups-pdf with an unprintable edge")
        << "edged" << QByteArray("18 36 577 806") << QList<int>{7, 7, 14, 13};
}

// The margins the program measures on the spooler's default printer.
void tst_Toolbar::imageableArea()
{
    QFETCH(QString, queue);
    QFETCH(QByteArray, area);
    QFETCH(QList<int>, expected);
    if (!m_noSpooler.isEmpty())
        QSKIP(qPrintable(m_noSpooler));
    const QString ppd = m_env->folder.filePath(queue + QStringLiteral(".ppd"));
    QVERIFY(writeEdgedPpd(ppd, area));
    QVERIFY2(m_spooler.addQueue(queue, ppd), qPrintable(m_spooler.whyNot()));
    // The queue's paper, as the spooler lists it: A4.
    const QString options =
        m_spooler.run(QStringLiteral("lpoptions"), {QStringLiteral("-p"), queue, QStringLiteral("-l")});
    QVERIFY2(options.contains(
                 QRegularExpression(QStringLiteral("^PageSize/.*\\*A4\\b"), QRegularExpression::MultilineOption)),
             qPrintable(options));

    const auto [l, r, t, b] = Drucker::GetPrinterMargins({-1, -1, -1, -1});
    QCOMPARE((QList<int>{l, r, t, b}), expected);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Toolbar::printThroughASpooler()
{
    if (!m_noSpooler.isEmpty())
        QSKIP(qPrintable(m_noSpooler));
    for (const char *tool : {"pdftotext", "pdftoppm", "pdfinfo"}) {
        if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
            QSKIP("poppler-utils is not installed");
    }
    // The cups-pdf driver's PPD, with an unprintable edge different on every
    // side of A4 (in points: left 17, bottom 23, right 14, top 29), so the
    // picture has a printable area to stay inside; and taking PDF, so the page
    // reaches the file as the PDF the program made, its text still readable
    // (the way through PostScript loses which glyph is which letter).
    const QRectF printablePt(17, 29, 595 - 17 - 14, 842 - 29 - 23);
    const QString edged = m_env->folder.filePath(QStringLiteral("edged.ppd"));
    QVERIFY(writeEdgedPpd(edged, "17 23 581 813", "*cupsFilter2: \"application/vnd.cups-pdf application/pdf 0 -\"\n"));
    QVERIFY(m_spooler.addQueue(QStringLiteral("stiftolino"), edged));
    QVERIFY(!QPrinterInfo::defaultPrinter().isNull());

    // The window measures the margins as it loads; a canvas all blue with a
    // white stroke across.
    QVERIFY((w = showMainWindow()));
    QImage blue(10, 10, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    w->picBild()->paintPicture(blue, QRectF(0, 0, w->picBild()->scaleWidth(), w->picBild()->scaleHeight()));
    QTest::mouseClick(w->vbeButton(5), Qt::LeftButton);
    QVERIFY(m_env->reporter.reports.isEmpty());

    const QString pdf = m_spooler.outputFile(QStringLiteral("stiftolino"));
    QVERIFY2(waitFor(
                 [&] {
                     return QFileInfo(pdf).size() > 0
                            && m_spooler.run(QStringLiteral("lpstat"), {QStringLiteral("-o")}).trimmed().isEmpty();
                 },
                 30000),
             "the job did not come out of the spooler");
    QVERIFY2(readFile(pdf).startsWith("%PDF"), "the queue did not write a PDF");
    // The page's text as pdftotext gives it: laid out, or each word in its box.
    const auto pdftotext = [&](const QString &mode) {
        return QString::fromUtf8(
            runTool(QStringLiteral("pdftotext"), {mode, pdf, QStringLiteral("-")}).value_or(QByteArray()));
    };
    const QString info = QString::fromLatin1(runTool(QStringLiteral("pdfinfo"), {pdf}).value_or(QByteArray()));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
    QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 842"))), qPrintable(info));

    // The title line, whole, in small print at the left margin at the top.
    const QString words = pdftotext(QStringLiteral("-layout"));
    const QString title = AppTitle + QStringLiteral("  |  ") + w->lblCopyright()->text();
    QVERIFY2(words.simplified().contains(title.simplified()), qPrintable(words));
    const QString boxes = pdftotext(QStringLiteral("-bbox"));
    const QRegularExpressionMatch first =
        QRegularExpression(
            QStringLiteral("xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\">Stiftolino<"))
            .match(boxes);
    QVERIFY2(first.hasMatch(), qPrintable(boxes));
    constexpr double PtPerMm = 72 / 25.4;
    const double titleLeft = first.captured(1).toDouble();
    const double titleTop = first.captured(2).toDouble();
    const double titleHeight = first.captured(3).toDouble() - titleTop;
    const auto m = w->printJob().margins();
    const QString margins = QStringLiteral("margins %1 %2 %3 %4").arg(m.left).arg(m.right).arg(m.top).arg(m.bottom);
    const QString titleAt =
        QStringLiteral("title at %1,%2, %3 high; ").arg(titleLeft).arg(titleTop).arg(titleHeight) + margins;
    QVERIFY2(qAbs(titleLeft - (printablePt.left() + m.left * PtPerMm)) < 1.5, qPrintable(titleAt));
    QVERIFY2(titleTop >= printablePt.top() - 0.5 && titleTop < printablePt.top() + 3, qPrintable(titleAt));
    QVERIFY2(titleHeight > 4 && titleHeight < 9, qPrintable(titleAt)); // 6 points

    // The picture: the blue area of the page rendered at 4 pixels a point,
    // inside the printable area (give or take the pixel a renderer may add at
    // an image's edge), starting at the margins, stretched over most of it.
    const QString png = m_env->folder.filePath(QStringLiteral("page"));
    QVERIFY(runTool(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("288"), QStringLiteral("-png"),
                                                 QStringLiteral("-singlefile"), pdf, png}));
    const QImage page(png + QStringLiteral(".png"));
    QCOMPARE(page.size(), QSize(595 * 4, 842 * 4));
    QRect inBlue;
    for (int y = 0; y < page.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(page.constScanLine(y));
        for (int x = 0; x < page.width(); ++x) {
            if (qBlue(line[x]) > 200 && qRed(line[x]) < 60 && qGreen(line[x]) < 60)
                inBlue |= QRect(x, y, 1, 1);
        }
    }
    QVERIFY(!inBlue.isEmpty());
    const QRectF picture(QRectF(inBlue).topLeft() / 4, QRectF(inBlue).size() / 4);
    const QString where =
        QStringLiteral("picture at %1 points, printable %2, ").arg(points(picture), points(printablePt)) + margins;
    QVERIFY2(printablePt.adjusted(-0.25, -0.25, 0.25, 0.25).contains(picture), qPrintable(where));
    QVERIFY2(qAbs(picture.left() - (printablePt.left() + m.left * PtPerMm)) <= 0.5, qPrintable(where));
    QVERIFY2(qAbs(picture.top() - (printablePt.top() + m.top * PtPerMm)) <= 0.5, qPrintable(where));
    QVERIFY2(picture.width() > printablePt.width() * 0.8 && picture.height() > printablePt.height() * 0.8,
             qPrintable(where));
    qInfo("%s", qPrintable(where));
}

void tst_Toolbar::drawSaveClearOpenUnderOpenbox()
{
    if (QStandardPaths::findExecutable(QStringLiteral("import")).isEmpty())
        QSKIP("import is not installed (Debian package imagemagick)");
    XServer x;
    START_DESKTOP_OR_SKIP(x, QStringLiteral("openbox"));

    ProgramCopy in;
    QVERIFY(in.install());
    QVERIFY(in.launch(in.environmentOn(x)));

    const auto grab = [&] { return DesktopProbe::screenshot(x).convertToFormat(QImage::Format_RGB32); };
    const auto click = [&](QPoint p) { x.click(p); };
    const auto shownWindows = [&] { return DesktopProbe::programWindows(x); };
    QString main, lessons, pen;
    QVERIFY2(DesktopProbe::threeWindows(x, main, lessons, pen), "the main, lesson and pen windows did not appear");
    const QPoint origin = x.geometry(main).topLeft();
    const QRect canvas = MainParts::Canvas.translated(origin);
    const QList<QRect> tools = {x.geometry(lessons), x.geometry(pen)};

    // The parts of the canvas no tool window covers, and a point of a toolbar
    // button that none covers (the lesson window may hide part of the toolbar).
    QRegion open(canvas);
    for (const QRect &r : tools)
        open -= r;
    const auto button = [&](int index) {
        QRegion shown(MainParts::button(index).adjusted(4, 4, -4, -4).translated(origin));
        for (const QRect &r : tools)
            shown -= r;
        QRect largest;
        for (const QRect &r : shown) {
            if (r.width() * r.height() > largest.width() * largest.height())
                largest = r;
        }
        return largest.center();
    };
    const auto count = [&](const QImage &shot, const QRegion &where, auto test) {
        int n = 0;
        for (const QRect &r : where) {
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int xx = r.left(); xx <= r.right(); ++xx)
                    n += test(shot.pixel(xx, y));
        }
        return n;
    };
    const auto sameOpenCanvas = [&](const QImage &a, const QImage &b) {
        for (const QRect &r : open) {
            if (a.copy(r) != b.copy(r))
                return false;
        }
        return true;
    };
    const auto white = [](QRgb c) { return (c & 0xFFFFFF) == 0xFFFFFF; };
    QVERIFY2(waitFor([&] { return count(grab(), open, white) > open.boundingRect().width() * 100; }, 10000),
             "the canvas did not come up white");
    // The pen window's close button as it looks on top, before the first click.
    const QImage penClose = grab().copy(QRect(x.geometry(pen).topLeft() + QPoint(580 - 18, 132 - 18), QSize(36, 36)));

    // 1. Draw a zigzag in the lower right of the canvas.
    const QList<QPoint> zigzag = {{300, 300}, {360, 400}, {420, 300}, {480, 400}, {540, 300}};
    x.movePointer(canvas.topLeft() + zigzag[0]);
    x.xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    for (const QPoint &p : zigzag)
        x.movePointer(canvas.topLeft() + p);
    x.xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    QImage drawn;
    QVERIFY2(waitFor([&] { return count(drawn = grab(), open, isInk) > 1000; }, 10000), "the stroke did not show");

    // 2. Save as "haus": the name box, typed into.
    click(button(3));
    const QString nameBox = x.waitForWindow(QStringLiteral("^Bild speichern"), 10000);
    QVERIFY2(!nameBox.isEmpty(), "the name box did not appear");
    x.xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), nameBox});
    x.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("haus")});
    x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    const QString saved = in.dir.filePath(QStringLiteral("pics/haus.bmp"));
    QVERIFY2(waitFor([&] { return QFileInfo(saved).size() > 585 * 439 * 3; }, 10000), "haus.bmp was not saved");
    QVERIFY2(waitFor([&] { return !shownWindows().contains(nameBox); }, 10000), "the name box stayed");
    // The file holds what the screen shows.
    drawn = grab();
    const QImage file = QImage(saved).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(file.size(), MainParts::Canvas.size());
    for (const QRect &r : open)
        QVERIFY(samePixels(file.copy(r.translated(-canvas.topLeft())), drawn.copy(r)));

    // 3. Clear: the open canvas is all white.
    click(button(0));
    QVERIFY2(waitFor([&] { return count(grab(), open, isInk) == 0; }, 10000), "Clear left ink");

    // 4. Open: the lesson window shows its list of saved pictures; 5. pick
    // "haus.bmp", the first and only one; 6. OK.
    const QRect lr = x.geometry(lessons);
    const QPoint filePanel =
        lr.topLeft()
        + PreviewLayout::panelPos(lr.width(), PreviewLayout::PanelSizes[2], PreviewLayout::previewSize(true));
    const QRect list(filePanel + QPoint(16, 8), QSize(153, 84));
    const QImage beforeOpen = grab();
    click(button(2));
    QVERIFY2(waitFor([&] { return grab().copy(list) != beforeOpen.copy(list); }, 10000), "no list of pictures");
    click(list.topLeft() + QPoint(40, 10));
    const QRect preview(lr.topLeft() + PreviewLayout::PreviewPos, PreviewLayout::previewSize(true));
    QVERIFY2(waitFor([&] { return count(grab(), QRegion(preview), isInk) > 100; }, 10000),
             "the picked picture did not show in the lesson window");
    QCOMPARE(count(grab(), open, isInk), 0); // the canvas waits for OK
    click(filePanel + QPoint(192 + 22, 56 + 16));
    QVERIFY2(waitFor([&] { return sameOpenCanvas(grab(), drawn); }, 10000), "the drawing did not come back");

    // The sound switch: red while off, black again when on.
    const QRect soundButton = MainParts::button(6).adjusted(4, 4, -4, -4).translated(origin);
    QCOMPARE(count(grab(), QRegion(soundButton), isRed), 0);
    click(button(6));
    QVERIFY2(waitFor([&] { return count(grab(), QRegion(soundButton), isRed) > 20; }, 10000),
             "the sound button is not red");
    click(button(6));
    QVERIFY2(waitFor([&] { return count(grab(), QRegion(soundButton), isRed) == 0; }, 10000),
             "the sound button stays red");

    // The pen window: brought forward through the toolbar (it may have gone
    // behind the main window), closed by its own button, back through the toolbar.
    const QRect pr = x.geometry(pen);
    const QPoint closeButton = pr.topLeft() + QPoint(580, 132);
    const QRect closeLook(closeButton - QPoint(18, 18), QSize(36, 36));
    click(button(4));
    QVERIFY2(waitFor([&] { return samePixels(grab().copy(closeLook), penClose); }, 10000),
             "the pen window did not come forward");
    click(closeButton);
    QVERIFY2(waitFor([&] { return !shownWindows().contains(pen); }, 10000), "the pen window did not close");
    click(button(4));
    QVERIFY2(waitFor([&] { return shownWindows().contains(pen); }, 10000), "the pen window did not come back");
    QCOMPARE(x.geometry(pen).topLeft(), pr.topLeft());
    QCOMPARE(in.app.state(), QProcess::Running);
}

QTEST_MAIN(tst_Toolbar)
#include "tst_toolbar.moc"
