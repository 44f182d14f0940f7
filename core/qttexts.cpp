#include "core/qttexts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QStringList>
#include <QTranslator>

#include <memory>

namespace Allgemein {

namespace {
std::unique_ptr<QTranslator> g_translator;

// Qt's names for the languages of the table, by language digit, best first.
// Norwegian takes Nynorsk when there is no Bokmål translation: Qt's few words
// read the same in both.
QStringList qtLanguages(int16_t languageOffset)
{
    switch (languageOffset) {
    case 0: return {QStringLiteral("de")};
    case 2000: return {QStringLiteral("sv")};
    case 3000: return {QStringLiteral("it")};
    case 4000: return {QStringLiteral("es")};
    case 5000: return {QStringLiteral("nb"), QStringLiteral("nn")};
    case 6000: return {QStringLiteral("fr")};
    default: return {};   // English, and any offset outside the table
    }
}
} // namespace

QString UseQtTexts(int16_t languageOffset)
{
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator.get());
        g_translator.reset();
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    for (const QString &language : qtLanguages(languageOffset)) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QStringLiteral("qtbase_") + language, folder) && !translator->isEmpty()) {
            QCoreApplication::installTranslator(translator.get());
            g_translator = std::move(translator);
            return language;
        }
    }
    return QString();
}

} // namespace Allgemein
