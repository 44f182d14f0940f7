#pragma once
// The main window's parts besides the canvas and the toolbar: the background
// picture's stand-in, the frame around the canvas, the two title logos and the
// maker's notice, and the pencil pointer over the canvas.

#include <QCursor>
#include <QImage>

class QLabel;
class QWidget;

namespace TitleParts {
// A warm gradient of the window's design size, when the background picture is
// missing.
QImage fallbackBackground();
// The frame behind the canvas, in the buttons' face colour.
QLabel *makeFrame(QWidget *parent);
// Title logo `index` (0 German, 1 every other language); its text in bold
// when the picture is missing.
QLabel *makeLogo(int index, QWidget *parent);
// The maker's notice, hidden until the first layout places it.
QLabel *makeCopyright(QWidget *parent);
// The pencil pointer (cursor resource 101) with the hot spot stored in the
// picture; raises 481 when the picture cannot be read.
QCursor pencilCursor();
} // namespace TitleParts
