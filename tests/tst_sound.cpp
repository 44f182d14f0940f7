// The sound effects: what the generator made, how PlayWAV decodes and hands them
// on, what happens with a missing or broken sound, and real playback through a
// sound server that the test starts itself.

#include "core/errorframe.h"
#include "core/globals.h"
#include "core/resources.h"
#include "core/sound.h"
#include "platform/soundoutput.h"
#include "support/checkmessage.h"
#include "support/childrole.h"
#include "support/programcopy.h"
#include "support/pulseserver.h"
#include "support/recordingsoundoutput.h"
#include "support/testsupport.h"
#include "support/xserver.h"
#include "tools/sounds/soundsynth.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QtEndian>

#include <cmath>
#include <memory>

using namespace Allgemein;

namespace {

// The parts of a RIFF WAVE file that say how its sound is coded, read straight
// from the bytes.
struct WaveFile {
    int formatTag = 0, channels = 0, rate = 0, blockAlign = 0, bits = 0;
    QByteArray fmt;         // the whole "fmt " chunk body
    QByteArray data;        // the "data" chunk body
    qint64 dataLength = -1; // as the chunk header says
};

quint32 le32(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint32>(b.constData() + at); }
int le16s(const QByteArray &b, qsizetype at) { return qFromLittleEndian<qint16>(b.constData() + at); }
int le16u(const QByteArray &b, qsizetype at) { return qFromLittleEndian<quint16>(b.constData() + at); }

WaveFile parseWave(const QByteArray &b)
{
    WaveFile w;
    if (b.size() < 12 || !b.startsWith("RIFF") || b.mid(8, 4) != "WAVE")
        return w;
    qsizetype at = 12;
    while (at + 8 <= b.size()) {
        const QByteArray tag = b.mid(at, 4);
        const quint32 len = le32(b, at + 4);
        const QByteArray body = b.mid(at + 8, qsizetype(len));
        if (tag == "fmt " && body.size() >= 16) {
            w.fmt = body;
            w.formatTag = le16u(body, 0);
            w.channels = le16u(body, 2);
            w.rate = int(le32(body, 4));
            w.blockAlign = le16u(body, 12);
            w.bits = le16u(body, 14);
        } else if (tag == "data") {
            w.data = body;
            w.dataLength = qint64(len);
        }
        at += 8 + qsizetype(len) + qsizetype(len & 1);
    }
    return w;
}

// Microsoft ADPCM decoded here from the format's definition, independently of
// libsndfile: per block a header of predictor indices, steps and the first two
// samples of each channel, then one 4-bit code per sample, high half first.
QList<int> decodeMsAdpcm(const WaveFile &w)
{
    static constexpr int adapt[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};
    QList<int> out;
    const int ch = w.channels;
    const int perBlock = le16u(w.fmt, 18);
    const int coefCount = le16u(w.fmt, 20);
    QList<std::array<int, 2>> coef;
    for (int i = 0; i < coefCount; ++i)
        coef.append({le16s(w.fmt, 22 + 4 * i), le16s(w.fmt, 24 + 4 * i)});
    for (qsizetype start = 0; start + w.blockAlign <= w.data.size(); start += w.blockAlign) {
        const QByteArray block = w.data.mid(start, w.blockAlign);
        QList<int> pred(ch), delta(ch), s1(ch), s2(ch);
        for (int c = 0; c < ch; ++c) {
            pred[c] = quint8(block[c]);
            delta[c] = le16s(block, ch + 2 * c);
            s1[c] = le16s(block, 3 * ch + 2 * c);
            s2[c] = le16s(block, 5 * ch + 2 * c);
        }
        for (int c = 0; c < ch; ++c)
            out.append(s2[c]);
        for (int c = 0; c < ch; ++c)
            out.append(s1[c]);
        int k = 0;
        for (qsizetype i = 7 * ch; i < block.size() && k < (perBlock - 2) * ch; ++i) {
            for (int code : {quint8(block[i]) >> 4, quint8(block[i]) & 0x0f}) {
                const int c = k % ch;
                const int signedCode = code >= 8 ? code - 16 : code;
                const int predicted = (s1[c] * coef[pred[c]][0] + s2[c] * coef[pred[c]][1]) >> 8;
                const int value = std::clamp(predicted + signedCode * delta[c], -32768, 32767);
                out.append(value);
                s2[c] = s1[c];
                s1[c] = value;
                delta[c] = std::max(16, adapt[code] * delta[c] >> 8);
                ++k;
            }
        }
    }
    return out;
}

QList<int> samplesOf(const QByteArray &pcm16)
{
    QList<int> out;
    for (qsizetype i = 0; i + 1 < pcm16.size(); i += 2)
        out.append(le16s(pcm16, i));
    return out;
}

// A sound of unsigned 8-bit mono samples at 100 frames a second.
QByteArray pcm8Wave(int frames)
{
    const quint32 padded = quint32(frames + (frames & 1));
    QByteArray wave;
    QDataStream out(&wave, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + padded);
    out.writeRawData("WAVEfmt ", 8);
    // PCM, mono, 100 frames and 100 bytes a second, 1 byte a frame, 8 bits a sample.
    out << quint32(16) << quint16(1) << quint16(1) << quint32(100) << quint32(100) << quint16(1) << quint16(8);
    out.writeRawData("data", 4);
    out << quint32(frames);
    return wave + QByteArray(qsizetype(padded), char(0x90));
}

QByteArray soundResource(int number) { return ModResFiles::LoadResData(number, QStringLiteral("WAV")); }

// Runs this test program in its playing role with the given sound server address.
ChildRole::Ended playInChild(const QString &sounds, const QString &pulseServer, int waitMs)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PULSE_SERVER"), pulseServer);
    env.remove(QStringLiteral("QT_LOGGING_RULES"));
    return ChildRole::run(QStringLiteral("play"), {sounds, QString::number(waitMs)}, env, 20000);
}

