#pragma once
// The Save command: asks the child for a name and writes the canvas into the
// pictures folder as a bitmap, whole or not at all.

class ErrorFrame;
class QImage;
class QWidget;

namespace SavePicture {
// Asks for the name (kept in PictureName) and saves `picture` under it, asking
// first before it replaces a picture of that name; statements 90 to 130 of the
// caller's frame. An empty name or a No saves nothing.
void run(ErrorFrame &f, QWidget *parent, const QImage &picture);
} // namespace SavePicture
