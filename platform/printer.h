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
} // namespace Printing
