// What each difficulty changes, in one table: the ship's and the boss's hit points, the stage
// script it plays and the loader's factors for that script's enemies.
#pragma once

#include <cstdint>

constexpr uint8_t DifficultyEasy = 1;
constexpr uint8_t DifficultyNormal = 2;
constexpr uint8_t DifficultyHard = 3;

struct DifficultyValues {
    uint8_t ShipHP;
    int32_t BossHP;
    const char* Name;         // as the options screen writes it
    const char* StageLetter;  // the stage script is "teki_" + letter + ".dat"
    // Easy gives the enemies more hit points but makes them fire more often; Hard the other way,
    // on purpose.
    double HitPointFactor;
    double FireIntervalFactor;
};

// The values of a difficulty, or null for any other number (the settings reader never gives
// one): the ship and the boss then keep the hit points they had, and there is no stage.
const DifficultyValues* DifficultyValuesFor(uint8_t difficulty);
