// The printer margins measured on a real queue: a private spooler with a cups-pdf
// queue, its PPD's imageable area as the reference.

#include "platform/printer.h"
#include "print/drucker.h"
#include "support/printspooler.h"
#include "support/testsupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

class tst_PrinterMargins : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void imageableArea_data();
    void imageableArea();

private:
    PrintSpooler m_spooler;
    QTemporaryDir m_ppds;
};

namespace {

// The values of a PPD keyword for one option choice, e.g. "*ImageableArea A4/A4: "0 0 595 842"".
QList<double> ppdNumbers(const QByteArray &ppd, const QByteArray &keyword, const QByteArray &choice)
{
    const QRegularExpression re(
        QStringLiteral("^\\*%1 %2(/[^:]*)?:\\s*\"([^\"]*)\"")
            .arg(QString::fromLatin1(keyword), QRegularExpression::escape(QString::fromLatin1(choice))),
        QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = re.match(QString::fromLatin1(ppd));
    QList<double> values;
    if (m.hasMatch()) {
        for (const QString &v : m.captured(2).split(u' ', Qt::SkipEmptyParts))
            values << v.toDouble();
    }
    return values;
}

// The chosen paper of a queue as lpoptions lists it: "PageSize/Page Size: Letter *A4 ...".
QByteArray defaultPageSize(const QString &options)
{
    for (const QString &line : options.split(u'\n')) {
        if (!line.startsWith(QStringLiteral("PageSize/")))
            continue;
        for (const QString &choice : line.section(u':', 1).split(u' ', Qt::SkipEmptyParts)) {
            if (choice.startsWith(u'*'))
                return choice.mid(1).toLatin1();
        }
    }
    return QByteArray();
}

} // namespace

void tst_PrinterMargins::initTestCase()
{
    if (PrintSpooler::cupsPdfPpd().isEmpty())
        QSKIP("the cups-pdf driver is not installed (Debian package printer-driver-cups-pdf)");
    if (!m_spooler.start())
        QSKIP(qPrintable(QStringLiteral("no print spooler: ") + m_spooler.whyNot()));
    // Before Qt first asks for a printer.
    m_spooler.useInThisProcess();
    // The cups-pdf PPD again, with an unprintable edge like a laser printer's.
    QFile source(PrintSpooler::cupsPdfPpd());
    QVERIFY(source.open(QIODevice::ReadOnly));
    QByteArray ppd = source.readAll();
    const QByteArray fullPage = "*ImageableArea A4/A4: \"0 0 595 842\"";
    QVERIFY(ppd.contains(fullPage));
    ppd.replace(fullPage, "*ImageableArea A4/A4: \"18 36 577 806\"");
    QFile edged(m_ppds.filePath(QStringLiteral("edged.ppd")));
    QVERIFY(edged.open(QIODevice::WriteOnly));
    edged.write(ppd);
    edged.close();
    QVERIFY2(m_spooler.addQueue(QStringLiteral("cupspdf"), PrintSpooler::cupsPdfPpd(), false),
             qPrintable(m_spooler.whyNot()));
    QVERIFY2(m_spooler.addQueue(QStringLiteral("edged"), edged.fileName(), false), qPrintable(m_spooler.whyNot()));
}

void tst_PrinterMargins::imageableArea_data()
{
    QTest::addColumn<QString>("queue");
    QTest::newRow("cups-pdf, whole page printable") << QStringLiteral("cupspdf");
    QTest::newRow("cups-pdf with an unprintable edge") << QStringLiteral("edged");
}

void tst_PrinterMargins::imageableArea()
{
    QFETCH(QString, queue);
    QVERIFY(!m_spooler.run(QStringLiteral("lpadmin"), {QStringLiteral("-d"), queue}).isNull());

    // What the spooler says: the queue's paper (lpoptions) and its imageable area (PPD).
    const QString options =
        m_spooler.run(QStringLiteral("lpoptions"), {QStringLiteral("-p"), queue, QStringLiteral("-l")});
    const QByteArray paper = defaultPageSize(options);
    QVERIFY2(!paper.isEmpty(), qPrintable(options));
    QFile ppdFile(m_spooler.queuePpd(queue));
    QVERIFY(ppdFile.open(QIODevice::ReadOnly));
    const QByteArray ppd = ppdFile.readAll();
    const QList<double> area = ppdNumbers(ppd, "ImageableArea", paper);       // llx lly urx ury, points
    const QList<double> dimension = ppdNumbers(ppd, "PaperDimension", paper); // width height, points
    QCOMPARE(area.size(), 4);
    QCOMPARE(dimension.size(), 2);

    // The reference: offsets in dots of 300 per inch / 11.8125; the paper in exact
    // millimetres (595 x 842 points is A4, 210 x 297 mm), less the unprintable edges.
    auto mm = [](double points) { return points * 25.4 / 72; };
    const double pageWidth = std::round(mm(dimension[0]));
    const double pageHeight = std::round(mm(dimension[1]));
    const double printWidth = pageWidth - mm(area[0]) - mm(dimension[0] - area[2]);
    const double printHeight = pageHeight - mm(area[1]) - mm(dimension[1] - area[3]);
    const int left = int(std::nearbyint(area[0] / 72 * 300 / 11.8125));
    const int top = int(std::nearbyint((dimension[1] - area[3]) / 72 * 300 / 11.8125));
    const int right = int(std::floor(pageWidth - printWidth - left)) + 1;
    const int bottom = int(std::floor(pageHeight - printHeight - top)) + 1;
    const QList<int> expected{left + 1, right, top + 1, bottom};

    TestEnvironment env;
    Printing::setPrinterFactory({}); // the spooler's default printer
    const auto [l, r, t, b] = Drucker::GetPrinterMargins({-1, -1, -1, -1});
    QCOMPARE((QList<int>{l, r, t, b}), expected);
    QVERIFY(env.reporter.reports.isEmpty());
}

QTEST_MAIN(tst_PrinterMargins)
#include "tst_printermargins.moc"
