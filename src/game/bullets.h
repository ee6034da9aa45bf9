// Enemy and boss bullets: small, homing and bouncing families; the only thing that hurts the ship.
#pragma once

#include <cstdint>

extern int32_t BounceCounter;  // shared by all bouncing bullets, kept across games
void ResetBounceCounter();     // as the program starts; a new game leaves it alone

void SpawnEnemyBullet(double x, double y, double dx, double dy, uint8_t code);
void UpdateEnemyBullets();
void CheckBulletHitsPlayer(uint8_t slot, uint8_t radius);
