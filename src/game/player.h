// The player's ship: entry, steering, volleys, blinking after a hit, explosion.
#pragma once

#include <cstdint>

// The ship's counters, which a new game leaves alone: they carry over from game to game (a
// replay carries them).
struct PlayerCarriedOverRecord {
    uint8_t FireCooldown = 0;  // frames since the last volley, saturating at 255
    int32_t BlinkCounter = 0;  // frames spent blinking: a game that ends mid-blink shortens the
                               // first blink of the next
};
extern PlayerCarriedOverRecord PlayerCarriedOver;
// The counters as the program starts.
void ResetPlayerCounters();

void UpdatePlayer();
