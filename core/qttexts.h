#pragma once
// Qt's own texts (the Yes and No of the message boxes, the input box's Cancel) in
// the program's language, from Qt's installed translations.

#include <QString>

#include <cstdint>

namespace Allgemein {

// Loads Qt's translation for the language of `languageOffset` in place of the one
// loaded before; English, and a language Qt has no translation for, use Qt's own
// English texts. Returns the translation file's language, empty for none.
QString UseQtTexts(int16_t languageOffset);

} // namespace Allgemein
