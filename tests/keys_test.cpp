// The keyboard state: down now in the top bit, pressed since the previous query in the low bit.
#include <gtest/gtest.h>

#include "platform/headless/headless.h"
#include "platform/key_state.h"
#include "support/test_support.h"

class KeysTest : public GameTest {};

TEST_F(KeysTest, APressReadsDownAndLatchedThenOnlyDown) {
    headless::SetKey(VkZ, true);
    EXPECT_EQ(GetAsyncKeyState(VkZ), KeyDownNow | KeyPressedSinceQuery);
    EXPECT_EQ(GetAsyncKeyState(VkZ), KeyDownNow);
}

TEST_F(KeysTest, APressReleasedBeforeTheQueryStillCounts) {
    headless::SetKey(VkReturn, true);
    headless::SetKey(VkReturn, false);
    EXPECT_EQ(GetAsyncKeyState(VkReturn), KeyPressedSinceQuery);
    EXPECT_EQ(GetAsyncKeyState(VkReturn), 0);
}

TEST_F(KeysTest, TheLatchIsPerKey) {
    headless::TapKey(VkLeft);
    EXPECT_EQ(GetAsyncKeyState(VkRight), 0);
    EXPECT_EQ(GetAsyncKeyState(VkLeft), KeyPressedSinceQuery);
}

TEST_F(KeysTest, AKeyNeverTouchedReadsZero) {
    EXPECT_EQ(GetAsyncKeyState(VkNumpad5), 0);
}

// The keyboard and a gamepad feed the same keys: down while either holds it.
TEST_F(KeysTest, AKeyHeldOnTheKeyboardAndThePadIsUpOnlyWhenBothLetGo) {
    SetKeyDown(VkLeft, true, KeySource::Keyboard);
    SetKeyDown(VkLeft, true, KeySource::Pad);
    EXPECT_EQ(TakeKeyState(VkLeft), KeyDownNow | KeyPressedSinceQuery);
    SetKeyDown(VkLeft, false, KeySource::Keyboard);
    EXPECT_EQ(TakeKeyState(VkLeft), KeyDownNow);
    SetKeyDown(VkLeft, false, KeySource::Pad);
    EXPECT_EQ(TakeKeyState(VkLeft), 0);
}

TEST_F(KeysTest, APressOnThePadAloneLatchesAndForgettingLiftsEverySource) {
    SetKeyDown(VkZ, true, KeySource::Pad);
    SetKeyDown(VkZ, false, KeySource::Pad);
    EXPECT_EQ(TakeKeyState(VkZ), KeyPressedSinceQuery);
    SetKeyDown(VkReturn, true, KeySource::Pad);
    SetKeyDown(VkReturn, true, KeySource::Keyboard);
    ForgetKeyState();
    EXPECT_EQ(TakeKeyState(VkReturn), 0);
}
