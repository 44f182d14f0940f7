// The slider control: its numbers, its drawing, its events and its errors.

// Mouse events go through the window, as the window system delivers them, so
// that the pointer capture of a press is what Qt really does.
#define QTEST_QPA_MOUSE_HANDLING

#include "controls/propertybag.h"
#include "controls/slidermath.h"
#include "controls/ucslider.h"
#include "core/colors.h"
#include "core/errorframe.h"
#include "platform/twips.h"
#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QtTest>

#include <cmath>
#include <limits>

using namespace SliderMath;
using namespace Qt::StringLiterals;

namespace {

constexpr int32_t Int32Min = std::numeric_limits<int32_t>::min();
constexpr int32_t Int32Max = std::numeric_limits<int32_t>::max();

const QColor ThumbColor(10, 20, 200);
const QColor RailColor(30, 160, 40);
const QColor Back(222, 191, 120);

// The pen window's slider: vertical, picture rail 18 x 133, thumb 16 x 16, 1..50, 5.
PropertyBag penSliderProperties()
{
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("BackColor"), int32_t(OleColor::rgb(222, 191, 120)));
    bag.WritePicture(QStringLiteral("SliderIcon"), filledImage(16, 16, ThumbColor));
    bag.WritePicture(QStringLiteral("RailPicture"), filledImage(18, 133, RailColor));
    bag.WriteProperty(QStringLiteral("RailStyle"), 99);
    bag.WriteProperty(QStringLiteral("Min"), 1);
    bag.WriteProperty(QStringLiteral("Max"), 50);
    bag.WriteProperty(QStringLiteral("Value"), 5);
    return bag;
}

// Records the slider's events in the order they come; a mouse event with Shift,
// Ctrl or Alt held carries the code of those keys, as "MouseDown(3)".
struct EventLog {
    QStringList events;
    explicit EventLog(ucSlider *s)
    {
        QObject::connect(s, &ucSlider::Click, s, [this] { events << QStringLiteral("Click"); });
        QObject::connect(s, &ucSlider::ArrivedFirst, s, [this] { events << QStringLiteral("ArrivedFirst"); });
        QObject::connect(s, &ucSlider::ArrivedLast, s, [this] { events << QStringLiteral("ArrivedLast"); });
        QObject::connect(s, &ucSlider::ValueChanged, s,
                         [this, s] { events << QStringLiteral("ValueChanged:%1").arg(s->Value()); });
        QObject::connect(s, &ucSlider::MouseDown, s, [this](qint16 &shift) { mouse("MouseDown", shift); });
        QObject::connect(s, &ucSlider::MouseUp, s, [this](qint16 &shift) { mouse("MouseUp", shift); });
    }
    void mouse(const char *event, qint16 shift)
    {
        events << (shift ? QStringLiteral("%1(%2)").arg(QLatin1String(event)).arg(shift) : QLatin1String(event));
    }
    QString take()
    {
        const QString s = events.join(QLatin1Char(','));
        events.clear();
        return s;
    }
};

// One step of the mouse on a shown slider, and what the slider is after it: its
// value, whether it drags, and the events the step raised.
struct MouseStep {
    enum Action { Press, Move, Release } action;
    Qt::MouseButton button;
    QPoint at;
    int value;
    bool dragging;
    QString events;
};
using MouseSteps = QList<MouseStep>;

int errorNumber(const std::function<void()> &f)
{
    try {
        f();
    } catch (const RuntimeError &e) {
        return e.number;
    }
    return 0;
}

// One call of the slider's arithmetic, its result as a double.
using Arithmetic = std::function<double()>;

// A track `length` long for the values min .. min + range, and a value with the
// place of the thumb that stands for it.
struct Track {
    int orientation;
    double length;
    int value, min, range;
    double place;
};

// A property set on a slider of 0..10 at value `start`, the answers given to
// the errors it reports, and the slider after it; the error each report is of
// when it is not the setter's refusal at its line 10 (380).
struct Setting {
    QString property;
    int number, start;
    QList<int> answers;
    int min, max, value, range;
    QString events;
    QString error = QStringLiteral("10: 380");
};
// The answers to an error, as the reporter takes them.
enum Answer { Retry = 0, Ignore = 1, Cancel = 2, End = 3 };

// The outer size for a rail (a picture's size, or none) and a 16 x 16 thumb,
// from the current one; whether width and height are set together; and the
// thumb's place across the rail.
struct Outer {
    int orientation;
    bool pictureRail;
    QSize rail, current, expected;
    bool together;
    double cross;
};

} // namespace

class tst_Slider : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env.emplace(); }
    void cleanup() { m_env.reset(); }
    // ---- the numbers ----
    void thumbPlace_data();
    void thumbPlace();
    void failingArithmetic_data();
    void failingArithmetic();
    void railRect_data();
    void railRect();
    void outerSize_data();
    void outerSize();
    void twips_data();
    void twips();

    // ---- the drawn rails ----
    void edgeRails_data();
    void edgeRails();

    // ---- a new instance and the pen slider ----
    void newInstance();
    void penSlider();
    void pictureRailWithoutPicture();

    // ---- the value and its events ----
    void propertySetters_data();
    void propertySetters();

    // ---- the property store ----
    void readAndWriteOrder();
    void loadFailures_data();
    void loadFailures();
    void propertyReads_data();
    void propertyReads();

    // ---- the mouse ----
    void mouse_data();
    void mouse();
    void dragSnapsExactly();

