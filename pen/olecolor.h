#pragma once
// Colours as the program stores them: a 32-bit value holding 0x00BBGGRR (red in
// the low byte), or, with the high bit set, a reference to a system colour by
// its index in the low byte (0x8000000F is the face of buttons).

#include <QColor>

#include <cstdint>

namespace OleColor {

constexpr uint32_t ButtonFace = 0x8000000Fu;

constexpr uint32_t rgb(int red, int green, int blue)
{
    return uint32_t(red & 0xFF) | uint32_t(green & 0xFF) << 8 | uint32_t(blue & 0xFF) << 16;
}

// The colour a stored value stands for; system colours come from the
// application's palette. An unknown system colour index gives the button face.
QColor toColor(uint32_t value);

// The stored value of a plain colour (alpha dropped).
inline uint32_t fromColor(const QColor &color)
{
    return rgb(color.red(), color.green(), color.blue());
}

// The stored value of a pixel as Qt reads it (0xAARRGGBB).
inline uint32_t fromPixel(uint32_t qrgb)
{
    return rgb(int(qrgb >> 16 & 0xFF), int(qrgb >> 8 & 0xFF), int(qrgb & 0xFF));
}

} // namespace OleColor
