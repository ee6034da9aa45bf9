// The cost of the heaviest boss frame: the wreck breaking up with all eleven pieces of debris
// flying while 150 bullets are in the air.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/boss.h"
#include "game/bullets.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"

namespace {

// A quarter of the pixels transparent, in runs along each row as in the game's pictures, so that
// keyed copies test every pixel.
Surface SpritePicture(int width, int height) {
    constexpr uint32_t Key = 0xFF00FF;
    Surface surface = CreateOffscreenSurface(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool clear = x % 20 < 5 || y % 20 < 5;
            surface->Pixels[size_t(y) * width + x] = clear ? Key : 0x404040 + uint32_t(x % 200);
        }
    }
    surface->ColourKey = Key;
    return surface;
}

std::vector<BulletRecord> BulletsInTheAir() {
    constexpr std::array<uint8_t, 5> Codes{0, 10, 20, 40, 60};
    std::vector<BulletRecord> bullets;
    for (int i = 0; i < 150; ++i) {
        const double x = 20 + (i % 15) * 31;
        const double y = 20 + (i / 15) * 40;  // clear of the ship at the bottom
        bullets.push_back({x, y, (i % 7) - 3.0, (i % 5) - 2.0, Codes[i % Codes.size()], True16});
    }
    return bullets;
}

std::array<DebrisRecord, 11> DebrisAllFlying() {
    std::array<DebrisRecord, 11> debris{};
    for (int i = 0; i < 11; ++i)
        debris[i] = {250.0 + i * 9, 150.0 + i * 7, i - 5.0, 5.0 - i, 20, uint8_t(i % 10), True16};
    return debris;
}

void SetUpBossWreck() {
    headless::Reset();
    headless::ResetAudio();
    headless::SetSeed(1);
    InitDisplay(500, 600);
    SurfBoss = SpritePicture(269, 236);
    SurfExplosion = SpritePicture(810, 80);
    SurfBullets1234 = SpritePicture(127, 63);
    SurfBullets5 = SpritePicture(181, 59);
    SurfBullets6 = SpritePicture(181, 59);
    Player = PlayerRecord{250, 560, 0, 0, 5, 1};
    Difficulty = 2;
    GameMode = ModeBoss;
    ResetBoss();
    BossFight.BossX = 250;
    BossFight.BossY = 150;
    BossFight.BossPhase = PhaseDestroyed;
    BossCarriedOver.BossDX = BossCarriedOver.BossDY = 0;
}

void BM_BossWreckFrameWith150Bullets(benchmark::State& state) {
    SetUpBossWreck();
    const std::vector<BulletRecord> bullets = BulletsInTheAir();
    const std::array<DebrisRecord, 11> debris = DebrisAllFlying();
    for (auto _ : state) {
        EnemyBullets = bullets;
        BossCarriedOver.BossDebris = debris;
        BossCarriedOver.BossDeathTimer = 0;
        ClearSurface(BackBuffer, 0);
        UpdateBoss();
        UpdateEnemyBullets();
        SettleDrawing(*BackBuffer);
        benchmark::DoNotOptimize(BackBuffer->Pixels.data());
    }
}
BENCHMARK(BM_BossWreckFrameWith150Bullets)->Unit(benchmark::kMicrosecond);

}  // namespace
