#pragma once
// The slider's own pictures: the thumb and the rail from the program's artwork,
// or plain ones of the same size when the artwork is missing.

#include <QImage>

namespace SliderArt {

// The thumb, 16 x 16.
QImage thumb();
// The rail, 18 x 133: a narrow groove.
QImage rail();

// The plain pictures themselves.
QImage plainThumb();
QImage plainRail();

} // namespace SliderArt
