#pragma once
// Colours as the settings hold them: a 24-bit RGB value in a 32-bit integer with
// red in the low byte (0x00BBGGRR), as the pen colour "Color" is stored.

#include <QColor>

#include <cstdint>

inline QColor fromRgbValue(int32_t value)
{
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline int32_t toRgbValue(const QColor &color)
{
    return int32_t(color.red() | (color.green() << 8) | (color.blue() << 16));
}
