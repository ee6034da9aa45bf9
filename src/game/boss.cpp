// The boss: it sinks into the field spraying bullets, drifts about the upper part with random
// steps, fires one of five attacks now and then, and breaks up in a shower of explosions.
#include "game/boss.h"

#include <array>
#include <utility>

#include "audio/sound.h"
#include "common/rounding.h"
#include "game/bullets.h"
#include "game/difficulty.h"
#include "game/motion.h"
#include "gfx/display.h"

BossFightRecord BossFight;
BossCarriedOverRecord BossCarriedOver;

void ResetBossState() {
    BossFight = {};
    BossCarriedOver = {};
}

namespace {

constexpr int32_t HitRadius = 60;
constexpr uint8_t DeathFrames = 100;

// The drift area: the boss turns back once its centre has reached one of these.
constexpr int32_t LeftBound = 137;
constexpr int32_t RightBound = 363;
constexpr int32_t TopBound = 0;
constexpr int32_t BottomBound = 360;

void DrawBoss() {
    DrawSpriteClipped(BackBuffer, BossFight.BossX - 135, BossFight.BossY - 118, 269, 236,
                      FieldWidth, FieldHeight, SurfBoss, 0, 0, 269, 236, true);
}

// 810: debris shows the tenth cell whole, where enemy explosions cut it at 808, on purpose.
void DrawDebris(const DebrisRecord& debris) {
    DrawSpriteClipped(BackBuffer, static_cast<int>(RoundHalfEven(debris.X - 40)),
                      static_cast<int>(RoundHalfEven(debris.Y - 40)), 81, 80, FieldWidth,
                      FieldHeight, SurfExplosion, debris.Frame * 81, 0, 810, 80, true);
}

void Descend() {
    BossCarriedOver.BossDY = 3;
    BossCarriedOver.BossDX = 0;
    BossFight.BossAttack = AttackSingle;  // the descent is one long spray
    if (BossFight.BossY > 250) {
        BossFight.BossPhase = PhaseFighting;
        // A step drawn as 0 here is never redrawn: the boss then keeps to that line all fight.
        BossCarriedOver.BossDX = RandomRange(5, -5);
        BossCarriedOver.BossDY = RandomRange(5, -5);
    }
}

// Acts before the move, so the boss may overshoot a bound by one step.
void TurnAtBounds() {
    if (BossFight.BossX <= LeftBound && BossCarriedOver.BossDX <= 0)
        BossCarriedOver.BossDX = RandomRange(8, 3);
    if (BossFight.BossX >= RightBound && BossCarriedOver.BossDX > 0)
        BossCarriedOver.BossDX = RandomRange(-3, -8);
    if (BossFight.BossY <= TopBound && BossCarriedOver.BossDY <= 0)
        BossCarriedOver.BossDY = RandomRange(8, 3);
    if (BossFight.BossY >= BottomBound && BossCarriedOver.BossDY > 0)
        BossCarriedOver.BossDY = RandomRange(-3, -8);
}

// Only every second pick of the homing attack fires. The count outlives the game, so a game that
// ended after one pick fires the homing bullet at the first pick of the next.
uint8_t HomingOnSecondPick() {
    ++BossCarriedOver.HomingPickCount;
    if (BossCarriedOver.HomingPickCount != 2) return 0;
    BossCarriedOver.HomingPickCount = 0;
    return AttackHoming;
}

void ChooseAttack() {
    const int32_t e = RandomRange(100, 1);
    if (e <= 10) {
        const int32_t pick =
            PickWeighted(5, AttackBouncing, 30, AttackRing, 65, AttackHoming, 0, 0, 0);
        BossFight.BossAttack =
            pick == AttackHoming ? HomingOnSecondPick() : static_cast<uint8_t>(pick);
    } else if (e <= 30) {
        BossFight.BossAttack =
            static_cast<uint8_t>(PickWeighted(30, AttackSpread, 70, AttackSingle, 0, 0, 0, 0, 0));
    }
}

void FireSpread(double x, double y) {
    const int32_t aim = AimAngle(BossFight.BossX, BossFight.BossY, Player.X, Player.Y);
    for (int32_t offset : {-20, 0, 20}) {
        const Velocity v = VelocityFromAngle(aim + offset, 10);
        SpawnEnemyBullet(x, y, v.DX, v.DY, BulletPink);
    }
}

void FireRing(double x, double y) {
    for (int32_t angle = 0; angle < 360; angle += 30) {
        const Velocity v = VelocityFromAngle(angle, 12);
        SpawnEnemyBullet(x, y, v.DX, v.DY, BulletLime);
    }
}

void AdvanceDebris(DebrisRecord& debris) {
    if (++debris.Frame == 10) debris.Frame = 0;
    if (--debris.Life == 0) debris.Active = False16;
    debris.X += debris.DX;
    debris.Y += debris.DY;
    DrawDebris(debris);  // also in the frame its life runs out
}

// One chance in four per frame for each idle piece, so the pieces leave the boss unevenly.
void MaybeStartDebris(DebrisRecord& debris) {
    if (RandomRange(3, 0) != 0) return;
    debris.Active = True16;
    debris.X = BossFight.BossX;
    debris.Y = BossFight.BossY;
    debris.Frame = 0;
    debris.Life = static_cast<uint8_t>(RandomRange(20, 10));
    const int32_t angle = RandomRange(359, 0);
    const int32_t speed = RandomRange(10, 5);
    const Velocity v = VelocityFromAngle(angle, speed);
    debris.DX = v.DX;
    debris.DY = v.DY;
}

}  // namespace

