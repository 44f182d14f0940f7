#pragma once
// A sound output that plays nothing and records what would have been heard.

#include "platform/soundoutput.h"

#include <QList>
#include <QStringList>

class RecordingSoundOutput : public SoundOutput
{
public:
    struct Sound {
        QByteArray pcm;
        QAudioFormat format;
    };

    void play(QByteArray pcm, QAudioFormat format) override;
    void stop() override;

    // Every sound started, oldest first.
    QList<Sound> started;
    // "stop" and "play" in the order they came.
    QStringList events;
    // True while a sound would still be heard: started and not stopped since.
    bool playing = false;
    // The sound that is (or was last) heard.
    Sound current() const { return started.isEmpty() ? Sound{} : started.last(); }
};
