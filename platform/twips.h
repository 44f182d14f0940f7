#pragma once
// Twips: 1440 to the inch, the unit of window places and outer sizes on the
// screen. At 96 dots per inch one pixel is 15 twips. Every conversion between
// twips and pixels goes through here.

#include <cstdint>

namespace Twips {

// Twips per pixel when the screen's resolution is unknown (96 dots per inch).
constexpr int DefaultPerPixel = 15;

// Twips per pixel for a screen of `dotsPerInch`, rounded half to even;
// DefaultPerPixel when the figure is unknown or absurd.
int fromDpi(double dotsPerInch);
// The primary screen's twips per pixel, horizontal and vertical.
int perPixelX();
int perPixelY();

// A length in twips as whole pixels, rounded half to even; a scale of 0 or
// less counts as DefaultPerPixel.
int toPixels(double twips, int twipsPerPixel);
// A length in pixels as twips.
constexpr int32_t fromPixels(int pixels, int twipsPerPixel) { return pixels * twipsPerPixel; }

} // namespace Twips
