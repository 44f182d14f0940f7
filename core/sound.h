#pragma once
// Sound effects: the seven "WAV" resources 101..107, played from memory without
// waiting, one at a time. The windows call PlayEffect, which asks SoundOn.

#include <QAudioFormat>
#include <QByteArray>
#include <QString>

#include <cstdint>

class SoundOutput;

namespace Allgemein {

// The seven sounds by what they sound like; the value is the "WAV" resource number.
enum class Effect : int32_t {
    Click = 101,        // a soft click: every toolbar button, a language flag, a step back
    Pencil = 102,       // a pencil on paper: a stroke begins, a step forward
    FallingNotes = 103, // the previous lesson
    RisingNotes = 104,  // the next lesson, large/small
    Chime = 105,        // the grid, taking a lesson, closing the pen window
    Pop = 106,          // the pen window opens
    Sweep = 107,        // the lesson window opens, browsing, painting a picture, clearing
};

// Plays `effect` when the sound effects are on (SoundOn), else nothing.
void PlayEffect(Effect effect);

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
    QString error; // empty when the file could be decoded
    bool ok() const { return error.isEmpty(); }
};

// Decodes a complete RIFF WAVE file held in memory (PCM, Microsoft ADPCM and
// whatever else libsndfile reads).
DecodedSound DecodeWave(const QByteArray &wave);

} // namespace Allgemein
