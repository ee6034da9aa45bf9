#include "game/difficulty.h"

const DifficultyValues* DifficultyValuesFor(uint8_t difficulty) {
    static constexpr DifficultyValues Table[] = {
        {7, 300, "e", 1.2, 0.8},  // Easy
        {5, 400, "n", 1.0, 1.0},  // Normal
        {3, 500, "h", 0.8, 1.2},  // Hard
    };
    if (difficulty < DifficultyEasy || difficulty > DifficultyHard) return nullptr;
    return &Table[difficulty - DifficultyEasy];
}
