// The main window's layout figures and the printer margins, without a screen.

#include "draw/layout.h"
#include "platform/printer.h"
#include "print/drucker.h"
#include "support/testsupport.h"

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
    void margins_data();
    void margins();
    void noPrinterKeepsMargins();
    void pdfPrinterMargins_data();
    void pdfPrinterMargins();
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

void tst_Layout::margins_data()
{
    QTest::addColumn<double>("offsetX");
    QTest::addColumn<double>("offsetY");
    QTest::addColumn<double>("printWidth");
    QTest::addColumn<double>("printHeight");
    QTest::addColumn<QList<int>>("expected");   // left, right, top, bottom
    // A4: 210 x 297 mm.
    QTest::newRow("no offsets, whole page printable") << 0.0 << 0.0 << 210.0 << 297.0
                                                     << QList<int>{1, 1, 1, 1};
    QTest::newRow("59 dots is 5 mm, then 6") << 59.0 << 0.0 << 200.0 << 297.0
                                           << QList<int>{6, 6, 1, 1};
    QTest::newRow("top offset too") << 0.0 << 59.0 << 210.0 << 280.0
                                  << QList<int>{1, 1, 6, 13};
    QTest::newRow("half a millimetre rounds to even") << 5.90625 << 17.71875 << 210.0 << 297.0
                                                    << QList<int>{1, 1, 3, -1};
}

void tst_Layout::margins()
{
    QFETCH(double, offsetX);
    QFETCH(double, offsetY);
    QFETCH(double, printWidth);
    QFETCH(double, printHeight);
    QFETCH(QList<int>, expected);
    Drucker::PrinterMeasures m;
    m.pageWidthTwips = 210 * 56.7;
    m.pageHeightTwips = 297 * 56.7;
    m.printWidthMm = printWidth;
    m.printHeightMm = printHeight;
    m.offsetXDots = offsetX;
    m.offsetYDots = offsetY;
    const Drucker::Margins r = Drucker::computeMargins(m);
    QCOMPARE((QList<int>{r.left, r.right, r.top, r.bottom}), expected);
}

void tst_Layout::noPrinterKeepsMargins()
{
    TestEnvironment env;
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    const auto [l, r, t, b] = Drucker::GetPrinterMargins({0, 0, 7, 0});
    Printing::setPrinterFactory({});
    QCOMPARE(l, 0);
    QCOMPARE(t, 7);
    QVERIFY(env.reporter.reports.isEmpty());
}

void tst_Layout::pdfPrinterMargins_data()
{
    QTest::addColumn<QMarginsF>("edges");        // the printer's unprintable edges, millimetres
    QTest::addColumn<QList<int>>("expected");   // left, right, top, bottom
    // Each edge plus the one millimetre every side gets.
    QTest::newRow("10 mm all round") << QMarginsF(10, 10, 10, 10) << QList<int>{11, 11, 11, 11};
    // Each offset read from its own edge: the top from the left one would give 6/6/6/36.
    QTest::newRow("5 mm sides, 20 mm top and bottom") << QMarginsF(5, 20, 5, 20) << QList<int>{6, 6, 21, 21};
    QTest::newRow("every edge its own") << QMarginsF(4, 12, 8, 16) << QList<int>{5, 9, 13, 17};
}

void tst_Layout::pdfPrinterMargins()
{
    QFETCH(QMarginsF, edges);
    QFETCH(QList<int>, expected);
    TestEnvironment env;
    Printing::setPrinterFactory([edges] {
        auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
        p->setOutputFormat(QPrinter::PdfFormat);
        p->setResolution(300);
        p->setPageSize(QPageSize(QPageSize::A4));
        p->setPageMargins(edges, QPageLayout::Millimeter);
        return p;
    });
    const auto [l, r, t, b] = Drucker::GetPrinterMargins();
    Printing::setPrinterFactory({});
    QCOMPARE((QList<int>{l, r, t, b}), expected);
}

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
