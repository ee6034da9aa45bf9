// The software path's sharp fit: one 500 x 600 frame scaled into a window's pixels, as every
// frame is where there is no GPU. At 20 frames a second, 1 % of a core is 0.5 ms a frame; the
// fit at 1080p fullscreen may cost at most 1.5 % of a core more than 1x.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/sharp_fit.h"

namespace {

void SharpFit(benchmark::State& state) {
    const PictureSize frame{500, 600};
    const PictureSize shown{int(state.range(0)), int(state.range(1))};
    std::vector<uint32_t> pixels(size_t(frame.Width) * frame.Height);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint32_t(i * 2654435761u) & 0xFFFFFF;
    std::vector<uint32_t> window(size_t(shown.Width) * shown.Height);
    SharpFitPlan plan;
    for (auto _ : state) {
        PlanSharpFit(plan, frame, shown);
        DrawSharpFit(plan, pixels.data(), frame.Width, window.data(), shown.Width);
        benchmark::DoNotOptimize(window.data());
    }
    state.SetLabel(std::to_string(shown.Width) + "x" + std::to_string(shown.Height));
}
// 1x; fullscreen on 1280 x 800, on 1920 x 1080 (1.8x) and on 3840 x 2160 (3.6x); 2x, whole.
BENCHMARK(SharpFit)
    ->Args({500, 600})
    ->Args({667, 800})
    ->Args({900, 1080})
    ->Args({1000, 1200})
    ->Args({1800, 2160})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
