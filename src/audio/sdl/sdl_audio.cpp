// Sound effects on SDL2_mixer: each effect is one sample held once, played on mixer channels
// reserved for it, one channel per voice.
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "audio/mix_levels.h"
#include "audio/sdl/mixer.h"
#include "audio/sound_backend.h"
#include "audio/volume.h"
#include "audio/volume_backend.h"
#include "platform/platform.h"

namespace {

struct LoadedSample {
    Mix_Chunk* Chunk = nullptr;  // empty once the effect is released
    int FirstChannel = 0;        // voice v plays on channel FirstChannel + v
    double Peak = 1.0;           // its loudest sample, as a share of full scale
};

bool SoundOpen = false;             // this module holds the mixer
std::vector<LoadedSample> Samples;  // indexed by SoundEffect::Handle
int VoiceVolume = FullVolume;       // of every voice, before the player's effects volume

const LoadedSample* SampleOf(const SoundEffect& effect) {
    if (effect.Handle < 0 || effect.Handle >= static_cast<int>(Samples.size())) return nullptr;
    const LoadedSample& sample = Samples[effect.Handle];
    return sample.Chunk ? &sample : nullptr;
}

// The sample as the mixer holds it: signed 16-bit, whatever the file was.
double PeakOf(const Mix_Chunk& chunk) {
    const auto* samples = reinterpret_cast<const int16_t*>(chunk.abuf);
    int peak = 1;
    for (Uint32 i = 0; i < chunk.alen / sizeof(int16_t); ++i)
        peak = std::max(peak, std::abs(int(samples[i])));
    return peak / 32768.0;
}

}  // namespace

bool OpenSoundDevice() {
    std::string why;  // the player is told only that there is no sound
    if (!SoundOpen) SoundOpen = AcquireMixer(why);
    return SoundOpen;
}

SoundEffect LoadSoundEffect(const std::string& path, int voices) {
    if (voices < 1 || voices > INT16_MAX)
        FatalError("Cannot load the sound " + path + ": " + std::to_string(voices) + " voices.");
    Mix_Chunk* chunk = Mix_LoadWAV(path.c_str());
    if (!chunk) FatalError("Cannot load the sound " + path + ": " + Mix_GetError());
    Samples.push_back({chunk, ReserveMixerChannels(voices), PeakOf(*chunk)});
    SoundEffect effect;
    effect.Count = static_cast<int16_t>(voices);
    effect.LastIndex = 0;
    effect.Handle = static_cast<int>(Samples.size()) - 1;
    return effect;
}

void RestartVoice(const SoundEffect& effect, int voice) {
    const LoadedSample* sample = SampleOf(effect);
    if (!sample) return;  // released: the game is on its way out
    const int channel = sample->FirstChannel + voice;
    if (Mix_Playing(channel)) Mix_HaltChannel(channel);
    // Every voice comes down to make room for the new one before it starts. (The game's one
    // effect owns every channel, so all that play are counted.)
    VoiceVolume = EffectVoiceVolume(Mix_Playing(-1) + 1, sample->Peak);
    Mix_Volume(-1, ScaledVolume(VoiceVolume, EffectsVolume()));
    Mix_PlayChannel(channel, sample->Chunk, 0);
}

void ApplyEffectsVolume() {
    if (SoundOpen) Mix_Volume(-1, ScaledVolume(VoiceVolume, EffectsVolume()));
}

void ReleaseSoundEffect(SoundEffect& effect) {
    if (SampleOf(effect)) {
        // Freeing the sample also silences the voices still playing it.
        Mix_FreeChunk(Samples[effect.Handle].Chunk);
        Samples[effect.Handle].Chunk = nullptr;
    }
    effect.Handle = -1;
}

void ReleaseSound() {
    if (!SoundOpen) return;
    SoundOpen = false;
    ReleaseMixer();
}
