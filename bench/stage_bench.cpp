// Loading a full stage (254 enemies whose courses run to frame 2300), and one stage frame of the
// enemy update with 60 enemies on the field.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdlib>
#include <new>
#include <string>

#include "data/stage.h"
#include "game/enemies.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/surface.h"
#include "platform/sjis.h"

// Heap use while loading, to check that a load takes no more than its tables.
namespace {
size_t LiveBytes = 0;
size_t PeakBytes = 0;
}  // namespace

// Not inlined, so that the compiler does not pair the malloc and free inside them with new/delete.
[[gnu::noinline]] void* operator new(size_t size) {
    void* block = std::malloc(size);
    if (block == nullptr) throw std::bad_alloc();
    LiveBytes += malloc_usable_size(block);
    PeakBytes = std::max(PeakBytes, LiveBytes);
    return block;
}
[[gnu::noinline]] void operator delete(void* block) noexcept {
    if (block == nullptr) return;
    LiveBytes -= malloc_usable_size(block);
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, size_t) noexcept {
    operator delete(block);
}

namespace {

// 254 blue enemies that dive to y 600, turn and climb out of the top on frame 2300: the longest
// course there is (1305 frames) for every slot.
std::string FullStage() {
    std::string text = "#青\r\n3\r\n";
    for (int i = 0; i < 254; ++i) text += "995, " + std::to_string(i * 2) + ", 1, 10, 600, -1\r\n";
    text += "#End\r\n";
    std::string bytes;
    Utf8ToCp932(text, bytes);
    return bytes;
}

void BM_ParseFullStage(benchmark::State& state) {
    const std::string bytes = FullStage();
    size_t peak = 0;
    for (auto _ : state) {
        StageTables tables;
        std::string error;
        LiveBytes = PeakBytes = 0;
        if (!ParseStage(bytes, 2, tables, error)) state.SkipWithError(error.c_str());
        peak = PeakBytes;
        benchmark::DoNotOptimize(tables.Paths.data());
    }
    state.counters["peak_heap_kB"] = double(peak) / 1024;
    state.counters["tables_kB"] = double(255 * (sizeof(PathColumn) + sizeof(EnemyRecord))) / 1024;
}
BENCHMARK(BM_ParseFullStage)->Unit(benchmark::kMillisecond);

Surface Picture(int width, int height) {
    Surface surface = CreateOffscreenSurface(width, height);
    for (size_t i = 0; i < surface->Pixels.size(); ++i) surface->Pixels[i] = uint32_t(i % 7);
    surface->ColourKey = 0;
    return surface;
}

// 60 small fry, butterflies, bats and greens on the field, ten of them firing this frame.
void SetUpSixtyEnemies() {
    InitDisplay(500, 600);
    const int widths[6] = {425, 395 + 84, 106, 107, 69, 161};
    for (int i = 0; i < 6; ++i) SurfEnemies[i] = Picture(widths[i], 103);
    Enemies.assign(61, EnemyRecord{});
    Paths.assign(61, PathColumn{});
    const uint8_t pictures[4] = {50, 12, 30, 61};
    for (int s = 1; s <= 60; ++s) {
        Enemies[s].StartFrame = 0;
        Enemies[s].EndFrame = 2100;
        for (int t = 0; t < 2100; ++t) {
            Paths[s].X[t] = 20 + (s * 37 + t) % 460;
            Paths[s].Y[t] = 20 + (s * 53 + t) % 560;
            Paths[s].Sprite[t] = pictures[s % 4];
            Paths[s].Fire[t] = (s + t) % 6 == 0 ? 10 : 0;
        }
    }
}

// Argument 1 draws the pictures; 0 leaves them unloaded, which times the update without the blits.
void BM_UpdateSixtyEnemies(benchmark::State& state) {
    SetUpSixtyEnemies();
    if (state.range(0) == 0) SurfEnemies = {};
    StageTimer = 0;
    UpdateEnemies();
    for (auto _ : state) {
        StageTimer = int16_t(1 + StageTimer % 2049);
        UpdateEnemies();
    }
}
BENCHMARK(BM_UpdateSixtyEnemies)->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
