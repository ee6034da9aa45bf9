// The frame pacer: slots of tick / period rounded half to even, so 51 and 49 ms alternate, and a
// wait returns on the first tick of the next slot without making up lost frames.
#include <gtest/gtest.h>

#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

TEST(FrameSlots, HalfwayTicksRoundToTheEvenSlot) {
    EXPECT_EQ(FrameSlotOf(75, 50), 2);
    EXPECT_EQ(FrameSlotOf(74, 50), 1);
    EXPECT_EQ(FrameSlotOf(125, 50), 2);
    EXPECT_EQ(FrameSlotOf(126, 50), 3);
    EXPECT_EQ(FrameSlotOf(174, 50), 3);
    EXPECT_EQ(FrameSlotOf(175, 50), 4);
    EXPECT_EQ(FrameSlotOf(225, 50), 4);
    EXPECT_EQ(FrameSlotOf(226, 50), 5);
}

class PacerTest : public GameTest {};

TEST_F(PacerTest, WaitsReturnOnTheFirstTickOfEachSlot) {
    headless::SetClock(75);
    SetFrameRate(50);  // slot 2, ticks 75..125
    std::vector<int32_t> returns;
    for (int i = 0; i < 4; ++i) {
        WaitNextFrame();
        returns.push_back(TickCount());
    }
    EXPECT_EQ(returns, (std::vector<int32_t>{126, 175, 226, 275}));
}

TEST_F(PacerTest, EvenSlotsLast51AndOddSlots49Milliseconds) {
    headless::SetClock(1000);  // slot 20
    SetFrameRate(50);
    WaitNextFrame();
    int32_t previous = TickCount();
    for (int i = 0; i < 6; ++i) {
        WaitNextFrame();
        const int32_t length = TickCount() - previous;
        const int32_t slotEnded = FrameSlotOf(previous, 50);
        EXPECT_EQ(length, slotEnded % 2 == 0 ? 51 : 49) << "slot " << slotEnded;
        previous = TickCount();
    }
}

TEST_F(PacerTest, ALongFrameIsNotMadeUp) {
    headless::SetClock(1000);
    SetFrameRate(50);
    SleepMs(500);  // ten slots late
    WaitNextFrame();
    EXPECT_EQ(TickCount(), 1500);  // returned at once
    WaitNextFrame();
    EXPECT_EQ(TickCount(), 1526);
}

TEST_F(PacerTest, SleepsAdvanceTheVirtualClockByTheirLength) {
    const int32_t start = TickCount();
    SleepMs(300);
    EXPECT_EQ(TickCount(), start + 300);
    SleepMs(0);
    SleepMs(-5);
    EXPECT_EQ(TickCount(), start + 300);
}

TEST_F(PacerTest, FrameHooksRunAroundEveryWait) {
    std::vector<std::string> calls;
    headless::SetFrameHooks([&] { calls.push_back("begin " + std::to_string(TickCount())); },
                            [&] { calls.push_back("end " + std::to_string(TickCount())); });
    headless::SetClock(100);
    SetFrameRate(50);
    WaitNextFrame();
    EXPECT_EQ(calls, (std::vector<std::string>{"begin 100", "end 126"}));
}

TEST_F(PacerTest, TheDisplayOpensOnlyOnce) {
    // ResetProgram opened it; a second opening changes nothing and keeps the back buffer.
    const Surface before = BackBuffer;
    InitDisplay(200, 200);
    EXPECT_EQ(BackBuffer, before);
    RestoreWindow();
    EXPECT_EQ(BackBuffer, nullptr);
    RestoreWindow();  // closing a closed display does nothing
    InitDisplay(500, 600);
    ASSERT_NE(BackBuffer, nullptr);
    EXPECT_EQ(BackBuffer->Width, 500);
}
