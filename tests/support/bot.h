// A player for whole-game tests: holds fire and each frame steers the ship to where the enemy
// bullets, followed a few frames ahead, pass furthest away, drifting under its targets.
#pragma once

// The keys the bot would hold for the next frame, from the current game state.
struct BotKeys {
    bool Left = false;
    bool Right = false;
    bool Up = false;
    bool Down = false;
    bool Fire = false;
};
BotKeys BotChoice();
// Sets the arrow keys and Z to the bot's choice.
void BotPlay();
// Releases every key the bot holds.
void BotRelease();
