#include "platform/sdl/sdl_bindings.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/profile.h"

namespace {

constexpr const char* KeysSection = "keys";
constexpr const char* PadSection = "pad";
constexpr const char* DeadZoneKey = "deadzone";
constexpr int StickTravel = 32767;

InputCode Pad(SDL_GameControllerButton button) {
    return ButtonCodeOf(button);
}

const Bindings DefaultKeys({{
    {SDLK_UP, SDLK_KP_8},
    {SDLK_DOWN, SDLK_KP_2, SDLK_KP_5},
    {SDLK_LEFT, SDLK_KP_4},
    {SDLK_RIGHT, SDLK_KP_6},
    {SDLK_z},
    {SDLK_RETURN, SDLK_KP_ENTER},
    {SDLK_ESCAPE},
    {SDLK_p, SDLK_PAUSE},
}});
const Bindings DefaultPad({{
    {Pad(SDL_CONTROLLER_BUTTON_DPAD_UP)},
    {Pad(SDL_CONTROLLER_BUTTON_DPAD_DOWN)},
    {Pad(SDL_CONTROLLER_BUTTON_DPAD_LEFT)},
    {Pad(SDL_CONTROLLER_BUTTON_DPAD_RIGHT)},
    {Pad(SDL_CONTROLLER_BUTTON_A)},
    {Pad(SDL_CONTROLLER_BUTTON_B)},
    {Pad(SDL_CONTROLLER_BUTTON_BACK)},
    {Pad(SDL_CONTROLLER_BUTTON_START)},
}});

Bindings Keys = DefaultKeys;
Bindings PadButtons = DefaultPad;
int DeadZoneSetting = DefaultDeadZonePercent;
bool SettingsTaken = false;  // as the window's: put back only if taken

bool IsKeypadKey(InputCode key) {
    return key >= SDLK_KP_DIVIDE && key <= SDLK_KP_PERIOD;
}

// A key's name in the settings file. The names of a few punctuation keys are the very
// characters that part names and lines ("," ";" "="): those keys go by their place's name.
std::string NameOfKey(InputCode code) {
    const std::string name = SDL_GetKeyName(SDL_Keycode(code));
    const bool parts = name.size() == 1 && std::string(",;=").find(name[0]) != std::string::npos;
    if (!name.empty() && !parts) return name;
    return SDL_GetScancodeName(SDL_GetScancodeFromKey(SDL_Keycode(code)));
}

InputCode CodeOfKey(const std::string& name) {
    const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
    return MayBindKey(key) ? InputCode(key) : 0;
}

std::string NameOfButton(InputCode code) {
    const char* name = SDL_GameControllerGetStringForButton(ButtonOfCode(code));
    return name ? name : "";
}

InputCode CodeOfButton(const std::string& name) {
    const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
    if (button == SDL_CONTROLLER_BUTTON_INVALID) return 0;
    const InputCode code = ButtonCodeOf(button);
    return MayBindButton(code) ? code : 0;
}

void Complain(const std::string& line) {
    std::fprintf(stderr, "vexlan: data.ini %s\n", line.c_str());
}

std::string SettingsFolder() {
    const std::string file = SettingsFilesFor(ProgramDirectory()).Write;
    const size_t slash = file.rfind('/');
    return slash == std::string::npos ? "" : file.substr(0, slash);
}

}  // namespace

InputCode KeyCodeOf(const SDL_Keysym& key) {
    if (key.scancode >= SDL_SCANCODE_KP_DIVIDE && key.scancode <= SDL_SCANCODE_KP_PERIOD)
        return InputCode(SDL_SCANCODE_TO_KEYCODE(key.scancode));
    return InputCode(key.sym);
}

InputCode ButtonCodeOf(SDL_GameControllerButton button) {
    return InputCode(button) + 1;
}

SDL_GameControllerButton ButtonOfCode(InputCode code) {
    return SDL_GameControllerButton(code - 1);
}

const InputNames& KeyNames() {
    static const InputNames names{CodeOfKey, NameOfKey};
    return names;
}

const InputNames& PadNames() {
    static const InputNames names{CodeOfButton, NameOfButton};
    return names;
}

