// Shared between the parts of the SDL platform.
#pragma once

#include <SDL.h>

#include <functional>

#include "platform/platform.h"
#include "platform/sdl/sdl_ui.h"
#include "platform/window_scale.h"

// The menu bar sits above the play area: the window's picture is this many pixels taller than
// the game's frame.
constexpr int MenuBarHeight = 20;

// Keys pressed with Alt, Ctrl or the logo key are the desktop's and the window's (Alt+Enter,
// Ctrl+Q), not the game's.
constexpr Uint16 ChordModifiers = KMOD_ALT | KMOD_CTRL | KMOD_GUI;

SDL_Window* GameWindow();
// Where the game's frame is shown, in the picture's pixels: under the menu bar.
UiRect PlayArea();
SDL_Renderer* GameRenderer();
// Where the picture (menu bar and play area) lies in the window's drawable pixels.
PicturePlacement PictureInWindow();
// Desktop fullscreen (no mode change) on or off.
void ToggleFullscreen();
// Keeps the window's scale and mode for the next run.
void SaveWindowSettings();
// A resize, an expose: the window is drawn again.
void HandleWindowChange(const SDL_WindowEvent& event);
// Draws the window again from the last frame shown: the menu bar and the play area, then
// `overlay` (an open menu, the name dialog) on top, and shows the result.
void RedrawWindow(const std::function<void()>& overlay = {});

// Handles one window event: keys, the close box, the menu bar.
void HandleWindowEvent(const SDL_Event& event);
// Mouse events that belong to the menu bar.
void HandleMenuEvent(const SDL_Event& event, const WindowHandlers& handlers);
// Draws the closed menu bar (the game shows it with every frame).
void DrawMenuBar();
