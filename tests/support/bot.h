// A player for whole-game tests: holds fire and each frame steers the ship to where the enemy
// bullets, followed a few frames ahead, pass furthest away, drifting under its targets.
#pragma once

// Sets the arrow keys and Z for the next frame from the current game state.
void BotPlay();
// Releases every key the bot holds.
void BotRelease();
