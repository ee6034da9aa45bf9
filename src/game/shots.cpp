// To be filled in by its own issue.
#include "game/shots.h"

void SpawnPlayerShot(int32_t, uint8_t) {}
void UpdatePlayerShots() {}
void CheckShotHitsEnemies(uint8_t) {}
