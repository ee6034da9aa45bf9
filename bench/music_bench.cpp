// What the battle tune costs the real music device: opening it at start-up (the audio device,
// the synthesiser with its soundfont, the tune), and restarting it after a game over, when the
// tune that was cut off is swapped for a fresh copy. Unless SDL_AUDIODRIVER says otherwise the
// silent "dummy" driver stands in for a sound card, so that the numbers exist on machines without
// one; loading the synthesiser and the tune costs the same either way.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "audio/music_device.h"

namespace {

// A short tune in a standard MIDI file: a tempo, a piano and a rising scale of eighth notes.
std::string ScaleTune() {
    std::string events("\x00\xFF\x51\x03\x07\xA1\x20\x00\xC0\x00", 10);
    for (const char key : {60, 62, 64, 65, 67, 69, 71, 72}) {
        events += std::string("\x00\x90", 2) + key + '\x64';
        events += std::string("\x30\x80", 2) + key + '\x00';
    }
    events += std::string("\x00\xFF\x2F\x00", 4);
    const auto size = static_cast<uint32_t>(events.size());
    std::string length{char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
    return std::string("MThd\0\0\0\x06\0\0\0\x01\0\x60", 14) + "MTrk" + length + events;
}

// The game opens the tune by a relative name from its own directory; so does the benchmark.
void EnterTuneDirectory() {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    const auto dir = std::filesystem::temp_directory_path() / "vexlan-music-bench";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "m_battle.mid", std::ios::binary) << ScaleTune();
    std::filesystem::current_path(dir);
}

void OpenTune(benchmark::State& state) {
    EnterTuneDirectory();
    for (auto _ : state) {
        if (SendMusicCommand("Open m_battle.mid Alias BGM") != MusicOk) {
            state.SkipWithError("the tune did not open (see stderr)");
            break;
        }
        state.PauseTiming();
        SendMusicCommand("Close BGM");
        state.ResumeTiming();
    }
}
BENCHMARK(OpenTune)->Unit(benchmark::kMillisecond)->Iterations(5);

void RestartAfterGameOver(benchmark::State& state) {
    EnterTuneDirectory();
    if (SendMusicCommand("Open m_battle.mid Alias BGM") != MusicOk) {
        state.SkipWithError("the tune did not open (see stderr)");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        SendMusicCommand("play BGM");
        SendMusicCommand("stop BGM");
        state.ResumeTiming();
        SendMusicCommand("seek BGM to start");
        SendMusicCommand("play BGM");
    }
    SendMusicCommand("Close BGM");
}
BENCHMARK(RestartAfterGameOver)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
