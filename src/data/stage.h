// The stage script of the current difficulty, turned into the enemy table and the per-frame
// path tables at every new game.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "game/state.h"

struct StageTables {
    std::vector<EnemyRecord> Enemies;
    std::vector<PathColumn> Paths;
};

// Parses a whole script (CP932 bytes) for the given difficulty. On failure returns false and
// sets `error` to a message naming the line ("line 12: a number was expected, found \"abc\"").
bool ParseStage(const std::string& bytes, uint8_t difficulty, StageTables& out,
                std::string& error);
// Loads teki_?.dat of the current Difficulty into Enemies and Paths. A broken script leaves the
// previous tables as they were, tells the player, and returns false.
bool LoadStage();
