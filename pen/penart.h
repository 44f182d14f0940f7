#pragma once
// The pictures of the pen window. Each comes from the program's
// artwork; when a picture is missing a plain one of the same size and
// arrangement is drawn instead, so the window keeps its layout and works.

#include <QImage>

namespace PenArt {

// The colour palette, 475 x 132: two columns of greys from white to black, then
// hue columns from red through yellow, green, cyan and blue to magenta, each in
// six shades from light to dark.
QImage palette();
// The window's background, 609 x 239: a sand-coloured panel with a double frame.
QImage background();

// The plain pictures themselves.
QImage plainPalette();
QImage plainBackground();

} // namespace PenArt
