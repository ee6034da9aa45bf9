// Enemy and boss bullets: small, homing and bouncing families; the only thing that hurts the ship.
#pragma once

#include <cstdint>

// What the bullets carry over from game to game: a new game leaves it alone (a replay carries it).
struct BulletsCarriedOverRecord {
    int32_t BounceCounter = 0;  // shared by all bouncing bullets
};
extern BulletsCarriedOverRecord BulletsCarriedOver;
void ResetBounceCounter();  // as the program starts

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
