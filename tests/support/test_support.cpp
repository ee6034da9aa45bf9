#include "support/test_support.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/difficulty.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "shell/program_state.h"

namespace fs = std::filesystem;

void ResetProgram() {
    headless::Reset();
    headless::ResetAudio();
    ResetProgramState();
    // Beyond a fresh program, what most tests start from: Normal difficulty, the tables with the
    // slots a new game gives them, the program directory here, the display open, 50 ms frames.
    Difficulty = DifficultyNormal;
    PlayerShots.assign(InitialTableSlots, BulletRecord{});
    EnemyBullets.assign(InitialTableSlots, BulletRecord{});
    Enemies.assign(1, EnemyRecord{});
    Paths.assign(1, PathColumn{});
    ProgramDir = ".";
    InitDisplay(500, 600);
    SetFrameRate(50);
}

namespace {
// Every scratch directory the test program made; whatever a fixture left of them, passed or
// failed, goes when the program ends.
struct ScratchDirs {
    std::vector<fs::path> Made;
    ~ScratchDirs() {
        std::error_code ignored;
        for (const fs::path& dir : Made) fs::remove_all(dir, ignored);
    }
};
ScratchDirs Scratch;
}  // namespace

std::string MakeScratchDir() {
    static std::mt19937_64 names{std::random_device{}()};
    const fs::path dir = fs::temp_directory_path() / ("vexlan-test-" + std::to_string(names()));
    fs::create_directories(dir);
    Scratch.Made.push_back(dir);
    return dir.string();
}

std::string MakeGameDir() {
    const std::string dir = MakeScratchDir();
    for (const auto& entry : fs::directory_iterator(VEXLAN_ASSET_DIR))
        fs::copy_file(entry.path(), fs::path(dir) / entry.path().filename());
    ProgramDir = dir;
    headless::SetProgramDirectory(dir);
    return dir;
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string DifficultyName(int difficulty) {
    switch (difficulty) {
        case DifficultyEasy:
            return "Easy";
        case DifficultyNormal:
            return "Normal";
        case DifficultyHard:
            return "Hard";
        default:
            return "Difficulty" + std::to_string(difficulty);
    }
}

Surface MakeSurface(int width, int height, uint32_t fill, uint32_t key) {
    Surface surface = CreateOffscreenSurface(width, height);
    std::fill(surface->Pixels.begin(), surface->Pixels.end(), fill);
    surface->ColourKey = key;
    return surface;
}

uint32_t PixelAt(const Surface& surface, int x, int y) {
    return SettledPixels(surface)[size_t(y) * surface->Width + x];
}

const std::vector<uint32_t>& SettledPixels(const Surface& surface) {
    SettleDrawing(*surface);
    return surface->Pixels;
}
