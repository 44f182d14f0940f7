#pragma once
// The maker's addresses and the program's fixed names, kept in one place.

#include <QString>

namespace Config {
inline const QString WebSite = QStringLiteral("https://www.vorbexa.example/");
inline const QString SupportMail = QStringLiteral("support@vorbexa.example");
inline const QString CopyrightNotice = QStringLiteral("\u00a9 2026 Vorbexa \u00b7 Stiftolino");
} // namespace Config
