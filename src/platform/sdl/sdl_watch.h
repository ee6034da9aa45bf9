// Watching a replay in the window: the watcher's keys, pad buttons and clicks (turned into the
// commands of platform/watch_control.h), its pause, and what it draws over the picture: the
// position bar at the bottom (where the boss comes and where the game ends) and what the ship
// was told each frame. The game's own keys are not the watcher's: the replay answers every
// question of the game, and the frames it draws are left as they are.
//
//   Space, K / pad A, Start       pause, resume
//   . and , / pad shoulders       one frame forward, back (pausing)
//   Right, L and Left, J / D-pad  10 seconds forward, back
//   Up, + and Down, - / D-pad     faster, slower (1/4x .. 8x, then as fast as it goes)
//   Home, B, End                  to the start, the boss's arrival, the end
//   a click on the bar            to that point
//   I / pad Y                     input display on, off
//   Escape / pad Back             ends
#pragma once

#include <SDL.h>

#include <cstdint>
#include <functional>

// Takes the watcher's keys, buttons and clicks; true when the event was one of them (nothing
// else sees it). The window's own keys (fullscreen) go on as usual.
bool HandleWatchEvent(const SDL_Event& event);
// Waits for `milliseconds` of the recorded game's time at the watching speed.
void WatchSleep(int32_t milliseconds);
// In the frame wait: while the watcher has paused and asked for nothing, holds the game with its
// sounds, events going to `handle`.
void HoldWhileWatchPaused(const std::function<void(const SDL_Event&)>& handle);
// The position bar and the input display, over the play area.
void DrawWatchOverlay();
