#pragma once
// The settings store: application "Stiftolino", section "Optionen", values as
// decimal text, keys compared without regard to case.

#include <QString>

#include "core/settingkeys.h"

#include <cstdint>

class SettingsBackend;

namespace Allgemein {

inline const QString AppTitle = QStringLiteral("Stiftolino");
inline const QString SettingsSection = QStringLiteral("Optionen");

// The backend in use; the program installs the per-user INI store at start.
void SetSettingsBackend(SettingsBackend *backend);
SettingsBackend &Settings();

// The stored text, or `defaultText` when the key is missing; a store that is
// there but cannot be read raises error 75.
QString GetSetting(const QString &key, const QString &defaultText);
// Stores the text; a store that cannot be written raises error 75.
void SaveSetting(const QString &key, const QString &text);

// Read and converted: a text that is not a number raises error 13, one out of
// range error 6.
int16_t GetSettingInt16(const QString &key, int16_t defaultValue);
int32_t GetSettingInt32(const QString &key, int32_t defaultValue);

// The same for a key of the table: read by its name, written in its spelling,
// and missing it yields its default (or `defaultValue` for a key without one).
int16_t GetSettingInt16(const SettingKey &key);
int32_t GetSettingInt32(const SettingKey &key);
int32_t GetSettingInt32(const SettingKey &key, int32_t defaultValue);
void SaveSetting(const SettingKey &key, const QString &text);
// Whether the store holds the key at all; raises error 75 as GetSetting does.
bool IsSettingStored(const SettingKey &key);

// The seven drawing and display preferences, each key its own statement.
void LoadConfig();
void SaveConfig();

} // namespace Allgemein
