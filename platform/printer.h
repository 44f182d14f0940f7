#pragma once
// The default printer, behind a seam: tests give a PDF-writing printer or none.
// With no printer installed a QPrinter would quietly become a PDF writer with no
// file, so the seam says "none" instead.

#include <QPrinter>

#include <functional>
#include <memory>

namespace Printing {
// The default printer at 300 dots per inch, its page rectangle the area the
// printer can print on (its own minimum margins), or null when there is none.
std::unique_ptr<QPrinter> defaultPrinter();
// Replaces where printers come from (tests); empty restores the system's.
void setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory);

// The spooler's queue behind a printer, asked directly: Qt hands the page over
// without looking whether the spooler took it (a queue that rejects jobs prints
// nothing, and Qt reports success).
class SpoolerQueue
{
public:
    // Notes the newest of our jobs in the queue `printer` prints to, before a
    // page is handed over. A printer that writes a file, or a queue the spooler
    // will not list, is not watched.
    explicit SpoolerQueue(const QPrinter &printer);
    // After the page was handed over: whether the spooler took it, by its answer
    // to the handing over, or by a job newer than those noted in the queue
    // (waiting, printing or done). True when not watched. A paused queue still
    // takes jobs; one that rejects them does not.
    bool tookNewJob() const;

private:
    QByteArray m_queue; // empty when not watched
    int m_newest = 0;
};
} // namespace Printing
