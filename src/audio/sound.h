// The explosion effect: one sample loaded into a few identical voices that are started in turn,
// so that several explosions can sound at once. Implemented on SDL2_mixer (audio/sdl) and as a
// recorder (audio/headless).
#pragma once

#include <cstdint>
#include <string>

struct SoundEffect {
    int16_t Count = 0;      // number of voices; 0 when never loaded (no sound device)
    int16_t LastIndex = 0;  // the voice started last
    int Handle = -1;        // the implementation's sample
};

// Opens the sound device. On failure the player is told "DirectSoundは利用できません。" and
// the result is false; the game then runs silent.
bool InitSound();
// Loads a WAV file into `voices` voices. A missing or unreadable file is fatal.
SoundEffect LoadSoundEffect(const std::string& path, int voices);
// Starts the next voice (1, 2, ..., voices-1, 0, 1, ...), cutting it off if it still sounds.
void PlaySound(SoundEffect& effect);
void ReleaseSoundEffect(SoundEffect& effect);
void ReleaseSound();
