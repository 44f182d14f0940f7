// The pen window: its place, its background, the colour pick and the width
// slider reaching the canvas, closing and remembering its place, and dragging
// it, within reach of the screen, under a real X server too.

#define QTEST_QPA_MOUSE_HANDLING

#include "controls/canvas.h"
#include "controls/sliderart.h"
#include "controls/symbolbutton.h"
#include "controls/ucslider.h"
#include "core/colors.h"
#include "core/globals.h"
#include "core/resources.h"
#include "core/settings.h"
#include "core/sound.h"
#include "pen/frmcolor.h"
#include "pen/penart.h"
#include "pen/penplace.h"
#include "platform/twips.h"
#include "support/childrole.h"
#include "support/desktopprobe.h"
#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QCloseEvent>
#include <QLabel>

#include "support/waitfor.h"
#include "support/xserver.h"
#include <QScreen>
#include <QtTest>

using namespace Allgemein;

namespace {

QColor swatch(const frmColor &w) { return w.lblFCol()->palette().color(QPalette::Window); }

// Whether sound `number` was started: with the sounds built in it is the one
// loaded last; without them the player reports the missing resource.
bool soundPlayed(const ScriptedReporter &reporter, int number)
{
    return reporter.reports.isEmpty() && SoundBuffer == ModResFiles::LoadResData(number, u"WAV"_qs);
}

// A place stored in the settings, the errors it makes, and the window's place
// in pixels.
struct Stored {
    QString left, top;
    QStringList said;
    QPoint pixels;
};

} // namespace

class tst_Pen : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_env.emplace();
        SoundOn = False; // a test of the sounds switches them on
        SoundBuffer.clear();
    }
    void cleanup() { m_env.reset(); }

    // ---- plain numbers ----
    void defaultPlace_data();
    void defaultPlace();
    void pixelsFromTwips_data();
    void pixelsFromTwips();
    void colors_data();
    void colors();
    void plainPalette();

    // ---- the window ----
    void parts();
    void firstShowing();
    void storedPlace_data();
    void storedPlace();
    void storedWidth_data();
    void storedWidth();
    void outline_data();
    void outline();
    void pickColor_data();
    void pickColor();
    void dragWidth();
    void moveByHand();
    void closeAndShowAgain();
    void closing_data();
    void closing();

    // ---- under a real X server, driven by xdotool ----
    void underX11_data();
    void underX11();

private:
    std::optional<TestEnvironment> m_env;
};

// ---------------------------------------------------------------------------

void tst_Pen::defaultPlace_data()
{
    QTest::addColumn<int>("screenPixels");
    QTest::addColumn<QPoint>("place");
    // (15360 - 9390) x 0.8 = 4776; 2535 x 0.5 = 1267.5, which rounds to the even 1268.
    QTest::newRow("1024 pixels") << 1024 << QPoint(4776, 1268);
    QTest::newRow("1280 pixels") << 1280 << QPoint(7848, 1268);
    // 800 pixels, the test screen's: firstShowing().
    QTest::newRow("screen narrower than the window") << 600 << QPoint(-312, 1268);
}

void tst_Pen::defaultPlace()
{
    QFETCH(int, screenPixels);
    QFETCH(QPoint, place);
    QCOMPARE(PenPlace::defaultPlace(screenPixels * 15, 9390, 2535), place);
}

void tst_Pen::pixelsFromTwips_data()
{
    QTest::addColumn<int>("twips");
    QTest::addColumn<int>("perPixel");
    QTest::addColumn<int>("pixels");
    QTest::newRow("4776") << 4776 << 15 << 318;
    QTest::newRow("1268") << 1268 << 15 << 85;
    QTest::newRow("half down to even") << 6 << 12 << 0;
    QTest::newRow("half up to even") << 18 << 12 << 2;
    QTest::newRow("negative") << -3000 << 15 << -200;
    QTest::newRow("far off the screen") << 2000000000 << 15 << 133333333;
    QTest::newRow("one twip per pixel") << 4776 << 1 << 4776;
    QTest::newRow("no twips per pixel: 15") << 3000 << 0 << 200;
    QTest::newRow("negative twips per pixel: 15") << 3000 << -1 << 200;
}

