// Gamepads, plugged in before the start or during the game: they feed the same keys as the
// keyboard, through the pad's bindings (sdl_bindings.h). By default D-pad and left stick are
// the arrows, A (south) is Z, B (east) and Start are Return, Back is Escape; Start also pauses
// play. The left stick always steers. SDL's own mapping database names the buttons, with
// SDL_GAMECONTROLLERCONFIG or a gamecontrollerdb.txt beside data.ini for pads it does not know.
// In the boxes and the name dialog the pad moves, presses and goes back with its own fixed
// buttons instead (PadActionOf), whatever the bindings.
#pragma once

#include <SDL.h>

void OpenGamepads();
// Pads plugged in and pulled out, buttons and the stick. Returns whether the event was a pad's.
bool HandleGamepadEvent(const SDL_Event& event);

// What a pad asks of a box: a fresh press of a button (A accepts, B goes back, Start, and Back
// escapes as the Escape key it is in play), or the stick pushed past its dead zone.
enum class PadAction { None, Left, Right, Up, Down, Accept, Back, Start, Escape };
// The action of one event; pads plugged in or pulled out are taken note of as everywhere.
PadAction PadActionOf(const SDL_Event& event);
// When a box opens and closes: what the pads hold stays held but counts as no press, so that a
// button pressed over a box never reaches the game, nor one held into a box the box.
void ForgetPadPresses();
// Whether any pad is plugged in.
bool AnyPadPlugged();
