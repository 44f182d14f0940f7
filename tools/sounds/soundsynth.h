#pragma once
// The program's seven sound effects, synthesised. Each sound is a list of samples in
// -1..1 (frames interleaved for the one stereo sound), already faded in and out, free
// of any DC offset and scaled below full scale, so that the 8-bit and ADPCM codings
// neither clip nor click.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace SoundSynth {

struct Coding {
    int number;
    int rate; // frames per second
    int channels;
    int dataBytes; // length of the "data" chunk
    bool adpcm;    // Microsoft ADPCM, 4 bit; otherwise unsigned 8-bit PCM
};

inline constexpr Coding Codings[] = {
    {101, 11025, 1, 312, false},  // soft click: every button
    {102, 22050, 2, 1024, true},  // pencil on paper: stroke starts, next step
    {103, 11025, 1, 1422, false}, // falling two notes: a step back
    {104, 11025, 1, 1580, false}, // rising two notes: a step forward, size
    {105, 22050, 1, 3772, false}, // chime: grid, take this lesson, close
    {106, 11025, 1, 420, false},  // pop: the pen window opens
    {107, 22050, 1, 4116, false}, // sweep: the lesson window opens, clear
};

inline const Coding *codingOf(int number)
{
    for (const Coding &c : Codings)
        if (c.number == number)
            return &c;
    return nullptr;
}

// Microsoft ADPCM with a block of 7 header bytes per channel (holding two samples)
// and two samples per further byte; the sound fills exactly one block.
inline int framesOf(const Coding &c)
{
    if (c.adpcm)
        return (c.dataBytes - 7 * c.channels) * 2 / c.channels + 2;
    return c.dataBytes / c.channels;
}

namespace detail {

constexpr double Pi = std::numbers::pi;

// Raised-cosine rise over `attack` seconds and fall over the last `release` seconds.
inline double edges(double t, double length, double attack, double release)
{
    double g = 1.0;
    if (t < attack)
        g *= 0.5 - 0.5 * std::cos(Pi * t / attack);
    const double left = length - t;
    if (left < release)
        g *= 0.5 - 0.5 * std::cos(Pi * std::max(0.0, left) / release);
    return g;
}

// A soft mallet tone: a sine with a quieter octave and a faint bright partial that
// dies away faster, the way a marimba bar sounds.
inline double mallet(double f, double t, double decay)
{
    return std::sin(2 * Pi * f * t) * std::exp(-t / decay)
           + 0.25 * std::sin(2 * Pi * 2 * f * t) * std::exp(-t / (decay * 0.5))
           + 0.06 * std::sin(2 * Pi * 3.9 * f * t) * std::exp(-t / (decay * 0.25));
}

// A repeatable noise source, so that every build makes the same sounds.
struct Noise {
    uint32_t state;
    double next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return double(state) / 2147483648.0 - 1.0;
    }
};

// Removes the mean of each channel, taking it out under a window that is zero at
// both ends so the fades stay clean, then scales the loudest sample to `peak`.
inline void finish(std::vector<double> &s, int channels, double peak)
{
    const size_t frames = s.size() / size_t(channels);
    for (int ch = 0; ch < channels; ++ch) {
        double sum = 0, wsum = 0;
        for (size_t i = 0; i < frames; ++i) {
            sum += s[i * channels + ch];
            const double w = std::sin(Pi * double(i) / double(frames - 1));
            wsum += w * w;
        }
        const double k = sum / wsum;
        for (size_t i = 0; i < frames; ++i) {
            const double w = std::sin(Pi * double(i) / double(frames - 1));
            s[i * channels + ch] -= k * w * w;
        }
    }
    double top = 0;
    for (double v : s)
        top = std::max(top, std::abs(v));
    if (top > 0)
        for (double &v : s)
            v *= peak / top;
}

inline std::vector<double> click(const Coding &c)
{
    const int n = framesOf(c);
    const double length = double(n) / c.rate;
    std::vector<double> s(size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / c.rate;
        const double body = std::sin(2 * Pi * 1250 * t) * std::exp(-t / 0.006)
                            + 0.35 * std::sin(2 * Pi * 2500 * t) * std::exp(-t / 0.003);
        s[size_t(i)] = body * edges(t, length, 0.0012, 0.004);
    }
    finish(s, 1, 0.5);
    return s;
}