private:
    std::optional<TestEnvironment> m_env;
};

// ---------------------------------------------------------------------------

void tst_Slider::thumbPlace_data()
{
    // The place the pointer asks for (none: NaN), the value there and the place
    // of the thumb that stands for it, where it snaps to.
    QTest::addColumn<double>("asked");
    QTest::addColumn<Track>("row");
    const double none = std::nan("");
    QTest::newRow("pen 5") << none << Track{Vertical, 121, 5, 1, 49, 121.0 - 121.0 * 4 / 49};
    QTest::newRow("horizontal min at left") << none << Track{Horizontal, 184, 0, 0, 10, 0};
    QTest::newRow("horizontal middle") << none << Track{Horizontal, 184, 5, 0, 10, 92};
    QTest::newRow("negative min") << none << Track{Horizontal, 100, -5, -10, 20, 25};
    QTest::newRow("value above max") << none << Track{Vertical, 100, 15, 0, 10, -50};
    // round(61 / 121 x 49 + 1) = round(25.70) = 26; the thumb snaps to 26's place.
    QTest::newRow("pen top 60") << 60.0 << Track{Vertical, 121, 26, 1, 49, 121.0 - 121.0 * 25 / 49};
    QTest::newRow("pen top 0: 50 at the top") << 0.0 << Track{Vertical, 121, 50, 1, 49, 0};
    QTest::newRow("pen bottom: 1 at the bottom") << 121.0 << Track{Vertical, 121, 1, 1, 49, 121};
    // 2.5 rounds to 2 and 3.5 to 4: halves go to the even neighbour.
    QTest::newRow("half to even down") << 25.0 << Track{Horizontal, 100, 2, 0, 10, 20};
    QTest::newRow("half to even up") << 35.0 << Track{Horizontal, 100, 4, 0, 10, 40};
    QTest::newRow("just below half") << 34.9 << Track{Horizontal, 100, 3, 0, 10, 30};
    QTest::newRow("negative minimum") << 50.0 << Track{Horizontal, 100, 0, -10, 20, 50};
}

void tst_Slider::thumbPlace()
{
    QFETCH(double, asked);
    QFETCH(Track, row);
    QCOMPARE(SliderMath::thumbPlace(row.orientation, row.length, row.value, row.min, row.range), float(row.place));
    if (std::isnan(asked))
        return;
    const Snap s = SliderMath::valueAt(row.orientation, row.length, asked, row.min, row.range);
    QCOMPARE(s.value, row.value);
    QCOMPARE(s.place, float(row.place));
}

void tst_Slider::failingArithmetic_data()
{
    // The call, the run-time error it raises (0: none), and its result when it
    // raises none.
    QTest::addColumn<Arithmetic>("call");
    QTest::addColumn<int>("error");
    QTest::addColumn<double>("result");
    const auto place = [](int o, double length, int value, int min, int range) {
        return Arithmetic([=] { return SliderMath::thumbPlace(o, length, value, min, range); });
    };
    const auto valueAt = [](int o, double length, double at, int min, int range) {
        return Arithmetic([=] { return double(SliderMath::valueAt(o, length, at, min, range).value); });
    };
    const auto range = [](int min, int max) {
        return Arithmetic([=] { return double(SliderMath::valueRange(min, max)); });
    };
    const int overflow = int(Err::Overflow);
    QTest::newRow("place with range 0") << place(Vertical, 121, 5, 1, 0) << DivisionByZero << 0.0;
    QTest::newRow("place with value at min and range 0") << place(Vertical, 121, 1, 1, 0) << overflow << 0.0;
    QTest::newRow("value with track 0") << valueAt(Vertical, 0, 0, 1, 49) << overflow << 0.0;
    QTest::newRow("range beyond 32 bits") << range(Int32Min, 10) << overflow << 0.0;
    QTest::newRow("value minus min beyond 32 bits") << place(Horizontal, 10, Int32Max, -1, 10) << overflow << 0.0;
    QTest::newRow("huge value from place") << valueAt(Horizontal, 1, 2, 0, Int32Max) << overflow << 0.0;
    QTest::newRow("range exactly the 32-bit maximum") << range(0, Int32Max) << 0 << double(Int32Max);
    QTest::newRow("range one past the 32-bit maximum") << range(-1, Int32Max) << overflow << 0.0;
    QTest::newRow("range exactly the 32-bit minimum") << range(0, Int32Min) << 0 << double(Int32Min);
    QTest::newRow("range one below the 32-bit minimum") << range(1, Int32Min) << overflow << 0.0;
    QTest::newRow("place with the largest range") << place(Horizontal, 100, Int32Max, 0, Int32Max) << 0 << 100.0;
    QTest::newRow("range across zero") << range(-5, 5) << 0 << 10.0;
}

void tst_Slider::failingArithmetic()
{
    QFETCH(Arithmetic, call);
    QFETCH(int, error);
    QFETCH(double, result);
    double got = 0;
    QCOMPARE(errorNumber([&] { got = call(); }), error);
    QCOMPARE(got, result);
}

