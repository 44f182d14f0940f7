#include "support/recordingsoundoutput.h"

void RecordingSoundOutput::play(QByteArray pcm, QAudioFormat format)
{
    // Like every output: what was playing stops first.
    stop();
    started.append({std::move(pcm), format});
    events.append(QStringLiteral("play"));
    playing = true;
}

void RecordingSoundOutput::stop()
{
    events.append(QStringLiteral("stop"));
    playing = false;
}
