// Sound effects and music on SDL2_mixer.
#include <SDL.h>

#include "audio/sound_backend.h"
#include "platform/music_device.h"
#include "platform/platform.h"

bool InitSound() {
    MessageBox("DirectSoundは利用できません。", "", BoxButtons::Ok, BoxIcon::Warning);
    ReleaseSound();
    return false;
}

SoundEffect LoadSoundEffect(const std::string&, int) { return {}; }
void RestartVoice(const SoundEffect&, int) {}
void ReleaseSoundEffect(SoundEffect&) {}
void ReleaseSound() {}

int SendMusicCommand(const std::string&, std::string*) { return 263; }
