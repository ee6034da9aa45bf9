// To be filled in by its own issue.
#include "game/boss.h"

int32_t BossX, BossY;
int32_t BossDX, BossDY;
uint8_t BossPhase;
uint8_t BossAttack;
int32_t BossHP;
std::array<DebrisRecord, 11> BossDebris;
uint8_t BossDeathTimer;
int16_t HomingPickCount;
void ResetBoss() {}
void UpdateBoss() {}
void CheckShotHitsBoss(uint8_t) {}
void BossFire(uint8_t) {}
int32_t PickWeighted(uint8_t, int32_t, uint8_t, int32_t, uint8_t, int32_t, uint8_t, int32_t, int32_t otherValue) { return otherValue; }
void UpdateBossDestruction() {}
