// Starts SDL's video on the display system the desktop and the player want: Wayland first in a
// Wayland session, X11 otherwise, or as `[window] video=` chooses; the other where the first
// does not start, said in one line on stderr. A player's SDL_VIDEODRIVER is SDL's to follow.
#pragma once

#include "platform/video_choice.h"

// Returns false where no display system answered; SDL_GetError() says why.
bool StartVideo(VideoSetting setting);
