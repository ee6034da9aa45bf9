#include "platform/key_state.h"

#include <map>

#include "platform/platform.h"

namespace {

struct KeyState {
    bool DownOnKeyboard = false;
    bool DownOnPad = false;
    bool PressedSinceQuery = false;
    bool Down() const { return DownOnKeyboard || DownOnPad; }
};
std::map<int, KeyState> Keys;

}  // namespace

void SetKeyDown(int virtualKey, bool down, KeySource source) {
    KeyState& key = Keys[virtualKey];
    (source == KeySource::Pad ? key.DownOnPad : key.DownOnKeyboard) = down;
    if (down) key.PressedSinceQuery = true;
}

void RememberKeyPress(int virtualKey) {
    Keys[virtualKey].PressedSinceQuery = true;
}

uint16_t TakeKeyState(int virtualKey) {
    const auto found = Keys.find(virtualKey);
    if (found == Keys.end()) return 0;
    KeyState& key = found->second;
    const uint16_t state =
        (key.Down() ? KeyDownNow : 0) | (key.PressedSinceQuery ? KeyPressedSinceQuery : 0);
    key.PressedSinceQuery = false;
    return state;
}

void ForgetKeyState() {
    Keys.clear();
}