// The playing role: plays the comma-separated <sounds> one right after the other
// through the default output and keeps the event loop running <ms> while they sound.
int playForParent(int argc, char **argv, const QStringList &args)
{
    QCoreApplication app(argc, argv);
    const int waitMs = args.size() > 1 ? args.at(1).toInt() : 500;
    for (const QString &n : args.value(0).split(QLatin1Char(',')))
        PlayWAV(n.toInt());
    QTimer::singleShot(waitMs, &app, &QCoreApplication::quit);
    return app.exec();
}

// How a sound file is coded: as its header names it, and its data chunk's length
// in bytes and in frames.
struct Coding {
    int number, formatTag, channels, rate, bits, blockAlign, dataLength, frames;
};

QList<QString> captured;
void captureMessages(QtMsgType, const QMessageLogContext &, const QString &message) { captured.append(message); }

} // namespace

class tst_Sound : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_env.emplace(); }
    void cleanup() { m_env.reset(); }
    void codings_data();
    void codings();
    void decoding_data();
    void decoding();

    void effects_data();
    void effects();
    void unplayableSound_data();
    void unplayableSound();

    void messageFilter_data();
    void messageFilter();
    void silentWithoutSoundServer();
    void playsThroughPulseAudio_data();
    void playsThroughPulseAudio();
    void cleanupTestCase();

private:
    // One sound server for all the rows that need it, started on first use.
    std::unique_ptr<PulseServer> m_server;
    QString m_serverFailure;
    std::optional<CoreEnvironment> m_env;
};

void tst_Sound::codings_data()
{
    QTest::addColumn<Coding>("coding");
    QTest::newRow("101 click") << Coding{101, 1, 1, 11025, 8, 1, 312, 312};
    QTest::newRow("102 pencil") << Coding{102, 2, 2, 22050, 4, 1024, 1024, 1012};
    QTest::newRow("103 step back") << Coding{103, 1, 1, 11025, 8, 1, 1422, 1422};
    QTest::newRow("104 step forward") << Coding{104, 1, 1, 11025, 8, 1, 1580, 1580};
    QTest::newRow("105 chime") << Coding{105, 1, 1, 22050, 8, 1, 3772, 3772};
    QTest::newRow("106 pop") << Coding{106, 1, 1, 11025, 8, 1, 420, 420};
    QTest::newRow("107 sweep") << Coding{107, 1, 1, 22050, 8, 1, 4116, 4116};
}

