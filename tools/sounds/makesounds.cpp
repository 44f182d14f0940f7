// Writes the program's seven sound effects as RIFF WAVE files <number>.wav into the
// folder named on the command line: unsigned 8-bit PCM, and the stereo pencil sound
// as one 1024-byte block of Microsoft ADPCM. Each file's data chunk is checked
// against the length the program expects, so a changed encoder fails the build.

#include "soundsynth.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

void put32(std::vector<char> &out, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xff));
}

void put16(std::vector<char> &out, uint16_t v)
{
    out.push_back(char(v & 0xff));
    out.push_back(char(v >> 8));
}

void putTag(std::vector<char> &out, const char *tag) { out.insert(out.end(), tag, tag + 4); }

bool writePcm8(const SoundSynth::Coding &c, const std::string &path)
{
    const std::vector<double> s = SoundSynth::samples(c.number);
    std::vector<char> out;
    putTag(out, "RIFF");
    put32(out, uint32_t(4 + 8 + 16 + 8 + c.dataBytes + (c.dataBytes & 1)));
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1); // PCM
    put16(out, uint16_t(c.channels));
    put32(out, uint32_t(c.rate));
    put32(out, uint32_t(c.rate * c.channels)); // bytes per second
    put16(out, uint16_t(c.channels));          // block align
    put16(out, 8);                             // bits per sample
    putTag(out, "data");
    put32(out, uint32_t(c.dataBytes));
    for (double v : s)
        out.push_back(char(SoundSynth::toUnsigned8(v)));
    if (c.dataBytes & 1)
        out.push_back(0);
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(out.data(), std::streamsize(out.size()));
    return bool(f);
}

// Microsoft ADPCM: the seven standard predictor pairs and the step adaptation.
constexpr int AdpcmCoef[7][2] = {{256, 0}, {512, -256}, {0, 0}, {192, 64}, {240, 0}, {460, -208}, {392, -232}};
constexpr int AdpcmAdapt[16] = {230, 230, 230, 230, 307, 409, 512, 614, 768, 614, 512, 409, 307, 230, 230, 230};

struct AdpcmChannel {
    int predictor = 0;
    int delta = 16;
    int s1 = 0; // the newer of the two previous samples
    int s2 = 0;
    std::vector<int> nibbles;
    double error = 0;
};

// Encodes the samples of one channel (x[0], x[1] go into the block header) with the
// given predictor and starting step, recording the squared error of the result.
AdpcmChannel encodeChannel(const std::vector<int> &x, int predictor, int delta)
{
    AdpcmChannel ch;
    ch.predictor = predictor;
    ch.delta = delta;
    ch.s2 = x[0];
    ch.s1 = x[1];
    int s1 = ch.s1, s2 = ch.s2;
    for (size_t i = 2; i < x.size(); ++i) {
        const int predicted = (s1 * AdpcmCoef[predictor][0] + s2 * AdpcmCoef[predictor][1]) / 256;
        const double ideal = double(x[i] - predicted) / delta;
        const int n = int(std::clamp(std::lround(ideal), -8L, 7L));
        const int value = std::clamp(predicted + n * delta, -32768, 32767);
        ch.error += double(value - x[i]) * double(value - x[i]);
        ch.nibbles.push_back(n & 0x0f);
        s2 = s1;
        s1 = value;
        delta = std::max(16, AdpcmAdapt[n & 0x0f] * delta / 256);
    }
    return ch;
}

