#pragma once
// The program-wide state the windows share. Booleans are 16-bit integers,
// true = -1 and false = 0; any non-zero value tests true and a toggle is ~x.

#include <QString>

#include <cstdint>

namespace Allgemein {

constexpr int16_t True = -1;
constexpr int16_t False = 0;

// The values of a first start: the globals begin with them, ResetGlobals goes
// back to them, and the settings load takes them for a key that is not stored.
namespace Defaults {
constexpr int16_t SoundOn = True;
constexpr int32_t PenColor = 0; // black
constexpr int16_t PenWidth = 5;
constexpr int16_t LanguageOffset = 0; // German
constexpr int16_t PenWindowShown = True;
constexpr int16_t TemplateIndex = 1;
constexpr int16_t PreviewLarge = True;
constexpr int16_t GridShown = True;
constexpr int16_t DrawSteps = 1;
} // namespace Defaults

inline int16_t SoundOn = Defaults::SoundOn;               // Key::Sound
inline int32_t PenColor = Defaults::PenColor;             // Key::PenColor, 0x00BBGGRR as stored
inline int16_t PenWidth = Defaults::PenWidth;             // Key::PenWidth
inline int16_t LanguageOffset = Defaults::LanguageOffset; // Key::Language: language digit x 1000
inline int16_t PenWindowShown = Defaults::PenWindowShown; // Key::PenWindowShown
inline int16_t TemplateIndex = Defaults::TemplateIndex;   // Key::TemplateIndex
inline int16_t PreviewLarge = Defaults::PreviewLarge;     // Key::PreviewLarge
inline int16_t GridShown = Defaults::GridShown;           // Key::GridShown
// The lesson window draws each new step's strokes before the child's eyes (1), or
// shows the step at once (0). Read only: parents set it by hand in the settings file.
inline int16_t DrawSteps = Defaults::DrawSteps; // Key::DrawSteps
inline QString PictureName;                     // the name typed at the last Save
inline int16_t StartingUp = False;
inline QString LanguageFilePath;

// Back to the values of a first start (for tests, which share one process).
void ResetGlobals();

} // namespace Allgemein
