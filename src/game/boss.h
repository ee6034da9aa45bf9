// The boss: descent, drift, five attacks, damage and the destruction sequence.
#pragma once

#include <array>
#include <cstdint>

#include "game/state.h"

constexpr uint8_t PhaseEntering = 2;
constexpr uint8_t PhaseFighting = 3;
constexpr uint8_t PhaseDestroyed = 9;

struct DebrisRecord {
    double X = 0;  // centre
    double Y = 0;
    double DX = 0;
    double DY = 0;
    uint8_t Life = 0;   // frames left
    uint8_t Frame = 0;  // explosion cell 0..9
    bool16 Active = False16;
};

extern int32_t BossX, BossY;    // centre
extern int32_t BossDX, BossDY;  // step per frame
extern uint8_t BossPhase;
extern uint8_t BossAttack;             // attack to fire this frame: one of the below, or 0 for none
constexpr uint8_t AttackSingle = 1;    // one small bullet in a random direction
constexpr uint8_t AttackSpread = 3;    // three aimed at the ship
constexpr uint8_t AttackHoming = 4;    // a homing bullet (every second time it is picked)
constexpr uint8_t AttackRing = 5;      // twelve all round
constexpr uint8_t AttackBouncing = 6;  // a bullet that bounces off the field's edges
extern int32_t BossHP;
extern std::array<DebrisRecord, 11> BossDebris;  // kept across games
extern uint8_t BossDeathTimer;   // frames of the destruction sequence; kept across games
extern int16_t HomingPickCount;  // only every second pick of the homing attack fires
// Every boss variable as the program starts; ResetBoss, at each game, sets only some of them.
void ResetBossState();

void ResetBoss();
void UpdateBoss();
void CheckShotHitsBoss(uint8_t slot);
void BossFire(uint8_t attack);
int32_t PickWeighted(uint8_t weight1, int32_t value1, uint8_t weight2, int32_t value2,
                     uint8_t weight3, int32_t value3, uint8_t weight4, int32_t value4,
                     int32_t otherValue);
// The choice PickWeighted makes for its draw d (1..100): the first value whose running sum of
// weights reaches d.
int32_t PickWeightedFor(uint8_t d, uint8_t weight1, int32_t value1, uint8_t weight2, int32_t value2,
                        uint8_t weight3, int32_t value3, uint8_t weight4, int32_t value4,
                        int32_t otherValue);
void UpdateBossDestruction();
