// Shared between the parts of the SDL platform.
#pragma once

#include <SDL.h>

#include <functional>

#include "platform/platform.h"
#include "platform/sdl/sdl_ui.h"
#include "platform/window_scale.h"

// The menu bar's height in the picture's pixels. Windowed, it sits above the play area and the
// picture is this much taller than the game's frame; in fullscreen the play area fills the
// picture and the bar is shown over it only while the pointer is at the top of the screen.
constexpr int MenuBarHeight = 20;

// Keys pressed with Alt, Ctrl or the logo key are the desktop's and the window's (Alt+Enter,
// Ctrl+Q), not the game's.
constexpr Uint16 ChordModifiers = KMOD_ALT | KMOD_CTRL | KMOD_GUI;

SDL_Window* GameWindow();
SDL_Renderer* GameRenderer();
// Where the game's frame is shown, in the picture's pixels.
UiRect PlayArea();
// A rectangle of the picture where it lies in the window's drawable pixels, turned as the
// player asked (PictureRotation).
SDL_Rect PictureRectInWindow(const UiRect& rect);
// The same in two steps: where it lies in the picture shown at the window's scale but not yet
// turned, and where a rectangle of those pixels lies in the window once turned. What is drawn
// in pixels of its own (a text) is placed by the first and turned by the second.
SDL_Rect PictureRectInShown(const UiRect& rect);
SDL_Rect ShownRectInWindow(const SDL_Rect& shown);
// Drawable pixels per picture pixel (the same both ways, but for rounding).
double PictureScale();
bool IsFullscreen();
// Desktop fullscreen (no mode change) on or off.
void ToggleFullscreen();
// Sharp fit or whole steps, chosen in the View menu.
Scaling WindowScaling();
void SetWindowScaling(Scaling scaling);
// Whether the menu bar is drawn: always in a window, in fullscreen while the pointer is on it.
bool MenuBarShown();
// A resize, an expose: the window is drawn again.
void HandleWindowChange(const SDL_WindowEvent& event);
// Draws the window again from the last frame shown: the play area and the menu bar, then
// `overlay` (an open menu, the name dialog) on top, and shows the result.
void RedrawWindow(const std::function<void()>& overlay = {});
