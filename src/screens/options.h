// The options screen: difficulty, music and sound effects.
#pragma once

#include <cstdint>

#include "game/state.h"

// The options screen's state, which lives for the whole run.
struct OptionsScreenRecord {
    uint8_t OptionCursor = 0;  // 0 difficulty, 1 music, 2 sound, 3 exit; row 0 at every visit
    bool16 OptionExitRequested = False16;
    int32_t OptionFrameCount = 0;  // paces the keys; kept between visits, so the skipped frame
                                   // wanders
};
extern OptionsScreenRecord OptionsScreen;
void ResetOptions();  // as the program starts

void RunOptionsScreen();
void DrawOptions();
void HandleOptionKeys();
