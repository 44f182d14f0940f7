// The program on a screen of scale 2 (run with QT_SCALE_FACTOR=2): every window
// shows its artwork from the "@2x" pictures, pixel for pixel, instead of blowing
// up the ordinary ones; the canvas keeps its logical size, so a saved picture is
// the same at any scale; the lesson strips are drawn as they are.
#include "controls/canvas.h"
#include "controls/clicklabel.h"
#include "controls/symbolbutton.h"
#include "controls/ucslider.h"
#include "core/globals.h"
#include "core/resources.h"
#include "draw/frmdraw.h"
#include "pen/frmcolor.h"
#include "picker/frmpreview.h"
#include "picker/gridoverlay.h"
#include "platform/artwork.h"
#include "platform/picturebox.h"
#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QApplication>
#include <QTest>

using namespace Allgemein;

namespace {
QImage art(const QString &path) { return Artwork::read(path).convertToFormat(QImage::Format_RGB32); }

// How many of the sampled pixels of `shown` (device pixels, from `at`) differ from
// those of `source` (from `from`) over a w x h area.
int differences(const QImage &shown, QPoint at, const QImage &source, QPoint from, QSize area)
{
    const QImage a = shown.convertToFormat(QImage::Format_RGB32);
    const QImage b = source.convertToFormat(QImage::Format_RGB32);
    int n = 0;
    for (int y = 0; y < area.height(); y += 3)
        for (int x = 0; x < area.width(); x += 3)
            n += a.pixel(at + QPoint(x, y)) != b.pixel(from + QPoint(x, y));
    return n;
}

// The logical size of a picture made for the screen's scale 2; none when it has
// another scale.
template <class Picture> QSize atScale2(const Picture &p)
{
    return p.devicePixelRatio() == 2.0 ? p.deviceIndependentSize().toSize() : QSize();
}
} // namespace

class tst_HiDpi : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void init()
    {
        m_env.emplace();
        m_env->reporter.fallback = 1;
        SoundOn = False;
        QVERIFY((w = showMainWindow()));
    }
    void cleanup()
    {
        endMainWindow();
        w = nullptr;
        m_env.reset();
    }
    void backgroundsArePixelExact_data();
    void backgroundsArePixelExact();
    void smallPictures();
    void penWindow();
    void canvasKeepsItsLogicalSize();
    void lessonStripsStayAsTheyAre();

private:
    std::optional<TestEnvironment> m_env;
    frmDraw *w = nullptr;
};

void tst_HiDpi::initTestCase()
{
    if (qApp->devicePixelRatio() != 2.0)
        QSKIP("run with QT_SCALE_FACTOR=2 (ctest does)");
    QCOMPARE(Artwork::scale(), 2);
}

void tst_HiDpi::backgroundsArePixelExact_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("main window") << u"main"_qs;
    QTest::newRow("lesson window") << u"lessons"_qs;
}

void tst_HiDpi::backgroundsArePixelExact()
{
    QFETCH(QString, window);
    const bool main = window == QLatin1String("main");
    QImage backdrop = main ? w->backdrop() : w->preview()->backdrop();
    const QImage source = art(main ? u":/art/background@2x.png"_qs : u":/art/picker_bg@2x.png"_qs);
    const QSize logical = main ? w->size() : w->preview()->size();
    QCOMPARE(atScale2(backdrop), logical);
    // The window is its picture's size: the large picture is shown pixel for pixel.
    QCOMPARE(source.size(), logical * 2);
    QCOMPARE(differences(backdrop, QPoint(0, 0), source, QPoint(0, 0), source.size()), 0);

    // The toolbar panel and the lesson window's panels look through to the
    // background: their surfaces hold the large picture's pixels too.
    PictureBox *panel = main ? w->picPanel() : w->preview()->picPanel[0];
    const QImage look = panel->image();
    QCOMPARE(atScale2(look), panel->size());
    const QPoint behind = main ? panel->pos() + QPoint(150, 0) : panel->pos();
    // Inside the panel's drawn frame, away from its buttons' children.
    QCOMPARE(differences(look, QPoint(8, 8), backdrop, (behind + QPoint(4, 4)) * 2, QSize(16, 16)), 0);
}

