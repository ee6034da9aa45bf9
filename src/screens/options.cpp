// To be filled in by its own issue.
#include "screens/options.h"

uint8_t OptionCursor = 0;
bool16 OptionExitRequested = False16;
int32_t OptionFrameCount = 0;
void RunOptionsScreen() {}
void DrawOptions() {}
void HandleOptionKeys() {}
