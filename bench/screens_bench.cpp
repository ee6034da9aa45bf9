// The two end-of-game picture effects, headless, frame for frame: the game-over assembly (1,632
// keyed 5 x 5 blocks a frame after a full clear) and the ending zoom (one keyed stretch a frame).
// Target: each frame well under 1 ms (2 % of a 50 ms frame).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "gfx/bmp.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "screens/events.h"

namespace {

// A picture in the temporary folder, removed when the benchmark is done with it.
struct TempPicture {
    std::string Path;
    TempPicture(const std::string& name, int width, int height)
        : Path((std::filesystem::temp_directory_path() / name).string()) {
        std::vector<uint32_t> pixels(size_t(width) * height);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0x204060 + uint32_t(i % 97);
        std::ofstream(Path, std::ios::binary) << EncodeBitmap24(pixels.data(), width, height);
    }
    TempPicture(const TempPicture&) = delete;
    TempPicture& operator=(const TempPicture&) = delete;
    ~TempPicture() {
        std::error_code ignored;
        std::filesystem::remove(Path, ignored);
    }
};

// Runs `effect` until `frames` frames have been shown; Z ends the assembly, and the zoom ends
// by itself after 278.
template <typename Effect>
void RunFrames(benchmark::State& state, int frames, Effect effect) {
    InitDisplay(500, 600);
    SetFrameRate(50);
    int shown = 0;
    headless::SetFrameHooks([&] { headless::SetKey(VkZ, ++shown >= frames); }, nullptr);
    for (auto _ : state) {
        shown = 0;
        headless::SetKey(VkZ, false);
        effect();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * frames);
}

void GameOverAssembly(benchmark::State& state) {
    const TempPicture picture("vexlan-bench-gameover.bmp", 500, 71);
    RunFrames(state, 72,
              [&] { AssembleBlocksEffect(0, 121, 500, 71, 5, picture.Path, 500, 0, 600, 0); });
}
BENCHMARK(GameOverAssembly)->Unit(benchmark::kMillisecond);

void EndingZoom(benchmark::State& state) {
    const TempPicture picture("vexlan-bench-ending.bmp", 500, 57);
    RunFrames(state, 278, [&] {
        int32_t pause = 0;
        ZoomInEffect(250, 400, 500, 57, 1.8, pause, picture.Path);
    });
}
BENCHMARK(EndingZoom)->Unit(benchmark::kMillisecond);

}  // namespace
