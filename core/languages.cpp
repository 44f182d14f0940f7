#include "core/languages.h"

#include "core/errorframe.h"
#include "core/globals.h"
#include "core/language.h"
#include "core/qttexts.h"
#include "core/settings.h"
#include "platform/desktoplanguage.h"

#include <QCoreApplication>
#include <QEvent>

namespace Allgemein {

const Language *LanguageOf(int languageOffset)
{
    if (languageOffset % 1000 != 0)
        return nullptr;
    for (const Language &language : Languages) {
        if (language.digit * 1000 == languageOffset)
            return &language;
    }
    return nullptr;
}

QString LanguageCode(int languageOffset)
{
    const Language *language = LanguageOf(languageOffset);
    return QString::fromLatin1(language ? language->code : "en");
}

int16_t DesktopLanguageOffset(const QList<QByteArray> &localeNames)
{
    for (const QByteArray &name : localeNames) {
        const QByteArray code = DesktopLanguage::languageCode(name);
        if (code.isEmpty())
            continue;
        for (const Language &language : Languages) {
            if (code == language.code || code == language.qtCodes[0] || code == language.qtCodes[1])
                return int16_t(language.digit * 1000);
        }
    }
    return Defaults::LanguageOffset;
}

int16_t StartLanguageOffset()
{
    if (IsSettingStored(Key::Language))
        return GetSettingInt16(Key::Language);
    return DesktopLanguageOffset(DesktopLanguage::preferred());
}

void SwitchLanguage(int digit)
{
    ErrorFrame f("Allgemein", "SwitchLanguage");
    f.run([&] {
        f.line(10, [&] {
            if (digit * 1000 == LanguageOffset)
                f.exit();
        });
        f.line(20, [&] {
            LanguageOffset = int16_t(digit * 1000);
            UseQtTexts(LanguageOffset);
        });
        f.line(30, [&] { SaveSetting(Key::Language, QString::number(LanguageOffset)); });
        f.line(40, [&] {
            ForgetLanguageTable();
            QCoreApplication *app = QCoreApplication::instance();
            if (!app)
                return;
            QEvent change(QEvent::LanguageChange);
            QCoreApplication::sendEvent(app, &change);
            // The application hands the change on to its windows as posted events;
            // they are delivered here, so the captions have changed on return.
            QCoreApplication::sendPostedEvents(nullptr, QEvent::LanguageChange);
        });
    });
}

} // namespace Allgemein
