// The bot's choice as the headless platform's keys.
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/bot.h"

void BotPlay() {
    const BotKeys keys = BotChoice();
    headless::SetKey(VkZ, keys.Fire);
    headless::SetKey(VkLeft, keys.Left);
    headless::SetKey(VkRight, keys.Right);
    headless::SetKey(VkUp, keys.Up);
    headless::SetKey(VkDown, keys.Down);
}

void BotRelease() {
    for (int key : {VkLeft, VkRight, VkUp, VkDown, VkZ}) headless::SetKey(key, false);
}
