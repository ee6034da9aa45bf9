#include "game/difficulty.h"

const DifficultyValues* DifficultyValuesFor(uint8_t difficulty) {
    static constexpr DifficultyValues Table[] = {
        {7, 300, "Easy", "e", 1.2, 0.8},
        {5, 400, "Normal", "n", 1.0, 1.0},
        {3, 500, "Hard", "h", 0.8, 1.2},
    };
    if (difficulty < DifficultyEasy || difficulty > DifficultyHard) return nullptr;
    return &Table[difficulty - DifficultyEasy];
}
