// The back buffer every frame is drawn into, showing it in the window, and the frame pacer.
#pragma once

#include <cstdint>

#include "gfx/surface.h"

extern Surface BackBuffer;  // 500 x 600 once the display is open

// Opens the display for the game window: creates the back buffer. Opened at most once: a
// second call changes nothing.
void InitDisplay(int width, int height);
// Shows the back buffer in the window.
void PresentFrame(const Surface& surface);
// Drops the back buffer; the display is closed afterwards.
void RestoreWindow();

// No back buffer and no frame rate, as the program starts.
void ResetDisplay();

// Frame slots are TickCount / period rounded half to even, so with 50 ms even slots last
// 51 ms and odd ones 49 ms.
void SetFrameRate(int32_t periodMs);
// Returns at the first tick of the next frame slot.
void WaitNextFrame();
// The slot in which the previous frame ended: how many clock readings the next wait takes
// depends on it, so a replay carries it.
int32_t LastFrameSlotReached();
void SetLastFrameSlot(int32_t slot);
// The end of a screen's frame: shows the back buffer, lets window messages in, waits for the
// next frame slot.
void ShowFrame();
int32_t FrameSlotOf(int32_t tick, int32_t periodMs);
