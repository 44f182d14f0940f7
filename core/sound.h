#pragma once
// Sound effects: the seven "WAV" resources 101..107, played from memory without
// waiting, one at a time. Callers test SoundOn before they call PlayWAV.

#include <QByteArray>

#include <cstdint>

namespace Allgemein {

// The sound most recently started; it stays valid while that sound may play.
inline QByteArray SoundBuffer;

// Loads "WAV" `number` into SoundBuffer and starts it, stopping the sound that
// was playing. Returns at once.
void PlayWAV(int32_t number);

} // namespace Allgemein
