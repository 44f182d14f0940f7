#pragma once
// How much of the paper the default printer cannot print on, in whole millimetres.

#include <cstdint>

namespace Drucker {

// What the printer reports: page size in twips, printable size in millimetres,
// physical offsets of the printable area in printer dots.
struct PrinterMeasures {
    double pageWidthTwips = 0;
    double pageHeightTwips = 0;
    double printWidthMm = 0;
    double printHeightMm = 0;
    double offsetXDots = 0;
    double offsetYDots = 0;
};

struct Margins {
    int16_t left = 0, right = 0, top = 0, bottom = 0;
};

// The arithmetic: offsets / 11.8125 dots per millimetre (rounded half to even),
// right and bottom from what remains of the page, and one millimetre more on
// every side. Right and bottom use left and top before they are enlarged.
Margins computeMargins(const PrinterMeasures &m);

// Measures the default printer; without one (or on any failure) it returns
// `known`, the margins as they were, silently.
Margins GetPrinterMargins(Margins known = {});

} // namespace Drucker
