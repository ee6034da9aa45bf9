// The title screen: the logo revealed row by row and the four-item menu.
#pragma once

#include <cstdint>

#include "game/state.h"
#include "gfx/surface.h"

// The pictures of the title, which exist only while it runs.
struct TitlePicturesRecord {
    Surface TitleLogo, TitleStartItem, TitleScoreItem, TitleOptionItem, TitleEndItem;
};
extern TitlePicturesRecord TitlePictures;

// The title's state lives for the whole run: the menu reopens on the item last chosen and the
// logo, once revealed, is shown whole on every later visit.
struct TitleScreenRecord {
    uint8_t TitleCursor = 0;               // 0 start, 1 high scores, 2 options, 3 end
    bool16 TitleStartRequested = False16;  // the title loop ends on it and clears it
    uint8_t LogoRevealRows = 0;            // progress of the logo reveal, stops at 125
    int32_t TitleFrameCount = 0;           // paces the menu keys
};
extern TitleScreenRecord TitleScreen;

void ResetTitle();  // both records as the program starts

// The title's pictures, loaded each time it opens: the logo, then the items start, end, score
// and option.
inline constexpr const char* TitlePictureFiles[] = {
    "\\w_vexlan.bmp", "\\w_start.bmp", "\\w_end.bmp", "\\w_score.bmp", "\\w_option.bmp"};
void LoadTitlePictures();
void ReleaseTitlePictures();
void HandleTitleKeys();
void DrawTitleLogo();
void DrawTitleMenu();
