#pragma once
// The program's own artwork, drawn with QPainter (and one SVG source for the
// application icon). Every function returns a finished picture of the size the
// program expects; main.cpp writes them out under their resource names.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

namespace Art {

// The sand colour of the buttons: the key colour of all artwork.
inline QColor sand() { return QColor(222, 191, 120); }
inline QColor sandLight() { return QColor(241, 224, 180); }
inline QColor paper() { return QColor(255, 249, 232); }
inline QColor ink() { return QColor(92, 64, 28); }  // warm dark brown outlines
inline QColor olive() { return QColor(64, 64, 0); } // the notice text colour

// Friendly crayon colours used across the pictures.
QList<QColor> crayonColours();

// Every picture is drawn in its logical size; with `scale` 2 it has twice the
// pixels and a device pixel ratio of 2, for high-resolution screens ("@2x").

// scenes.cpp
QImage background(int scale = 1);       // 829 x 624
QImage pickerBackground(int scale = 1); // 440 x 420
QImage aboutPicture(int scale = 1);     // 356 x 330
QImage aboutIcon(int scale = 1);        // 32 x 32
QImage welcomePicture(int scale = 1);   // 400 x 300, bitmap resource 100
QImage penBackground(int scale = 1);    // 609 x 239

// logo.cpp
QImage logo(int index, int scale = 1); // 585 x 67; 0 German, 1 English

// flags.cpp
QImage flag(int digit, int scale = 1); // 32 x 20; digits 0, 1, 3, 4, 6
QList<int> flagDigits();

// icons.cpp
QStringList iconNames();
QImage icon(const QString &name, int scale); // 24 * scale square, black with alpha

// controls.cpp
QImage palette(int scale = 1);     // 475 x 132
QImage sliderThumb(int scale = 1); // 16 x 16
QImage sliderRail(int scale = 1);  // 18 x 133
QImage grid(int scale = 1);        // 400 x 300
QImage cursor();                   // 32 x 32 with the text key "hotspot"
QPoint cursorHotspot();

// Palette geometry: 19 columns of 25 pixels, 6 rows of 22 pixels.
constexpr int PaletteColumns = 19;
constexpr int PaletteRows = 6;
constexpr int PaletteCellWidth = 25;
constexpr int PaletteCellHeight = 22;
QColor paletteColour(int column, int row);

// appicon.cpp
QImage appIcon(const QString &svgPath, int size);

// contactsheet.cpp: one review picture of everything in `artDir`.
QImage contactSheet(const QString &artDir);

// paint helpers (paint.cpp)
// An image of w x h logical pixels at the given scale: a painter on it draws in
// logical pixels.
QImage canvas(int w, int h, QImage::Format format, int scale);
// The image's rectangle in logical pixels.
QRect logicalRect(const QImage &image);
// A deterministic value in [0, 1) for a pixel and a seed: grain without randomness.
double hashNoise(int x, int y, int seed);
// Adds a faint paper grain of +-`amount` levels to an opaque image.
void addGrain(QImage &image, int amount, int seed);
// Bold DejaVu Sans at the given pixel size.
QFont boldFont(int pixelSize, bool italic = false);

} // namespace Art
