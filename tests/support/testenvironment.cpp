// The window seams of TestEnvironment, apart from the core's environment so that
// a test of the core alone links no widgets.
#include "support/testsupport.h"

#include "platform/printer.h"
#include "platform/shell.h"

TestEnvironment::TestEnvironment()
{
    Prompts::setBackend(&prompts);
    Shell::setOpener([this](const QUrl &url) {
        opened << url;
        return openSucceeds;
    });
    Printing::setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
}

TestEnvironment::~TestEnvironment()
{
    Printing::setPrinterFactory({});
    Shell::setOpener({});
    Prompts::setBackend(nullptr);
}
