// The title screen: the logo revealed row by row and the four-item menu.
#pragma once

#include <cstdint>

#include "game/state.h"
#include "gfx/surface.h"

extern Surface TitleLogo, TitleStartItem, TitleScoreItem, TitleOptionItem, TitleEndItem;
extern uint8_t TitleCursor;         // 0 start, 1 high scores, 2 options, 3 end
extern bool16 TitleStartRequested;  // the title loop ends on it and clears it
extern uint8_t LogoRevealRows;      // progress of the logo reveal, stops at 125
extern int32_t TitleFrameCount;     // paces the menu keys
void ResetTitle();                  // all of the above as the program starts

// The title's pictures, loaded each time it opens: the logo, then the items start, end, score
// and option.
inline constexpr const char* TitlePictureFiles[] = {
    "\\w_vexlan.bmp", "\\w_start.bmp", "\\w_end.bmp", "\\w_score.bmp", "\\w_option.bmp"};
void LoadTitlePictures();
void ReleaseTitlePictures();
void HandleTitleKeys();
void DrawTitleLogo();
void DrawTitleMenu();
