#include "platform/printer.h"

#include <QPageLayout>
#include <QPrinterInfo>

#include <algorithm>

#include <cups/cups.h>

namespace {
std::function<std::unique_ptr<QPrinter>()> g_factory;

// The highest id among our own jobs in `queue`, finished ones included (the
// spooler keeps them in its history); -1 when the spooler does not answer.
int newestJob(const QByteArray &queue)
{
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 1, CUPS_WHICHJOBS_ALL);
    if (count < 0)
        return -1;
    int newest = 0;
    for (int i = 0; i < count; ++i)
        newest = std::max(newest, jobs[i].id);
    cupsFreeJobs(count, jobs);
    return newest;
}
} // namespace

namespace Printing {

std::unique_ptr<QPrinter> defaultPrinter()
{
    if (g_factory)
        return g_factory();
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setResolution(300);
    // A fresh QPrinter keeps Qt's default margins; the page we draw on is what the
    // printer itself can print, as far as its unprintable edge allows.
    const QPageLayout layout = printer->pageLayout();
    printer->setPageMargins(layout.minimumMargins(), layout.units());
    return printer;
}

void setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory) { g_factory = std::move(factory); }

SpoolerQueue::SpoolerQueue(const QPrinter &printer)
{
    if (printer.outputFormat() != QPrinter::NativeFormat || !printer.outputFileName().isEmpty()
        || printer.printerName().isEmpty())
        return;
    // The spooler knows the queue without the instance part ("queue/instance").
    const QByteArray queue = printer.printerName().section(u'/', 0, 0).toLocal8Bit();
    m_newest = newestJob(queue);
    if (m_newest >= 0)
        m_queue = queue;
}

bool SpoolerQueue::tookNewJob() const
{
    if (m_queue.isEmpty())
        return true;
    // Qt hands the page over in one request and drops the spooler's answer; it is
    // still the last answer this thread had (the look at the queue before set it
    // to success, so a page Qt never handed over does not count as refused).
    if (cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return true;
    // A failure counts only when no new job is in the queue either: the answer
    // may have been to another request. (A spooler that keeps no finished jobs
    // could have lost a fast one by now, which is why the answer comes first.)
    return newestJob(m_queue) > m_newest;
}

} // namespace Printing
