#include "print/printjob.h"

#include "core/errorframe.h"
#include "platform/printer.h"
#include "print/printpage.h"

#include <QPageLayout>
#include <QPainter>

const Drucker::Margins &PrintJob::margins()
{
    if (!m_measured) {
        m_measured = true;
        m_margins = Drucker::GetPrinterMargins(m_margins);
    }
    return m_margins;
}

void PrintJob::print(ErrorFrame &f, const QImage &picture, const QString &title, const QFont &font)
{
    std::unique_ptr<QPrinter> printer;
    QRectF printable; // device pixels from the paper's corner
    double dotsPerMm = 0;
    PrintPage page;
    margins(); // measured once, at the first Print
    f.line(160, [&] {
        printer = Printing::defaultPrinter();
        if (!printer)
            raiseError(Err::PrinterError, QStringLiteral("No default printer"));
    });
    // Paper, orientation and colour stay as the printer's own defaults have them.
    f.line(170, [&] {
        if (!printer)
            return;
        // The printable area is the paper less the printer's unprintable edge;
        // the page is then drawn on from the paper's corner.
        QPageLayout layout = printer->pageLayout();
        layout.setMargins(layout.minimumMargins());
        printable = layout.paintRectPixels(printer->resolution());
        printer->setFullPage(true);
        dotsPerMm = printer->resolution() / 25.4;
        page = printPageFor(printable.size() / dotsPerMm, m_margins);
    });
    f.line(210, [&] {
        if (!printer)
            return;
        const auto onPaper = [&](QPointF mm) { return printable.topLeft() + mm * dotsPerMm; };
        // What the spooler's queue holds before the page goes: afterwards it
        // must hold one job more.
        const Printing::SpoolerQueue queue(*printer);
        QPainter painter;
        if (!painter.begin(printer.get()))
            raiseError(Err::PrinterError, QStringLiteral("The printer cannot be started"));
        if (!page.picture.isEmpty()) {
            painter.setRenderHint(QPainter::SmoothPixmapTransform);
            painter.drawImage(QRectF(onPaper(page.picture.topLeft()), onPaper(page.picture.bottomRight())), picture);
        }
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRectF(onPaper(page.title), printable.bottomRight()),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, title);
        if (!painter.end() || printer->printerState() == QPrinter::Error)
            raiseError(Err::PrinterError, QStringLiteral("The page could not be printed"));
        if (!queue.tookNewJob())
            raiseError(Err::PrinterError, QStringLiteral("The printer did not take the page"));
    });
}