void tst_Pen::pixelsFromTwips()
{
    QFETCH(int, twips);
    QFETCH(int, perPixel);
    QFETCH(int, pixels);
    QCOMPARE(Twips::toPixels(twips, perPixel), pixels);
}

void tst_Pen::colors_data()
{
    QTest::addColumn<uint>("stored");
    QTest::addColumn<QColor>("color");
    QTest::newRow("black") << 0u << QColor(0, 0, 0);
    QTest::newRow("red in the low byte") << 0x0000FFu << QColor(255, 0, 0);
    QTest::newRow("blue in the high byte") << 0xFF0000u << QColor(0, 0, 255);
    QTest::newRow("sand") << 0x0078BFDEu << QColor(222, 191, 120);
    QTest::newRow("dark outline") << 0x004040u << QColor(64, 64, 0);
}

void tst_Pen::colors()
{
    QFETCH(uint, stored);
    QFETCH(QColor, color);
    QCOMPARE(OleColor::toColor(stored), color);
    QCOMPARE(OleColor::fromColor(color), stored);
    QCOMPARE(OleColor::fromPixel(color.rgb()), stored);
    QCOMPARE(OleColor::toColor(OleColor::ButtonFace), QGuiApplication::palette().color(QPalette::Button));
}

void tst_Pen::plainPalette()
{
    // The stand-in palette keeps the arrangement: greys first, then hues from
    // red to magenta, light at the top and dark at the bottom.
    const QImage p = PenArt::plainPalette();
    QCOMPARE(p.size(), QSize(475, 132));
    QCOMPARE(p.pixelColor(5, 5), QColor(Qt::white));
    QCOMPARE(p.pixelColor(24, 128), QColor(Qt::black));
    const QColor red = p.pixelColor(40, 60);
    QVERIFY(red.red() > 200 && red.green() < 60 && red.blue() < 60);
    const QColor magenta = p.pixelColor(470, 60);
    QVERIFY(magenta.red() > 200 && magenta.blue() > 200 && magenta.green() < 60);
    QVERIFY(p.pixelColor(40, 5).lightness() > p.pixelColor(40, 128).lightness());
    QCOMPARE(PenArt::plainBackground().size(), QSize(609, 239));
    QCOMPARE(SliderArt::plainThumb().size(), QSize(16, 16));
    QCOMPARE(SliderArt::plainRail().size(), QSize(18, 133));
    // The palette itself, 475 x 132: parts().
}

// ---------------------------------------------------------------------------

void tst_Pen::parts()
{
    PenWindowFixture f;
    frmColor &w = f.pen;
    QCOMPARE(w.size(), QSize(626, 169));
    QVERIFY(w.windowFlags() & Qt::Tool);
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w.parentWidget(), &f.window);
    QCOMPARE(w.picCol()->geometry(), QRect(24, 16, 479, 136));
    QCOMPARE(QSize(w.picCol()->scaleWidth(), w.picCol()->scaleHeight()), QSize(475, 132));
    QCOMPARE(w.picCol()->toolTip(), u"Color Palette"_qs);
    QCOMPARE(w.lblWidth()->geometry(), QRect(560, 16, 40, 25));
    QVERIFY(w.lblWidth()->font().bold());
    QCOMPARE(w.lblWidth()->font().pointSize(), 12);
    QCOMPARE(QFontInfo(w.lblWidth()->font()).family(), w.lblWidth()->font().family());
    QCOMPARE(w.lblFCol()->geometry(), QRect(560, 48, 40, 41));
    QCOMPARE(w.vbeButton()->geometry(), QRect(560, 112, 40, 40));

    QCOMPARE(w.slider()->geometry(), QRect(520, 16, 18, 137));
    comparePenSlider(*w.slider());
    QVERIFY(m_env->reporter.reports.isEmpty());
    // A window that was never opened this run read no place, so it stores none.
    w.Form_Unload();
    w.close();
    QVERIFY(m_env->settings.writes.isEmpty());
}

