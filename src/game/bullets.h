// Enemy and boss bullets: small, homing and bouncing families; the only thing that hurts the ship.
#pragma once

#include <cstdint>

extern int32_t BounceCounter;  // shared by all bouncing bullets, kept across games
void ResetBounceCounter();     // as the program starts; a new game leaves it alone

// A bullet's Frame is its family times ten plus its animation step; these are the codes it is
// spawned with. Families 0 to 3 are the small bullets, one row each of their strip.
constexpr uint8_t FramesPerFamily = 10;
constexpr uint8_t BulletOrange = 0;
constexpr uint8_t BulletPink = 10;
constexpr uint8_t BulletLime = 20;
constexpr uint8_t BulletViolet = 30;
constexpr uint8_t BulletHoming = 40;
constexpr uint8_t BulletBouncing = 60;

void SpawnEnemyBullet(double x, double y, double dx, double dy, uint8_t code);
void UpdateEnemyBullets();
