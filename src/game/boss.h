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

constexpr uint8_t AttackSingle = 1;    // one small bullet in a random direction
constexpr uint8_t AttackSpread = 3;    // three aimed at the ship
constexpr uint8_t AttackHoming = 4;    // a homing bullet (every second time it is picked)
constexpr uint8_t AttackRing = 5;      // twelve all round
constexpr uint8_t AttackBouncing = 6;  // a bullet that bounces off the field's edges

// The boss of one fight, set whole by ResetBoss at each new game and when the boss arrives.
struct BossFightRecord {
    int32_t BossX = 0;  // centre
    int32_t BossY = 0;
    uint8_t BossPhase = 0;   // PhaseEntering, PhaseFighting or PhaseDestroyed
    uint8_t BossAttack = 0;  // attack to fire this frame: one of the above, or 0 for none
    int32_t BossHP = 0;      // destroyed when a hit leaves it at 0 or less
};
extern BossFightRecord BossFight;

// What one fight leaves to the next, even in a later game: the fight begins with these as the
// last one left them (a replay carries them).
struct BossCarriedOverRecord {
    int32_t BossDX = 0;  // step per frame; a step drawn as 0 on arrival is never redrawn
    int32_t BossDY = 0;
    uint8_t BossDeathTimer = 0;                 // frames of the destruction sequence
    int16_t HomingPickCount = 0;                // only every second pick of the homing attack fires
    std::array<DebrisRecord, 11> BossDebris{};  // debris still flying resumes at the next death
};
extern BossCarriedOverRecord BossCarriedOver;

// Both records as the program starts.
void ResetBossState();

// A new fight: the boss above the field, entering, its hit points from the difficulty (any other
// difficulty keeps those it had).
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
