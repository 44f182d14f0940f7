#include "platform/printer.h"

#include <QPageLayout>
#include <QPrinterInfo>

#include <algorithm>

#include <cups/cups.h>
#include <dlfcn.h>

namespace {
std::function<std::unique_ptr<QPrinter>()> g_factory;

// The three calls of libcups the check needs. The library is opened when a page is
// first printed (Qt's print plugin has it loaded by then); linked to the program,
// it would load the spooler's network, encryption and Kerberos libraries at every
// start. Without it, the calls are null and the check is left out.
struct CupsCalls {
    decltype(&cupsGetJobs2) getJobs = nullptr;
    decltype(&cupsFreeJobs) freeJobs = nullptr;
    decltype(&cupsLastError) lastError = nullptr;
};

const CupsCalls &cups()
{
    static const CupsCalls calls = [] {
        CupsCalls c;
        void *lib = dlopen("libcups.so.2", RTLD_NOW | RTLD_LOCAL);
        if (!lib)
            return c;
        c.getJobs = reinterpret_cast<decltype(&cupsGetJobs2)>(dlsym(lib, "cupsGetJobs2"));
        c.freeJobs = reinterpret_cast<decltype(&cupsFreeJobs)>(dlsym(lib, "cupsFreeJobs"));
        c.lastError = reinterpret_cast<decltype(&cupsLastError)>(dlsym(lib, "cupsLastError"));
        if (!c.getJobs || !c.freeJobs || !c.lastError)
            c = CupsCalls();
        return c;
    }();
    return calls;
}

// The highest id among our own jobs in `queue`, finished ones included (the
// spooler keeps them in its history); -1 when the spooler does not answer.
int newestJob(const QByteArray &queue)
{
    if (!cups().getJobs)
        return -1;
    cups_job_t *jobs = nullptr;
    const int count = cups().getJobs(CUPS_HTTP_DEFAULT, &jobs, queue.constData(), 1, CUPS_WHICHJOBS_ALL);
    if (count < 0)
        return -1;
    int newest = 0;
    for (int i = 0; i < count; ++i)
        newest = std::max(newest, jobs[i].id);
    cups().freeJobs(count, jobs);
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
    if (cups().lastError() <= IPP_STATUS_OK_EVENTS_COMPLETE)
        return true;
    // A failure counts only when no new job is in the queue either: the answer
    // may have been to another request. (A spooler that keeps no finished jobs
    // could have lost a fast one by now, which is why the answer comes first.)
    return newestJob(m_queue) > m_newest;
}

} // namespace Printing
