// A stranger's replay costs little: the files crafted to fill the memory or to hold the reader
// (an answer stream that inflates to 64 MiB, one at the largest length a replay may have, a
// device, a FIFO with no writer, a 2 GiB sparse file) are refused or read within a few
// milliseconds and a few tens of MB. A run over the bounds fails.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "common/file_bytes.h"
#include "data/replay_file.h"
#include "platform/answers.h"

namespace {

constexpr double MaxSeconds = 1.0;
constexpr double MaxHeapMb = 40.0;

double HeapMb() {
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd) / (1 << 20);
}

// A frame as a real game asks for it: its keys, then the clock.
std::string FramePattern() {
    AnswerWriter frame;
    for (const int key : AnswerKeys) frame.Add({AnswerKind::KeyState, key, 0, {}});
    frame.Add({AnswerKind::Tick, 0, 50, {}});
    return frame.Take();
}

std::string Bomb(size_t inflated, bool pattern, uint32_t frames) {
    Replay replay;
    const std::string unit = pattern ? FramePattern() : std::string(1, '\0');
    while (replay.AnswerStream.size() + unit.size() <= inflated) replay.AnswerStream += unit;
    replay.Frames = frames;
    return EncodeReplay(replay);
}

// Reads and decodes `bytes` (or the file at `path`) as the game opens a replay, and fails the
// run if that took more than the bounds allow.
void Open(benchmark::State& state, const std::string& path, const std::string& bytes) {
    double worstSeconds = 0;
    double worstHeapMb = 0;
    for (auto _ : state) {
        const double heapBefore = HeapMb();
        const auto start = std::chrono::steady_clock::now();
        std::string read = bytes;
        Replay replay;
        std::string problem;
        bool decoded = false;
        if (path.empty() || ReadRegularFileBytes(path, read, MaxReplayFileBytes) == FileRead::Ok)
            decoded = DecodeReplay(read, replay, problem);
        const double heap = HeapMb() - heapBefore;
        benchmark::DoNotOptimize(decoded);
        worstSeconds = std::max(
            worstSeconds,
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        worstHeapMb = std::max(worstHeapMb, heap);
    }
    state.counters["worst_s"] = worstSeconds;
    state.counters["heap_MB"] = worstHeapMb;
    if (worstSeconds > MaxSeconds || worstHeapMb > MaxHeapMb)
        state.SkipWithError("over the bounds: a second and 40 MB");
}

void BM_ReplayBombOfZeros(benchmark::State& state) {
    Open(state, "", Bomb(64u << 20, false, 3534));
}
BENCHMARK(BM_ReplayBombOfZeros)->Unit(benchmark::kMillisecond);

// The longest stream a replay may have, its frames the longest game's: inflated and checked.
void BM_ReplayAtTheLargestStream(benchmark::State& state) {
    Open(state, "", Bomb(16u << 20, true, MaxReplayFrames));
}
BENCHMARK(BM_ReplayAtTheLargestStream)->Unit(benchmark::kMillisecond);

void BM_ReplayFromDevZero(benchmark::State& state) {
    Open(state, "/dev/zero", "");
}
BENCHMARK(BM_ReplayFromDevZero)->Unit(benchmark::kMillisecond);

void BM_ReplayFromFifoWithoutWriter(benchmark::State& state) {
    const std::string fifo =
        std::filesystem::temp_directory_path() / ("vexlan-bench-fifo-" + std::to_string(getpid()));
    mkfifo(fifo.c_str(), 0600);
    Open(state, fifo, "");
    std::remove(fifo.c_str());
}
BENCHMARK(BM_ReplayFromFifoWithoutWriter)->Unit(benchmark::kMillisecond);

void BM_ReplayFromSparse2GiBFile(benchmark::State& state) {
    const std::string sparse = std::filesystem::temp_directory_path() /
                               ("vexlan-bench-sparse-" + std::to_string(getpid()) + ".vxr");
    {
        std::FILE* file = std::fopen(sparse.c_str(), "w");
        if (file) std::fclose(file);
    }
    std::error_code ignored;
    std::filesystem::resize_file(sparse, 2ull << 30, ignored);
    Open(state, sparse, "");
    std::remove(sparse.c_str());
}
BENCHMARK(BM_ReplayFromSparse2GiBFile)->Unit(benchmark::kMillisecond);

}  // namespace
