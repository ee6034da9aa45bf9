#include "platform/sdl/sdl_watch.h"

#include "platform/platform.h"
#include "platform/sdl/sdl_pause.h"

namespace {

constexpr int32_t FastForward = 4;  // times the recorded pace while fast is held

bool FastKey = false;     // the Right arrow is down
bool FastButton = false;  // a pad's right shoulder is down

}  // namespace

bool HandleWatchEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const bool down = event.type == SDL_KEYDOWN;
            switch (event.key.keysym.sym) {
                case SDLK_RIGHT:
                    FastKey = down;
                    return true;
                case SDLK_SPACE:
                    if (down && !event.key.repeat) TogglePlayerPause();
                    return true;
                case SDLK_ESCAPE:
                    if (down) UnloadMainWindow();
                    return true;
                default:
                    return false;
            }
        }
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (event.cbutton.button != SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) return false;
            FastButton = event.type == SDL_CONTROLLERBUTTONDOWN;
            return true;
        default:
            return false;
    }
}

void WatchSleep(int32_t milliseconds) {
    if (milliseconds <= 0) return;
    const int32_t divisor = FastKey || FastButton ? FastForward : 1;
    SDL_Delay(static_cast<Uint32>(milliseconds / divisor));
}
