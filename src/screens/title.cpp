// To be filled in by its own issue.
#include "screens/title.h"

Surface TitleLogo, TitleStartItem, TitleScoreItem, TitleOptionItem, TitleEndItem;
uint8_t TitleCursor = 0;
bool16 TitleStartRequested = False16;
uint8_t LogoRevealRows = 0;
int32_t TitleFrameCount = 0;
void LoadTitlePictures() {}
void ReleaseTitlePictures() {}
void HandleTitleKeys() {}
void DrawTitleLogo() {}
void DrawTitleMenu() {}
