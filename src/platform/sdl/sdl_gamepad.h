// Gamepads, plugged in before the start or during the game: they feed the same keys as the
// keyboard. D-pad and left stick are the arrows, A (south) is Z, B (east) and Start are Return,
// Back is Escape; Start also pauses play. SDL's own mapping database names the buttons, with
// SDL_GAMECONTROLLERCONFIG for pads it does not know.
#pragma once

#include <SDL.h>

void OpenGamepads();
// Pads plugged in and pulled out, buttons and the stick. Returns whether the event was a pad's.
bool HandleGamepadEvent(const SDL_Event& event);
