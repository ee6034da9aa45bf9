// To be filled in by its own issue.
#include "game/bullets.h"

int32_t BounceCounter = 0;
void SpawnEnemyBullet(double, double, double, double, uint8_t) {}
void UpdateEnemyBullets() {}
void CheckBulletHitsPlayer(uint8_t, uint8_t) {}