void tst_Pen::firstShowing()
{
    SoundOn = True;
    PenColor = int32_t(OleColor::rgb(10, 200, 30));
    PenWindowFixture f;
    frmColor &w = f.pen;
    QVERIFY(!w.isLoaded());
    w.ShowOwned();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.isLoaded());
    QVERIFY(soundPlayed(m_env->reporter, 106));
    QCOMPARE(swatch(w), QColor(10, 200, 30));
    // No stored place: the default one, from the screen's free width (800
    // pixels: 2088 and 1268 twips).
    QCOMPARE(w.pos(), QPoint(139, 85));
    QCOMPARE(w.placeTwips(), QPoint(2088, 1268));
    for (const auto &r : m_env->reporter.reports)
        QCOMPARE(r.procedure, u"PlayWAV"_qs); // only a missing sound, if any
}

void tst_Pen::storedPlace_data()
{
    // What the settings hold, the errors reported (each answered Ignore), and the
    // place: either coordinate may be the default one (139, 85).
    QTest::addColumn<Stored>("row");
    QTest::newRow("on the screen") << Stored{"3000", "450", {}, {200, 30}};
    QTest::newRow("a fraction as saved") << Stored{"4995.5", "660", {}, {333, 44}};
    // A stored place is used as found while 48 pixels of the window's width and
    // height are on the screen (800 x 800), and brought back so far otherwise.
    QTest::newRow("48 x 48 left at the top left") << Stored{"-8670", "-1815", {}, {-578, -121}};
    QTest::newRow("48 x 48 left at the bottom right") << Stored{"11280", "11280", {}, {752, 752}};
    QTest::newRow("a corner of 24 x 28 left: brought back") << Stored{"11640", "11580", {}, {752, 752}};
    QTest::newRow("far below: brought back") << Stored{"-3000", "99990", {}, {-200, 752}};
    QTest::newRow("far to the left: brought back") << Stored{"-30000", "450", {}, {-578, 30}};
    QTest::newRow("left not a number") << Stored{"links", "450", {"frmColor.Form_Load 60: 13"}, {139, 30}};
    QTest::newRow("top not a number") << Stored{"3000", "", {"frmColor.Form_Load 70: 13"}, {200, 85}};
    QTest::newRow("left beyond 32 bits") << Stored{"1e12", "450", {"frmColor.Form_Load 60: 6"}, {139, 30}};
}

void tst_Pen::storedPlace()
{
    QFETCH(Stored, row);
    m_env->reporter.fallback = 1; // Ignore
    SaveSetting(Key::PenWindowLeft, row.left);
    SaveSetting(u"cTOP"_qs, row.top); // keys are not case-sensitive
    PenWindowFixture f;
    QVERIFY(f.show());
    frmColor &w = f.pen;
    QCOMPARE(f.window.screen()->availableGeometry(), QRect(0, 0, 800, 800));
    QCOMPARE(m_env->reporter.said(), row.said);
    QCOMPARE(w.pos(), row.pixels);
    QVERIFY(w.isVisible());
}

void tst_Pen::storedWidth_data()
{
    // The width stored, the answer to the slider's report, and the slider's
    // value after it; the pen keeps the width stored and the label shows it.
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("sliderValue");
    QTest::addColumn<int>("reports");
    QTest::newRow("in range") << 12 << 2 << 12 << 0;
    QTest::newRow("the slider's own value") << 5 << 2 << 5 << 0;
    QTest::newRow("too wide, ignore") << 99 << 1 << 99 << 1;
    QTest::newRow("too wide, cancel") << 99 << 2 << 5 << 1;
    QTest::newRow("zero, ignore") << 0 << 1 << 0 << 1;
    QTest::newRow("negative, retry then cancel") << -4 << 0 << 5 << 2;
}

void tst_Pen::storedWidth()
{
    QFETCH(int, width);
    QFETCH(int, answer);
    QFETCH(int, sliderValue);
    QFETCH(int, reports);
    PenWidth = int16_t(width);
    m_env->reporter.answers = {answer}; // then Cancel, the fallback
    PenWindowFixture f;
    QVERIFY(f.show());
    frmColor &w = f.pen;
    // Reported by the slider itself, not by the window.
    QCOMPARE(m_env->reporter.said(), QStringList(reports, u"ucSlider.Value 10: 380"_qs));
    QCOMPARE(w.slider()->Value(), sliderValue);
    QCOMPARE(int(PenWidth), width);
    QCOMPARE(w.lblWidth()->text(), QString::number(width));
    // The canvas draws with the program's pen, at least a pixel wide, whatever
    // the slider reported.
    QCOMPARE(f.canvas->drawWidth(), qMax(1, width));
}

