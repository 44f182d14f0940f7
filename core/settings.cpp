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
        raiseError(Err::PathFileAccess,
                   QStringLiteral("The settings could not be read (%1)").arg(key));
    const std::optional<QString> v = store.value(SettingsSection, key);
    return v ? *v : defaultText;
}

void SaveSetting(const QString &key, const QString &text)
{
    if (!Settings().setValue(SettingsSection, key, text))
        raiseError(Err::PathFileAccess,
                   QStringLiteral("The settings could not be written (%1)").arg(key));
}

int16_t GetSettingInt16(const QString &key, int16_t defaultValue)
{
    return toInt16(GetSetting(key, QString::number(defaultValue)));
}

int32_t GetSettingInt32(const QString &key, int32_t defaultValue)
{
    return toInt32(GetSetting(key, QString::number(defaultValue)));
}

void LoadConfig()
{
    ErrorFrame f("Allgemein", "LoadConfig");
    f.run([&] {
        f.line(20, [&] { SoundOn = GetSettingInt16(QStringLiteral("Sound"), Defaults::SoundOn); });
        f.line(30, [&] {
            TemplateIndex = GetSettingInt16(QStringLiteral("Image"), Defaults::TemplateIndex);
        });
        f.line(40, [&] { PenWidth = GetSettingInt16(QStringLiteral("Width"), Defaults::PenWidth); });
        f.line(50, [&] { PenColor = GetSettingInt32(QStringLiteral("Color"), Defaults::PenColor); });
        f.line(60, [&] {
            PreviewLarge = GetSettingInt16(QStringLiteral("PSize"), Defaults::PreviewLarge);
        });
        f.line(70, [&] {
            PenWindowShown = GetSettingInt16(QStringLiteral("CShow"), Defaults::PenWindowShown);
        });
        f.line(80, [&] { GridShown = GetSettingInt16(QStringLiteral("Gitter"), Defaults::GridShown); });
    });
}

void SaveConfig()
{
    ErrorFrame f("Allgemein", "SaveConfig");
    auto put = [](const char *key, int value) {
        SaveSetting(QString::fromLatin1(key), QString::number(value));
    };
    f.run([&] {
        f.line(20, [&] { put("Sound", SoundOn); });
        f.line(30, [&] { put("Width", PenWidth); });
        f.line(40, [&] { put("Image", TemplateIndex); });
        f.line(50, [&] { put("Color", PenColor); });
        f.line(60, [&] { put("PSize", PreviewLarge); });
        f.line(70, [&] { put("CShow", PenWindowShown); });
        f.line(80, [&] { put("Gitter", GridShown); });
    });
}

} // namespace Allgemein
