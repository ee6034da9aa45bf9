// Shared between the parts of the SDL platform.
#pragma once

#include <SDL.h>

#include "platform/platform.h"

SDL_Window* GameWindow();
// Handles one window event: keys, the close box, the menu bar.
void HandleWindowEvent(const SDL_Event& event);
// Mouse events that belong to the menu bar.
void HandleMenuEvent(const SDL_Event& event, const WindowHandlers& handlers);
// Forgets keys held and pressed (after a modal box took the keyboard).
void ForgetKeyState();