void tst_Sound::codings()
{
    QFETCH(Coding, coding);
    const auto [number, formatTag, channels, rate, bits, blockAlign, dataLength, frames] = coding;
    const QByteArray bytes = soundResource(number);
    const WaveFile w = parseWave(bytes);
    QCOMPARE(w.dataLength, qint64(dataLength));
    QCOMPARE(w.data.size(), qsizetype(dataLength));
    QCOMPARE(w.formatTag, formatTag);
    QCOMPARE(w.channels, channels);
    QCOMPARE(w.rate, rate);
    QCOMPARE(w.bits, bits);
    QCOMPARE(w.blockAlign, blockAlign);
    QCOMPARE(le32(bytes, 4), quint32(bytes.size() - 8));

    // The decoder the program plays through sees the same coding.
    const DecodedSound sound = DecodeWave(bytes);
    QVERIFY2(sound.ok(), qPrintable(sound.error));
    QCOMPARE(sound.format.channelCount(), channels);
    QCOMPARE(sound.format.sampleRate(), rate);
    QCOMPARE(sound.format.sampleFormat(), QAudioFormat::Int16);
    QCOMPARE(sound.pcm.size(), qsizetype(frames) * channels * 2);

    // Its samples are those the format defines, decoded here: 8-bit ones centred
    // on silence, or Microsoft ADPCM.
    QList<int> reference;
    if (formatTag == 2)
        reference = decodeMsAdpcm(w);
    else
        for (char b : std::as_const(w.data))
            reference << (int(quint8(b)) - 128) * 256;
    const QList<int> s = samplesOf(sound.pcm);
    QCOMPARE(s.size(), reference.size());
    for (qsizetype i = 0; i < s.size(); ++i)
        QVERIFY2(s[i] == reference[i], msg("sample %1 (frame %2, channel %3): %4, expected %5", i, i / channels,
                                           i % channels, s[i], reference[i]));

    // The decoded sound is the sound that was synthesised, each channel in its
    // place, give or take what the coding loses (4-bit ADPCM the most).
    const std::vector<double> source = SoundSynth::samples(number);
    QCOMPARE(qsizetype(source.size()), s.size());
    for (int c = 0; c < channels; ++c) {
        double err = 0, sig = 0;
        for (qsizetype i = c; i < s.size(); i += channels) {
            const double want = SoundSynth::toSigned16(source[size_t(i)]);
            err += (s[i] - want) * (s[i] - want);
            sig += want * want;
        }
        const double snr = 10 * std::log10(sig / std::max(err, 1.0));
        QVERIFY2(snr > 12, msg("channel %1: %2 dB", c, snr));
    }

    // 8-bit steps are 256 apart here; ADPCM rounds more coarsely near silence.
    const int quiet = formatTag == 2 ? 600 : 256;
    for (int ch = 0; ch < channels; ++ch) {
        double sum = 0;
        int peak = 0;
        for (qsizetype i = 0; i < frames; ++i) {
            const int v = s[i * channels + ch];
            sum += v;
            peak = std::max(peak, std::abs(v));
        }
        // Loud enough to hear, well clear of full scale (so the 8-bit files,
        // read exactly, never touch the ends of their range).
        QVERIFY2(peak > 8000, msg("peak %1", peak));
        QVERIFY2(peak < 28000, msg("peak %1", peak));
        // No DC offset: the mean sits within half an 8-bit step of silence.
        QVERIFY2(std::abs(sum / double(frames)) < 128, msg("mean %1", sum / double(frames)));
        // Faded in and out: the first and last samples are silence, give or take
        // one 8-bit step (or ADPCM's coarser one), and the first and last quarter
        // millisecond stay well below the peak: the sound rises, it does not jump.
        QVERIFY2(std::abs(s[ch]) <= quiet, msg("first sample %1", s[ch]));
        QVERIFY2(std::abs(s[(frames - 1) * channels + ch]) <= quiet,
                 msg("last sample %1", s[(frames - 1) * channels + ch]));
        const qsizetype edge = std::max(2, rate / 4000);
        for (qsizetype i = 0; i < edge; ++i) {
            for (qsizetype at : {i, frames - 1 - i})
                QVERIFY2(std::abs(s[at * channels + ch]) < peak / 4,
                         msg("sample %1 is %2 of peak %3", at, s[at * channels + ch], peak));
        }
    }
}

