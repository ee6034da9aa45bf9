// To be filled in by its own issue.
#include "game/player.h"

uint8_t FireCooldown = 0;
int32_t BlinkCounter = 0;
void UpdatePlayer() {}
