// The player's shots: spawned three at a time, flying up, tested against enemies or the boss.
#pragma once

#include <cstdint>

void SpawnPlayerShot(int32_t dx, uint8_t speed);
void UpdatePlayerShots();
