#include "core/colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace OleColor {

QColor toColor(uint32_t value)
{
    if (!(value & 0x80000000u))
        return QColor(int(value & 0xFF), int(value >> 8 & 0xFF), int(value >> 16 & 0xFF));
    const QPalette pal = QGuiApplication::palette();
    switch (value & 0xFF) {
    case 5:
        return pal.color(QPalette::Base); // window background
    case 8:
        return pal.color(QPalette::WindowText); // window text
    case 13:
        return pal.color(QPalette::Highlight);
    case 14:
        return pal.color(QPalette::HighlightedText);
    case 16:
        return pal.color(QPalette::Dark); // button shadow
    case 18:
        return pal.color(QPalette::ButtonText);
    case 20:
        return pal.color(QPalette::Light); // button highlight
    case 15:                               // button face
    default:
        return pal.color(QPalette::Button);
    }
}

} // namespace OleColor
