#include "platform/desktoplanguage.h"

#include <QtGlobal>

namespace DesktopLanguage {

QList<QByteArray> preferredFrom(const QByteArray &language, const QByteArray &lcAll, const QByteArray &lcMessages,
                                const QByteArray &lang)
{
    QList<QByteArray> names;
    if (!language.isEmpty()) {
        for (const QByteArray &entry : language.split(':')) {
            if (!entry.isEmpty())
                names.append(entry);
        }
        if (!names.isEmpty())
            return names;
    }
    for (const QByteArray *value : {&lcAll, &lcMessages, &lang}) {
        if (!value->isEmpty())
            return {*value};
    }
    return names;
}

QList<QByteArray> preferred()
{
    return preferredFrom(qgetenv("LANGUAGE"), qgetenv("LC_ALL"), qgetenv("LC_MESSAGES"), qgetenv("LANG"));
}

QByteArray languageCode(const QByteArray &localeName)
{
    qsizetype end = 0;
    while (end < localeName.size() && localeName.at(end) != '_' && localeName.at(end) != '.'
           && localeName.at(end) != '@')
        ++end;
    const QByteArray code = localeName.left(end).toLower();
    return code == "c" || code == "posix" ? QByteArray() : code;
}

} // namespace DesktopLanguage