void tst_Sound::decoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<qsizetype>("pcmSize"); // -1: refused
    QTest::newRow("empty") << QByteArray() << qsizetype(-1);
    QTest::newRow("not a wave") << QByteArray("GIF89a not a sound at all, just some text") << qsizetype(-1);
    QTest::newRow("header cut short") << QByteArray("RIFF\x24\0\0\0WAVEfmt ", 16) << qsizetype(-1);
    // 16-bit samples of a sound of 100 frames a second: a minute is 6000 frames.
    QTest::newRow("no frames") << pcm8Wave(0) << qsizetype(-1);
    QTest::newRow("one frame") << pcm8Wave(1) << qsizetype(2);
    QTest::newRow("a minute") << pcm8Wave(6000) << qsizetype(12000);
    QTest::newRow("a frame more than a minute") << pcm8Wave(6001) << qsizetype(-1);
}

void tst_Sound::decoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(qsizetype, pcmSize);
    const DecodedSound sound = DecodeWave(bytes);
    QCOMPARE(sound.ok(), pcmSize >= 0);
    QCOMPARE(sound.pcm.size(), std::max(pcmSize, qsizetype(0)));
}

void tst_Sound::effects_data()
{
    QTest::addColumn<int>("soundOn");
    QTest::addColumn<QList<Effect>>("effects"); // played one right after the other
    QTest::addColumn<QList<int>>("numbers");    // of the sounds that start
    QTest::addColumn<int>("rate");              // of the last
    // As the canvas does when the mouse goes down: with the sound off, nothing is
    // loaded and the output is left alone.
    QTest::newRow("off") << int(False) << QList{Effect::Pencil} << QList<int>() << 0;
    QTest::newRow("on") << int(True) << QList{Effect::Pencil} << QList{102} << 22050;
    QTest::newRow("on, any non-zero") << 1 << QList{Effect::Pencil} << QList{102} << 22050;
    // The clear-picture button: the click, and at once the sweep, which cuts the
    // click off (every output stops what plays as a new sound starts).
    QTest::newRow("new sound cuts off the one before")
        << int(True) << QList{Effect::Click, Effect::Sweep} << QList{101, 107} << 22050;
    // A quick repeat starts the sound again from the beginning.
    QTest::newRow("quick repeat") << int(True) << QList{Effect::Click, Effect::Click} << QList{101, 101} << 11025;
}

void tst_Sound::effects()
{
    QFETCH(int, soundOn);
    QFETCH(QList<Effect>, effects);
    QFETCH(QList<int>, numbers);
    QFETCH(int, rate);
    RecordingSoundOutput &out = m_env->sound;
    SoundOn = int16_t(soundOn);
    SoundBuffer = QByteArrayLiteral("left over from before");

    ErrorFrame f("frmDraw", "picBild_MouseDown");
    f.run([&] {
        f.line(30, [&] {
            for (Effect e : std::as_const(effects))
                PlayEffect(e);
        });
    });

    QVERIFY(m_env->reporter.reports.isEmpty());
    QCOMPARE(out.started.size(), numbers.size());
    for (qsizetype i = 0; i < numbers.size(); ++i)
        QCOMPARE(out.started[i].pcm, DecodeWave(soundResource(numbers[i])).pcm);
    if (numbers.isEmpty()) {
        QCOMPARE(SoundBuffer, QByteArrayLiteral("left over from before"));
        QVERIFY(out.events.isEmpty());
        return;
    }
    // The last plays whole: nothing stopped it after it started.
    QVERIFY(out.playing);
    QCOMPARE(out.current().format.sampleRate(), rate);
    QCOMPARE(SoundBuffer, soundResource(numbers.last()));
}

