// What a sound implementation provides beneath the shared voice rotation of PlaySound.
#pragma once

#include "audio/sound.h"

// Opens the sound device, or finds it open already; false when there is none.
bool OpenSoundDevice();
// Starts voice `voice` of the effect from its beginning, cutting it off if it still sounds.
void RestartVoice(const SoundEffect& effect, int voice);
