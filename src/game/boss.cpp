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

int32_t BossX, BossY;                     // centre
int32_t BossDX, BossDY;                   // step per frame; kept across games
uint8_t BossPhase;                        // PhaseEntering, PhaseFighting or PhaseDestroyed
uint8_t BossAttack;                       // attack to fire this frame; 0 = none
int32_t BossHP;                           // destroyed when a hit leaves it at 0 or less
std::array<DebrisRecord, 11> BossDebris;  // debris still flying resumes at the next destruction
uint8_t BossDeathTimer;                   // frames of the destruction sequence; kept across games
int16_t HomingPickCount;                  // picks of the homing attack; kept across games

void ResetBossState() {
    BossX = BossY = BossDX = BossDY = BossHP = 0;
    BossPhase = BossAttack = BossDeathTimer = 0;
    HomingPickCount = 0;
    BossDebris = {};
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
    DrawSpriteClipped(BackBuffer, BossX - 135, BossY - 118, 269, 236, FieldWidth, FieldHeight,
                      SurfBoss, 0, 0, 269, 236, true);
}

// 810: debris shows the tenth cell whole, where enemy explosions cut it at 808, on purpose.
void DrawDebris(const DebrisRecord& debris) {
    DrawSpriteClipped(BackBuffer, static_cast<int>(RoundHalfEven(debris.X - 40)),
                      static_cast<int>(RoundHalfEven(debris.Y - 40)), 81, 80, FieldWidth,
                      FieldHeight, SurfExplosion, debris.Frame * 81, 0, 810, 80, true);
}

void Descend() {
    BossDY = 3;
    BossDX = 0;
    BossAttack = AttackSingle;  // the descent is one long spray
    if (BossY > 250) {
        BossPhase = PhaseFighting;
        // A step drawn as 0 here is never redrawn: the boss then keeps to that line all fight.
        BossDX = RandomRange(5, -5);
        BossDY = RandomRange(5, -5);
    }
}

// Acts before the move, so the boss may overshoot a bound by one step.
void TurnAtBounds() {
    if (BossX <= LeftBound && BossDX <= 0) BossDX = RandomRange(8, 3);
    if (BossX >= RightBound && BossDX > 0) BossDX = RandomRange(-3, -8);
    if (BossY <= TopBound && BossDY <= 0) BossDY = RandomRange(8, 3);
    if (BossY >= BottomBound && BossDY > 0) BossDY = RandomRange(-3, -8);
}

// Only every second pick of the homing attack fires. The count outlives the game, so a game that
// ended after one pick fires the homing bullet at the first pick of the next.
uint8_t HomingOnSecondPick() {
    ++HomingPickCount;
    if (HomingPickCount != 2) return 0;
    HomingPickCount = 0;
    return AttackHoming;
}

void ChooseAttack() {
    const int32_t e = RandomRange(100, 1);
    if (e <= 10) {
        const int32_t pick =
            PickWeighted(5, AttackBouncing, 30, AttackRing, 65, AttackHoming, 0, 0, 0);
        BossAttack = pick == AttackHoming ? HomingOnSecondPick() : static_cast<uint8_t>(pick);
    } else if (e <= 30) {
        BossAttack =
            static_cast<uint8_t>(PickWeighted(30, AttackSpread, 70, AttackSingle, 0, 0, 0, 0, 0));
    }
}

void FireSpread(double x, double y) {
    const int32_t aim = AimAngle(BossX, BossY, Player.X, Player.Y);
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
    debris.X = BossX;
    debris.Y = BossY;
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
    BossX = 250;
    BossY = -250;  // above the field
    BossPhase = PhaseEntering;
    if (const DifficultyValues* values = DifficultyValuesFor(Difficulty)) BossHP = values->BossHP;
}

void UpdateBoss() {
    BossAttack = 0;
    switch (BossPhase) {
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
    BossX += BossDX;
    BossY += BossDY;
    if (BossPhase < PhaseDestroyed) DrawBoss();
    if (BossAttack != 0) BossFire(BossAttack);
}

// Tested in every phase: the boss can be hurt while it descends, and its wreck goes on
// swallowing shots without paying a second bonus.
void CheckShotHitsBoss(uint8_t slot) {
    BulletRecord& shot = PlayerShots[slot];
    const double dy = shot.Y - BossY;
    const double dx = shot.X - BossX;
    if (!(double(HitRadius) * HitRadius > dy * dy + dx * dx)) return;
    --BossHP;
    shot.Active = False16;
    if (BossPhase < PhaseDestroyed && BossHP < 1) {
        BossPhase = PhaseDestroyed;
        Score += Difficulty * 1000;
        BossDX = 0;
        BossDY = 0;
    }
}

void BossFire(uint8_t attack) {
    // Both draws are made whatever the attack: a is 4 to 9 either way, b is -9 to 9.
    const int32_t a = RandomFromTwoRanges(9, 4, -4, -9);
    const int32_t b = RandomRange(9, -9);
    const double x = BossX;
    const double y = BossY;
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
    for (DebrisRecord& debris : BossDebris) {
        if (debris.Active != False16) {
            AdvanceDebris(debris);
        } else {
            MaybeStartDebris(debris);
        }
    }
    ++BossDeathTimer;
    if (BossDeathTimer % 10 == 0 && WavOn != False16) PlaySound(SoundExplosion);
    if (BossDeathTimer == DeathFrames) {
        GameMode = ModeEnding;
        BossDeathTimer = 0;
    }
}
