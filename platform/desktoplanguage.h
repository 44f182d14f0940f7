#pragma once
// The language the desktop speaks, as the environment tells every program:
// LANGUAGE (a list of languages separated by colons, best first), then LC_ALL,
// LC_MESSAGES and LANG. The first of them that is set decides.

#include <QByteArray>
#include <QList>

namespace DesktopLanguage {

// The locale names the desktop asks for, best first ("de_DE.UTF-8", "fr"):
// the entries of LANGUAGE when it is set, else the one of the first of LC_ALL,
// LC_MESSAGES and LANG that is set; empty when none is.
QList<QByteArray> preferred();

// The same from the four values, for any environment.
QList<QByteArray> preferredFrom(const QByteArray &language, const QByteArray &lcAll, const QByteArray &lcMessages,
                                const QByteArray &lang);

// The language part of a locale name, lower case: "pt" of "pt_BR.UTF-8@euro";
// empty for "C" and "POSIX", which name no language.
QByteArray languageCode(const QByteArray &localeName);

} // namespace DesktopLanguage
