#pragma once
// The language table: texts by message number in seven languages, from the
// temporary copy of the table at LanguageFilePath. The copy is read once and
// kept until it changes on disk or the language is switched.

#include <QByteArray>
#include <QHash>
#include <QString>

#include "core/texts.h"

#include <cstdint>

namespace Allgemein {

// The text of key `number` (LanguageOffset + message number); empty when the
// file, the key or the text is missing. At most 254 characters.
QString GetLang(int16_t number);

// The text of message `id` in the current language. The sum with the language
// offset is a 16-bit number: past 32767 it raises an overflow.
QString Msg(Text id);

// Lets go of the table read before, so that the next text reads the copy again.
void ForgetLanguageTable();

// The lookup itself, on the file's bytes: section names and keys compared without
// regard to case, the first matching key wins, blanks and tabs around the text
// removed, the file ends at its first NUL. `found` tells whether the key exists.
QString LookupProfileString(const QByteArray &file, const QString &section, const QString &key, bool *found = nullptr);
// Every key of `section` with its text, read by the same rules; the keys case-folded.
QHash<QString, QString> ReadProfileSection(const QByteArray &file, const QString &section);

} // namespace Allgemein