void tst_Slider::railRect_data()
{
    QTest::addColumn<int>("orientation");
    QTest::addColumn<QSize>("inner");
    QTest::addColumn<QSize>("thumb");
    QTest::addColumn<QRect>("expected"); // left, top, right, bottom as x, y, x2, y2

    auto r = [](int l, int t, int rr, int b) { return QRect(QPoint(l, t), QPoint(rr, b)); };
    QTest::newRow("horizontal 200, thumb 16") << Horizontal << QSize(200, 16) << QSize(16, 16) << r(6, 6, 194, 10);
    QTest::newRow("thumb 15 high: 5.5 -> 6") << Horizontal << QSize(200, 15) << QSize(16, 15) << r(6, 6, 194, 10);
    QTest::newRow("thumb 17 high: 6.5 -> 6") << Horizontal << QSize(200, 17) << QSize(16, 17) << r(6, 6, 194, 10);
    QTest::newRow("thumb 13 wide: 4.5 -> 4") << Horizontal << QSize(200, 16) << QSize(13, 16) << r(4, 6, 195, 10);
    QTest::newRow("vertical pen size") << Vertical << QSize(18, 137) << QSize(16, 16) << r(6, 6, 10, 131);
    QTest::newRow("vertical thumb 15 wide") << Vertical << QSize(15, 100) << QSize(15, 15) << r(6, 6, 10, 95);
}

void tst_Slider::railRect()
{
    QFETCH(int, orientation);
    QFETCH(QSize, inner);
    QFETCH(QSize, thumb);
    QFETCH(QRect, expected);
    const Rect got = SliderMath::railRect(orientation, inner.width(), inner.height(), thumb.width(), thumb.height());
    QCOMPARE(QRect(QPoint(got.left, got.top), QPoint(got.right, got.bottom)), expected);
}

void tst_Slider::outerSize_data()
{
    QTest::addColumn<Outer>("row");
    const QSize none;
    QTest::newRow("pen slider") << Outer{Vertical, true, {18, 133}, {40, 40}, {18, 137}, true, 1};
    QTest::newRow("odd difference") << Outer{Vertical, true, {19, 133}, {40, 40}, {19, 137}, true, 1.5};
    QTest::newRow("rail as wide as thumb") << Outer{Vertical, true, {16, 133}, {40, 40}, {16, 137}, true, 0};
    QTest::newRow("vertical rail narrower than thumb")
        << Outer{Vertical, true, {10, 133}, {40, 40}, {16, 137}, true, 0};
    QTest::newRow("horizontal picture rail") << Outer{Horizontal, true, {133, 18}, {40, 40}, {137, 18}, true, 1};
    QTest::newRow("horizontal rail thinner than thumb")
        << Outer{Horizontal, true, {133, 10}, {40, 40}, {137, 16}, true, 0};
    QTest::newRow("horizontal edge, no length yet") << Outer{Horizontal, false, none, {0, 40}, {16, 16}, false, 0};
    QTest::newRow("horizontal edge keeps its length") << Outer{Horizontal, false, none, {200, 40}, {200, 16}, false, 0};
    QTest::newRow("vertical edge, no length yet") << Outer{Vertical, false, none, {30, 0}, {16, 16}, false, 0};
    // An edge rail takes no measure from a rail picture, and the thumb lies at 0 across.
    QTest::newRow("vertical edge keeps its length")
        << Outer{Vertical, false, {18, 133}, {30, 150}, {16, 150}, false, 0};
    QTest::newRow("other orientation: untouched") << Outer{5, false, none, {30, 150}, {30, 150}, false, 0};
}

void tst_Slider::outerSize()
{
    QFETCH(Outer, row);
    const OuterSize s = SliderMath::outerSize(row.orientation, row.pictureRail, row.rail, QSize(16, 16), row.current);
    QCOMPARE(QSize(s.width, s.height), row.expected);
    QCOMPARE(s.setTogether, row.together);
    const int railThickness = row.orientation == Horizontal ? row.rail.height() : row.rail.width();
    QCOMPARE(SliderMath::thumbCross(row.pictureRail, railThickness, 16), float(row.cross));
}

void tst_Slider::twips_data()
{
    QTest::addColumn<double>("dpi");
    QTest::addColumn<int>("twips");
    QTest::newRow("96 dpi") << 96.0 << 15;
    QTest::newRow("120 dpi") << 120.0 << 12;
    QTest::newRow("144 dpi") << 144.0 << 10;
    QTest::newRow("72 dpi") << 72.0 << 20;
    QTest::newRow("97 dpi rounds to 15") << 97.0 << 15;
    QTest::newRow("unknown") << 0.0 << 15;
    QTest::newRow("negative") << -96.0 << 15;
    QTest::newRow("not a number") << std::nan("") << 15;
    QTest::newRow("1440 dpi: one twip") << 1440.0 << 1;
    QTest::newRow("2880 dpi: below one twip") << 2880.0 << 15;
    QTest::newRow("1 dpi: 1440 twips") << 1.0 << 1440;
    QTest::newRow("0.99 dpi: past 1440 twips") << 0.99 << 15;
}

void tst_Slider::twips()
{
    QFETCH(double, dpi);
    QFETCH(int, twips);
    QCOMPARE(Twips::fromDpi(dpi), twips);
}

// ---------------------------------------------------------------------------

