#pragma once
// Conversions of text and numbers as the program's settings and layout need them.

#include <QString>

#include <cmath>
#include <cstdint>

// Nearest whole number, halves to the even neighbour (5.5 -> 6, 6.5 -> 6).
inline double roundHalfEven(double v) { return std::nearbyint(v); }

// The ordinary numeric conversion of a text to a 16- or 32-bit integer: blanks
// around it are allowed, a fraction is rounded half to even. A text that is not a
// number raises error 13 (type mismatch); one out of range raises error 6 (overflow).
int16_t toInt16(const QString &text);
int32_t toInt32(const QString &text);
int16_t toInt16(double value);
int32_t toInt32(double value);

// The shortest decimal text of a single-precision number ("4776", "12.5").
QString singleText(double value);
