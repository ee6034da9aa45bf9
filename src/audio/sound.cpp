#include "audio/sound.h"

#include "audio/sound_backend.h"
#include "platform/platform.h"
#include "platform/watch_control.h"

bool InitSound() {
    if (OpenSoundDevice()) return true;
    MessageBox("DirectSoundは利用できません。", "", BoxButtons::Ok, BoxIcon::Warning);
    ReleaseSound();
    return false;
}

void PlaySound(SoundEffect& effect) {
    if (effect.Count == 0) return;  // never loaded: the game runs silent
    // Voices are started in turn, beginning with voice 1, so up to Count explosions overlap.
    effect.LastIndex = static_cast<int16_t>((effect.LastIndex + 1) % effect.Count);
    if (SeekingSilently()) return;  // a watched replay playing on to the frame it seeks
    RestartVoice(effect, effect.LastIndex);
}