void tst_Sound::unplayableSound_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<bool>("loaded"); // the sound's data is held though it cannot play
    const QString missing = QStringLiteral("Allgemein.PlayWAV 10: %1").arg(Err::ResourceNotFound);
    const QString undecodable = QStringLiteral("Allgemein.PlayWAV 20: %1").arg(Err::InvalidCall);
    QTest::newRow("199 missing, cancel") << 199 << QList<int>{2} << QStringList{missing} << false;
    QTest::newRow("100 missing, ignore") << 100 << QList<int>{1} << QStringList{missing} << false;
    QTest::newRow("108 missing, retry, then cancel")
        << 108 << QList<int>{0, 2} << QStringList{missing, missing} << false;
    QTest::newRow("0 missing, cancel") << 0 << QList<int>{2} << QStringList{missing} << false;
    QTest::newRow("-101 missing, ignore") << -101 << QList<int>{1} << QStringList{missing} << false;
    QTest::newRow("198 unknown coding, ignore") << 198 << QList<int>{1} << QStringList{undecodable} << true;
    QTest::newRow("197 no samples, ignore") << 197 << QList<int>{1} << QStringList{undecodable} << true;
}

void tst_Sound::unplayableSound()
{
    QFETCH(int, number);
    QFETCH(QList<int>, answers);
    QFETCH(QStringList, said);
    QFETCH(bool, loaded);
    m_env->reporter.answers = answers;
    RecordingSoundOutput &out = m_env->sound;
    PlayEffect(Effect::Click);
    PlayWAV(number);

    QCOMPARE(m_env->reporter.said(), said);
    for (const ScriptedReporter::Report &r : std::as_const(m_env->reporter.reports))
        QVERIFY2(r.error.description.contains(QString::number(number)), qPrintable(r.error.description));
    // Nothing new plays, and the click before was stopped, its data let go.
    QCOMPARE(out.started.size(), 1);
    QVERIFY(!out.playing);
    QCOMPARE(SoundBuffer, loaded ? soundResource(number) : QByteArray());
    // The next sound plays as usual.
    PlayEffect(Effect::Click);
    QCOMPARE(out.started.size(), 2);
    QVERIFY(out.playing);
    QCOMPARE(m_env->reporter.reports.size(), said.size());
}

void tst_Sound::messageFilter_data()
{
    QTest::addColumn<QString>("category");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("dropped");
    auto row = [](const char *tag, const char *category, const char *message, bool dropped) {
        QTest::newRow(tag) << QString::fromUtf8(category) << QString::fromUtf8(message) << dropped;
    };
    row("pulse category", "qt.multimedia.pulseaudio", "Stream error: Connection refused", true);
    row("pulse output", "qt.multimedia.pulseaudio.output", "pa_stream_connect_playback() failed!", true);
    row("engine, no category", "default", "QPulseAudioEngine: Failed to connect to pulseaudio context", true);
    row("sink, no category", "default", "QAudioSink: pa_stream_new_with_proplist() failed!", true);
    row("other warning", "default", "QWidget::repaint: Recursive repaint detected", false);
    row("other category", "qt.qpa.xcb", "QXcbConnection: XCB error: 3", false);
    row("server gone", "default", "PulseAudioService: Context terminated.", true);
    row("no category, other text", "default", "The picture could not be saved", false);
    // The server killed while a sound plays: the stream's error arrives quoted.
    row("stream cut, quoted", "default", "\"Stream error: Connection terminated\"", true);
    row("other text, quoted", "default", "\"The picture could not be saved\"", false);
}

void tst_Sound::messageFilter()
{
    QFETCH(QString, category);
    QFETCH(QString, message);
    QFETCH(bool, dropped);
    // The filter as the program installs it (once) in front of the handler that
    // was there before: it drops the warning, or hands it on to that handler.
    static const QtMessageHandler filter = [] {
        const QtMessageHandler before = qInstallMessageHandler(captureMessages);
        SoundMessages::installFilter();
        return qInstallMessageHandler(before);
    }();
    captured.clear();
    const QtMessageHandler before = qInstallMessageHandler(filter);
    const QByteArray name = category.toUtf8();
    QMessageLogger(nullptr, 0, nullptr, name.constData()).warning("%s", qPrintable(message));
    qInstallMessageHandler(before);
    QCOMPARE(captured, dropped ? QList<QString>() : QList<QString>{message});
}

