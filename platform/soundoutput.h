#pragma once
// Where the sound effects go: the desktop's default audio output, or in tests a
// recorder. One sound at a time; a new one cuts off the one playing.

#include <QAudioFormat>
#include <QBuffer>
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

// Plays through Qt Multimedia on the default audio output.
//
// Opening the output connects to the sound server and keeps one stream open for
// the rest of the run. A sound server whose output is idle may work in long
// periods (PulseAudio's null sink in periods of up to two seconds), and a new
// stream then waits for the period to end; with a stream always open the server
// keeps short periods, and a sound starts within a few hundredths of a second.
// That stream never plays: it waits for its first samples, which never come, and
// costs the program nothing meanwhile. Each sound plays in a stream of its own,
// which is closed only once the server has played it, so no sound is lost while
// the server is slow to start.
//
// With no sound server or no output device it stays silent: no message, no beep.
class QtSoundOutput : public SoundOutput
{
public:
    QtSoundOutput();
    ~QtSoundOutput() override;
    QtSoundOutput(const QtSoundOutput &) = delete;
    QtSoundOutput &operator=(const QtSoundOutput &) = delete;

    // Sounds started before the output is open wait for it (the newest one; it
    // would have cut off the others). Without this the first sound opens it.
    void deferOpening() { m_deferred = true; }
    // Opens the output, unless it is open, and starts the sound that waits.
    void open();
    bool isOpen() const { return m_opened; }

    void play(QByteArray pcm, QAudioFormat format) override;
    void stop() override;

    // For the end of the program: lets the sound that plays reach the server
    // (for at most a second), closes the streams and gives the server a moment to
    // let go of them, so that Qt Multimedia's own teardown finds a quiet connection.
    void shutDown();

private:
    QAudioSink *sinkFor(const QAudioFormat &format);
    void start(QByteArray pcm, const QAudioFormat &format);

    // One sink per sample format, kept: a sink that is deleted runs the event
    // loop from its destructor, which must not happen inside a click handler.
    std::vector<std::pair<QAudioFormat, std::unique_ptr<QAudioSink>>> m_sinks;
    QAudioSink *m_playing = nullptr;
    // The stream that keeps the server's periods short, and its empty source.
    QBuffer m_nothing;
    std::unique_ptr<QAudioSink> m_keeper;
    // Closes a sound's stream once it has been played, or at the latest this long
    // after it began.
    QTimer m_release;
    // The samples of the sound last started, or of the sound that waits.
    QByteArray m_pcm;
    QAudioFormat m_waitingFormat;
    bool m_waiting = false;
    bool m_deferred = false;
    bool m_opened = false;
};

namespace SoundMessages {
// True for the warnings Qt Multimedia prints when there is no sound server or no
// output device (and on every attempt to play then).
bool isAudioBackendMessage(const QString &category, const QString &message);
// Installs, once, a message handler that drops those warnings and hands every
// other message on to the handler that was installed before.
void installFilter();
} // namespace SoundMessages
