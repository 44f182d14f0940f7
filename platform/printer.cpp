#include "platform/printer.h"

#include <QPageLayout>
#include <QPrinterInfo>

namespace {
std::function<std::unique_ptr<QPrinter>()> g_factory;
}

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

void setPrinterFactory(std::function<std::unique_ptr<QPrinter>()> factory)
{
    g_factory = std::move(factory);
}

} // namespace Printing
