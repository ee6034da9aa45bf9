// The one audio device that the effects and the tune share. The tune is opened when the window
// loads, before the effects are, so whichever comes first opens the device and the last to let
// go closes it.
#pragma once

#include <string>

// Opens the device for one more user. On failure the reason is put in `why`.
bool AcquireMixer(std::string& why);
void ReleaseMixer();
// Gives a caller `count` mixer channels of its own and returns the first of them.
int ReserveMixerChannels(int count);
