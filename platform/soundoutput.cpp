#include "platform/soundoutput.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QDeadlineTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>
#include <QtGlobal>

#include <algorithm>

namespace {
// A sound's stream closes once the server reports it played out; if the server
// never says so, this long after the sound's end.
constexpr int ReleaseAfterMs = 3000;
// Every sound is handed over at least this long, padded with silence: the server
// starts a stream only once its prebuffer is full, and a click is shorter than that.
constexpr int MinimumLengthMs = 400;
// How far ahead the stream that stays open asks the server to work.
constexpr int KeeperLatencyMs = 40;
} // namespace

QtSoundOutput::QtSoundOutput()
{
    m_release.setSingleShot(true);
    QObject::connect(&m_release, &QTimer::timeout, [this] { stop(); });
}

QtSoundOutput::~QtSoundOutput()
{
    stop();
    if (m_keeper)
        m_keeper->stop();
}

void QtSoundOutput::stop()
{
    m_release.stop();
    m_waiting = false;
    // The sink's writer goes with its stream.
    if (m_playing)
        m_playing->stop();
    m_playing = nullptr;
}

void QtSoundOutput::play(QByteArray pcm, QAudioFormat format)
{
    stop();
    m_pcm = std::move(pcm);
    if (!m_opened) {
        m_waiting = true;
        m_waitingFormat = format;
        if (!m_deferred)
            open();
        return;
    }
    start(m_pcm, format);
}

void QtSoundOutput::open()
{
    if (m_opened)
        return;
    m_opened = true;
    SoundMessages::installFilter();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (!device.isNull()) {
        QAudioFormat format;
        format.setSampleRate(22050);
        format.setChannelCount(2);
        format.setSampleFormat(QAudioFormat::Int16);
        // A source with nothing in it: the sink asks it once, finds it empty and
        // stops asking, so the open stream costs no wake-up in the program. The
        // server keeps it waiting for its first samples, with the short latency it
        // asked for, and that is all it is for.
        m_nothing.open(QIODevice::ReadOnly);
        m_keeper = std::make_unique<QAudioSink>(device, format);
        m_keeper->setBufferSize(format.bytesForDuration(qint64(KeeperLatencyMs) * 1000));
        m_keeper->start(&m_nothing);
        if (m_keeper->error() != QAudio::NoError)
            m_keeper->stop();
    }
    if (m_waiting) {
        m_waiting = false;
        start(m_pcm, m_waitingFormat);
    }
}

void QtSoundOutput::start(QByteArray pcm, const QAudioFormat &format)
{
    QAudioSink *sink = sinkFor(format);
    if (!sink)
        return;
    const qint64 soundMs = format.durationForBytes(qint32(std::min<qsizetype>(pcm.size(), 1 << 30))) / 1000;
    const qint32 minimum = format.bytesForDuration(qint64(MinimumLengthMs) * 1000);
    if (pcm.size() < minimum)
        pcm.append(QByteArray(minimum - pcm.size(), '\0'));

    // The whole sound goes to the server at once, so that a busy user-interface
    // thread (a stroke being drawn) cannot starve it, and it starts without waiting
    // for the sink's first feeding tick.
    QIODevice *writer = sink->start();
    if (!writer || sink->error() != QAudio::NoError) {
        // The server went away, or the stream was refused: stay silent.
        sink->stop();
        return;
    }
    m_playing = sink;
    qsizetype done = 0;
    while (done < pcm.size()) {
        const qint64 n = writer->write(pcm.constData() + done, pcm.size() - done);
        if (n <= 0)
            break;
        done += qsizetype(n);
    }
    m_release.start(int(std::min<qint64>(soundMs, 60000)) + ReleaseAfterMs);
}

void QtSoundOutput::shutDown()
{
    if (m_playing) {
        // The rest of the sound that plays is still heard.
        QDeadlineTimer deadline(1000);
        while (m_playing && m_playing->state() == QAudio::ActiveState && !deadline.hasExpired())
            QThread::msleep(10);
        stop();
        QThread::msleep(100);
    }
    // The silent stream is stopped but, like the output itself, never deleted:
    // the engine's connection goes down from a static destructor afterwards, and
    // a stream deleted just before can race with it. The server is given time
    // to answer the stop.
    if (m_keeper && m_keeper->state() != QAudio::StoppedState) {
        m_keeper->stop();
        QThread::msleep(100);
    }
}

QAudioSink *QtSoundOutput::sinkFor(const QAudioFormat &format)
{
    for (const auto &[sinkFormat, sink] : m_sinks)
        if (sinkFormat == format)
            return sink.get();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr; // no sound server or no output device: silence
    auto sink = std::make_unique<QAudioSink>(device, format);
    // Played out: the server has nothing more of this sound, its stream can close.
    QObject::connect(sink.get(), &QAudioSink::stateChanged, [this, s = sink.get()](QAudio::State state) {
        if (state == QAudio::IdleState && s == m_playing)
            QTimer::singleShot(0, s, [this, s] {
                if (s == m_playing)
                    stop();
            });
    });
    m_sinks.emplace_back(format, std::move(sink));
    return m_sinks.back().second.get();
}

namespace SoundMessages {

namespace {
QtMessageHandler previousHandler = nullptr;
bool installed = false;

void filter(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    // Debug output stays: it only appears when someone asks for it.
    if ((type == QtWarningMsg || type == QtCriticalMsg)
        && isAudioBackendMessage(QString::fromLatin1(context.category ? context.category : ""), message))
        return;
    if (previousHandler)
        previousHandler(type, context, message);
}
} // namespace

bool isAudioBackendMessage(const QString &category, const QString &message)
{
    if (category.startsWith(QLatin1String("qt.multimedia")))
        return true;
    if (category != QLatin1String("default"))
        return false;
    // Qt Multimedia's PulseAudio backend writes these without a category.
    static const char *const prefixes[] = {
        "PulseAudioService:",
        "QPulseAudio",
        "QAudioSink:",
        "Stream error:",
        "pa_stream_",
        "pa_context_",
        "Failed to get server information:",
        "Failed to get sink information:",
        "Invalid audio data size provided by pull source",
    };
    // Some are a QString streamed into qWarning(), and so arrive in quotes.
    const QStringView text = message.startsWith(u'"') ? QStringView(message).mid(1) : QStringView(message);
    for (const char *prefix : prefixes)
        if (text.startsWith(QLatin1String(prefix)))
            return true;
    return false;
}

void installFilter()
{
    if (installed)
        return;
    installed = true;
    previousHandler = qInstallMessageHandler(filter);
}

} // namespace SoundMessages