void tst_Sound::silentWithoutSoundServer()
{
    // A socket path where nothing listens: Qt Multimedia finds no server.
    QTemporaryDir dir;
    const ChildRole::Ended run = playInChild(QStringLiteral("101,102,107"),
                                             QStringLiteral("unix:") + dir.filePath(QStringLiteral("nothing")), 300);
    QVERIFY(run.ok());
    QVERIFY2(run.err.isEmpty(), run.err.constData());
    QVERIFY2(run.out.isEmpty(), run.out.constData());
}

void tst_Sound::playsThroughPulseAudio_data()
{
    QTest::addColumn<QString>("sounds"); // played by this test's playing role; none: the program is started
    QTest::addColumn<bool>("press");     // on the program's canvas at once
    QTest::addColumn<int>("shortestMs");
    QTest::addColumn<int>("longestMs");
    // How long the recording holds sound: the pencil lasts 46 ms, the click 28 ms
    // and the sweep 187 ms, each with soft ends.
    QTest::newRow("pencil, stereo ADPCM") << "102" << false << 30 << 60;
    QTest::newRow("click, then at once the sweep") << "101,107" << false << 150 << 200;
    QTest::newRow("two quick clicks") << "101,101" << false << 18 << 40;
    // The program's lesson window opens with the sweep (mono), while the output
    // is still being opened after the first frame: it waits, and is heard whole.
    QTest::newRow("the program: the lesson window's sweep") << "" << false << 150 << 200;
    // A press on the canvas at once: the pencil (stereo) cuts the sweep off and
    // is the last sound heard.
    QTest::newRow("the program: a press at once") << "" << true << 0 << 0;
}

// Records what reaches the null sink, as 16-bit stereo at the pencil's rate.
class MonitorRecorder
{
public:
    // Starts parec and waits for its first data; on failure returns why.
    QString start(const PulseServer &server)
    {
        const QString parec = QStandardPaths::findExecutable(QStringLiteral("parec"));
        if (parec.isEmpty())
            return QStringLiteral("parec (pulseaudio-utils) is not installed");
        m_process.start(parec, {QStringLiteral("--server=") + server.address(),
                                QStringLiteral("--device=") + PulseServer::sinkName() + QStringLiteral(".monitor"),
                                QStringLiteral("--format=s16le"), QStringLiteral("--rate=22050"),
                                QStringLiteral("--channels=2"), QStringLiteral("--latency-msec=20")});
        if (!m_process.waitForStarted(3000))
            return QStringLiteral("parec did not start");
        QDeadlineTimer ready(5000);
        while (m_recorded.isEmpty() && !ready.hasExpired() && m_process.state() == QProcess::Running) {
            m_process.waitForReadyRead(100);
            m_recorded += m_process.readAllStandardOutput();
        }
        if (m_recorded.isEmpty())
            return QString::fromLocal8Bit(m_process.readAllStandardError());
        m_recorded.clear();
        return QString();
    }
    // Collects for `ms` more, stops, and returns the samples since start.
    QList<int> finish(int ms)
    {
        QDeadlineTimer tail(ms);
        while (!tail.hasExpired()) {
            m_process.waitForReadyRead(50);
            m_recorded += m_process.readAllStandardOutput();
        }
        m_process.terminate();
        m_process.waitForFinished(2000);
        m_recorded += m_process.readAllStandardOutput();
        return samplesOf(m_recorded);
    }

private:
    QProcess m_process;
    QByteArray m_recorded;
};

// What a recording holds: the loudest sample per channel, and the stretches of
// sound (in ms from the start) separated by at least 30 ms of quiet.
struct Heard {
    int peak[2] = {0, 0};
    QList<QPair<qsizetype, qsizetype>> bursts;
    qsizetype lastStereoMs = -1; // the last moment the two channels differed
    qsizetype lastBurstMs() const { return bursts.isEmpty() ? -1 : bursts.last().second - bursts.last().first; }
};

