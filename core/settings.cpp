#include "core/settings.h"

#include "core/convert.h"
#include "core/errorframe.h"
#include "core/globals.h"
#include "platform/settingsbackend.h"

namespace Allgemein {

namespace {
SettingsBackend *g_backend = nullptr;
} // namespace

void SetSettingsBackend(SettingsBackend *backend) { g_backend = backend; }

SettingsBackend &Settings()
{
    if (!g_backend) {
        static IniSettingsBackend fallback(AppTitle);
        g_backend = &fallback;
    }
    return *g_backend;
}

QString GetSetting(const QString &key, const QString &defaultText)
{
    SettingsBackend &store = Settings();
    if (!store.readable())
        raiseError(Err::PathFileAccess, QStringLiteral("The settings could not be read (%1)").arg(key));
    const std::optional<QString> v = store.value(SettingsSection, key);
    return v ? *v : defaultText;
}

void SaveSetting(const QString &key, const QString &text)
{
    if (!Settings().setValue(SettingsSection, key, text))
        raiseError(Err::PathFileAccess, QStringLiteral("The settings could not be written (%1)").arg(key));
}

int16_t GetSettingInt16(const QString &key, int16_t defaultValue)
{
    return toInt16(GetSetting(key, QString::number(defaultValue)));
}

int32_t GetSettingInt32(const QString &key, int32_t defaultValue)
{
    return toInt32(GetSetting(key, QString::number(defaultValue)));
}

namespace {
QString nameOf(const SettingKey &key) { return QString::fromLatin1(key.name); }
} // namespace

int16_t GetSettingInt16(const SettingKey &key)
{
    return GetSettingInt16(nameOf(key), int16_t(key.defaultValue.value_or(0)));
}

int32_t GetSettingInt32(const SettingKey &key) { return GetSettingInt32(key, key.defaultValue.value_or(0)); }

int32_t GetSettingInt32(const SettingKey &key, int32_t defaultValue)
{
    return GetSettingInt32(nameOf(key), defaultValue);
}

void SaveSetting(const SettingKey &key, const QString &text)
{
    SaveSetting(QString::fromLatin1(key.writtenAs ? key.writtenAs : key.name), text);
}

bool IsSettingStored(const SettingKey &key) { return !GetSetting(nameOf(key), QString()).isNull(); }

void LoadConfig()
{
    ErrorFrame f("Allgemein", "LoadConfig");
    f.run([&] {
        f.line(20, [&] { SoundOn = GetSettingInt16(Key::Sound); });
        f.line(30, [&] { TemplateIndex = GetSettingInt16(Key::TemplateIndex); });
        f.line(40, [&] { PenWidth = GetSettingInt16(Key::PenWidth); });
        f.line(50, [&] { PenColor = GetSettingInt32(Key::PenColor); });
        f.line(60, [&] { PreviewLarge = GetSettingInt16(Key::PreviewLarge); });
        f.line(70, [&] { PenWindowShown = GetSettingInt16(Key::PenWindowShown); });
        f.line(80, [&] { GridShown = GetSettingInt16(Key::GridShown); });
        f.line(90, [&] { DrawSteps = GetSettingInt16(Key::DrawSteps); });
    });
}

void SaveConfig()
{
    ErrorFrame f("Allgemein", "SaveConfig");
    auto put = [](const SettingKey &key, int value) { SaveSetting(key, QString::number(value)); };
    f.run([&] {
        f.line(20, [&] { put(Key::Sound, SoundOn); });
        f.line(30, [&] { put(Key::PenWidth, PenWidth); });
        f.line(40, [&] { put(Key::TemplateIndex, TemplateIndex); });
        f.line(50, [&] { put(Key::PenColor, PenColor); });
        f.line(60, [&] { put(Key::PreviewLarge, PreviewLarge); });
        f.line(70, [&] { put(Key::PenWindowShown, PenWindowShown); });
        f.line(80, [&] { put(Key::GridShown, GridShown); });
    });
}

} // namespace Allgemein
