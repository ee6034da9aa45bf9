// wavbaku.wav: the explosion. A crack of bright noise that darkens into a rumble, with a low
// thump under it; 8-bit unsigned PCM, 22050 Hz, stereo, 0.9 seconds.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "assetgen.h"

namespace {

constexpr int Rate = 22050;
constexpr int Frames = Rate * 9 / 10;

struct Noise {
    uint32_t State;
    double Next() {  // xorshift32, -1..1
        State ^= State << 13;
        State ^= State >> 17;
        State ^= State << 5;
        return State / 2147483648.0 - 1.0;
    }
};

// One channel; the two channels differ only in their noise, which gives the blast some width.
std::vector<double> Channel(uint32_t seed) {
    Noise noise{seed};
    std::vector<double> out(Frames);
    double lp1 = 0, lp2 = 0, phase = 0;
    for (int i = 0; i < Frames; ++i) {
        const double t = double(i) / Rate;
        const double attack = std::min(1.0, t / 0.003);
        const double env = attack * std::exp(-t / 0.2);
        // The filter closes as the blast dies away: bright at first, a dull roar at the end.
        const double cutoff = 0.03 + 0.6 * std::exp(-t / 0.05);
        lp1 += cutoff * (noise.Next() - lp1);
        lp2 += cutoff * (lp1 - lp2);
        const double freq = 35 + 70 * std::exp(-t / 0.12);
        phase += 2 * 3.14159265358979 * freq / Rate;
        const double thump = std::sin(phase) * attack * std::exp(-t / 0.25);
        const double tail = std::min(1.0, (0.9 - t) / 0.05);  // end exactly on silence
        out[size_t(i)] = (1.6 * lp2 * env + 0.55 * thump) * tail;
    }
    return out;
}

}  // namespace

std::vector<uint8_t> MakeExplosionWav() {
    const auto left = Channel(0x1234567u), right = Channel(0x7654321u);
    double peak = 0;
    for (int i = 0; i < Frames; ++i) peak = std::max({peak, std::abs(left[i]), std::abs(right[i])});
    const double gain = 0.92 * 127 / peak;  // loud, with headroom so no sample hits the rails
    std::vector<uint8_t> data;
    for (int i = 0; i < Frames; ++i)
        for (double s : {left[size_t(i)], right[size_t(i)]})
            data.push_back(uint8_t(128 + std::lround(s * gain)));
    if (std::any_of(data.begin(), data.end(), [](uint8_t v) { return v == 0 || v == 255; }))
        throw std::runtime_error("explosion sound clips");

    // The 44-byte RIFF header, then the samples.
    std::vector<uint8_t> wav(44 + data.size());
    size_t at = 0;
    auto put = [&](uint32_t v, int bytes) {
        for (int b = 0; b < bytes; ++b) wav[at++] = uint8_t(v >> (8 * b));
    };
    auto tag = [&](const char* s) {
        for (int i = 0; i < 4; ++i) wav[at++] = uint8_t(s[i]);
    };
    tag("RIFF");
    put(uint32_t(36 + data.size()), 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);  // PCM
    put(2, 2);  // stereo
    put(Rate, 4);
    put(Rate * 2, 4);  // bytes per second
    put(2, 2);         // bytes per frame
    put(8, 2);         // bits per sample
    tag("data");
    put(uint32_t(data.size()), 4);
    std::copy(data.begin(), data.end(), wav.begin() + 44);
    return wav;
}
