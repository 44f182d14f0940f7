#pragma once
// Sound effects: the seven "WAV" resources 101..107, played from memory without
// waiting, one at a time. Callers test SoundOn before they call PlayWAV.

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

#include <cstdint>

class SoundOutput;

namespace Allgemein {

// The sound most recently started; it stays valid while that sound may play.
inline QByteArray SoundBuffer;

// Loads "WAV" `number` into SoundBuffer and starts it, stopping the sound that
// was playing. Returns at once.
void PlayWAV(int32_t number);

// Where PlayWAV plays; null puts back the default audio output (made on first use).
void SetSoundOutput(SoundOutput *output);
SoundOutput *CurrentSoundOutput();

// At start: sounds wait until OpenSoundOutput, so that connecting to the sound
// server does not hold up the first frame. Without this the first sound opens it.
void DeferSoundOutput();
// Opens the default audio output, if it is not open, and plays the sound that
// waits for it.
void OpenSoundOutput();

// A RIFF WAVE file decoded to interleaved signed 16-bit samples.
struct DecodedSound {
    QByteArray pcm;
    QAudioFormat format;
    QString error;   // empty when the file could be decoded
    bool ok() const { return error.isEmpty(); }
};

// Decodes a complete RIFF WAVE file held in memory (PCM, Microsoft ADPCM and
// whatever else libsndfile reads).
DecodedSound DecodeWave(const QByteArray &wave);

} // namespace Allgemein