Heard listen(const QList<int> &s)
{
    Heard h;
    constexpr qsizetype gap = 22050 * 30 / 1000;
    for (qsizetype i = 0; i < s.size(); ++i) {
        h.peak[i % 2] = std::max(h.peak[i % 2], std::abs(s[i]));
        if (std::abs(s[i]) <= 300)
            continue;
        const qsizetype frame = i / 2;
        if (i % 2 == 1 && std::abs(s[i] - s[i - 1]) > 300)
            h.lastStereoMs = frame * 1000 / 22050;
        if (h.bursts.isEmpty() || frame - h.bursts.last().second * 22050 / 1000 > gap)
            h.bursts.append({frame * 1000 / 22050, frame * 1000 / 22050});
        else
            h.bursts.last().second = frame * 1000 / 22050;
    }
    return h;
}

void tst_Sound::playsThroughPulseAudio()
{
    QFETCH(QString, sounds);
    QFETCH(bool, press);
    QFETCH(int, shortestMs);
    QFETCH(int, longestMs);
    if (!m_server) {
        m_server = std::make_unique<PulseServer>();
        m_serverFailure = m_server->start();
    }
    if (!m_serverFailure.isEmpty())
        QSKIP(qPrintable(QStringLiteral("no sound server for this test: ") + m_serverFailure));
    XServer x;
    ProgramCopy in;
    if (sounds.isEmpty()) {
        START_DESKTOP_OR_SKIP(x, QStringLiteral("openbox"));
        QVERIFY(in.install());
        // The pen window stays closed (its own opening sound would cut off the
        // sweep), the lesson window sits in the corner, away from the canvas.
        QVERIFY(in.writeSettings("[Optionen]\nCShow=0\nPLeft=0\nPTop=0\n"));
    }
    MonitorRecorder recorder;
    const QString failure = recorder.start(*m_server);
    if (failure.contains(QLatin1String("not installed")))
        QSKIP(qPrintable(failure));
    QVERIFY2(failure.isEmpty(), qPrintable(failure));

    QList<int> s;
    if (!sounds.isEmpty()) {
        const ChildRole::Ended run = playInChild(sounds, m_server->address(), 800);
        s = recorder.finish(300);
        QVERIFY(run.ok());
        QVERIFY2(run.err.isEmpty(), run.err.constData());
    } else {
        QProcessEnvironment env = in.environmentOn(x);
        env.insert(QStringLiteral("PULSE_SERVER"), m_server->address());
        QVERIFY(in.launch(env));
        const QString main = x.waitForWindow(QStringLiteral("^Stiftolino$"));
        QVERIFY2(!main.isEmpty(), "the main window did not appear");
        // The canvas fills the lower right of the main window.
        if (press)
            x.click(x.geometry(main).topLeft() + QPoint(600, 400));
        // The server may take up to two seconds to start its first stream.
        s = recorder.finish(3000); // the program is killed as its copy goes
    }

    const Heard h = listen(s);
    QVERIFY2(h.peak[0] > 8000 && h.peak[1] > 8000,
             msg("peaks %1 and %2 in %3 frames", h.peak[0], h.peak[1], s.size() / 2));
    const qsizetype end = h.bursts.last().second;
    if (press) {
        QVERIFY2(h.lastStereoMs >= 0 && end - h.lastStereoMs <= 20,
                 msg("the sound ends at %1 ms, the pencil at %2 ms", end, h.lastStereoMs));
    } else if (sounds.isEmpty()) {
        QCOMPARE(h.lastStereoMs, qsizetype(-1));
        QVERIFY2(h.lastBurstMs() >= shortestMs && h.lastBurstMs() <= longestMs,
                 msg("the sweep heard for %1 ms", h.lastBurstMs()));
    } else {
        const qsizetype heardMs = end - h.bursts.first().first;
        QVERIFY2(heardMs >= shortestMs && heardMs <= longestMs, msg("sound heard for %1 ms", heardMs));
    }
}

void tst_Sound::cleanupTestCase() { m_server.reset(); }

QTEST_MAIN_WITH_ROLES(tst_Sound, QCoreApplication, {"play", playForParent})

#include "tst_sound.moc"