void tst_Slider::edgeRails_data()
{
    // A horizontal slider 200 pixels long with a 16 x 16 thumb at the left end:
    // the rail is (6, 6)-(194, 10). Pixels at x = 100 on the rail's four rows,
    // and on its right end, the outer (193) and inner (192) columns.
    QTest::addColumn<int>("style");
    QTest::addColumn<QList<QColor>>("colors"); // y6, y7, y8, y9 at x100; (193,7); (192,7)

    const QColor grey(128, 128, 128), white(255, 255, 255), dark(64, 64, 64), light(212, 208, 200);
    const QColor bg = Back;
    QTest::newRow("0 sunken") << 0 << QList<QColor>{grey, dark, light, white, white, light};
    QTest::newRow("1 raised") << 1 << QList<QColor>{light, white, grey, dark, dark, grey};
    QTest::newRow("2 sunken outer") << 2 << QList<QColor>{grey, bg, bg, white, white, bg};
    QTest::newRow("3 raised inner") << 3 << QList<QColor>{white, bg, bg, grey, grey, bg};
    QTest::newRow("4 nothing visible") << 4 << QList<QColor>{bg, bg, bg, bg, bg, bg};
    QTest::newRow("7 no rail") << 7 << QList<QColor>{bg, bg, bg, bg, bg, bg};
}

