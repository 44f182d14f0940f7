#pragma once
// Twips: 1440 to the inch, the unit of window places on the screen. At 96 dots
// per inch one pixel is 15 twips.

namespace Twips {
// Twips per pixel for a screen of `dotsPerInch`, rounded half to even; 15 when
// the figure is unknown or absurd.
int fromDpi(double dotsPerInch);
// The screen's twips per pixel, rounded to whole numbers (15 when unknown).
int perPixelX();
int perPixelY();
} // namespace Twips
