// The main window's layout figures, without a screen.

#include "draw/layout.h"

#include <QTest>

class tst_Layout : public QObject
{
    Q_OBJECT
private slots:
    void designSize();
    void sizes_data();
    void sizes();
    void growth();
    void logoBoundary_data();
    void logoBoundary();
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
    QCOMPARE(toPixels(l.panel), QRect(25, 306, 169, 281));
    QCOMPARE(toPixels(l.canvas), QRect(219, 160, 585, 439));
}

void tst_Layout::sizes_data()
{
    QTest::addColumn<int>("sw");
    QTest::addColumn<int>("sh");
    QTest::addColumn<int>("gap");
    QTest::newRow("design") << 829 << 624 << 25;
    QTest::newRow("wide and low") << 1600 << 500 << 48;
    QTest::newRow("small") << 600 << 480 << 18;
    QTest::newRow("half gap to even") << 850 << 640 << 26;   // 25.5 -> 26
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
        QVERIFY(l.canvas.top() < 0);   // the 4:3 shape wins over the window's height
}

void tst_Layout::growth()
{
    const DrawLayout a = layoutFor(1000, 700, PanelSize, designLogos(), false, CopyrightSize);
    const DrawLayout b = layoutFor(1200, 700, PanelSize, designLogos(), false, CopyrightSize);
    const double grow = b.canvas.width() - a.canvas.width();
    QCOMPARE(grow, 200 - 3 * (b.gap - a.gap) * 1.0);
    QVERIFY(qAbs(grow / 200 - 0.91) < 0.01);
    QCOMPARE(b.canvas.height() - a.canvas.height(), grow * 0.75);
    QCOMPARE(b.panel.size(), a.panel.size());
}

void tst_Layout::logoBoundary_data()
{
    QTest::addColumn<int>("sw");
    QTest::addColumn<bool>("before");   // already stretched
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

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
