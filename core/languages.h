#pragma once
// The seven languages of the language table, by language digit (the language
// offset divided by 1000), and the one switch between them.

#include <QByteArray>
#include <QList>
#include <QString>

#include <cstdint>
#include <optional>

namespace Allgemein {

// A flag's place on the main window's toolbar panel, twips.
struct FlagPlace {
    int left;
    int top;
};

struct Language {
    int digit;
    const char *code;              // ISO 639-1; the help manual's page is Stiftolino.<code>.html
    const char *qtCodes[2];        // Qt's translations to try, best first; none for English
    const char *name;              // in the language itself, UTF-8: the flag's tooltip
    std::optional<FlagPlace> flag; // none: the language has no flag
};

// Norwegian takes Nynorsk when there is no Bokmål translation: Qt's few words
// read the same in both.
inline constexpr Language Languages[] = {
    {0, "de", {"de", nullptr}, "Deutsch", FlagPlace{540, 3510}},
    {1, "en", {nullptr, nullptr}, "English", FlagPlace{1020, 3510}},
    {2, "sv", {"sv", nullptr}, "Svenska", std::nullopt},
    {3, "it", {"it", nullptr}, "Italiano", FlagPlace{1230, 3810}},
    {4, "es", {"es", nullptr}, "Espa\u00f1ol", FlagPlace{1500, 3510}},
    {5, "no", {"nb", "nn"}, "Norsk", std::nullopt},
    {6, "fr", {"fr", nullptr}, "Fran\u00e7ais", FlagPlace{750, 3810}},
};

// The language of `languageOffset`; none for an offset outside the table.
const Language *LanguageOf(int languageOffset);
// Its code; English for an offset outside the table.
QString LanguageCode(int languageOffset);

// The desktop's language among the seven, as its offset: the first of
// `localeNames` (best first, "fr_FR.UTF-8", "nb") that names one of them; German
// (0) when none does. Norwegian answers to "no", "nb" and "nn".
int16_t DesktopLanguageOffset(const QList<QByteArray> &localeNames);
// The language to start in: the stored "Sprache" always, and the desktop's
// when none is stored (a first start). Nothing is stored here.
int16_t StartLanguageOffset();

// Switches the program to language `digit`: sets LanguageOffset, stores it at
// once (Key::Language), switches Qt's own texts, and sends QEvent::LanguageChange
// to the application, on which every window sets its captions again before
// this returns. The language in use changes nothing and writes nothing.
void SwitchLanguage(int digit);

} // namespace Allgemein
