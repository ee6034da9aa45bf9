// Any bytes given to the stage loader: it either builds tables or reports the file, never
// crashes, never runs away, and never accepts hit points that a hit would take below the
// smallest integer. A stage it accepts is then played for a few hundred frames, from its first
// enemy's arrival, so that whatever the enemy update makes of the tables is reached too.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "data/stage.h"
#include "game/bullets.h"
#include "game/enemies.h"
#include "game/motion.h"
#include "game/shots.h"
#include "game/state.h"

namespace {

constexpr int FramesPlayed = 300;
constexpr int ShotEvery = 4;  // frames between two of the ship's shots

int16_t FirstArrival() {
    int32_t first = StageLength - 1;
    for (size_t slot = 1; slot < Enemies.size(); ++slot)
        first = std::min(first, std::max(Enemies[slot].StartFrame, 0));
    return int16_t(first);
}

// The stage frame's updates that meet the enemies, with a ship that sweeps the field firing
// straight up. No picture is loaded: every position the update works out is still worked out,
// but no pixel is copied, which keeps the frames cheap.
void PlayFrames() {
    ResetRandom();
    ResetBounceCounter();
    GameMode = ModeStage;
    Score = 0;
    Player = PlayerRecord{};
    Player.Y = 550;
    Player.State = ShipNormal;
    PlayerShots.clear();
    EnemyBullets.clear();
    StageTimer = FirstArrival();
    for (int frame = 0; frame < FramesPlayed && StageTimer < StageLength; ++frame) {
        Player.X = 25 + frame * 45 % 450;
        if (frame % ShotEvery == 0) SpawnPlayerShot(0, 30);
        UpdateEnemies();
        UpdateEnemyBullets();
        UpdatePlayerShots();
        ++StageTimer;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    // One difficulty per input, from its length, which every insertion or removal changes: the
    // difficulty only scales hit points and intervals, so three loads of one input find little
    // that one does not.
    const auto difficulty = uint8_t(1 + size % 3);
    // Kept from input to input, so that the columns' memory is reused rather than taken anew.
    static StageTables tables;
    std::string error;
    if (!ParseStage(bytes, difficulty, tables, error)) return 0;
    for (const EnemyRecord& enemy : tables.Enemies) {
        if (enemy.HP < 0) std::abort();
    }
    Enemies.swap(tables.Enemies);
    Paths.swap(tables.Paths);
    PlayFrames();
    Enemies.swap(tables.Enemies);
    Paths.swap(tables.Paths);
    return 0;
}
