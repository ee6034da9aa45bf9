// The enemies of the stage, played back from the per-frame path tables.
#pragma once

#include <cstdint>

void UpdateEnemies();
void EnemyFire(uint8_t slot);
