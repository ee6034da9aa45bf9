// How the finished frame reaches the window. Where a real graphics card is there, the frame goes
// up as one texture per frame and the card scales it, shown on the display's refresh (vsync);
// elsewhere the CPU scales it straight into the window's pixels (the software path). Either way
// the scaling is the sharp fit of platform/sharp_fit.h: whole pixels first, then a smooth step
// down to the size shown; at a whole multiple the two paths give the same pixels.
#pragma once

#include <SDL.h>

#include <cstdint>

#include "platform/platform.h"
#include "platform/renderer_choice.h"

// Creates the window's renderer for frames of the given size, as the setting and
// SDL_RENDER_DRIVER ask. Returns false when a GPU that was asked for could not be had and the
// software path stands in (a choice that fails is not kept).
bool OpenPresenter(SDL_Window* window, RendererSetting setting, int frameWidth, int frameHeight);
SDL_Renderer* PresenterRenderer();

// Keeps a finished frame of 0x00RRGGBB pixels, the game's size; the next drawing shows it.
// `written`, where given, says which tiles can differ from the frame presented before it.
// Returns whether it differs from the frame kept before.
bool KeepFrame(const uint32_t* pixels, const WrittenTiles* written);
// A frame was presented and not kept: the next one is compared whole.
void FrameNotKept();
// Turns the game's frames by 0, 90, 180 or 270 degrees clockwise from now on, the one kept too.
void TurnFrames(int degrees);
// Starts a drawing of the window: black around `picture` (the menu bar and play area, in the
// window's pixels), where it is not black already.
void BeginWindowDrawing(const SDL_Rect& picture);
// Draws the last frame kept, scaled to `where`.
void DrawKeptFrame(const SDL_Rect& where);
// Draws and shows only what changed of the frame since it was last drawn, where it was drawn
// then; nothing at all where nothing changed. False where only whole drawings can be had (the
// card's buffers are not kept from one showing to the next).
bool ShowFrameChanges(const SDL_Rect& where);
// Shows what was drawn.
void EndWindowDrawing(const SDL_Rect& picture);
// The window's pixels were lost or moved (a resize, an expose, fullscreen): the next drawing
// starts from black.
void ForgetWindowPixels();
