// The headless sound and music devices' records, for tests and the headless runner: what the
// game played and sent, and whether the sound device opens.
#pragma once

#include <string>
#include <vector>

namespace headless {

// Back to a fresh device: nothing recorded, nothing open, the sound device available, the
// volumes at 100.
void ResetAudio();
std::vector<int> TakePlayedVoices();  // voice index of each PlaySound since the last call
std::vector<std::string> TakeMusicCommands(bool includeStatus);
bool MusicPlaying();
// Whether the headless sound device opens (true unless a test says otherwise).
void SetSoundAvailable(bool available);

}  // namespace headless
