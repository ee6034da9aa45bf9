#include "audio/sdl/mixer.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include "platform/answers.h"

namespace {

int MixerUsers = 0;        // effects and tune currently holding the device
int ReservedChannels = 0;  // channels handed out since the device opened

// Small enough that an explosion starts within half a frame of its cue.
constexpr int MixerBufferSamples = 1024;

}  // namespace

bool AcquireMixer(std::string& why) {
    if (MixerUsers > 0) {
        ++MixerUsers;
        return true;
    }
    if (CurrentPace() == PlaybackPace::Fastest) {
        why = "a replay verified is not heard";
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        why = SDL_GetError();
        return false;
    }
    if (Mix_OpenAudio(MIX_DEFAULT_FREQUENCY, MIX_DEFAULT_FORMAT, 2, MixerBufferSamples) != 0) {
        why = Mix_GetError();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // Every channel belongs to an effect that asked for it; the tune plays beside them.
    Mix_AllocateChannels(0);
    ReservedChannels = 0;
    MixerUsers = 1;
    return true;
}

void ReleaseMixer() {
    if (MixerUsers == 0 || --MixerUsers > 0) return;
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

int ReserveMixerChannels(int count) {
    const int first = ReservedChannels;
    ReservedChannels += count;
    Mix_AllocateChannels(ReservedChannels);
    return first;
}
