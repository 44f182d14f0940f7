#pragma once
// Where the sound effects go: the desktop's default audio output, or in tests a
// recorder. One sound at a time; a new one cuts off the one playing.

#include <QAudioFormat>
#include <QBuffer>
#include <QByteArray>
#include <QString>

#include <memory>

class QAudioSink;

class SoundOutput
{
public:
    virtual ~SoundOutput() = default;
    // Stops whatever is playing, then starts these samples; returns at once.
    virtual void play(QByteArray pcm, QAudioFormat format) = 0;
    // Stops the sound that is playing, if any.
    virtual void stop() = 0;
};

// Plays through Qt Multimedia on the default audio output. The sink is made on the
// first sound, so that a program that never sounds never touches the sound server.
// With no sound server or no output device it stays silent: no message, no beep.
class QtSoundOutput : public SoundOutput
{
public:
    QtSoundOutput();
    ~QtSoundOutput() override;
    QtSoundOutput(const QtSoundOutput &) = delete;
    QtSoundOutput &operator=(const QtSoundOutput &) = delete;

    void play(QByteArray pcm, QAudioFormat format) override;
    void stop() override;

private:
    bool prepareSink(const QAudioFormat &format);

    std::unique_ptr<QAudioSink> m_sink;
    QAudioFormat m_format;
    // The samples playing; released only after the sink has stopped reading them.
    QByteArray m_pcm;
    QBuffer m_reader;
};

namespace SoundMessages {
// True for the warnings Qt Multimedia prints when there is no sound server or no
// output device (and on every attempt to play then).
bool isAudioBackendMessage(const QString &category, const QString &message);
// Installs, once, a message handler that drops those warnings and hands every
// other message on to the handler that was installed before.
void installFilter();
} // namespace SoundMessages
