// Start-up of the game and the reset before every game.
#pragma once

void InitGame();
void LoadSprites();
// Resets the player, the boss, the counters and the tables and loads the stage script.
// Returns false when the stage script is broken (the player has been told); no game starts.
bool NewGame();
