// How the program is ended from outside: the window's close box, SIGTERM and SIGINT (which SDL
// turns into the close box's event), SIGHUP, and the display going away. The lowest layer of the
// SDL platform's ending: the menu, the boxes and the event loop call down into it, it calls
// nobody above it.
#pragma once

#include <SDL.h>

// The game's close handler, run whenever the window is closed from outside.
void SetCloseHandler(void (*onClose)());

// The window is closed from outside: the close handler runs, and from then on a box tells its
// text on stderr instead of waiting for an answer, so that nothing holds the end up.
void CloseFromOutside();
bool ClosingFromOutside();
// The window was closed while a dialog had an answer to give: the close runs at the next
// RunDeferredClose (the next DoEvents), and a box shown until then counts as shown while closing.
void CloseAtNextEvents();
void RunDeferredClose();

// SIGHUP (the terminal closed) is taken as SIGTERM, and a lost display (the X server or the
// Wayland compositor gone) saves the settings before the program ends, with status 1. Called
// once the window is there.
void WatchOutsideEnds(SDL_Window* window);

// The connection to the display broke: nothing may be drawn or asked any more.
bool DisplayLost();