void ResetBoss() {
    const DifficultyValues* values = DifficultyValuesFor(Difficulty);
    BossFight = {.BossX = 250,
                 .BossY = -250,  // above the field
                 .BossPhase = PhaseEntering,
                 .BossAttack = 0,
                 .BossHP = values ? values->BossHP : BossFight.BossHP};
}

void UpdateBoss() {
    BossFight.BossAttack = 0;
    switch (BossFight.BossPhase) {
        case PhaseEntering:
            Descend();
            break;
        case PhaseFighting:
            TurnAtBounds();
            ChooseAttack();
            break;
        case PhaseDestroyed:
            UpdateBossDestruction();
            break;
    }
    BossFight.BossX += BossCarriedOver.BossDX;
    BossFight.BossY += BossCarriedOver.BossDY;
    if (BossFight.BossPhase < PhaseDestroyed) DrawBoss();
    if (BossFight.BossAttack != 0) BossFire(BossFight.BossAttack);
}

// Tested in every phase: the boss can be hurt while it descends, and its wreck goes on
// swallowing shots without paying a second bonus.
void CheckShotHitsBoss(uint8_t slot) {
    BulletRecord& shot = PlayerShots[slot];
    const double dy = shot.Y - BossFight.BossY;
    const double dx = shot.X - BossFight.BossX;
    if (!(double(HitRadius) * HitRadius > dy * dy + dx * dx)) return;
    --BossFight.BossHP;
    shot.Active = False16;
    if (BossFight.BossPhase < PhaseDestroyed && BossFight.BossHP < 1) {
        BossFight.BossPhase = PhaseDestroyed;
        Score += Difficulty * 1000;
        BossCarriedOver.BossDX = 0;
        BossCarriedOver.BossDY = 0;
    }
}

void BossFire(uint8_t attack) {
    // Both draws are made whatever the attack: a is 4 to 9 either way, b is -9 to 9.
    const int32_t a = RandomFromTwoRanges(9, 4, -4, -9);
    const int32_t b = RandomRange(9, -9);
    const double x = BossFight.BossX;
    const double y = BossFight.BossY;
    switch (attack) {
        case AttackSingle:
            SpawnEnemyBullet(x, y, b, a, BulletOrange);
            break;
        case AttackSpread:
            FireSpread(x, y);
            break;
        case AttackHoming:
            SpawnEnemyBullet(x, y, b, b, BulletHoming);  // may start at rest and still home in
            break;
        case AttackRing:
            FireRing(x, y);
            break;
        case AttackBouncing:
            SpawnEnemyBullet(x, y, a, a, BulletBouncing);
            break;
        default:
            break;
    }
}

int32_t PickWeighted(uint8_t weight1, int32_t value1, uint8_t weight2, int32_t value2,
                     uint8_t weight3, int32_t value3, uint8_t weight4, int32_t value4,
                     int32_t otherValue) {
    const auto d = static_cast<uint8_t>(RandomRange(100, 1));
    return PickWeightedFor(d, weight1, value1, weight2, value2, weight3, value3, weight4, value4,
                           otherValue);
}

int32_t PickWeightedFor(uint8_t d, uint8_t weight1, int32_t value1, uint8_t weight2, int32_t value2,
                        uint8_t weight3, int32_t value3, uint8_t weight4, int32_t value4,
                        int32_t otherValue) {
    const std::array<std::pair<uint8_t, int32_t>, 4> choices{
        {{weight1, value1}, {weight2, value2}, {weight3, value3}, {weight4, value4}}};
    int reach = 0;
    for (const auto& [weight, value] : choices) {
        reach += weight;
        if (d <= reach) return value;
    }
    return otherValue;
}

void UpdateBossDestruction() {
    DrawBoss();
    for (DebrisRecord& debris : BossCarriedOver.BossDebris) {
        if (debris.Active != False16) {
            AdvanceDebris(debris);
        } else {
            MaybeStartDebris(debris);
        }
    }
    ++BossCarriedOver.BossDeathTimer;
    if (BossCarriedOver.BossDeathTimer % 10 == 0 && WavOn != False16) PlaySound(SoundExplosion);
    if (BossCarriedOver.BossDeathTimer == DeathFrames) {
        GameMode = ModeEnding;
        BossCarriedOver.BossDeathTimer = 0;
    }
}
