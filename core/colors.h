#pragma once
// Colours as the program stores them, and the design colours of its windows.
//
// A stored colour is a 24-bit RGB value in a 32-bit integer with red in the low
// byte (0x00BBGGRR), as the pen colour "Color" is kept. With the high bit set
// the value names a system colour by its index in the low byte instead
// (0x8000000F is the face of buttons).

#include <QColor>

#include <cstdint>

namespace Colors {

// The sand of the tool windows' panels and the slider's back.
inline const QColor Sand(222, 191, 120);
// The dark olive of frames drawn around panels, and of the maker's notice.
inline const QColor FrameDark(64, 64, 0);
// The sound button's text while the sound is off.
inline const QColor SoundOff(255, 0, 0);

} // namespace Colors

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
inline uint32_t fromColor(const QColor &color) { return rgb(color.red(), color.green(), color.blue()); }

} // namespace OleColor

// The pen colour as the settings hold it, and back.
inline QColor fromRgbValue(int32_t value) { return OleColor::toColor(uint32_t(value) & 0x00FFFFFFu); }
inline int32_t toRgbValue(const QColor &color) { return int32_t(OleColor::fromColor(color)); }
