// To be filled in by its own issue.
#include "game/enemies.h"

void UpdateEnemies() {}
void EnemyFire(uint8_t) {}