void tst_Pen::outline_data()
{
    QTest::addColumn<QPoint>("at");
    QTest::addColumn<QColor>("color");
    const QColor dark(64, 64, 0), white(255, 255, 255);
    QTest::newRow("dark top left") << QPoint(519, 15) << dark;
    QTest::newRow("dark top right") << QPoint(539, 15) << dark;
    QTest::newRow("dark bottom left") << QPoint(519, 154) << dark;
    QTest::newRow("dark bottom right") << QPoint(539, 154) << dark;
    QTest::newRow("dark left edge") << QPoint(519, 80) << dark;
    QTest::newRow("dark bottom edge") << QPoint(530, 154) << dark;
    QTest::newRow("white top left") << QPoint(518, 14) << white;
    QTest::newRow("white top right") << QPoint(538, 14) << white;
    QTest::newRow("white bottom left") << QPoint(518, 153) << white;
    QTest::newRow("white bottom right") << QPoint(538, 153) << white;
    QTest::newRow("white over the dark top") << QPoint(538, 15) << white;
    QTest::newRow("white right edge") << QPoint(538, 80) << white;
}

void tst_Pen::outline()
{
    QFETCH(QPoint, at);
    QFETCH(QColor, color);
    PenWindowFixture f;
    QVERIFY(f.show());
    frmColor &w = f.pen;
    const QImage &bg = w.surface()->image();
    QCOMPARE(bg.size(), QSize(626, 169));
    QCOMPARE(bg.pixelColor(at), color);
    // Inside the frame and away from it, the background picture shows.
    const QImage picture = PenArt::background().scaled(626, 169);
    QVERIFY(qAbs(bg.pixelColor(300, 160).lightness() - picture.pixelColor(300, 160).lightness()) < 12);
    // The window shows it too.
    const QImage shown = w.grab().toImage();
    QCOMPARE(shown.pixelColor(at), color);
}

void tst_Pen::pickColor_data()
{
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::addColumn<QPoint>("at");  // in the palette picture's pixels (475 x 132)
    QTest::addColumn<bool>("picks"); // else on the border, which keeps the colour
    QTest::newRow("left, grey column") << Qt::LeftButton << QPoint(5, 40) << true;
    QTest::newRow("right, hue column") << Qt::RightButton << QPoint(200, 50) << true;
    QTest::newRow("middle, dark corner") << Qt::MiddleButton << QPoint(474, 131) << true;
    QTest::newRow("left, first pixel") << Qt::LeftButton << QPoint(0, 0) << true;
    QTest::newRow("left, the black cell") << Qt::LeftButton << QPoint(25, 120) << true;
    // (0, 0) would mean the middle to QTest; (1, 1) is on the border too, and
    // so is the first pixel past the palette's far corner.
    QTest::newRow("border, top left") << Qt::LeftButton << QPoint(-1, -1) << false;
    QTest::newRow("border, past the far corner") << Qt::LeftButton << QPoint(475, 132) << false;
    QTest::newRow("border, right") << Qt::LeftButton << QPoint(475, 48) << false;
    QTest::newRow("border, bottom") << Qt::LeftButton << QPoint(48, 132) << false;
}

