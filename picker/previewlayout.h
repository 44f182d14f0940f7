#pragma once
// The lesson window's geometry: a preview of 400 x 300 or 200 x 150 pixels, the
// window around it, and the three button panels centred under it.

#include <QPoint>
#include <QSize>

namespace PreviewLayout {

constexpr QPoint PreviewPos(16, 16);
constexpr QSize DesignWindow(435, 426);
constexpr QSize PanelSizes[3] = {{249, 97}, {249, 49}, {257, 100}};

inline QSize previewSize(bool large) { return large ? QSize(400, 300) : QSize(200, 150); }
inline QSize windowSize(QSize preview) { return preview + QSize(40, 120); }

// Centred under the preview: (window width - panel width) / 2, the fraction cut
// off towards zero, at the preview's bottom edge.
inline QPoint panelPos(int windowWidth, QSize panel, QSize preview)
{
    return QPoint((windowWidth - panel.width()) / 2, PreviewPos.y() + preview.height());
}

} // namespace PreviewLayout