void tst_Slider::edgeRails()
{
    QFETCH(int, style);
    QFETCH(QList<QColor>, colors);
    SliderFixture f(QSize(200, 30), Horizontal);
    ucSlider &s = *f.slider;
    s.setBackColor(OleColor::fromColor(Back));
    s.setSliderIcon(filledImage(16, 16, ThumbColor));
    s.setRailStyle(style);
    // The rail (6, 6)-(194, 10) at this size is newInstance()'s.
    QCOMPARE(s.size(), QSize(200, 16));

    // The row's pixels, then nothing outside the rail, and the thumb over its left end.
    const QPoint at[] = {{100, 6}, {100, 7}, {100, 8},  {100, 9}, {193, 7},
                         {192, 7}, {100, 5}, {100, 10}, {194, 7}, {8, 8}};
    colors << Back << Back << Back << ThumbColor;
    for (int i = 0; i < colors.size(); ++i)
        QCOMPARE(s.surface().pixelColor(at[i]), colors[i]);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

// ---------------------------------------------------------------------------

void tst_Slider::newInstance()
{
    SliderFixture f(QSize(40, 100));
    ucSlider &s = *f.slider;
    QCOMPARE(s.Min(), 0);
    QCOMPARE(s.Max(), 10);
    QCOMPARE(s.Value(), 0);
    QCOMPARE(s.valueRange(), 10);
    QCOMPARE(s.lastValue(), 0);
    QCOMPARE(s.Orientation(), Vertical);
    QCOMPARE(s.RailStyle(), 0);
    QVERIFY(s.Enabled());
    QCOMPARE(s.BackColor(), OleColor::ButtonFace);
    // The built-in thumb, 16 x 16, at the bottom (Min) end; the width is the thumb's.
    QCOMPARE(s.SliderIcon().size(), QSize(16, 16));
    QCOMPARE(s.size(), QSize(16, 100));
    QCOMPARE(s.thumbRect(), QRectF(0, 84, 16, 16));
    QCOMPARE(s.outerWidth(), 16 * s.TwipsX());
    QCOMPARE(s.outerHeight(), 100 * s.TwipsY());
    QCOMPARE(s.TwipsX(), 15); // the test screen has 96 dpi

    // Horizontal: the thumb thickness becomes the height, the length stays; the
    // thumb is put at the Min end and then laid out for the value.
    s.setValue(5);
    s.setOrientation(Horizontal);
    QCOMPARE(s.size(), QSize(16, 16));
    s.resize(200, 16);
    s.UserControl_Resize();
    QCOMPARE(s.thumbRect(), QRectF(92, 0, 16, 16));
    QCOMPARE(s.railRect(), (Rect{6, 6, 194, 10}));
    // Another number is kept; layout and places are left alone.
    s.setOrientation(7);
    QCOMPARE(s.Orientation(), 7);
    QCOMPARE(s.size(), QSize(200, 16));
    QCOMPARE(s.thumbRect(), QRectF(92, 0, 16, 16));
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Slider::penSlider()
{
    SliderFixture f(penSliderProperties());
    ucSlider &s = *f.slider;
    comparePenSlider(s);
    QCOMPARE(s.height() - s.thumbRect().height(), 121.0);
    QCOMPARE(float(s.thumbRect().top()), float(121.0 - 121.0 * 4 / 49)); // 111.122...
    QVERIFY(qAbs(s.thumbRect().top() - 111.1224) < 1e-3);

    // Rail picture at (0, 2), thumb at (1, 111) (111.12 drawn at a whole pixel).
    const QList<QPoint> at = {{0, 1},    {0, 2},   {17, 134}, {17, 135}, {1, 111},
                              {16, 126}, {1, 110}, {0, 111},  {17, 111}, {1, 127}};
    QList<QColor> colors;
    for (const QPoint p : at)
        colors << s.surface().pixelColor(p);
    QCOMPARE(colors, (QList<QColor>{Back, RailColor, RailColor, Back, ThumbColor, ThumbColor, RailColor, RailColor,
                                    RailColor, RailColor}));

    s.setValue(1);
    QCOMPARE(s.thumbRect().top(), 121.0);
    s.setValue(50);
    QCOMPARE(s.thumbRect().top(), 0.0);
    QCOMPARE(s.surface().pixelColor(1, 0), ThumbColor);

    // Stored disabled and made again from what was stored: the same slider.
    s.setValue(5);
    s.setEnabledProperty(false);
    PropertyBag saved;
    s.UserControl_WriteProperties(saved);
    SliderFixture again(saved);
    comparePenSlider(*again.slider, false);
    QCOMPARE(again.slider->SliderIcon().convertToFormat(QImage::Format_RGB32), filledImage(16, 16, ThumbColor));
    QCOMPARE(again.slider->RailPicture().convertToFormat(QImage::Format_RGB32), filledImage(18, 133, RailColor));
    // Pictures are kept as images, not as a file name.
    QCOMPARE(saved.ReadProperty(QStringLiteral("RailPicture")).typeId(), int(QMetaType::QImage));
    QCOMPARE(again.slider->thumbRect(), s.thumbRect());
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Slider::pictureRailWithoutPicture()
{
    // Style 99 without a rail picture draws no rail and sizes like an edge rail.
    SliderFixture f(QSize(40, 120));
    ucSlider &s = *f.slider;
    s.setBackColor(OleColor::fromColor(Back));
    s.setSliderIcon(filledImage(16, 16, ThumbColor));
    s.setRailStyle(99);
    QCOMPARE(s.size(), QSize(16, 120));
    for (int y = 0; y < 104; ++y)
        QCOMPARE(s.surface().pixelColor(8, y), Back);
    QCOMPARE(s.surface().pixelColor(8, 110), ThumbColor);
}

// ---------------------------------------------------------------------------

void tst_Slider::propertySetters_data()
{
    QTest::addColumn<Setting>("row");
    // In range. The value follows a minimum above it; it is left above a lower maximum.
    QTest::newRow("value to max") << Setting{"Value", 10, 5, {}, 0, 10, 10, 10, "ValueChanged:10,ArrivedLast"};
    QTest::newRow("value to min") << Setting{"Value", 0, 5, {}, 0, 10, 0, 10, "ValueChanged:0,ArrivedFirst"};
    QTest::newRow("value between") << Setting{"Value", 6, 5, {}, 0, 10, 6, 10, "ValueChanged:6"};
    QTest::newRow("value the same number") << Setting{"Value", 5, 5, {}, 0, 10, 5, 10, ""};
    QTest::newRow("value max again") << Setting{"Value", 10, 10, {}, 0, 10, 10, 10, ""};
    QTest::newRow("min above the value moves it")
        << Setting{"Min", 3, 5, {}, 3, 10, 3, 7, "ValueChanged:3,ArrivedFirst"};
    QTest::newRow("min at the value: nothing to report") << Setting{"Min", 4, 4, {}, 4, 10, 4, 6, ""};
    QTest::newRow("max below the value leaves it") << Setting{"Max", 6, 8, {}, 0, 6, 8, 6, ""};
    // Out of range: one report for each answer, and End ends the program.
    QTest::newRow("value: cancel") << Setting{"Value", 11, 5, {Cancel}, 0, 10, 5, 10, ""};
    QTest::newRow("value: retry twice, then cancel")
        << Setting{"Value", -1, 5, {Retry, Retry, Cancel}, 0, 10, 5, 10, ""};
    QTest::newRow("value: ignore takes it") << Setting{"Value", 11, 5, {Ignore}, 0, 10, 11, 10, "ValueChanged:11"};
    QTest::newRow("value: retry, then ignore")
        << Setting{"Value", -3, 5, {Retry, Ignore}, 0, 10, -3, 10, "ValueChanged:-3"};
    QTest::newRow("value: end") << Setting{"Value", 11, 5, {End}, 0, 10, 5, 10, ""};
    QTest::newRow("min equal to max: cancel") << Setting{"Min", 10, 5, {Cancel}, 0, 10, 5, 10, ""};
    QTest::newRow("min above max: retry, cancel") << Setting{"Min", 12, 5, {Retry, Cancel}, 0, 10, 5, 10, ""};
    // Ignore sets Min 10 and then the value to it, which is inside 10..10.
    QTest::newRow("min equal to max: ignore")
        << Setting{"Min", 10, 5, {Ignore}, 10, 10, 10, 0, "ValueChanged:10,ArrivedLast,ArrivedFirst"};
    QTest::newRow("min: end") << Setting{"Min", 10, 5, {End}, 0, 10, 5, 10, ""};
    QTest::newRow("max equal to min: cancel") << Setting{"Max", 0, 5, {Cancel}, 0, 10, 5, 10, ""};
    QTest::newRow("max below min: ignore") << Setting{"Max", -4, 5, {Ignore}, 0, -4, 5, -4, ""};
    QTest::newRow("max: retry, end") << Setting{"Max", 0, 5, {Retry, End}, 0, 10, 5, 10, ""};
    // Max - Min does not fit 32 bits: the Min setter's frame reports the
    // overflow at its last line; the value has already moved to the new
    // minimum, and the range stays.
    QTest::newRow("min: range beyond 32 bits") << Setting{
        "Min", Int32Min, 5, {Ignore}, Int32Min, 10, Int32Min, 10, "ValueChanged:-2147483648,ArrivedFirst", "40: 6"};
}

void tst_Slider::propertySetters()
{
    QFETCH(Setting, row);
    SliderFixture f;
    ucSlider &s = *f.slider;
    s.setValue(row.start);
    EventLog log(&s);
    const QRectF thumb = s.thumbRect();
    const int redraws = s.refreshCount();
    m_env->reporter.answers = row.answers;
    bool ended = false;
    try {
        if (row.property == QLatin1String("Value"))
            s.setValue(row.number);
        else if (row.property == QLatin1String("Min"))
            s.setMin(row.number);
        else
            s.setMax(row.number);
    } catch (const ProgramEnded &) {
        ended = true;
    }
    QCOMPARE(ended, !row.answers.isEmpty() && row.answers.last() == End);
    const QString report = QStringLiteral("ucSlider.%1 %2").arg(row.property, row.error);
    QCOMPARE(m_env->reporter.said(), QStringList(row.answers.size(), report));
    QCOMPARE(s.Min(), row.min);
    QCOMPARE(s.Max(), row.max);
    QCOMPARE(s.Value(), row.value);
    QCOMPARE(s.lastValue(), row.value);
    QCOMPARE(s.valueRange(), row.range);
    QCOMPARE(log.take(), row.events);
    // Nothing reported: the thumb stays where it was, not drawn again; a new
    // value draws it once, at the value's place.
    QCOMPARE(s.refreshCount() - redraws, row.events.isEmpty() ? 0 : 1);
    if (row.events.isEmpty())
        QCOMPARE(s.thumbRect(), thumb);
    else if (row.range != 0)
        QCOMPARE(float(s.thumbRect().top()), SliderMath::thumbPlace(Vertical, 84, row.value, row.min, row.range));
}

// ---------------------------------------------------------------------------

void tst_Slider::readAndWriteOrder()
{
    ucSlider s;
    s.resize(16, 100);
    PropertyBag written;
    s.UserControl_WriteProperties(written);
    QCOMPARE(written.writes, (QStringList{"BackColor", "Enabled", "SliderIcon", "Orientation", "RailPicture",
                                          "RailStyle", "Min", "Max", "Value"}));
    // Values equal to their defaults are not kept; the thumb picture is.
    QCOMPARE(written.keys(), QStringList{"SliderIcon"});

    // The load reads every property and checks nothing: a minimum above the
    // maximum and a value outside both are taken, without a redraw or an event.
    EventLog log(&s);
    PropertyBag bag;
    bag.WriteProperty(QStringLiteral("Min"), 5);
    bag.WriteProperty(QStringLiteral("Max"), 3);
    bag.WriteProperty(QStringLiteral("Value"), 9);
    const int redraws = s.refreshCount();
    s.UserControl_ReadProperties(bag);
    QCOMPARE(bag.reads, (QStringList{"BackColor", "Enabled", "Orientation", "RailStyle", "Min", "Max", "Value",
                                     "SliderIcon", "RailPicture"}));
    QCOMPARE(s.Min(), 5);
    QCOMPARE(s.Max(), 3);
    QCOMPARE(s.Value(), 9);
    QCOMPARE(s.lastValue(), 9);
    QCOMPARE(s.valueRange(), -2);
    QCOMPARE(s.refreshCount(), redraws);
    QCOMPARE(log.take(), QString());
    QVERIFY(m_env->reporter.reports.isEmpty());
    // The first change away from the loaded value reports, though it is out of
    // range: Ignore takes it.
    m_env->reporter.answers = {1};
    s.setValue(4);
    QCOMPARE(log.take(), QStringLiteral("ValueChanged:4"));
}

void tst_Slider::loadFailures_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("line");
    QTest::newRow("max not a number") << "Max" << QVariant(QStringLiteral("zehn")) << 13 << 60;
    QTest::newRow("value beyond 32 bits") << "Value" << QVariant(qlonglong(1) << 40) << 6 << 70;
    QTest::newRow("range beyond 32 bits") << "Min" << QVariant(Int32Min) << 6 << 100;
    QTest::newRow("range 0 divides by zero") << "Min" << QVariant(10) << 6 << 120;
}

void tst_Slider::loadFailures()
{
    QFETCH(QString, key);
    QFETCH(QVariant, stored);
    QFETCH(int, number);
    QFETCH(int, line);
    m_env->reporter.fallback = 1; // Ignore: go on with the next key
    ucSlider s;
    s.resize(16, 100);
    PropertyBag bag;
    bag.WriteProperty(key, stored);
    s.UserControl_ReadProperties(bag);
    QCOMPARE(m_env->reporter.said().value(0),
             QStringLiteral("ucSlider.UserControl_ReadProperties %1: %2").arg(line).arg(number));
    // The layout skips what fails and never reports.
    const auto count = m_env->reporter.reports.size();
    s.UserControl_Resize();
    QCOMPARE(m_env->reporter.reports.size(), count);
}

void tst_Slider::propertyReads_data()
{
    // What a stored property reads as a number and as a yes/no ("error N" when
    // the read raises a run-time error).
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("asLong");
    QTest::addColumn<QString>("asBoolean");
    QTest::newRow("missing: the default") << QVariant() << u"42"_s << u"true"_s;
    QTest::newRow("whole number") << QVariant(7) << u"7"_s << u"true"_s;
    QTest::newRow("zero") << QVariant(0) << u"0"_s << u"false"_s;
    QTest::newRow("true") << QVariant(true) << u"-1"_s << u"true"_s;
    QTest::newRow("false") << QVariant(false) << u"0"_s << u"false"_s;
    QTest::newRow("64 bits at the 32-bit maximum") << QVariant(qlonglong(Int32Max)) << u"2147483647"_s << u"true"_s;
    QTest::newRow("64 bits one past it") << QVariant(qlonglong(Int32Max) + 1) << u"error 6"_s << u"true"_s;
    QTest::newRow("64 bits at the 32-bit minimum") << QVariant(qlonglong(Int32Min)) << u"-2147483648"_s << u"true"_s;
    QTest::newRow("64 bits one below it") << QVariant(qlonglong(Int32Min) - 1) << u"error 6"_s << u"true"_s;
    QTest::newRow("unsigned colour keeps its bits") << QVariant(0x8000000Fu) << u"-2147483633"_s << u"true"_s;
    QTest::newRow("fraction, half to even") << QVariant(2.5) << u"2"_s << u"true"_s;
    QTest::newRow("text") << QVariant(QStringLiteral(" 12 ")) << u"12"_s << u"true"_s;
    QTest::newRow("text zero") << QVariant(QStringLiteral("0")) << u"0"_s << u"false"_s;
    QTest::newRow("text True, any case") << QVariant(QStringLiteral(" tRUE ")) << u"error 13"_s << u"true"_s;
    QTest::newRow("text False") << QVariant(QStringLiteral("False")) << u"error 13"_s << u"false"_s;
    QTest::newRow("text, not a number") << QVariant(QStringLiteral("zehn")) << u"error 13"_s << u"error 13"_s;
    QTest::newRow("a picture") << QVariant(QImage(2, 2, QImage::Format_RGB32)) << u"error 13"_s << u"error 13"_s;
}

void tst_Slider::propertyReads()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, asLong);
    QFETCH(QString, asBoolean);
    PropertyBag bag;
    if (stored.isValid())
        bag.WriteProperty(QStringLiteral("Key"), stored);
    QString got;
    if (const int e = errorNumber([&] { got = QString::number(bag.ReadLong(QStringLiteral("Key"), 42)); }))
        got = QStringLiteral("error %1").arg(e);
    QCOMPARE(got, asLong);
    if (const int e = errorNumber([&] { got = bag.ReadBoolean(QStringLiteral("Key"), true) ? "true" : "false"; }))
        got = QStringLiteral("error %1").arg(e);
    QCOMPARE(got, asBoolean);
}

