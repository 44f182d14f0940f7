#include "platform/soundoutput.h"

#include <QAudioDevice>
#include <QAudioSink>
#include <QMediaDevices>
#include <QtGlobal>

QtSoundOutput::QtSoundOutput() = default;

QtSoundOutput::~QtSoundOutput()
{
    stop();
}

void QtSoundOutput::stop()
{
    if (m_sink)
        m_sink->stop();
    m_reader.close();
}

void QtSoundOutput::play(QByteArray pcm, QAudioFormat format)
{
    // The sink stops reading the old samples before they are released.
    stop();
    m_pcm = std::move(pcm);
    if (!prepareSink(format))
        return;
    m_reader.setBuffer(&m_pcm);
    if (!m_reader.open(QIODevice::ReadOnly))
        return;
    m_sink->start(&m_reader);
    if (m_sink->error() != QAudio::NoError) {
        // No server, or it went away: stay silent.
        m_sink->stop();
        m_reader.close();
    }
}

bool QtSoundOutput::prepareSink(const QAudioFormat &format)
{
    if (m_sink && m_format == format)
        return true;
    m_sink.reset();
    SoundMessages::installFilter();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_format = format;
    return true;
}

namespace SoundMessages {

namespace {
QtMessageHandler previousHandler = nullptr;
bool installed = false;

void filter(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtFatalMsg
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
    for (const char *prefix : prefixes)
        if (message.startsWith(QLatin1String(prefix)))
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
