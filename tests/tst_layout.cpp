// The main window's layout figures, and where a tool window without a stored
// place goes, without a screen.

#include "controls/toolplace.h"
#include "draw/layout.h"

#include <QRandomGenerator>
#include <QTest>

class tst_Layout : public QObject
{
    Q_OBJECT
private slots:
    void designSize();
    void sizes_data();
    void sizes();
    void logoBoundary_data();
    void logoBoundary();
    void toolPlaceIsTheCheapest();
};

namespace {
std::array<QRectF, 2> designLogos()
{
    const QRectF r(QPointF(25, 25), LogoSize);
    return {r, r};
}
} // namespace

void tst_Layout::designSize()
{
    const DrawLayout l = layoutFor(829, 624, PanelSize, designLogos(), false, CopyrightSize);
    QCOMPARE(l.gap, 25);
    QCOMPARE(l.panel, QRectF(25, 305.5, 169, 281));
    QCOMPARE(l.canvas, QRectF(219, 160.25, 585, 438.75));
    QCOMPARE(l.frame, QRectF(211.5, 152.75, 600, 453.75));
    // 0.35 x 829 reaches past 829 - 50 - 585: the logos are stretched.
    QVERIFY(l.logosStretched);
    QCOMPARE(l.logos[0].top(), 25.0);
    QVERIFY(qFuzzyCompare(l.logos[0].width(), 829 * 0.6));
    QVERIFY(qFuzzyCompare(l.logos[0].height(), 829 * 0.069));
    QVERIFY(qFuzzyCompare(l.logos[0].right(), 829.0 - 25));
    QCOMPARE(l.copyright, QRectF(25, 596, 187, 14));
    // In whole pixels, as the window places its parts: tst_draw's opened().
}

void tst_Layout::sizes_data()
{
    QTest::addColumn<int>("sw");
    QTest::addColumn<int>("sh");
    QTest::addColumn<int>("gap");
    // The design size is designSize()'s. Of 200 pixels more width the canvas
    // takes all but three times the gap's growth: 182, or 91 %.
    QTest::newRow("1000 x 700") << 1000 << 700 << 30;
    QTest::newRow("1200 x 700") << 1200 << 700 << 36;
    QTest::newRow("wide and low") << 1600 << 500 << 48;
    QTest::newRow("small") << 600 << 480 << 18;
    QTest::newRow("half gap to even") << 850 << 640 << 26;       // 25.5 -> 26
    QTest::newRow("half gap to even, down") << 750 << 600 << 22; // 22.5 -> 22
}

void tst_Layout::sizes()
{
    QFETCH(int, sw);
    QFETCH(int, sh);
    QFETCH(int, gap);
    const DrawLayout l = layoutFor(sw, sh, PanelSize, designLogos(), false, CopyrightSize);
    QCOMPARE(l.gap, gap);
    QVERIFY(qFuzzyCompare(l.canvas.height(), l.canvas.width() * 0.75));
    QCOMPARE(l.panel.size(), PanelSize);
    QCOMPARE(l.panel.left(), double(gap));
    QCOMPARE(l.panel.bottom(), sh - 1.5 * gap);
    QCOMPARE(l.canvas.right(), double(sw - gap));
    QCOMPARE(l.canvas.bottom(), double(sh - gap));
    QCOMPARE(l.canvas.width(), sw - 3.0 * gap - PanelSize.width());
    QCOMPARE(l.frame.adjusted(0.3 * gap, 0.3 * gap, -0.3 * gap, -0.3 * gap), l.canvas);
    if (sw == 1600)
        QVERIFY(l.canvas.top() < 0); // the 4:3 shape wins over the window's height
}

void tst_Layout::logoBoundary_data()
{
    QTest::addColumn<int>("sw");
    QTest::addColumn<bool>("before"); // already stretched
    QTest::addColumn<bool>("stretched");
    QTest::addColumn<double>("left");
    QTest::newRow("992: reaches into the left 35 %") << 992 << false << true << 992 - 30 - 992 * 0.6;
    QTest::newRow("993: just fits, natural size") << 993 << false << false << 993.0 - 60 - 585;
    QTest::newRow("1200") << 1200 << false << false << 1200.0 - 72 - 585;
    // Once stretched, a wider window keeps them stretched.
    QTest::newRow("993, stretched before: stays") << 993 << true << true << 993.0 - 60 - 585;
    QTest::newRow("1200, stretched before: stays") << 1200 << true << true << 1200.0 - 72 - 585;
    QTest::newRow("992, stretched before") << 992 << true << true << 992 - 30 - 992 * 0.6;
}

void tst_Layout::logoBoundary()
{
    QFETCH(int, sw);
    QFETCH(bool, before);
    QFETCH(bool, stretched);
    QFETCH(double, left);
    const DrawLayout l = layoutFor(sw, 700, PanelSize, designLogos(), before, CopyrightSize);
    QCOMPARE(l.logosStretched, stretched);
    QVERIFY(qFuzzyCompare(l.logos[1].left(), left));
    if (!stretched) {
        QCOMPARE(l.logos[0].size(), LogoSize);
        QCOMPARE(l.logos[0].top(), 25.0);
    }
}

void tst_Layout::toolPlaceIsTheCheapest()
{
    // Against every place on a small area, for obstacles of any place, size and
    // weight: the place found costs the least there is, lies on the area, and is
    // the described place itself wherever that costs nothing.
    using ToolPlace::Obstacle;
    QRandomGenerator random(24);
    const auto any = [&](int from, int to) { return int(random.bounded(from, to + 1)); };
    const QRect area(-10, 5, 64, 48);
    for (int round = 0; round < 300; ++round) {
        const QSize size(any(4, 40), any(4, 30));
        QList<Obstacle> obstacles;
        for (int i = any(1, 6); i > 0; --i) {
            const qint64 weights[] = {ToolPlace::Weight::Canvas, ToolPlace::Weight::ToolWindow,
                                      ToolPlace::Weight::Button, ToolPlace::Weight::FirstButton};
            obstacles.append({QRect(any(-20, 60), any(0, 50), any(1, 30), any(1, 30)), weights[any(0, 3)]});
        }
        const QPoint described(any(-40, 70), any(-40, 60));
        const QPoint best = ToolPlace::bestPlace(area, size, described, obstacles);
        qint64 least = -1;
        for (int y = area.top(); y + size.height() <= area.bottom() + 1; ++y) {
            for (int x = area.left(); x + size.width() <= area.right() + 1; ++x) {
                const qint64 c = ToolPlace::cost(QRect(QPoint(x, y), size), obstacles);
                least = least < 0 ? c : qMin(least, c);
            }
        }
        const QString at = QStringLiteral("round %1").arg(round);
        QVERIFY2(area.contains(QRect(best, size)), qPrintable(at));
        QVERIFY2(ToolPlace::cost(QRect(best, size), obstacles) == least, qPrintable(at));
        if (area.contains(QRect(described, size)) && ToolPlace::cost(QRect(described, size), obstacles) == 0)
            QVERIFY2(best == described, qPrintable(at));
    }
}

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
