// Watching a replay in the window: Space pauses and resumes, the Right arrow or a pad's right
// shoulder plays at four times the pace while held, Escape ends. The game's own keys are not
// the watcher's: the replay answers every question of the game.
#pragma once

#include <SDL.h>

#include <cstdint>

// Takes the watcher's keys and the right shoulder; true when the event was one of them (nothing
// else sees it). The window's own keys (fullscreen) go on as usual.
bool HandleWatchEvent(const SDL_Event& event);
// Waits for `milliseconds` of the recorded game's time at the watching pace.
void WatchSleep(int32_t milliseconds);
