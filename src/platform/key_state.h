// The keys as the game asks for them, whichever back end feeds them: whether a key is down now,
// and whether it was pressed since the game last asked for that key. The keyboard and a gamepad
// feed the same keys; a key is down while either holds it.
#pragma once

#include <cstdint>

enum class KeySource { Keyboard, Pad };

// A key went down (which also counts as a press) or up on one source.
void SetKeyDown(int virtualKey, bool down, KeySource source = KeySource::Keyboard);
// A press and release that both fell between two questions.
void RememberKeyPress(int virtualKey);
// KeyDownNow and KeyPressedSinceQuery as they stand; forgets the press.
uint16_t TakeKeyState(int virtualKey);
// Every key up on every source and no press remembered: at program start, and when a modal
// window closes.
void ForgetKeyState();
