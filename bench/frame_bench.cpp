// A busy play frame drawn headless: clear, 31 streaks, 40 enemies, 200 clipped 15 x 15 bullets,
// 21 shots and the status texts. Target: well under 0.5 ms (1 % of a 50 ms frame).
#include <benchmark/benchmark.h>

#include "gfx/display.h"
#include "gfx/surface.h"
#include "gfx/text.h"

namespace {

Surface Picture(int width, int height) {
    Surface picture = CreateOffscreenSurface(width, height);
    for (size_t i = 0; i < picture->Pixels.size(); ++i)
        picture->Pixels[i] = (i % 7 == 0) ? 0xFF00FF : 0x3366CC + uint32_t(i % 255);
    picture->ColourKey = 0xFF00FF;
    return picture;
}

void BusyFrame(benchmark::State& state) {
    InitDisplay(500, 600);
    CreateTextFont("ＭＳ Ｐゴシック");
    const Surface streak = Picture(6, 18);
    const Surface enemy = Picture(85, 71);
    const Surface bullets = Picture(128, 64);
    const Surface shot = Picture(31, 31);
    for (auto _ : state) {
        ClearSurface(BackBuffer, 0);
        for (int i = 0; i < 31; ++i)
            DrawSprite(BackBuffer, (i * 37) % 494, (i * 53) % 582, 6, 18, streak, 0, 0, true);
        for (int i = 0; i < 40; ++i)
            DrawSpriteClipped(BackBuffer, (i * 61) % 540 - 40, (i * 89) % 640 - 40, 85, 71, 500,
                              600, enemy, 0, 0, 85, 71, true);
        for (int i = 0; i < 200; ++i)
            DrawSpriteClipped(BackBuffer, (i * 13) % 510 - 8, (i * 29) % 610 - 8, 15, 15, 500, 600,
                              bullets, 16 * (1 + i % 7), 15 * (i % 4), 127, 63, true);
        for (int i = 0; i < 21; ++i)
            DrawSpriteClipped(BackBuffer, 200 + (i % 3) * 20, 580 - i * 28, 31, 31, 500, 600, shot,
                              0, 0, 31, 31, true);
        DrawFps();
        DrawText("HP : 5", 400, 10, 0xFFFFFF, 18);
        DrawText("SCORE: " + std::to_string(state.iterations() % 1000), 250, 10, 0xFFFFFF, 0);
        SettleDrawing(*BackBuffer);
        benchmark::DoNotOptimize(BackBuffer->Pixels.data());
    }
}
BENCHMARK(BusyFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
