// The battle tune: kept looping during play by the frame pass.
#pragma once

// Asks the device whether the tune has stopped and restarts it from the top if so.
void KeepBgmPlaying();
// Forgets the device's last answer, as the program starts.
void ResetMusicReply();
