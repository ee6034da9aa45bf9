#include "screens/confirm_key.h"

#include "platform/platform.h"

bool ConfirmPressed() {
    const bool z = GetAsyncKeyState(VkZ) != 0;
    const bool enter = GetAsyncKeyState(VkReturn) != 0;
    return z || enter;
}
