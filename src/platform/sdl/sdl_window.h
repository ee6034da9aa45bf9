// Shared between the parts of the SDL platform.
#pragma once

#include <SDL.h>

#include <functional>

#include "platform/platform.h"
#include "platform/sdl/sdl_ui.h"

// The menu bar sits above the play area, so the window is this many points taller than the
// game's picture.
constexpr int MenuBarHeight = 20;

SDL_Window* GameWindow();
// Where the game's picture is shown, in window points: under the menu bar.
UiRect PlayArea();
SDL_Renderer* GameRenderer();
// Drawable pixels per window point (above 1 on HiDPI screens).
float WindowScale();
// Draws the window again from the last frame shown: the menu bar and the play area, then
// `overlay` (an open menu, the name dialog) on top, and shows the result.
void RedrawWindow(const std::function<void()>& overlay = {});

// Handles one window event: keys, the close box, the menu bar.
void HandleWindowEvent(const SDL_Event& event);
// Mouse events that belong to the menu bar.
void HandleMenuEvent(const SDL_Event& event, const WindowHandlers& handlers);
// Draws the closed menu bar (the game shows it with every frame).
void DrawMenuBar();
