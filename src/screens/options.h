// The options screen: difficulty, music and sound effects.
#pragma once

#include <cstdint>

#include "game/state.h"

extern uint8_t OptionCursor;  // 0 difficulty, 1 music, 2 sound, 3 exit
extern bool16 OptionExitRequested;
extern int32_t OptionFrameCount;  // paces the keys; kept between visits
void ResetOptions();              // the three above as the program starts

void RunOptionsScreen();
void DrawOptions();
void HandleOptionKeys();