inline std::vector<double> pencil(const Coding &c)
{
    const int n = framesOf(c);
    const double length = double(n) / c.rate;
    std::vector<double> s(size_t(n) * 2, 0.0);
    Noise common{0x5eed1234u}, own{0x0badf00du}, grain{0x13572468u};
    double lowL = 0, lowR = 0, hiL = 0, hiR = 0, prevL = 0, prevR = 0, rough = 0;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / c.rate;
        // Graphite grains: a slowly wandering roughness over band-passed hiss, with
        // the two channels mostly alike so the scratch sits near the middle.
        rough += 0.08 * (std::abs(grain.next()) - rough);
        const double shared = common.next();
        const double l = 0.8 * shared + 0.2 * own.next();
        const double r = 0.8 * shared + 0.2 * own.next();
        lowL += 0.55 * (l - lowL);
        lowR += 0.55 * (r - lowR);
        hiL = 0.8 * (hiL + lowL - prevL);
        hiR = 0.8 * (hiR + lowR - prevR);
        prevL = lowL;
        prevR = lowR;
        const double g = (0.55 + 0.9 * rough) * std::exp(-t / 0.03) * edges(t, length, 0.003, 0.012);
        s[size_t(i) * 2] = hiL * g;
        s[size_t(i) * 2 + 1] = hiR * g;
    }
    finish(s, 2, 0.45);
    return s;
}

// Two mallet notes, the second starting at `split` seconds.
inline std::vector<double> twoNotes(const Coding &c, double first, double second, double split)
{
    const int n = framesOf(c);
    const double length = double(n) / c.rate;
    std::vector<double> s(size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / c.rate;
        double v = mallet(first, t, 0.03) * edges(t, split + 0.012, 0.0015, 0.012);
        if (t >= split) {
            const double u = t - split;
            v += mallet(second, u, 0.05) * edges(u, length - split, 0.0015, 0.02);
        }
        s[size_t(i)] = v;
    }
    finish(s, 1, 0.6);
    return s;
}

inline std::vector<double> chime(const Coding &c)
{
    const int n = framesOf(c);
    const double length = double(n) / c.rate;
    std::vector<double> s(size_t(n), 0.0);
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / c.rate;
        // A small bell: two notes a major third apart, each with the slightly
        // stretched overtone that makes a bell ring rather than beep.
        double v = 0;
        for (double f : {1046.5, 1318.5})
            v += std::sin(2 * Pi * f * t) * std::exp(-t / 0.09)
                 + 0.3 * std::sin(2 * Pi * 2.76 * f * t) * std::exp(-t / 0.03);
        s[size_t(i)] = v * edges(t, length, 0.0015, 0.03);
    }
    finish(s, 1, 0.6);
    return s;
}

// A tone gliding exponentially from `from` to `to` Hz over the whole sound; `voice`
// shapes each sample from the running phase and the time.
template <class Voice> std::vector<double> glide(const Coding &c, double from, double to, Voice voice)
{
    const int n = framesOf(c);
    const double length = double(n) / c.rate;
    std::vector<double> s(size_t(n), 0.0);
    double phase = 0;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / c.rate;
        phase += 2 * Pi * from * std::pow(to / from, t / length) / c.rate;
        s[size_t(i)] = voice(phase, t, length);
    }
    return s;
}

inline std::vector<double> pop(const Coding &c)
{
    // A bubble: the pitch leaps upward as it bursts.
    std::vector<double> s = glide(c, 380.0, 1100.0, [](double phase, double t, double length) {
        return std::sin(phase) * std::exp(-t / 0.014) * edges(t, length, 0.0015, 0.006);
    });
    finish(s, 1, 0.6);
    return s;
}

inline std::vector<double> sweep(const Coding &c)
{
    // An upward glide, soft at both ends, like a curtain drawn aside.
    std::vector<double> s = glide(c, 420.0, 1900.0, [](double phase, double t, double length) {
        const double v = std::sin(phase) + 0.2 * std::sin(2 * phase) + 0.05 * std::sin(3 * phase);
        return v * edges(t, length, 0.02, 0.07);
    });
    finish(s, 1, 0.5);
    return s;
}

} // namespace detail

// The samples of sound `number`; empty for a number that is not one of the seven.
inline std::vector<double> samples(int number)
{
    const Coding *c = codingOf(number);
    if (!c)
        return {};
    switch (number) {
    case 101:
        return detail::click(*c);
    case 102:
        return detail::pencil(*c);
    case 103:
        return detail::twoNotes(*c, 783.99, 587.33, 0.055); // G5 down to D5
    case 104:
        return detail::twoNotes(*c, 587.33, 880.0, 0.055); // D5 up to A5
    case 105:
        return detail::chime(*c);
    case 106:
        return detail::pop(*c);
    case 107:
        return detail::sweep(*c);
    default:
        return {};
    }
}

// One sample as unsigned 8-bit PCM (silence is 128).
inline uint8_t toUnsigned8(double v) { return uint8_t(std::clamp(std::lround(128.0 + 127.0 * v), 1L, 255L)); }

// One sample as signed 16-bit PCM.
inline int16_t toSigned16(double v) { return int16_t(std::clamp(std::lround(32767.0 * v), -32767L, 32767L)); }

} // namespace SoundSynth
