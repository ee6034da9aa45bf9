// A gamepad as SDL sees one, made by SDL itself (a virtual joystick) under the dummy video
// driver: the real window code reads it into the same keys as the keyboard.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/platform.h"

namespace {

constexpr Sint16 StickFull = 32767;
constexpr Sint16 StickNudge = 6000;  // a worn stick at rest, inside the dead zone

class VirtualPad : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // A dummy window never has the keyboard focus, and SDL ignores pads pressed without it.
        setenv("SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1", 1);
        OpenMainWindow("pad", 500, 600);
    }

    void SetUp() override {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.name = "virtual pad";
        const int index = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(index, 0) << SDL_GetError();
        Index = index;
        ASSERT_TRUE(SDL_IsGameController(index)) << "no mapping for the virtual pad";
        Stick = SDL_JoystickOpen(index);
        ASSERT_NE(Stick, nullptr) << SDL_GetError();
        DoEvents();  // the pad is plugged in
        Drain();
    }

    void TearDown() override {
        if (Stick) SDL_JoystickClose(Stick);
        SDL_JoystickDetachVirtual(Index);
        DoEvents();
        Drain();
    }

    // Forgets what earlier steps left latched.
    static void Drain() {
        for (const int key : {VkLeft, VkRight, VkUp, VkDown, VkZ, VkReturn, VkEscape})
            GetAsyncKeyState(key);
    }

    void Press(SDL_GameControllerButton button, bool down) {
        ASSERT_EQ(SDL_JoystickSetVirtualButton(Stick, button, down ? 1 : 0), 0) << SDL_GetError();
        DoEvents();
    }
    void Push(SDL_GameControllerAxis axis, Sint16 value) {
        SDL_JoystickSetVirtualAxis(Stick, axis, value);
        DoEvents();
    }
    static bool Down(int key) { return (GetAsyncKeyState(key) & KeyDownNow) != 0; }

    int Index = -1;
    SDL_Joystick* Stick = nullptr;
};

TEST_F(VirtualPad, AIsZWithThePressLatchedAndReleased) {
    Press(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_EQ(GetAsyncKeyState(VkZ), KeyDownNow | KeyPressedSinceQuery);
    Press(SDL_CONTROLLER_BUTTON_A, false);
    EXPECT_EQ(GetAsyncKeyState(VkZ), 0);
}

TEST_F(VirtualPad, BAndStartAreReturnAndBackIsEscape) {
    Press(SDL_CONTROLLER_BUTTON_B, true);
    Press(SDL_CONTROLLER_BUTTON_START, true);
    Press(SDL_CONTROLLER_BUTTON_B, false);
    EXPECT_TRUE(Down(VkReturn)) << "Start still holds Return";
    Press(SDL_CONTROLLER_BUTTON_START, false);
    EXPECT_FALSE(Down(VkReturn));
    Press(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_TRUE(Down(VkEscape));
    Press(SDL_CONTROLLER_BUTTON_BACK, false);
}

TEST_F(VirtualPad, TheDpadAndTheStickPastItsDeadZoneAreTheArrows) {
    Press(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
    EXPECT_TRUE(Down(VkUp));
    Press(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    EXPECT_FALSE(Down(VkUp));
    Push(SDL_CONTROLLER_AXIS_LEFTX, -StickNudge);
    EXPECT_FALSE(Down(VkLeft));
    Push(SDL_CONTROLLER_AXIS_LEFTX, -StickFull);
    EXPECT_TRUE(Down(VkLeft));
    Push(SDL_CONTROLLER_AXIS_LEFTY, StickFull);
    EXPECT_TRUE(Down(VkDown));
    EXPECT_FALSE(Down(VkRight));
    Push(SDL_CONTROLLER_AXIS_LEFTX, 0);
    Push(SDL_CONTROLLER_AXIS_LEFTY, 0);
    EXPECT_FALSE(Down(VkLeft));
    EXPECT_FALSE(Down(VkDown));
}

TEST_F(VirtualPad, APadPulledOutWithAButtonHeldLetsTheKeyGo) {
    Press(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(Down(VkZ));
    SDL_JoystickClose(Stick);
    Stick = nullptr;
    SDL_JoystickDetachVirtual(Index);
    DoEvents();
    EXPECT_FALSE(Down(VkZ));
}

}  // namespace