void tst_Pen::pickColor()
{
    QFETCH(Qt::MouseButton, button);
    QFETCH(QPoint, at);
    QFETCH(bool, picks);
    PenWindowFixture f;
    f.canvas->setDrawWidth(4);
    QVERIFY(f.show());
    frmColor &w = f.pen;
    // A stroke before the pick, in black.
    f.canvas->line(QPointF(10, 20), QPointF(60, 20));

    const QColor expected = picks ? QColor::fromRgb(QRgb(w.picCol()->point(at.x(), at.y()))) : QColor(1, 2, 3);
    PenColor = int32_t(OleColor::rgb(1, 2, 3)); // so that picking black shows
    const QPoint border(2, 2);
    QTest::mousePress(w.picCol(), button, {}, at + border);
    QCOMPARE(PenColor, int32_t(OleColor::fromColor(expected)));
    QCOMPARE(swatch(w), expected);
    QCOMPARE(f.canvas->foreColor(), expected);
    QTest::mouseRelease(w.picCol(), button, {}, at + border);
    QVERIFY(!w.isMovingByHand());

    // The next stroke uses the colour; the earlier one keeps its own.
    f.canvas->line(QPointF(10, 60), QPointF(60, 60));
    QCOMPARE(f.canvas->image().pixelColor(35, 60), expected);
    QCOMPARE(f.canvas->image().pixelColor(35, 20), QColor(Qt::black));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Pen::dragWidth()
{
    PenWindowFixture f;
    QVERIFY(f.show());
    frmColor &w = f.pen;
    ucSlider *s = w.slider();
    QCOMPARE(s->Value(), 5);

    // What the slider reports on the way, and what the canvas has at that moment.
    QList<int> values, widths;
    QStringList labels;
    connect(s, &ucSlider::ValueChanged, this, [&] {
        values << s->Value();
        widths << f.canvas->drawWidth();
        labels << w.lblWidth()->text();
    });
    // Grab the thumb and pull it up a pixel at a time until it shows 12.
    const int grabY = int(s->thumbRect().top()) + 4;
    QTest::mousePress(s, Qt::LeftButton, {}, QPoint(8, grabY));
    const int redraws = s->refreshCount();
    int moves = 0;
    for (int y = grabY - 1; y > 0 && s->Value() < 12; --y, ++moves)
        QTest::mouseMove(s, QPoint(8, y));
    QTest::mouseRelease(s, Qt::LeftButton, {}, QPoint(8, int(s->thumbRect().top()) + 4));

    // Every value on the way, once, and the slider drawn again only for a new
    // one: fewer times than the pointer moved.
    QCOMPARE(values, (QList<int>{6, 7, 8, 9, 10, 11, 12}));
    QCOMPARE(s->refreshCount() - redraws, values.size());
    QVERIFY(values.size() < moves);
    QCOMPARE(widths, values);
    QCOMPARE(labels, (QStringList{"6", "7", "8", "9", "10", "11", "12"}));
    QCOMPARE(PenWidth, 12);
    // The next stroke is 12 pixels wide.
    f.canvas->line(QPointF(100, 100), QPointF(200, 100));
    QCOMPARE(f.canvas->image().pixelColor(150, 95), QColor(Qt::black));
    QCOMPARE(f.canvas->image().pixelColor(150, 92), QColor(Qt::white));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Pen::moveByHand()
{
    // Without a window manager (here: no window system at all) the window
    // follows the pointer by hand once it has gone the drag distance with the
    // button down, until the button is released.
    PenWindowFixture f;
    QVERIFY(f.show(QPoint(1500, 1500)));
    frmColor &w = f.pen;
    QCOMPARE(w.pos(), QPoint(100, 100));
    const int distance = QApplication::startDragDistance();

    // On the background, left of the palette: a press, and a wobble within
    // the drag distance, move nothing.
    QTest::mousePress(&w, Qt::LeftButton, {}, QPoint(10, 160));
    QTest::mouseMove(&w, QPoint(10 + distance - 1, 160));
    QVERIFY(!w.isMovingByHand());
    QCOMPARE(w.pos(), QPoint(100, 100));
    // Past it the window follows, as grabbed at the press.
    QTest::mouseMove(&w, QPoint(60, 150));
    QVERIFY(w.isMovingByHand());
    QCOMPARE(w.pos(), QPoint(150, 90));
    QTest::mouseRelease(&w, Qt::LeftButton, {}, QPoint(10, 160));
    QVERIFY(!w.isMovingByHand());
    QCOMPARE(w.pos(), QPoint(150, 90));

    // A tap (a press and a release in one place) is a click: the pointer moves
    // on alone afterwards.
    QTest::mouseClick(&w, Qt::LeftButton, {}, QPoint(10, 160));
    QTest::mouseMove(&w, QPoint(80, 100));
    QVERIFY(!w.isMovingByHand());
    QCOMPARE(w.pos(), QPoint(150, 90));

    // The palette picks and then moves the window the same way, with any button.
    const QPoint press = w.picCol()->mapToGlobal(QPoint(100, 100));
    const auto pointTo = [&](QPoint global) { QTest::mouseMove(w.picCol(), w.picCol()->mapFromGlobal(global)); };
    QTest::mousePress(w.picCol(), Qt::RightButton, {}, QPoint(100, 100));
    pointTo(press + QPoint(-20, 10));
    QVERIFY(w.isMovingByHand());
    QCOMPARE(w.pos(), QPoint(130, 100));
    // Dragged off the screen (800 x 800), 48 pixels of its width and height stay.
    pointTo(QPoint(2000, 1000));
    QCOMPARE(w.pos(), QPoint(752, 752));
    pointTo(QPoint(-2000, -1000));
    QCOMPARE(w.pos(), QPoint(48 - 626, 48 - 169));
    // Back under the pointer as grabbed.
    pointTo(press + QPoint(-20, 10));
    QCOMPARE(w.pos(), QPoint(130, 100));
    QTest::mouseRelease(w.picCol(), Qt::RightButton, {}, QPoint(100, 100));
    QVERIFY(!w.isMovingByHand());

    // The labels and the slider do not move the window.
    QTest::mousePress(w.lblWidth(), Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(w.lblWidth(), QPoint(45, 45));
    QVERIFY(!w.isMovingByHand());
    QTest::mouseRelease(w.lblWidth(), Qt::LeftButton, {}, QPoint(45, 45));
    QTest::mousePress(w.slider(), Qt::LeftButton, {}, QPoint(8, 116));
    QVERIFY(!w.isMovingByHand());
    QTest::mouseRelease(w.slider(), Qt::LeftButton, {}, QPoint(8, 116));
    QCOMPARE(w.pos(), QPoint(130, 100));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Pen::closeAndShowAgain()
{
    SoundOn = True;
    PenWindowFixture f;
    QVERIFY(f.show(QPoint(1500, 750)));
    frmColor &w = f.pen;
    w.move(250, 70);

    QTest::mouseClick(w.vbeButton(), Qt::LeftButton);
    QVERIFY(!w.isVisible());
    QCOMPARE(PenWindowShown, False);
    QVERIFY(soundPlayed(m_env->reporter, 105));

    // Shown again: no second load (no sound 106, no new reading of the place).
    m_env->reporter.reports.clear();
    SoundBuffer.clear();
    SaveSetting(Key::PenWindowLeft, u"0"_qs);
    PenWidth = 9;
    w.ShowOwned();
    QVERIFY(w.isVisible());
    QVERIFY(!soundPlayed(m_env->reporter, 106));
    QCOMPARE(w.pos(), QPoint(250, 70));
    QCOMPARE(w.slider()->Value(), 5);
    // Showing it while it is open only brings it forward.
    w.ShowOwned();
    QCOMPARE(w.pos(), QPoint(250, 70));
}

void tst_Pen::closing_data()
{
    QTest::addColumn<bool>("byWindowSystem");
    QTest::newRow("by the window system: not opened at the next start") << true;
    QTest::newRow("by the program: opened again at the next start") << false;
}

void tst_Pen::closing()
{
    // The close event as the window system or the program sends it.
    struct PenWindow : frmColor {
        using frmColor::closeEvent;
        using frmColor::frmColor;
    };
    QFETCH(bool, byWindowSystem);
    PenWindowFixture<PenWindow> f;
    QVERIFY(f.show());
    PenWindow &w = f.pen;
    w.move(250, 70);
    QCOMPARE(PenWindowShown, True);
    m_env->settings.writes.clear();
    QCloseEvent close;
    if (byWindowSystem)
        QSpontaneKeyEvent::setSpontaneous(&close);
    w.closeEvent(&close);
    QVERIFY(close.isAccepted());
    QCOMPARE(PenWindowShown, byWindowSystem ? False : True);
    // Either way the place is kept, and nothing else; the next start opens the
    // window there.
    QCOMPARE(m_env->settings.writes, (QStringList{"Optionen/CLeft=3750", "Optionen/CTop=1050"}));
    frmColor next(&f.window);
    next.ShowOwned();
    QCOMPARE(next.pos(), QPoint(250, 70));
    QCOMPARE(next.placeTwips(), QPoint(3750, 1050));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

// ---------------------------------------------------------------------------
// Under a real X server. The test starts Xvfb (and, for the second row, the
// openbox window manager), then runs this same program as a child on that
// display. The child opens the pen window, drives the pointer with xdotool and
// prints what happened, one "key value..." line each; the test checks the lines.
// (The place found again after a restart under a real X server: the lesson
// window's in tst_windowing, which keeps it as the pen window does.)

namespace {

void say(const QString &line) { ChildRole::say(line.toUtf8()); }

// The child, on the display of its environment.
int x11Child(int argc, char **argv, const QStringList &)
{
    QApplication app(argc, argv);
    MemorySettingsBackend store;
    ScriptedReporter reporter; // answers Cancel; the errors are said at the end
    ResetGlobals();
    ErrorHandling::setReporter(&reporter);
    SetSettingsBackend(&store);
    SoundOn = False;

    PenWindowFixture f;
    frmColor &w = f.pen;
    const XServer x(qEnvironmentVariable("DISPLAY"));
    OwnPointer pointer(x);
    if (!f.show()) {
        say(u"not-exposed"_qs);
        return 1;
    }
    // The window as the X server knows it.
    const QString id = QString::number(w.winId());
    const auto serverPos = [&] { return x.geometry(id).topLeft(); };
    // A window manager may still place the window after it is exposed: wait
    // until it stands where it was asked to.
    const QPoint asked(Twips::toPixels(w.placeTwips().x(), 15), Twips::toPixels(w.placeTwips().y(), 15));
    waitFor([&] { return w.pos() == asked; }, 3000);
    say(u"shown %1 %2"_qs.arg(w.x()).arg(w.y()));

    // A press on the palette picks the colour for the canvas.
    const QPoint inPalette(200, 50);
    const uint32_t expected = OleColor::fromPixel(uint32_t(w.picCol()->point(inPalette.x(), inPalette.y())));
    const auto pick = [&] {
        pointer.moveTo(w.picCol()->mapToGlobal(inPalette + QPoint(2, 2)));
        pointer.press();
        pointer.release();
        return waitFor([&] { return uint32_t(PenColor) == expected; }, 2000);
    };
    pick();
    say(u"color %1 %2 %3"_qs.arg(uint32_t(PenColor) == expected ? "same" : "different")
            .arg(OleColor::fromColor(f.canvas->foreColor()) == expected ? "same" : "different")
            .arg(QString::number(expected, 16)));

    // Pull the slider's thumb up: each whole value reaches the canvas.
    QStringList steps;
    QObject::connect(w.slider(), &ucSlider::ValueChanged, &w,
                     [&] { steps << u"%1:%2"_qs.arg(w.slider()->Value()).arg(f.canvas->drawWidth()); });
    const QPoint thumb = w.slider()->mapToGlobal(QPoint(8, int(w.slider()->thumbRect().top()) + 8));
    pointer.moveTo(thumb);
    pointer.press();
    for (int i = 1; i <= 12; ++i)
        pointer.moveTo(thumb - QPoint(0, 2 * i));
    pointer.release();
    say(u"width %1 %2 %3"_qs.arg(PenWidth).arg(f.canvas->drawWidth()).arg(steps.join(u',')));

    // Drag the window by its background, 100 pixels left and 50 down: it keeps
    // its place under the pointer as grabbed, and the release ends the move
    // where it is. The program moves it itself, under a window manager too:
    // it is moving by hand when it first leaves its place.
    const QPoint start = w.pos();
    std::optional<bool> byHand;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, &w, [&] {
        if (!byHand && w.pos() != start)
            byHand = w.isMovingByHand();
    });
    look.start(1);
    const QPoint grip = w.mapToGlobal(QPoint(10, 160));
    const bool followed = x.dragWindow(id, grip, grip + QPoint(-100, 50));
    look.stop();
    const QPoint dropped = serverPos();
    waitFor([&] { return !w.isMovingByHand() && w.pos() == serverPos(); }, 3000);
    say(u"following %1"_qs.arg(byHand.value_or(false) ? "yes" : "no"));
    say(u"dragged %1 %2"_qs.arg(followed ? "followed" : "lost", w.pos() == dropped ? "stays" : "moves"));
    say(u"hand-after-release %1"_qs.arg(w.isMovingByHand() ? "yes" : "no"));

    // A press on the palette after the move still picks.
    PenColor = 0;
    say(u"pickagain %1"_qs.arg(pick() ? "same" : "different"));

    // Grabbed at its left edge and dragged into the bottom right corner of the
    // screen, it goes along past the right edge, and at least 48 pixels of its
    // width and height stay on the screen, while it is dragged and once it is let go.
    const QRect screen = w.screen()->geometry();
    QRect seen;
    const auto inReach = [&] {
        const QRect shown = (seen = DesktopProbe::geometry(x, id)).intersected(screen);
        return shown.width() >= 48 && shown.height() >= 48;
    };
    const QPoint edge = w.mapToGlobal(QPoint(8, 150));
    bool kept = x.movePointer(edge);
    x.xdotool({u"mousedown"_qs, u"1"_qs});
    for (int i = 1; i <= 20; ++i)
        kept = x.movePointer(edge + (screen.bottomRight() - edge) * i / 20) && inReach() && kept;
    const bool along = waitFor([&] { return DesktopProbe::geometry(x, id).right() > screen.right(); }, 5000);
    x.xdotool({u"mouseup"_qs, u"1"_qs});
    const bool lost = waitFor([&] { return !inReach(); }, 1500);
    const QString at = QString::number(seen.x()) + u',' + QString::number(seen.y());
    say(u"corner %1 %2 %3"_qs.arg(kept && along ? "kept" : "lost", lost ? "gone" : "stays", at));
    for (const QString &error : reporter.said())
        say(u"error "_qs + error);
    return 0;
}

// Runs the child; returns its lines keyed by their first word.
QMap<QString, QStringList> runChild(const XServer &x)
{
    const ChildRole::Ended child = ChildRole::run(u"x11"_qs, {}, x.environment());
    QMap<QString, QStringList> lines;
    for (const QByteArray &l : child.out.split('\n')) {
        QStringList words = QString::fromUtf8(l).split(u' ', Qt::SkipEmptyParts);
        if (!words.isEmpty())
            lines.insert(words.takeFirst(), words);
    }
    if (!child.ok())
        lines.insert(u"failed"_qs, {QString::fromUtf8(child.err)});
    return lines;
}

} // namespace

void tst_Pen::underX11_data()
{
    QTest::addColumn<bool>("windowManager");
    QTest::newRow("no window manager") << false;
    QTest::newRow("openbox") << true;
}

void tst_Pen::underX11()
{
    QFETCH(bool, windowManager);
    XServer x;
    START_DESKTOP_OR_SKIP(x, windowManager ? u"openbox"_qs : QString());
    const auto first = runChild(x);
    QVERIFY2(!first.contains(u"failed"_qs), qPrintable(first.value(u"failed"_qs).join(u' ')));
    QVERIFY2(!first.contains(u"error"_qs), qPrintable(first.value(u"error"_qs).join(u' ')));
    // A 1024-pixel screen: 4776 and 1268 twips, at 15 twips a pixel 318 and 85.
    // (A tap on the palette moves nothing: tst_windowing's tap rows.)
    QCOMPARE(first.value(u"shown"_qs), (QStringList{"318", "85"}));
    QCOMPARE(first.value(u"color"_qs).mid(0, 2), (QStringList{"same", "same"}));
    // The width went up with the thumb (24 pixels: about ten values), each
    // value reaching the canvas at once.
    const QStringList width = first.value(u"width"_qs);
    QCOMPARE(width.size(), 3);
    QVERIFY2(width[0].toInt() >= 12, qPrintable(width.join(u' ')));
    QCOMPARE(width[1], width[0]);
    const QStringList steps = width[2].split(u',');
    int previous = 5;
    for (const QString &step : steps) {
        const QStringList pair = step.split(u':');
        QCOMPARE(pair.value(1), pair.value(0));
        QVERIFY2(pair.value(0).toInt() > previous, qPrintable(width[2]));
        previous = pair.value(0).toInt();
    }
    QCOMPARE(previous, width[0].toInt());
    QCOMPARE(first.value(u"following"_qs), QStringList{"yes"});
    QCOMPARE(first.value(u"dragged"_qs), (QStringList{"followed", "stays"}));
    QCOMPARE(first.value(u"hand-after-release"_qs), QStringList{"no"});
    QCOMPARE(first.value(u"pickagain"_qs), QStringList{"same"});
    const QStringList corner = first.value(u"corner"_qs);
    QVERIFY2(corner.mid(0, 2) == (QStringList{u"kept"_qs, u"stays"_qs}), qPrintable(corner.join(u' ')));
}

QTEST_MAIN_WITH_ROLES(tst_Pen, QApplication, {"x11", x11Child})

#include "tst_pen.moc"
