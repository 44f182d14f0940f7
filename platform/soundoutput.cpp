#include "platform/soundoutput.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QThread>
#include <QtGlobal>

#include <algorithm>

namespace {
// How long after its end a sound's stream is closed: more than the server's
// buffering, so that the end of the sound is still heard.
constexpr int ReleaseAfterMs = 500;
// Every sound is handed over at least this long, padded with silence: the server
// starts a stream only once its prebuffer is full, and a click is shorter than that.
constexpr int MinimumLengthMs = 400;
} // namespace

QtSoundOutput::QtSoundOutput()
{
    m_release.setSingleShot(true);
    QObject::connect(&m_release, &QTimer::timeout, [this] { stop(); });
}

QtSoundOutput::~QtSoundOutput()
{
    stop();
}

void QtSoundOutput::stop()
{
    m_release.stop();
    // The sink's writer goes with its stream.
    if (m_playing)
        m_playing->stop();
    m_playing = nullptr;
}

void QtSoundOutput::play(QByteArray pcm, QAudioFormat format)
{
    stop();
    m_pcm = std::move(pcm);
    QAudioSink *sink = sinkFor(format);
    if (!sink)
        return;
    const qint64 soundMs = format.durationForBytes(qint32(std::min<qsizetype>(m_pcm.size(), 1 << 30))) / 1000;
    const qint32 minimum = format.bytesForDuration(qint64(MinimumLengthMs) * 1000);
    if (m_pcm.size() < minimum)
        m_pcm.append(QByteArray(minimum - m_pcm.size(), '\0'));

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
    while (done < m_pcm.size()) {
        const qint64 n = writer->write(m_pcm.constData() + done, m_pcm.size() - done);
        if (n <= 0)
            break;
        done += qsizetype(n);
    }
    m_release.start(int(std::min<qint64>(soundMs, 60000)) + ReleaseAfterMs);
}

void QtSoundOutput::shutDown()
{
    if (!m_playing)
        return;
    stop();
    QThread::msleep(100);
}

QAudioSink *QtSoundOutput::sinkFor(const QAudioFormat &format)
{
    for (const auto &[sinkFormat, sink] : m_sinks)
        if (sinkFormat == format)
            return sink.get();
    SoundMessages::installFilter();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return nullptr;   // no sound server or no output device: silence
    m_sinks.emplace_back(format, std::make_unique<QAudioSink>(device, format));
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
        "PulseAudioService:", "QPulseAudio", "QAudioSink:", "Stream error:", "pa_stream_",
        "pa_context_", "Failed to get server information:", "Failed to get sink information:",
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
