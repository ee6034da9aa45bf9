// The battle tune: kept looping during play by the frame pass.
#pragma once

// With music on, asks the device whether the tune has stopped and restarts it from the top if so.
void KeepBgmPlaying(bool musicOn);
// Forgets the device's last answer, as the program starts.
void ResetMusicReply();
