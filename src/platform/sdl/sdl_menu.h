// The menu bar drawn over the window's picture, with its menus "表示" and "ヘルプ".
#pragma once

#include <SDL.h>

#include "platform/platform.h"

// Mouse events that belong to the menu bar: a press on a caption opens its menu, which runs
// until it closes; a command chosen runs through `handlers`.
void HandleMenuEvent(const SDL_Event& event, const WindowHandlers& handlers);
// Draws the closed menu bar.
void DrawMenuBar();
