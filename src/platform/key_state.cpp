#include "platform/key_state.h"

#include <map>

#include "platform/platform.h"

namespace {

struct KeyState {
    bool DownOn[2] = {false, false};  // by KeySource
    bool PressedSinceQuery = false;
    bool Down() const { return DownOn[0] || DownOn[1]; }
};
std::map<int, KeyState> Keys;

}  // namespace

void SetKeyDown(int virtualKey, bool down, KeySource source) {
    KeyState& key = Keys[virtualKey];
    key.DownOn[source == KeySource::Pad ? 1 : 0] = down;
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