void tst_HiDpi::smallPictures()
{
    // Logos and flags: pictures of twice the pixels for the same place.
    const QPixmap logo = w->imgLogo(0)->pixmap();
    QCOMPARE(atScale2(logo), QSize(585, 67));
    QCOMPARE(differences(logo.toImage(), {}, art(u":/art/logo0@2x.png"_qs), {}, QSize(1170, 134)), 0);
    for (int digit : {0, 1, 3, 4, 6})
        QCOMPARE(atScale2(w->imgLang(size_t(digit))->pixmap()), QSize(32, 20));
    // A toolbar button draws its symbol from the large icon: the black pixels of
    // the grabbed button are those the 48-pixel icon covers, not a blown-up
    // 24-pixel one.
    SymbolButton *clear = w->vbeButton(0);
    const QImage button = clear->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QCOMPARE(atScale2(button), clear->size());
    const QImage large = Artwork::read(u":/art/icons/clear@2x.png"_qs).convertToFormat(QImage::Format_ARGB32);
    const QImage blown =
        Artwork::read(u":/art/icons/clear.png"_qs).convertToFormat(QImage::Format_ARGB32).scaled(48, 48);
    const QPoint at = QPoint((clear->width() - 24) / 2, (clear->height() - 24) / 2) * 2;
    auto mismatches = [&](const QImage &icon) {
        int n = 0;
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 48; ++x) {
                const bool ink = (button.pixel(at + QPoint(x, y)) & 0xFFFFFF) == 0;
                n += ink != (qAlpha(icon.pixel(x, y)) == 255);
            }
        return n;
    };
    const int sharp = mismatches(large), blurred = mismatches(blown);
    QVERIFY2(sharp * 3 < blurred, qPrintable(u"%1 vs %2"_qs.arg(sharp).arg(blurred)));
    // The preview window's grid lies over the preview in large pixels.
    const GridOverlay *grid = w->preview()->imgGitter;
    QCOMPARE(atScale2(grid->image()), grid->size());
}

void tst_HiDpi::penWindow()
{
    w->showPenWindow();
    frmColor *pen = w->penWindow();
    QVERIFY(pen && QTest::qWaitForWindowExposed(pen));
    QCOMPARE(atScale2(pen->surface()->image()), pen->size());
    QCOMPARE(pen->picCol()->image().devicePixelRatio(), 2.0);
    // The palette still picks the colour under the pointer, in logical pixels.
    QCOMPARE(pen->picCol()->point(30, 30), qint64(art(u":/art/palette.png"_qs).pixel(30, 30) & 0xFFFFFF));
    // The slider is drawn from its large thumb and rail, at its logical size.
    QCOMPARE(atScale2(pen->slider()->surface()), pen->slider()->size());
}

void tst_HiDpi::canvasKeepsItsLogicalSize()
{
    PictureBox *canvas = w->picBild();
    QCOMPARE(canvas->size(), QSize(585, 439));
    QTest::mousePress(canvas, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(canvas, QPoint(300, 200));
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, QPoint(300, 200));
    // What Save writes: one pixel per logical pixel, whatever the screen's scale.
    const QImage picture = canvas->image();
    QCOMPARE(picture.size(), QSize(585, 439));
    QCOMPARE(picture.devicePixelRatio(), 1.0);
    QVERIFY(canvas->point(200, 150) != 0xFFFFFF);
    // Undo and a picture painted in from the lesson window's list keep it so.
    w->vbeButton_Click(1);
    QCOMPARE(canvas->image().size(), QSize(585, 439));
    canvas->paintPicture(art(u":/art/background@2x.png"_qs), QRectF(0, 0, 585, 439));
    QCOMPARE(canvas->image().size(), QSize(585, 439));
    QCOMPARE(canvas->image().devicePixelRatio(), 1.0);
}

void tst_HiDpi::lessonStripsStayAsTheyAre()
{
    const QImage strip = ModResFiles::LoadResPicture(101);
    QCOMPARE(strip.devicePixelRatio(), 1.0);
    QCOMPARE(strip.size(), QSize(400, 1800));
    // The start screen's picture has a large form.
    QCOMPARE(atScale2(ModResFiles::LoadResPicture(100)), QSize(400, 300));
    // The preview draws the step smoothly into a surface of the screen's scale.
    QCOMPARE(atScale2(w->preview()->picPreview->image()), QSize(396, 296));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

QTEST_MAIN(tst_HiDpi)
#include "tst_hidpi.moc"
