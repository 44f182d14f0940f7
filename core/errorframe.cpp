#include "core/errorframe.h"

#include <cstdlib>

namespace {
ErrorReporter *g_reporter = nullptr;
std::function<void()> g_endHandler;
} // namespace

QString errorDescription(int number)
{
    switch (number) {
    case Err::InvalidCall:
        return QStringLiteral("Invalid procedure call or argument");
    case Err::Overflow:
        return QStringLiteral("Overflow");
    case Err::OutOfMemory:
        return QStringLiteral("Out of memory");
    case Err::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case Err::BadFileName:
        return QStringLiteral("Bad file name or number");
    case Err::FileNotFound:
        return QStringLiteral("File not found");
    case Err::DiskFull:
        return QStringLiteral("Disk full");
    case Err::PathFileAccess:
        return QStringLiteral("Path/File access error");
    case Err::PathNotFound:
        return QStringLiteral("Path not found");
    case Err::ResourceNotFound:
        return QStringLiteral("Resource not found");
    case Err::InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case Err::InvalidPicture:
        return QStringLiteral("Invalid picture");
    case Err::PrinterError:
        return QStringLiteral("Printer error");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

void raiseError(int number, const QString &description)
{
    throw RuntimeError{number, description.isEmpty() ? errorDescription(number) : description};
}

namespace ErrorHandling {

void setReporter(ErrorReporter *reporter) { g_reporter = reporter; }
ErrorReporter *reporter() { return g_reporter; }
void setEndHandler(std::function<void()> handler) { g_endHandler = std::move(handler); }

void endProgram()
{
    if (g_endHandler)
        g_endHandler();
    // End means at once: no settings saved, no further handler, no destructors.
    std::_Exit(0);
}

} // namespace ErrorHandling

ErrorChoice ErrorFrame::ask(const PendingError &pending) const
{
    if (!g_reporter)
        return ErrorChoice::Cancel;
    const int choice = g_reporter->onError(m_module, m_procedure, pending);
    if (choice >= 0 && choice <= 3)
        return static_cast<ErrorChoice>(choice);
    return ErrorChoice::Cancel;
}
