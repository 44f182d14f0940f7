// Printing: the printer's margins, computed from what the printer tells and
// measured from a printer or the lack of one, and where the page puts the picture
// and its title. The margins of real queues and the printed page itself go
// through a real spooler in tst_toolbar.

#include "platform/printer.h"
#include "print/drucker.h"
#include "print/printpage.h"
#include "support/testsupport.h"

#include <QTest>

class tst_Print : public QObject
{
    Q_OBJECT
private slots:
    void init() { m_env.emplace(); }
    void cleanup() { m_env.reset(); }
    void margins_data();
    void margins();
    void pdfPrinterMargins_data();
    void pdfPrinterMargins();
    void printPage_data();
    void printPage();

private:
    std::optional<TestEnvironment> m_env;
};

void tst_Print::margins_data()
{
    QTest::addColumn<Drucker::PrinterMeasures>("measures");
    QTest::addColumn<QList<int>>("expected"); // left, right, top, bottom
    // A4, 210 x 297 mm: the offsets in dots, the printable area in millimetres.
    const auto a4 = [](double offsetX, double offsetY, double printWidth, double printHeight) {
        return Drucker::PrinterMeasures{210 * 56.7, 297 * 56.7, printWidth, printHeight, offsetX, offsetY};
    };
    QTest::newRow("no offsets, whole page printable") << a4(0, 0, 210, 297) << QList<int>{1, 1, 1, 1};
    QTest::newRow("59 dots is 5 mm, then 6") << a4(59, 0, 200, 297) << QList<int>{6, 6, 1, 1};
    QTest::newRow("top offset too") << a4(0, 59, 210, 280) << QList<int>{1, 1, 6, 13};
    QTest::newRow("half a millimetre rounds to even") << a4(5.90625, 17.71875, 210, 297) << QList<int>{1, 1, 3, -1};
}

void tst_Print::margins()
{
    QFETCH(Drucker::PrinterMeasures, measures);
    QFETCH(QList<int>, expected);
    const Drucker::Margins r = Drucker::computeMargins(measures);
    QCOMPARE((QList<int>{r.left, r.right, r.top, r.bottom}), expected);
}

void tst_Print::pdfPrinterMargins_data()
{
    QTest::addColumn<QMarginsF>("edges");     // the printer's unprintable edges, millimetres; none: no printer
    QTest::addColumn<QList<int>>("expected"); // left, right, top, bottom
    // Without a printer the margins known before stay: 0, 0, 7, 0.
    QTest::newRow("no printer") << QMarginsF() << QList<int>{0, 0, 7, 0};
    // Each edge plus the one millimetre every side gets.
    QTest::newRow("10 mm all round") << QMarginsF(10, 10, 10, 10) << QList<int>{11, 11, 11, 11};
    // Each offset read from its own edge: the top from the left one would give 6/6/6/36.
    QTest::newRow("5 mm sides, 20 mm top and bottom") << QMarginsF(5, 20, 5, 20) << QList<int>{6, 6, 21, 21};
    QTest::newRow("every edge its own") << QMarginsF(4, 12, 8, 16) << QList<int>{5, 9, 13, 17};
}

void tst_Print::pdfPrinterMargins()
{
    QFETCH(QMarginsF, edges);
    QFETCH(QList<int>, expected);
    if (!edges.isNull()) {
        Printing::setPrinterFactory([edges] {
            auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
            p->setOutputFormat(QPrinter::PdfFormat);
            p->setResolution(300);
            p->setPageSize(QPageSize(QPageSize::A4));
            p->setPageMargins(edges, QPageLayout::Millimeter);
            return p;
        });
    }
    const auto [l, r, t, b] = Drucker::GetPrinterMargins({0, 0, 7, 0});
    QCOMPARE((QList<int>{l, r, t, b}), expected);
    QVERIFY(m_env->reporter.reports.isEmpty());
}

void tst_Print::printPage_data()
{
    QTest::addColumn<Drucker::Margins>("margins");
    QTest::addColumn<QRectF>("picture");
    QTest::addColumn<QPointF>("title");
    using M = Drucker::Margins; // left, right, top, bottom
    QTest::newRow("no margins measured") << M{0, 0, 0, 0} << QRectF(0, 0, 200, 287) << QPointF(0, 0);
    QTest::newRow("even margins") << M{5, 5, 5, 5} << QRectF(5, 5, 195, 282) << QPointF(5, 0);
    // Reaching past the printable area's far edges: cut back to it.
    QTest::newRow("left larger than right") << M{12, 3, 9, 2} << QRectF(12, 9, 188, 278) << QPointF(12, 0);
    QTest::newRow("margins eat the page") << M{5, 250, 5, 5} << QRectF() << QPointF(5, 0);
}

void tst_Print::printPage()
{
    QFETCH(Drucker::Margins, margins);
    QFETCH(QRectF, picture);
    QFETCH(QPointF, title);
    const PrintPage page = printPageFor(QSizeF(200, 287), margins); // A4's printable area, in millimetres
    QCOMPARE(page.picture, picture);
    QCOMPARE(page.title, title);
}

QTEST_MAIN(tst_Print)
#include "tst_print.moc"