bool writeAdpcm(const SoundSynth::Coding &c, const std::string &path)
{
    const std::vector<double> s = SoundSynth::samples(c.number);
    const int frames = SoundSynth::framesOf(c);
    const int channels = c.channels;
    std::vector<AdpcmChannel> encoded;
    for (int k = 0; k < channels; ++k) {
        std::vector<int> x;
        for (int i = 0; i < frames; ++i)
            x.push_back(SoundSynth::toSigned16(s[size_t(i * channels + k)]));
        // One block only: try every predictor and a range of starting steps and
        // keep the closest result.
        AdpcmChannel best = encodeChannel(x, 0, 16);
        for (int p = 0; p < 7; ++p)
            for (int d = 16; d <= 2048; d += d / 4)
                if (AdpcmChannel ch = encodeChannel(x, p, d); ch.error < best.error)
                    best = std::move(ch);
        encoded.push_back(std::move(best));
    }

    std::vector<char> block;
    for (const AdpcmChannel &ch : encoded)
        block.push_back(char(ch.predictor));
    for (const AdpcmChannel &ch : encoded)
        put16(block, uint16_t(int16_t(ch.delta)));
    for (const AdpcmChannel &ch : encoded)
        put16(block, uint16_t(int16_t(ch.s1)));
    for (const AdpcmChannel &ch : encoded)
        put16(block, uint16_t(int16_t(ch.s2)));
    // Nibbles in frame order, channel after channel, the first in the high half.
    std::vector<int> stream;
    for (int i = 0; i < frames - 2; ++i)
        for (const AdpcmChannel &ch : encoded)
            stream.push_back(ch.nibbles[size_t(i)]);
    for (size_t i = 0; i + 1 < stream.size(); i += 2)
        block.push_back(char(stream[i] << 4 | stream[i + 1]));
    if (block.size() != size_t(c.dataBytes)) {
        std::fprintf(stderr, "makesounds: an ADPCM block of %zu bytes, expected %d\n", block.size(), c.dataBytes);
        return false;
    }

    const int blockAlign = c.dataBytes;
    std::vector<char> out;
    putTag(out, "RIFF");
    put32(out, 0); // filled in below
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 18 + 32);
    put16(out, 2); // Microsoft ADPCM
    put16(out, uint16_t(channels));
    put32(out, uint32_t(c.rate));
    put32(out, uint32_t(int64_t(c.rate) * blockAlign / frames));
    put16(out, uint16_t(blockAlign));
    put16(out, 4);                // bits per sample
    put16(out, 32);               // extra format bytes
    put16(out, uint16_t(frames)); // frames per block
    put16(out, 7);
    for (const auto &coef : AdpcmCoef) {
        put16(out, uint16_t(int16_t(coef[0])));
        put16(out, uint16_t(int16_t(coef[1])));
    }
    putTag(out, "fact");
    put32(out, 4);
    put32(out, uint32_t(frames));
    putTag(out, "data");
    put32(out, uint32_t(block.size()));
    out.insert(out.end(), block.begin(), block.end());
    const uint32_t riff = uint32_t(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[size_t(4 + i)] = char((riff >> (8 * i)) & 0xff);
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f.write(out.data(), std::streamsize(out.size()));
    return bool(f);
}

// The length in the header of the file's "data" chunk, or -1.
long dataChunkLength(const std::string &path)
{
    std::ifstream f(path, std::ios::binary);
    std::vector<unsigned char> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 || std::memcmp(b.data() + 8, "WAVE", 4) != 0)
        return -1;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint32_t len =
            uint32_t(b[at + 4]) | uint32_t(b[at + 5]) << 8 | uint32_t(b[at + 6]) << 16 | uint32_t(b[at + 7]) << 24;
        if (std::memcmp(b.data() + at, "data", 4) == 0)
            return long(len);
        at += 8 + len + (len & 1);
    }
    return -1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makesounds <output folder>\n");
        return 2;
    }
    const std::string folder = argv[1];
    for (const SoundSynth::Coding &c : SoundSynth::Codings) {
        const std::string path = folder + "/" + std::to_string(c.number) + ".wav";
        const bool written = c.adpcm ? writeAdpcm(c, path) : writePcm8(c, path);
        if (!written) {
            std::fprintf(stderr, "makesounds: could not write %s\n", path.c_str());
            return 1;
        }
        const long length = dataChunkLength(path);
        if (length != c.dataBytes) {
            std::fprintf(stderr, "makesounds: %s holds %ld bytes of sound data, expected %d\n", path.c_str(), length,
                         c.dataBytes);
            return 1;
        }
    }
    return 0;
}
