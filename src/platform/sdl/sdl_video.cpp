#include "platform/sdl/sdl_video.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr Uint32 VideoSubsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS;

bool Set(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

bool StartDriver(const char* driver) {
    SDL_SetHint(SDL_HINT_VIDEODRIVER, driver);
    return SDL_InitSubSystem(VideoSubsystems) == 0;
}

}  // namespace

bool StartVideo(VideoSetting setting) {
    if (Set("SDL_VIDEODRIVER")) return SDL_InitSubSystem(VideoSubsystems) == 0;
    const auto order = VideoDriverOrder(setting, Set("WAYLAND_DISPLAY"));
    if (StartDriver(order[0])) return true;
    const std::string firstError = SDL_GetError();
    if (!StartDriver(order[1])) {
        SDL_SetError("%s: %s; %s: %s", VideoDriverTitle(order[0]), firstError.c_str(),
                     VideoDriverTitle(order[1]), SDL_GetError());
        return false;
    }
    std::fprintf(stderr, "vexlan: %s could not be opened (%s); the window opens on %s\n",
                 VideoDriverTitle(order[0]), firstError.c_str(), VideoDriverTitle(order[1]));
    return true;
}
