// Cost of the play field's busiest frames: 200 enemy bullets in flight, and a full stage frame
// with the ship firing into a crowd of enemies under a hail of bullets.
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/bullets.h"
#include "game/player.h"
#include "game/shots.h"
#include "game/state.h"
#include "game/streaks.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"

namespace {

Surface Picture(int width, int height) {
    Surface surface = CreateOffscreenSurface(width, height);
    for (size_t i = 0; i < surface->Pixels.size(); ++i) surface->Pixels[i] = i % 7 ? 0x40A0FF : 0;
    surface->ColourKey = 0;
    return surface;
}

void OpenField() {
    headless::Reset();
    headless::ResetAudio();
    RestoreWindow();
    InitDisplay(500, 600);
    SurfBack = Picture(6, 18);
    SurfShip = Picture(48, 40);
    SurfShot = Picture(31, 31);
    SurfExplosion = Picture(890, 80);
    SurfBullets1234 = Picture(128, 64);
    SurfBullets5 = Picture(181, 59);
    SurfBullets6 = Picture(181, 59);
    for (int i = 0; i < 31; ++i) Streaks[i] = {i * 15, i * 17, 100 + i * 10};
}

// Two hundred bullets of every family spread over the field, clear of the ship.
std::vector<BulletRecord> Hail() {
    std::vector<BulletRecord> bullets;
    const uint8_t codes[] = {0, 10, 20, 30, 40, 60};
    for (int i = 0; i < 200; ++i) {
        const double x = 20 + (i * 37) % 460;
        const double y = 20 + (i * 53) % 400;
        bullets.push_back({x, y, (i % 5) - 2.0, 1.0 + i % 3, codes[i % 6], True16});
    }
    return bullets;
}

std::vector<EnemyRecord> Crowd() {
    std::vector<EnemyRecord> enemies(1);
    for (int i = 0; i < 30; ++i) {
        EnemyRecord enemy;
        enemy.X = 30 + i * 15;
        enemy.Y = 60 + (i % 5) * 40;
        enemy.HP = 1000000;
        enemy.HitRadius = 36;
        enemy.Active = True16;
        enemies.push_back(enemy);
    }
    return enemies;
}

void BM_TwoHundredBulletsInFlight(benchmark::State& state) {
    OpenField();
    Player = {250, 560, 0, 0, 5, 2};
    const std::vector<BulletRecord> hail = Hail();
    for (auto _ : state) {
        EnemyBullets = hail;
        BulletsCarriedOver.BounceCounter = 0;
        UpdateEnemyBullets();
        SettleDrawing(*BackBuffer);
        benchmark::DoNotOptimize(BackBuffer->Pixels.data());
    }
}
BENCHMARK(BM_TwoHundredBulletsInFlight);

void BM_BusyStageFrame(benchmark::State& state) {
    OpenField();
    headless::SetKey(VkZ, true);
    headless::SetKey(VkLeft, true);
    const std::vector<BulletRecord> hail = Hail();
    const std::vector<EnemyRecord> crowd = Crowd();
    std::vector<BulletRecord> volleys(21);
    for (int i = 0; i < 21; ++i)
        volleys[i] = {250.0 + (i % 3 - 1) * 8 * i, 560.0 - 30 * i, 0, 30, 1, True16};
    GameMode = ModeStage;
    for (auto _ : state) {
        EnemyBullets = hail;
        PlayerShots = volleys;
        Enemies = crowd;
        Player = {250, 560, 0, 0, 5, 2};
        PlayerCarriedOver.FireCooldown = 3;
        ClearSurface(BackBuffer, 0);
        UpdateStreaks();
        UpdatePlayer();
        UpdateEnemyBullets();
        UpdatePlayerShots();
        SettleDrawing(*BackBuffer);
        benchmark::DoNotOptimize(BackBuffer->Pixels.data());
    }
}
BENCHMARK(BM_BusyStageFrame);

}  // namespace
