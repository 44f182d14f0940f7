#pragma once
// Where the sound effects go: the desktop's default audio output, or in tests a
// recorder. One sound at a time; a new one cuts off the one playing.

#include <QAudioFormat>
#include <QByteArray>
#include <QString>
#include <QTimer>

#include <memory>
#include <utility>
#include <vector>

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

// Plays through Qt Multimedia on the default audio output. Sinks are made on the
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

    // For the end of the program: stops a stream that is still open and gives the
    // sound server a moment to let go of it, so that Qt Multimedia's own teardown
    // finds a quiet connection.
    void shutDown();

private:
    QAudioSink *sinkFor(const QAudioFormat &format);

    // One sink per sample format, kept: a sink that is deleted runs the event
    // loop from its destructor, which must not happen inside a click handler.
    std::vector<std::pair<QAudioFormat, std::unique_ptr<QAudioSink>>> m_sinks;
    QAudioSink *m_playing = nullptr;
    // Closes the stream a little after the sound has ended: an open stream keeps
    // talking to the server even when it has nothing to play.
    QTimer m_release;
    // The samples of the sound last started.
    QByteArray m_pcm;
};

namespace SoundMessages {
// True for the warnings Qt Multimedia prints when there is no sound server or no
// output device (and on every attempt to play then).
bool isAudioBackendMessage(const QString &category, const QString &message);
// Installs, once, a message handler that drops those warnings and hands every
// other message on to the handler that was installed before.
void installFilter();
} // namespace SoundMessages
