// The player's ship: entry, steering, volleys, blinking after a hit, explosion.
#pragma once

#include <cstdint>

extern uint8_t FireCooldown;  // frames since the last volley, saturating at 255; kept across games
extern int32_t BlinkCounter;  // frames spent blinking; kept across games
// The two counters above as the program starts; a new game leaves them alone.
void ResetPlayerCounters();

void UpdatePlayer();
