#include "game/shots.h"

#include "common/rounding.h"
#include "game/boss.h"
#include "game/state.h"
#include "gfx/display.h"

namespace {

constexpr int ShotSize = 31;
constexpr int ShotOffset = 16;
constexpr double LeavesAboveY = -16;
constexpr int32_t ShotReach = 16;  // added to the target's radius

void DrawShot(const BulletRecord& shot) {
    const auto left = static_cast<int>(RoundHalfEven(shot.X - ShotOffset));
    const auto top = static_cast<int>(RoundHalfEven(shot.Y - ShotOffset));
    // Clipped, so the outer shots of a volley are cut at the sides rather than vanishing.
    DrawSpriteClipped(BackBuffer, left, top, ShotSize, ShotSize, FieldWidth, FieldHeight, SurfShot,
                      0, 0, ShotSize, ShotSize, true);
}

// Below 0, not at 0: an enemy takes one hit more than its HP, on purpose.
void HitEnemy(BulletRecord& shot, EnemyRecord& enemy) {
    shot.Active = False16;
    --enemy.HP;
    if (enemy.HP < 0) {
        enemy.Sprite = FirstExplosionFrame;
        enemy.Exploding = True16;
    }
}

// A shot that hits goes on to the enemies after it, so one shot can damage every enemy it
// overlaps in the frame.
void CheckShotHitsEnemies(uint8_t shotSlot) {
    BulletRecord& shot = PlayerShots[shotSlot];
    for (EnemyRecord& enemy : Enemies) {
        if (!enemy.Active || enemy.Exploding) continue;
        const double dy = enemy.Y - shot.Y;
        const double dx = enemy.X - shot.X;
        const double r = enemy.HitRadius + ShotReach;
        if (r * r > dy * dy + dx * dx) HitEnemy(shot, enemy);
    }
}

}  // namespace

void SpawnPlayerShot(int32_t dx, uint8_t speed) {
    if (BulletRecord* slot = FreeSlot(PlayerShots, MaxPlayerShots))
        *slot = {double(Player.X), double(Player.Y), double(dx), double(speed), 1, True16};
}

void UpdatePlayerShots() {
    for (size_t i = 0; i < PlayerShots.size(); ++i) {
        BulletRecord& shot = PlayerShots[i];
        if (!shot.Active) continue;
        shot.X += shot.DX;
        shot.Y -= shot.DY;
        // A shot leaving the top is still drawn and can still hit in this frame.
        if (shot.Y < LeavesAboveY) shot.Active = False16;
        DrawShot(shot);
        if (GameMode == ModeStage) {
            CheckShotHitsEnemies(static_cast<uint8_t>(i));
        } else if (GameMode == ModeBoss) {
            CheckShotHitsBoss(static_cast<uint8_t>(i));
        }
    }
}
