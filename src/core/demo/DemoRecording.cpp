// Writes the demo recording: three minutes of synthetic two-channel EEG at 120 samples per second in the
// old data file form (a 4096-byte header, then channel 1 and channel 2 as one byte per sample, each byte
// stored bit-reversed; sample = 4 x byte - 512).
//
// The signal: alpha bursts near 10 Hz that come and go, theta near 6 Hz, beta near 20 Hz, 60 Hz mains hum
// and coloured noise. Both channels share part of the alpha and theta activity (with a phase lag), so their
// coherence is high in those bands and low elsewhere.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <vector>

namespace {

constexpr int sampleSpeed = 120;
constexpr int seconds = 180;
constexpr int samples = sampleSpeed * seconds;
constexpr int headerBytes = 4096;
constexpr double twoPi = 6.283185307179586;

unsigned char reversed(unsigned char byte)
{
    unsigned char r = 0;
    for (int bit = 0; bit < 8; ++bit)
        r = static_cast<unsigned char>((r << 1) | ((byte >> bit) & 1));
    return r;
}

// Device byte of a value in device units (byte steps around the centre 128).
unsigned char deviceByte(double value)
{
    return static_cast<unsigned char>(std::clamp(int(std::lround(128 + value)), 0, 255));
}

// Slow envelope 0..1 that swells and fades over a few seconds: the bursts.
double burst(double t, double period, double phase)
{
    const double s = std::sin(twoPi * t / period + phase);
    return s > 0 ? s * s : 0.0;
}

std::vector<unsigned char> makeChannel(int which, std::mt19937& random)
{
    std::normal_distribution<double> white(0.0, 1.0);
    std::vector<unsigned char> out(samples);
    double brown = 0;                           // low-frequency drift
    const double lag = which == 1 ? 0.0 : 0.6;  // radians between the channels' shared rhythms
    for (int i = 0; i < samples; ++i) {
        const double t = double(i) / sampleSpeed;
        // Shared rhythms (the coherent part).
        const double alpha = 24 * burst(t, 11.0, 0.0) * std::sin(twoPi * 10.0 * t + lag + 0.3 * std::sin(t));
        const double theta = 10 * (0.5 + 0.5 * burst(t, 17.0, 1.3)) * std::sin(twoPi * 6.0 * t + lag);
        // Own rhythms of each channel.
        const double beta =
            (which == 1 ? 6 : 4) * burst(t, 7.0, which) * std::sin(twoPi * (which == 1 ? 20.0 : 21.5) * t);
        const double ownAlpha = which == 1 ? 0.0 : 8 * burst(t, 5.0, 2.0) * std::sin(twoPi * 11.0 * t);
        // Mains hum: at 120 samples per second 60 Hz is the alternating sample pattern.
        const double hum = 3 * std::cos(twoPi * 60.0 * t);
        brown = 0.98 * brown + 0.6 * white(random);
        const double noise = brown + 2.5 * white(random);
        out[std::size_t(i)] = reversed(deviceByte(alpha + theta + beta + ownAlpha + hum + noise));
    }
    return out;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output file>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path path(argv[1]);
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);

    std::mt19937 random(20061207);  // fixed: the demo is the same on every build
    const std::vector<unsigned char> header(headerBytes, 0);
    const std::vector<unsigned char> first = makeChannel(1, random);
    const std::vector<unsigned char> second = makeChannel(2, random);

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        return 1;
    }
    bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
    ok = ok && std::fwrite(first.data(), 1, first.size(), file) == first.size();
    ok = ok && std::fwrite(second.data(), 1, second.size(), file) == second.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "writing %s failed\n", path.c_str());
        return 1;
    }
    return 0;
}
