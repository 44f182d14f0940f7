#pragma once
// Where the main window puts its parts for a client area of sw x sh pixels. All
// sizes follow the inner width through one unit, Gap (3 % of it).

#include <QRectF>
#include <QSizeF>

#include <array>

struct DrawLayout {
    int gap = 0;
    QRectF panel;  // the toolbar panel, fixed size, lower left
    QRectF canvas; // 4:3, lower right
    QRectF frame;  // the frame label around the canvas
    bool logosStretched = false;
    std::array<QRectF, 2> logos; // the two title logos
    QRectF copyright;            // the maker's notice, bottom left
};

// `logos` are the logos' current places (their place decides the next one),
// `logosStretched` whether they are already stretched.
DrawLayout layoutFor(int sw, int sh, QSizeF panelSize, std::array<QRectF, 2> logos, bool logosStretched,
                     QSizeF copyrightSize);

// The design: inner size 829 x 624, panel 169 x 281, logo 585 x 67, notice 187 x 14.
constexpr int DesignWidth = 829;
constexpr int DesignHeight = 624;
constexpr QSizeF PanelSize(169, 281);
constexpr QSizeF LogoSize(585, 67);
constexpr QSizeF CopyrightSize(187, 14);

// Nearest whole pixel of a layout figure, halves to the even neighbour.
QRect toPixels(const QRectF &r);
