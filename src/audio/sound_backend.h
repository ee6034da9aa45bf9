// What a sound implementation provides beneath the shared voice rotation of PlaySound.
#pragma once

#include "audio/sound.h"

// Starts voice `voice` of the effect from its beginning, cutting it off if it still sounds.
void RestartVoice(const SoundEffect& effect, int voice);