bool MayBindKey(InputCode code) {
    switch (code) {
        case SDLK_UNKNOWN:
        case SDLK_F11:
        case SettingsKey:
        case ReplayListKey:
        case SDLK_LCTRL:
        case SDLK_RCTRL:
        case SDLK_LALT:
        case SDLK_RALT:
        case SDLK_LGUI:
        case SDLK_RGUI:
        case SDLK_MODE:
            return false;
        default:
            return true;
    }
}

bool MayBindButton(InputCode code) {
    const SDL_GameControllerButton button = ButtonOfCode(code);
    return button > SDL_CONTROLLER_BUTTON_INVALID && button < SDL_CONTROLLER_BUTTON_MAX &&
           button != SettingsButton;
}

const Bindings& KeyBindings() {
    return Keys;
}
const Bindings& PadBindings() {
    return PadButtons;
}
const Bindings& DefaultKeyBindings() {
    return DefaultKeys;
}
const Bindings& DefaultPadBindings() {
    return DefaultPad;
}
void SetKeyBindings(const Bindings& bindings) {
    Keys = bindings;
}
void SetPadBindings(const Bindings& bindings) {
    PadButtons = bindings;
}

int VirtualKeyForKey(Action action, InputCode key) {
    const bool keypad = IsKeypadKey(key);
    switch (action) {
        case Action::Up:
            return keypad ? VkNumpad8 : VkUp;
        case Action::Down:
            return keypad ? VkNumpad2 : VkDown;
        case Action::Left:
            return keypad ? VkNumpad4 : VkLeft;
        case Action::Right:
            return keypad ? VkNumpad6 : VkRight;
        case Action::Fire:
            return VkZ;
        case Action::Choose:
            return VkReturn;
        case Action::Back:
            return VkEscape;
        case Action::Pause:
            return 0;
    }
    return 0;
}

int VirtualKeyForButton(Action action) {
    if (action == Action::Pause) return VkReturn;
    return VirtualKeyForKey(action, 0);
}

int DeadZonePercent() {
    return DeadZoneSetting;
}

void SetDeadZonePercent(int percent) {
    DeadZoneSetting = std::clamp(percent, MinDeadZonePercent, MaxDeadZonePercent);
}

int DeadZone() {
    return DeadZoneSetting * StickTravel / 100;
}

void TakeInputSettingsFrom(const ProfileDocument& settings) {
    SettingsTaken = true;
    Keys = ReadBindings(settings, KeysSection, DefaultKeys, KeyNames(), Complain);
    PadButtons = ReadBindings(settings, PadSection, DefaultPad, PadNames(), Complain);
    const std::string deadZone = ProfileString(settings, PadSection, DeadZoneKey, "", 8);
    if (deadZone.empty()) return;
    char* end = nullptr;
    const long percent = std::strtol(deadZone.c_str(), &end, 10);
    if (*end != '\0' || percent < MinDeadZonePercent || percent > MaxDeadZonePercent) {
        Complain("[pad] deadzone: \"" + deadZone + "\" is no percentage from " +
                 std::to_string(MinDeadZonePercent) + " to " + std::to_string(MaxDeadZonePercent) +
                 "; skipped");
        return;
    }
    DeadZoneSetting = int(percent);
}

void PutInputSettingsInto(ProfileDocument& settings) {
    if (!SettingsTaken) return;
    PutBindings(settings, KeysSection, Keys, KeyNames());
    PutBindings(settings, PadSection, PadButtons, PadNames());
    PutProfileString(settings, PadSection, DeadZoneKey, std::to_string(DeadZoneSetting));
}

void LoadPadMappings() {
    const std::string folder = SettingsFolder();
    if (folder.empty()) return;
    const std::string file = folder + "/gamecontrollerdb.txt";
    struct stat found {};
    if (stat(file.c_str(), &found) != 0) return;
    if (SDL_GameControllerAddMappingsFromFile(file.c_str()) < 0)
        std::fprintf(stderr, "vexlan: %s: %s\n", file.c_str(), SDL_GetError());
}
