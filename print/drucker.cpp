#include "print/drucker.h"

#include "core/convert.h"
#include "core/errorframe.h"
#include "platform/printer.h"

#include <QPageLayout>

#include <cmath>

namespace Drucker {

namespace {
constexpr double TwipsPerMm = 56.7;
constexpr double DotsPerMm = 11.8125;
} // namespace

Margins computeMargins(const PrinterMeasures &m)
{
    Margins r;
    const double pageHeight = m.pageHeightTwips / TwipsPerMm;
    const double pageWidth = m.pageWidthTwips / TwipsPerMm;
    r.left = toInt16(roundHalfEven(m.offsetXDots / DotsPerMm));
    r.right = toInt16(std::floor(pageWidth - m.printWidthMm - r.left) + 1);
    r.left = toInt16(r.left + 1);
    r.top = toInt16(roundHalfEven(m.offsetYDots / DotsPerMm));
    r.bottom = toInt16(std::floor(pageHeight - m.printHeightMm - r.top) + 1);
    r.top = toInt16(r.top + 1);
    return r;
}

Margins GetPrinterMargins(Margins known)
{
    // Any failure leaves quietly with the margins as they were.
    Margins measured = known;
    tryQuietly([&] {
        std::unique_ptr<QPrinter> printer = Printing::defaultPrinter();
        if (!printer)
            return;
        PrinterMeasures m;
        // The paper in exact millimetres (A4 is 210 x 297, not 595 x 842 whole points).
        const QRectF paper = printer->pageLayout().fullRect(QPageLayout::Millimeter);
        m.pageWidthTwips = paper.width() * TwipsPerMm;
        m.pageHeightTwips = paper.height() * TwipsPerMm;
        const QRectF printable = printer->pageRect(QPrinter::Millimeter);
        m.printWidthMm = printable.width();
        m.printHeightMm = printable.height();
        const QRectF pagePx = printer->pageRect(QPrinter::DevicePixel);
        const QRectF paperPx = printer->paperRect(QPrinter::DevicePixel);
        m.offsetXDots = pagePx.left() - paperPx.left();
        m.offsetYDots = pagePx.top() - paperPx.top();
        measured = computeMargins(m);
    });
    return measured;
}

} // namespace Drucker
