#pragma once
// Windows-1252, the code page of the language table and the error protocol.

#include <QByteArray>
#include <QString>

namespace Cp1252 {
QString decode(const QByteArray &bytes);
// Each character the code page lacks becomes one '?' (a character outside the
// first 65536 too, and a lone surrogate).
QByteArray encode(const QString &text);
// True when every character of `text` has a place in the code page.
bool canEncode(const QString &text);
} // namespace Cp1252
