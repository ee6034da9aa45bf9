// The keyboard as the game asks for it, whichever back end feeds it: whether a key is down now,
// and whether it was pressed since the game last asked for that key.
#pragma once

#include <cstdint>

// A key went down (which also counts as a press) or up.
void SetKeyDown(int virtualKey, bool down);
// A press and release that both fell between two questions.
void RememberKeyPress(int virtualKey);
// KeyDownNow and KeyPressedSinceQuery as they stand; forgets the press.
uint16_t TakeKeyState(int virtualKey);
// Every key up and no press remembered: at program start, and when a modal window closes.
void ForgetKeyState();