// ---------------------------------------------------------------------------
// The mouse, through a real window: a host window with the pen slider in it.

void tst_Slider::mouse_data()
{
    // The pen slider (1..50, value 5, the thumb's top at 111.12), or the
    // horizontal one (0..10, 200 long, value 0).
    QTest::addColumn<bool>("horizontal");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<Qt::KeyboardModifiers>("keys");
    QTest::addColumn<MouseSteps>("steps");
    const auto L = Qt::LeftButton, R = Qt::RightButton;
    const Qt::KeyboardModifiers none;
    using S = MouseStep;
    QTest::newRow("press on the thumb, Shift and Ctrl held")
        << false << true << (Qt::ShiftModifier | Qt::ControlModifier)
        << MouseSteps{{S::Press, L, {8, 115}, 5, true, "MouseDown(3)"},
                      {S::Release, L, {8, 115}, 5, false, "Click,MouseUp(3)"}};
    // On the rail the thumb's centre goes under the pointer: top = y - 8.
    // y 30: round((121 - 22) / 121 x 49 + 1) = round(41.09) = 41.
    QTest::newRow("press on the upper rail")
        << false << true << none
        << MouseSteps{{S::Press, L, {8, 30}, 41, true, "ValueChanged:41,MouseDown"},
                      {S::Release, L, {8, 30}, 41, false, "Click,MouseUp"}};
    // Off the thumb beside it (x 0 is left of the thumb at 1): y 100 -> top 92.
    QTest::newRow("press beside the thumb")
        << false << true << none
        << MouseSteps{{S::Press, L, {0, 100}, 13, true, "ValueChanged:13,MouseDown"},
                      {S::Release, L, {0, 100}, 13, false, "Click,MouseUp"}};
    // Near the ends: held at the end of the track.
    QTest::newRow("press at the top end")
        << false << true << none
        << MouseSteps{{S::Press, L, {8, 2}, 50, true, "ValueChanged:50,ArrivedLast,MouseDown"},
                      {S::Release, L, {8, 2}, 50, false, "Click,MouseUp"}};
    QTest::newRow("press at the bottom end")
        << false << true << none
        << MouseSteps{{S::Press, L, {8, 136}, 1, true, "ValueChanged:1,ArrivedFirst,MouseDown"},
                      {S::Release, L, {8, 136}, 1, false, "Click,MouseUp"}};
    // Far beyond the control and its window: the capture keeps the moves coming,
    // with places outside the control, and the thumb stays at the ends.
    QTest::newRow("drag held at the ends")
        << false << true << none
        << MouseSteps{{S::Press, L, {8, 115}, 5, true, "MouseDown"},
                      {S::Move, L, {40, -300}, 50, true, "ValueChanged:50,ArrivedLast"},
                      {S::Move, L, {-50, 900}, 1, true, "ValueChanged:1,ArrivedFirst"},
                      {S::Move, L, {-50, 950}, 1, true, ""},
                      {S::Release, L, {-50, 950}, 1, false, "MouseUp"}};
    // The right button does nothing; its release during a left drag ends the
    // drag with MouseUp, and the left release then only clicks.
    QTest::newRow("right button") << false << true << none << MouseSteps{{S::Press, R, {8, 30}, 5, false, ""},
                                                                         {S::Release, R, {8, 30}, 5, false, ""},
                                                                         {S::Press, L, {8, 115}, 5, true, "MouseDown"},
                                                                         {S::Press, R, {8, 115}, 5, true, ""},
                                                                         {S::Release, R, {8, 115}, 5, false, "MouseUp"},
                                                                         {S::Move, L, {8, 40}, 5, false, ""},
                                                                         {S::Release, L, {8, 40}, 5, false, "Click"}};
    QTest::newRow("disabled: only clicks")
        << false << false << none
        << MouseSteps{{S::Press, L, {8, 30}, 5, false, ""}, {S::Release, L, {8, 30}, 5, false, "Click"}};
    // x = 18, the width, is outside: no click.
    QTest::newRow("release outside") << false << true << none
                                     << MouseSteps{{S::Press, L, {8, 115}, 5, true, "MouseDown"},
                                                   {S::Move, L, {18, 115}, 5, true, ""},
                                                   {S::Release, L, {18, 115}, 5, false, "MouseUp"}};
    // On the rail at x 100: the thumb's left goes to 92, value round(92/184 x 10) = 5.
    QTest::newRow("horizontal drag") << true << true << none
                                     << MouseSteps{{S::Press, L, {100, 8}, 5, true, "ValueChanged:5,MouseDown"},
                                                   {S::Move, L, {400, 8}, 10, true, "ValueChanged:10,ArrivedLast"},
                                                   {S::Move, L, {-400, 8}, 0, true, "ValueChanged:0,ArrivedFirst"},
                                                   {S::Release, L, {-400, 8}, 0, false, "MouseUp"}};
}

