// The keys that choose or leave a screen: Z or Return.
#pragma once

// Whether Z or Return has been down since it was last asked. Both keys are asked every time, so
// that neither keeps a stale press for a later frame.
bool ConfirmPressed();
