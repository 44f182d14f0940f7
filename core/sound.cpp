#include "core/sound.h"

#include "core/errorframe.h"
#include "core/globals.h"
#include "core/resources.h"
#include "platform/soundoutput.h"

#include <QCoreApplication>
#include <QHash>

#include <sndfile.h>

#include <algorithm>
#include <cstring>

namespace {

// libsndfile reads the file from a QByteArray through these callbacks.
struct MemoryFile {
    const QByteArray *bytes;
    sf_count_t position = 0;
};

sf_count_t memLength(void *user) { return static_cast<MemoryFile *>(user)->bytes->size(); }

sf_count_t memSeek(sf_count_t offset, int whence, void *user)
{
    auto *f = static_cast<MemoryFile *>(user);
    sf_count_t target = offset;
    if (whence == SEEK_CUR)
        target += f->position;
    else if (whence == SEEK_END)
        target += f->bytes->size();
    if (target < 0 || target > f->bytes->size())
        return -1;
    f->position = target;
    return f->position;
}

sf_count_t memRead(void *to, sf_count_t count, void *user)
{
    auto *f = static_cast<MemoryFile *>(user);
    const sf_count_t n = std::clamp<sf_count_t>(f->bytes->size() - f->position, 0, std::max<sf_count_t>(count, 0));
    std::memcpy(to, f->bytes->constData() + f->position, size_t(n));
    f->position += n;
    return n;
}

sf_count_t memWrite(const void *, sf_count_t, void *) { return 0; }

sf_count_t memTell(void *user) { return static_cast<MemoryFile *>(user)->position; }

SoundOutput *installedOutput = nullptr;

// The desktop's output, made when a sound is first played. It is never deleted:
// Qt Multimedia's PulseAudio engine tears its connection down from a static
// destructor at exit without holding its own lock, and a stream that is still
// talking to the server then can crash the program on its way out. So at the end
// a stream still open is closed and the server given time to answer.
QtSoundOutput *qtOutput = nullptr;
bool openingDeferred = false;

void quietenOutput()
{
    if (qtOutput)
        qtOutput->shutDown();
}

SoundOutput *defaultOutput()
{
    if (!qtOutput) {
        qtOutput = new QtSoundOutput;
        if (openingDeferred)
            qtOutput->deferOpening();
        if (QCoreApplication::instance())
            qAddPostRoutine(quietenOutput);
    }
    return qtOutput;
}

// Each sound is decoded once and its samples kept: a press plays them again
// without decoding (the seven sounds hold about a second of 16-bit samples
// together). The samples are taken again when the sound's data changes.
Allgemein::DecodedSound decodedOnce(int32_t number, const QByteArray &wave)
{
    struct Kept {
        QByteArray wave;
        Allgemein::DecodedSound sound;
    };
    static QHash<int32_t, Kept> kept;
    auto it = kept.constFind(number);
    if (it != kept.constEnd() && it->wave == wave)
        return it->sound;
    Allgemein::DecodedSound sound = Allgemein::DecodeWave(wave);
    if (sound.ok())
        kept.insert(number, {wave, sound});
    return sound;
}

} // namespace

namespace Allgemein {

void SetSoundOutput(SoundOutput *output)
{
    if (installedOutput && installedOutput != output)
        installedOutput->stop();
    installedOutput = output;
}

void DeferSoundOutput()
{
    openingDeferred = true;
    if (qtOutput)
        qtOutput->deferOpening();
}

void OpenSoundOutput()
{
    if (installedOutput)
        return; // a recorder stands in for the output: nothing to open
    defaultOutput();
    qtOutput->open();
}

SoundOutput *CurrentSoundOutput() { return installedOutput ? installedOutput : defaultOutput(); }

DecodedSound DecodeWave(const QByteArray &wave)
{
    DecodedSound result;
    MemoryFile file{&wave};
    SF_VIRTUAL_IO io{memLength, memSeek, memRead, memWrite, memTell};
    SF_INFO info{};
    SNDFILE *sf = sf_open_virtual(&io, SFM_READ, &info, &file);
    if (!sf) {
        result.error = QString::fromUtf8(sf_strerror(nullptr));
        return result;
    }
    if (info.channels < 1 || info.samplerate < 1 || info.frames < 1 || info.frames > 60 * sf_count_t(info.samplerate)) {
        sf_close(sf);
        result.error = QStringLiteral("No playable sound in the data");
        return result;
    }
    result.pcm.resize(qsizetype(info.frames * info.channels) * qsizetype(sizeof(short)));
    const sf_count_t got = sf_readf_short(sf, reinterpret_cast<short *>(result.pcm.data()), info.frames);
    sf_close(sf);
    if (got <= 0) {
        result.pcm.clear();
        result.error = QStringLiteral("The sound data cannot be decoded");
        return result;
    }
    result.pcm.resize(qsizetype(got * info.channels) * qsizetype(sizeof(short)));
    result.format.setSampleRate(info.samplerate);
    result.format.setChannelCount(info.channels);
    result.format.setSampleFormat(QAudioFormat::Int16);
    return result;
}

void PlayEffect(Effect effect)
{
    if (SoundOn)
        PlayWAV(int32_t(effect));
}

void PlayWAV(int32_t number)
{
    ErrorFrame f("Allgemein", "PlayWAV");
    DecodedSound sound;
    bool loaded = false;
    f.run([&] {
        f.line(10, [&] {
            // The sound playing stops before the data it was made from is let go.
            CurrentSoundOutput()->stop();
            SoundBuffer.clear();
            SoundBuffer = ModResFiles::LoadResData(number, QStringLiteral("WAV"));
            loaded = true;
        });
        f.line(20, [&] {
            // After an ignored load there is nothing to play, and nothing more to report.
            if (!loaded)
                return;
            sound = decodedOnce(number, SoundBuffer);
            if (!sound.ok())
                raiseError(Err::InvalidCall,
                           QStringLiteral("Sound %1 cannot be played: %2").arg(number).arg(sound.error));
        });
        f.line(30, [&] {
            if (sound.ok() && !sound.pcm.isEmpty())
                CurrentSoundOutput()->play(sound.pcm, sound.format);
        });
    });
}

} // namespace Allgemein
