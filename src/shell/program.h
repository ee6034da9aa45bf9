// The program as the player starts it: the window, then title after title, each game after it
// recorded and kept as a replay (shell/replays.h).
#pragma once

[[noreturn]] void Main();
// Title, game, title, ...: the game window already open.
[[noreturn]] void MainLoop();
