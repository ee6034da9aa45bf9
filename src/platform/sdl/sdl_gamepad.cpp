#include "platform/sdl/sdl_gamepad.h"

#include <array>
#include <cstdio>
#include <map>

#include "platform/key_state.h"
#include "platform/platform.h"
#include "platform/sdl/sdl_bindings.h"
#include "platform/sdl/sdl_pause.h"
#include "platform/sdl/sdl_settings_dialog.h"

namespace {

// The game's keys the pads can press.
constexpr std::array<int, 7> PadKeys{VkLeft, VkRight, VkUp, VkDown, VkZ, VkReturn, VkEscape};

std::map<SDL_JoystickID, SDL_GameController*> Pads;  // by instance id
std::map<int, bool> PadHolds;                        // what the pads hold, as last told

// The direction the left stick points along one axis: -1, 0 or 1.
int StickDirection(Sint16 value) {
    return value < -DeadZone() ? -1 : (value > DeadZone() ? 1 : 0);
}
// Where each pad's stick pointed when last looked at, by pad and axis, for the boxes.
std::map<std::pair<SDL_JoystickID, int>, int> StickPointed;

// Several inputs give one key (B and Start, the D-pad and the stick, two pads): each key is
// worked out from everything the pads hold now.
std::map<int, bool> CurrentHolds() {
    std::map<int, bool> holds;
    for (const int key : PadKeys) holds[key] = false;
    for (const auto& [id, pad] : Pads) {
        for (const Action action : Actions) {
            for (const InputCode button : PadBindings().KeysOf(action)) {
                if (SDL_GameControllerGetButton(pad, ButtonOfCode(button)))
                    holds[VirtualKeyForButton(action)] = true;
            }
        }
        const int x = StickDirection(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX));
        const int y = StickDirection(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY));
        if (x < 0) holds[VkLeft] = true;
        if (x > 0) holds[VkRight] = true;
        if (y < 0) holds[VkUp] = true;
        if (y > 0) holds[VkDown] = true;
    }
    return holds;
}

// The key state hears only of changes.
void RefreshPadKeys() {
    for (const auto& [key, down] : CurrentHolds()) {
        if (PadHolds[key] == down) continue;
        PadHolds[key] = down;
        SetKeyDown(key, down, KeySource::Pad);
    }
}

// A button pressed is a press of its key, even where the pads were already taken to hold that
// key: released and pressed again between two looks at the events, or held when a box closed.
void PressButtonKey(Uint8 button) {
    Action action{};
    if (!PadBindings().FindAction(ButtonCodeOf(SDL_GameControllerButton(button)), action)) return;
    const int key = VirtualKeyForButton(action);
    if (PadHolds[key]) SetKeyDown(key, true, KeySource::Pad);
}

bool IsPauseButton(Uint8 button) {
    Action action{};
    return PadBindings().FindAction(ButtonCodeOf(SDL_GameControllerButton(button)), action) &&
           action == Action::Pause;
}

PadAction ButtonAction(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
            return PadAction::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
            return PadAction::Right;
        case SDL_CONTROLLER_BUTTON_DPAD_UP:
            return PadAction::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
            return PadAction::Down;
        case SDL_CONTROLLER_BUTTON_A:
            return PadAction::Accept;
        case SDL_CONTROLLER_BUTTON_B:
            return PadAction::Back;
        case SDL_CONTROLLER_BUTTON_START:
            return PadAction::Start;
        case SDL_CONTROLLER_BUTTON_BACK:
            return PadAction::Escape;
        default:
            return PadAction::None;
    }
}

// A stick moves a box's choice once each time it is pushed past the dead zone.
PadAction StickAction(const SDL_ControllerAxisEvent& motion) {
    if (motion.axis != SDL_CONTROLLER_AXIS_LEFTX && motion.axis != SDL_CONTROLLER_AXIS_LEFTY)
        return PadAction::None;
    int& pointed = StickPointed[{motion.which, motion.axis}];
    const int now = StickDirection(motion.value);
    const bool pushed = now != 0 && now != pointed;
    pointed = now;
    if (!pushed) return PadAction::None;
    if (motion.axis == SDL_CONTROLLER_AXIS_LEFTX)
        return now < 0 ? PadAction::Left : PadAction::Right;
    return now < 0 ? PadAction::Up : PadAction::Down;
}

}  // namespace

void OpenGamepads() {
    LoadPadMappings();
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
            if (IsPauseButton(event.cbutton.button)) NotePauseButton();
            if (event.cbutton.button == SettingsButton) AskForSettings();
            break;
        case SDL_CONTROLLERBUTTONUP:
        case SDL_CONTROLLERAXISMOTION:
            break;
        default:
            return false;
    }
    RefreshPadKeys();
    if (event.type == SDL_CONTROLLERBUTTONDOWN) PressButtonKey(event.cbutton.button);
    return true;
}

PadAction PadActionOf(const SDL_Event& event) {
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED:
            HandleGamepadEvent(event);
            return PadAction::None;
        case SDL_CONTROLLERBUTTONDOWN:
            return ButtonAction(event.cbutton.button);
        case SDL_CONTROLLERAXISMOTION:
            return StickAction(event.caxis);
        default:
            return PadAction::None;
    }
}

void ForgetPadPresses() {
    PadHolds = CurrentHolds();
    StickPointed.clear();
    for (const auto& [id, pad] : Pads) {
        for (const int axis : {SDL_CONTROLLER_AXIS_LEFTX, SDL_CONTROLLER_AXIS_LEFTY})
            StickPointed[{id, axis}] =
                StickDirection(SDL_GameControllerGetAxis(pad, SDL_GameControllerAxis(axis)));
    }
}

bool AnyPadPlugged() {
    return !Pads.empty();
}