void tst_Slider::mouse()
{
    QFETCH(bool, horizontal);
    QFETCH(bool, enabled);
    QFETCH(Qt::KeyboardModifiers, keys);
    QFETCH(MouseSteps, steps);
    std::optional<SliderFixture> f;
    if (horizontal) {
        f.emplace(QSize(200, 30), Horizontal);
        f->slider->setSliderIcon(filledImage(16, 16, ThumbColor));
    } else {
        f.emplace(penSliderProperties());
    }
    ucSlider *s = f->slider;
    s->setEnabledProperty(enabled);
    QVERIFY(f->show());
    EventLog log(s);
    for (const MouseStep &step : steps) {
        const int redraws = s->refreshCount();
        if (step.action == MouseStep::Press)
            QTest::mousePress(s, step.button, keys, step.at);
        else if (step.action == MouseStep::Move)
            QTest::mouseMove(s, step.at);
        else
            QTest::mouseRelease(s, step.button, keys, step.at);
        const QString events = log.take();
        QCOMPARE(events, step.events);
        QCOMPARE(s->Value(), step.value);
        QCOMPARE(s->dragging(), step.dragging);
        // The thumb sits on the value's place, and is drawn again only for a new value.
        const float place = horizontal ? SliderMath::thumbPlace(Horizontal, 184, step.value, 0, 10)
                                       : SliderMath::thumbPlace(Vertical, 121, step.value, 1, 49);
        QCOMPARE(float(horizontal ? s->thumbRect().left() : s->thumbRect().top()), place);
        QCOMPARE(s->refreshCount() - redraws, int(events.count(QLatin1String("ValueChanged"))));
    }
}

void tst_Slider::dragSnapsExactly()
{
    // The handlers with fractional places: grab the thumb 3.5 pixels below its
    // top, move so that its top lands on 60.
    SliderFixture f(penSliderProperties());
    ucSlider &s = *f.slider;
    EventLog log(&s);
    const float top = float(s.thumbRect().top());
    s.UserControl_MouseDown(1, 0, 8, top + 3.5f);
    QCOMPARE(log.take(), QStringLiteral("MouseDown"));
    s.UserControl_MouseMove(1, 0, 8, 60 + 3.5f);
    QCOMPARE(s.Value(), 26);
    QCOMPARE(float(s.thumbRect().top()), float(121.0 - 121.0 * 25 / 49));
    QVERIFY(qAbs(s.thumbRect().top() - 59.2653) < 1e-3);
    QCOMPARE(log.take(), QStringLiteral("ValueChanged:26"));
    // The thumb is drawn at its snapped place.
    QCOMPARE(s.surface().pixelColor(1, 59), ThumbColor);
    QCOMPARE(s.surface().pixelColor(1, 58), RailColor);
}

QTEST_MAIN(tst_Slider)
#include "tst_slider.moc"
