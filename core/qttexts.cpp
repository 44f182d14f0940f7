#include "core/qttexts.h"

#include "core/languages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <memory>

namespace Allgemein {

namespace {
std::unique_ptr<QTranslator> g_translator;
} // namespace

QString UseQtTexts(int16_t languageOffset)
{
    if (g_translator) {
        QCoreApplication::removeTranslator(g_translator.get());
        g_translator.reset();
    }
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    const Language *wanted = LanguageOf(languageOffset);
    if (!wanted)
        return QString();
    for (const char *code : wanted->qtCodes) {
        if (!code)
            continue;
        const QString language = QString::fromLatin1(code);
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
