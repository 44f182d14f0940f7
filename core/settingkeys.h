#pragma once
// Every key the program stores in section "Optionen", with the value a first
// start takes for it. Reads and writes name a key from here, never a string.

#include "core/globals.h"

#include <cstdint>
#include <optional>

namespace Allgemein {

struct SettingKey {
    const char *name;
    // None for the window places: each window works out its own from the screen.
    std::optional<int32_t> defaultValue;
    // How the store writes the key, where that differs from how it is read. The
    // store compares keys without regard to case, so both spellings find it.
    const char *writtenAs = nullptr;
};

namespace Key {
inline constexpr SettingKey Sound{"Sound", Defaults::SoundOn};
inline constexpr SettingKey TemplateIndex{"Image", Defaults::TemplateIndex};
inline constexpr SettingKey PenWidth{"Width", Defaults::PenWidth};
inline constexpr SettingKey PenColor{"Color", Defaults::PenColor};
inline constexpr SettingKey PreviewLarge{"PSize", Defaults::PreviewLarge};
inline constexpr SettingKey PenWindowShown{"CShow", Defaults::PenWindowShown};
inline constexpr SettingKey GridShown{"Gitter", Defaults::GridShown};
inline constexpr SettingKey Language{"Sprache", Defaults::LanguageOffset};
inline constexpr SettingKey DrawSteps{"Zeichnen", Defaults::DrawSteps};
// The floating windows' places, in twips.
inline constexpr SettingKey PenWindowLeft{"CLeft", std::nullopt};
inline constexpr SettingKey PenWindowTop{"CTop", std::nullopt};
inline constexpr SettingKey PickerLeft{"PLeft", std::nullopt};
inline constexpr SettingKey PickerTop{"PTop", std::nullopt, "Ptop"}; // sic: written "Ptop"
} // namespace Key

} // namespace Allgemein
