// The bots' choices as the headless platform's keys.
#include "platform/headless/headless.h"
#include "platform/platform.h"
#include "support/bot.h"

namespace {

void Hold(const BotKeys& keys) {
    headless::SetKey(VkZ, keys.Fire);
    headless::SetKey(VkLeft, keys.Left);
    headless::SetKey(VkRight, keys.Right);
    headless::SetKey(VkUp, keys.Up);
    headless::SetKey(VkDown, keys.Down);
}

}  // namespace

void BotPlay() {
    Hold(BotChoice());
}

void ReactionBot::Play() {
    Hold(Choice());
}

void BotRelease() {
    for (int key : {VkLeft, VkRight, VkUp, VkDown, VkZ}) headless::SetKey(key, false);
}
