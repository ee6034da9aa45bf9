// The real music device (SDL_mixer with FluidSynth) under SDL's silent audio drivers: a tune the
// synthesiser cannot play is refused, a looped tune has no silent gap between its plays, the
// tune rendered once into the cache sounds as the live synthesiser does, and the player's music
// volume sets the mixed level.
#include "audio/music_device.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "audio/music.h"
#include "audio/sdl/tune_render.h"
#include "audio/volume.h"
#include "platform/profile.h"

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
        setenv("XDG_CACHE_HOME", (dir / "cache").c_str(), 1);  // the rendered tune's place
        ResetMusicReply();
    }
    void TearDown() override {
        SendMusicCommand("Close BGM");
        SetMusicVolume(LoudestVolume);
        fs::current_path(home);
        fs::remove_all(dir);
        for (const char* name :
             {"SDL_AUDIODRIVER", "SDL_DISKAUDIOFILE", "SDL_DISKAUDIODELAY", "XDG_CACHE_HOME"})
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
    setenv("SDL_DISKAUDIODELAY", "10", 1);
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

// Opens the tune under the disk driver, plays it for `seconds` as the game keeps it playing,
// and gives what the device wrote; `whileOpen` is asked every millisecond to go on after that.
std::string RecordTune(
    const fs::path& recording, double seconds,
    const std::function<bool()>& whileOpen = [] { return false; }) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", recording.c_str(), 1);
    setenv("SDL_DISKAUDIODELAY", "10", 1);  // a 23 ms buffer every 10 ms: the test runs faster
    ResetMusicReply();
    if (SendMusicCommand("Open m_battle.mid Alias BGM") != MusicOk) return "";
    const auto recorded = [&] { return fs::file_size(recording) / FrameBytes / FramesPerSecond; };
    constexpr double LongestWait = 60;  // recorded seconds: a rendering never takes that long
    while (recorded() < seconds || (whileOpen() && recorded() < LongestWait)) {
        KeepBgmPlaying(true);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    SendMusicCommand("Close BGM");
    std::ifstream in(recording, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int16_t SampleAt(const std::string& pcm, size_t index) {
    return int16_t(uint8_t(pcm[index * 2]) | uint8_t(pcm[index * 2 + 1]) << 8);
}

// The samples from the first sound on, `frames` frames of them (fewer if the recording ends).
std::vector<int16_t> FromFirstSound(const std::string& pcm, size_t frames) {
    size_t first = 0;
    const size_t samples = pcm.size() / 2;
    while (first < samples && std::abs(SampleAt(pcm, first)) < QuietestSound) ++first;
    first -= first % 2;  // a frame's left sample
    std::vector<int16_t> out;
    for (size_t i = first; i < samples && out.size() < frames * 2; ++i)
        out.push_back(SampleAt(pcm, i));
    return out;
}

double LevelDb(const std::vector<int16_t>& samples, size_t from, size_t count) {
    double sum = 0;
    for (size_t i = from; i < from + count && i < samples.size(); ++i)
        sum += double(samples[i]) * samples[i];
    return 10 * std::log10(sum / double(count) / (32768.0 * 32768.0) + 1e-12);
}

// The 50 ms windows where a note starts: 10 dB louder than the window before, and heard.
std::vector<size_t> Onsets(const std::vector<int16_t>& samples) {
    constexpr size_t Window = 2 * 2205;
    std::vector<size_t> onsets;
    double before = -120;
    for (size_t at = 0; at + Window <= samples.size(); at += Window) {
        const double level = LevelDb(samples, at, Window);
        if (level > before + 10 && level > -50) onsets.push_back(at / Window);
        before = level;
    }
    return onsets;
}

// Four notes half a second apart, each a quarter of a second long, for two seconds.
std::string FourNotes() {
    std::string events = Event({0, 0xC0, 0});
    for (const int key : {60, 64, 67, 72})
        events += Event({0, 0x90, key, 100, 0x30, 0x80, key, 0}) + Event({0x30, 0xB0, 0x7B, 0});
    return Midi(events);
}

std::vector<fs::path> RenderedFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code none;
    for (const auto& entry : fs::directory_iterator(folder, none))
        if (entry.path().extension() == ".pcm") files.push_back(entry.path());
    return files;
}

// The first start plays the tune live while it is rendered into the cache; the next plays it
// from there. A stretch of the rendering sounds as the live synthesiser did: the same level and
// the same notes at the same times; and what the device plays is the rendering. A partial
// rendering whose game was killed is removed then; one whose game still runs is left to it.
TEST_F(RealMusicDevice, TheTuneRenderedOnceSoundsAsTheLiveSynthesiser) {
    WriteTune(FourNotes());
    const fs::path cache = dir / "cache" / "vexlan";
    const pid_t gone = fork();
    if (gone == 0) _exit(0);
    ASSERT_GT(gone, 0);
    ASSERT_EQ(waitpid(gone, nullptr, 0), gone);
    fs::create_directories(cache);
    const fs::path abandoned = cache / ("tune-0.pcm." + std::to_string(gone) + ".part");
    const fs::path running = cache / ("tune-0.pcm." + std::to_string(getppid()) + ".part");
    std::ofstream(abandoned) << "cut short";
    std::ofstream(running) << "still written";
    const std::string live = RecordTune(dir / "live.raw", 4, [&] {
        return RenderedFiles(cache).empty();  // until the rendering is made
    });
    const auto files = RenderedFiles(cache);
    ASSERT_EQ(files.size(), 1u) << "no rendering in " << cache;
    EXPECT_FALSE(fs::exists(abandoned));
    EXPECT_TRUE(fs::exists(running));
    std::ifstream in(files[0], std::ios::binary);
    const std::string file{std::istreambuf_iterator<char>(in), {}};
    ASSERT_GT(file.size(), size_t(RenderedHeaderBytes));
    const std::string rendering = file.substr(RenderedHeaderBytes);
    const std::string replayed = RecordTune(dir / "rendered.raw", 4);

    constexpr size_t Stretch = 2 * 44100;  // frames: the four notes and their release
    const auto liveSamples = FromFirstSound(live, Stretch);
    const auto renderedSamples = FromFirstSound(rendering, Stretch);
    const auto replayedSamples = FromFirstSound(replayed, Stretch);
    ASSERT_EQ(liveSamples.size(), Stretch * 2);
    ASSERT_EQ(renderedSamples.size(), Stretch * 2);
    EXPECT_NEAR(LevelDb(renderedSamples, 0, Stretch * 2), LevelDb(liveSamples, 0, Stretch * 2),
                0.5);
    EXPECT_EQ(Onsets(renderedSamples), Onsets(liveSamples));
    EXPECT_EQ(Onsets(liveSamples), (std::vector<size_t>{0, 10, 20, 30}));
    // At full volume the device plays the rendering's own samples.
    ASSERT_EQ(replayedSamples.size(), Stretch * 2);
    // (Within the loop: at its end the device goes on into the next, the file into the tail.)
    constexpr size_t WithinLoop = 2 * 44100 * 3 / 2;
    size_t firstDifference = 0;
    while (firstDifference < WithinLoop &&
           replayedSamples[firstDifference] == renderedSamples[firstDifference])
        ++firstDifference;
    EXPECT_EQ(firstDifference, WithinLoop)
        << "the second start did not play the rendering: " << replayedSamples[firstDifference]
        << " against " << renderedSamples[firstDifference];
}

// data.ini's [audio] music=: 50 is between 3 and 20 dB quieter than 100, 0 is silent.
TEST_F(RealMusicDevice, TheMusicVolumeSetsTheMixedLevel) {
    WriteTune(FourNotes());
    const auto levelAt = [&](const char* percent) {
        ProfileDocument settings;
        PutProfileString(settings, "audio", "music", percent);
        TakeAudioSettingsFrom(settings);
        const auto samples = FromFirstSound(RecordTune(dir / "music.raw", 2.5), 44100);
        return samples.empty() ? -120.0 : LevelDb(samples, 0, samples.size());
    };
    const double full = levelAt("100");
    const double half = levelAt("50");
    EXPECT_GT(full - half, 3);
    EXPECT_LT(full - half, 20);
    EXPECT_EQ(MusicVolume(), 50);
    EXPECT_EQ(levelAt("0"), -120.0) << "music=0 is heard";
}

}  // namespace
