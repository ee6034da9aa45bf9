// The real music device (SDL_mixer with FluidSynth) under SDL's silent audio drivers: a tune the
// synthesiser cannot play is refused, and a looped tune has no silent gap between its plays.
#include "audio/music_device.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "audio/music.h"

namespace fs = std::filesystem;

namespace {

// One track at 96 ticks a quarter and the default tempo: 192 ticks a second.
std::string Midi(std::string events) {
    events += std::string("\x00\xFF\x2F\x00", 4);
    const auto size = static_cast<uint32_t>(events.size());
    const std::string length{char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
    return std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14) + "MTrk" + length + events;
}
std::string Event(std::initializer_list<int> bytes) {
    std::string out;
    for (const int b : bytes) out += static_cast<char>(b);
    return out;
}

class RealMusicDevice : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "vexlan-music-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
        home = fs::current_path();
        fs::current_path(dir);  // the device opens the tune by its name, as the game does
        ResetMusicReply();
    }
    void TearDown() override {
        SendMusicCommand("Close BGM");
        fs::current_path(home);
        fs::remove_all(dir);
        for (const char* name : {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY"})
            unsetenv(name);
    }
    void WriteTune(const std::string& midi) {
        std::ofstream(dir / "m_battle.mid", std::ios::binary) << midi;
    }

    fs::path dir, home;
};

TEST_F(RealMusicDevice, ATuneThatStartsThousandsOfNotesAtOnceIsRefused) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string events;
    for (int i = 0; i < 16384; ++i) events += Event({0, 0x90, 0x3C, 0x64, 0, 0x80, 0x3C, 0});
    WriteTune(Midi(events));
    EXPECT_NE(SendMusicCommand("Open m_battle.mid Alias BGM"), MusicOk);
}

// What the disk driver writes: the mixer's 44,100 frames a second of two 16-bit samples.
constexpr int FrameBytes = 4;
constexpr double FramesPerSecond = 44100;
// The synthesiser's dither leaves a sample or two in what would be silence; this is far below
// anything heard (-72 dB).
constexpr int QuietestSound = 8;

// The longest run of silent frames from the first sound to `frames`.
double LongestSilenceSeconds(const std::string& pcm, size_t frames) {
    const auto silent = [&](size_t frame) {
        for (int channel = 0; channel < 2; ++channel) {
            const size_t at = frame * FrameBytes + channel * 2;
            const auto sample = int16_t(uint8_t(pcm[at]) | uint8_t(pcm[at + 1]) << 8);
            if (std::abs(sample) >= QuietestSound) return false;
        }
        return true;
    };
    size_t frame = 0, longest = 0, run = 0;
    while (frame < frames && silent(frame)) ++frame;
    for (; frame < frames; ++frame) {
        run = silent(frame) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest / FramesPerSecond;
}

// A sequencer reports the tune stopped at its last event, so that the game restarts it while its
// last notes still ring; waiting for the synthesiser to fall silent left seconds of silence.
TEST_F(RealMusicDevice, ALoopedTuneHasNoSilentGap) {
    const fs::path recording = dir / "music.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "10", 1);  // a 23 ms buffer every 10 ms: the test runs faster
    // Strings for three quarters of a second, the tune ending at a second.
    WriteTune(Midi(Event({0,    0xC0, 48,   0, 0x90, 0x3C, 0x64, 0, 0x90, 0x43, 0x64, 0x81,
                          0x10, 0x80, 0x3C, 0, 0,    0x80, 0x43, 0, 0x30, 0xFF, 0x01, 0x00})));
    ASSERT_EQ(SendMusicCommand("Open m_battle.mid Alias BGM"), MusicOk);
    constexpr double RecordSeconds = 6;
    const auto recorded = [&] { return fs::file_size(recording) / FrameBytes / FramesPerSecond; };
    while (recorded() < RecordSeconds) {
        KeepBgmPlaying(true);  // far more often than once a frame: the test's clock runs fast
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    SendMusicCommand("Close BGM");
    std::ifstream in(recording, std::ios::binary);
    const std::string pcm{std::istreambuf_iterator<char>(in), {}};
    const auto frames = static_cast<size_t>(RecordSeconds * FramesPerSecond);
    ASSERT_GE(pcm.size(), frames * FrameBytes);
    EXPECT_LT(LongestSilenceSeconds(pcm, frames), 0.6);
}

}  // namespace
