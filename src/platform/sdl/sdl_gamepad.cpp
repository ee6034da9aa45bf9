#include "platform/sdl/sdl_gamepad.h"

#include <array>
#include <cstdio>
#include <map>

#include "platform/key_state.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_pause.h"

namespace {

// A stick pushed less than this far (of 32767) counts as centred: worn sticks never rest at 0.
constexpr Sint16 StickDeadZone = 12000;

struct ButtonKey {
    SDL_GameControllerButton Button;
    int Key;
};
constexpr std::array<ButtonKey, 8> ButtonKeys{{
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VkLeft},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VkRight},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, VkUp},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VkDown},
    {SDL_CONTROLLER_BUTTON_A, VkZ},
    {SDL_CONTROLLER_BUTTON_B, VkReturn},
    {SDL_CONTROLLER_BUTTON_START, VkReturn},
    {SDL_CONTROLLER_BUTTON_BACK, VkEscape},
}};

std::map<SDL_JoystickID, SDL_GameController*> Pads;  // by instance id
std::map<int, bool> PadHolds;                        // what the pads hold, as last told

// Several inputs give one key (B and Start, the D-pad and the stick, two pads): each key is
// worked out from everything the pads hold now, and the key state hears only of changes.
void RefreshPadKeys() {
    std::map<int, bool> holds;
    for (const ButtonKey& mapping : ButtonKeys) holds[mapping.Key] = false;
    for (const auto& [id, pad] : Pads) {
        for (const ButtonKey& mapping : ButtonKeys) {
            if (SDL_GameControllerGetButton(pad, mapping.Button)) holds[mapping.Key] = true;
        }
        const Sint16 x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
        const Sint16 y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
        if (x < -StickDeadZone) holds[VkLeft] = true;
        if (x > StickDeadZone) holds[VkRight] = true;
        if (y < -StickDeadZone) holds[VkUp] = true;
        if (y > StickDeadZone) holds[VkDown] = true;
    }
    for (const auto& [key, down] : holds) {
        if (PadHolds[key] == down) continue;
        PadHolds[key] = down;
        SetKeyDown(key, down, KeySource::Pad);
    }
}

}  // namespace

void OpenGamepads() {
    // Pads present at the start arrive as device-added events, like those plugged in later.
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0)
        std::fprintf(stderr, "vexlan: no gamepads: %s\n", SDL_GetError());
}

bool HandleGamepadEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
            if (SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which)) {
                Pads[SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad))] = pad;
            }
            break;
        case SDL_CONTROLLERDEVICEREMOVED: {
            const auto found = Pads.find(event.cdevice.which);
            if (found == Pads.end()) return true;
            SDL_GameControllerClose(found->second);
            Pads.erase(found);
            break;
        }
        case SDL_CONTROLLERBUTTONDOWN:
            if (event.cbutton.button == SDL_CONTROLLER_BUTTON_START) NotePauseButton();
            break;
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            break;
        default:
            return false;
    }
    RefreshPadKeys();
    return true;
}
