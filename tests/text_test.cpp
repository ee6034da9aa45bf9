// Text: the font size stays from one call to the next, and only the glyphs are drawn.
#include "gfx/text.h"

#include <gtest/gtest.h>

#include "common/number_text.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

int CountPixels(uint32_t value) {
    int count = 0;
    for (uint32_t pixel : SettledPixels(BackBuffer)) count += pixel == value;
    return count;
}

// The width of what a text covers on a black back buffer.
int DrawnWidth(const std::string& text, uint8_t size) {
    ClearSurface(BackBuffer, 0);
    DrawText(text, 10, 10, 0xFFFFFF, size);
    int right = 0;
    for (int y = 0; y < BackBuffer->Height; ++y)
        for (int x = 0; x < BackBuffer->Width; ++x)
            if (PixelAt(BackBuffer, x, y) != 0) right = std::max(right, x);
    return right;
}

}  // namespace

class TextTest : public GameTest {};

TEST_F(TextTest, SizeZeroKeepsThePreviousSize) {
    const int at16 = DrawnWidth("SCORE: 1234", 16);
    const int at12 = DrawnWidth("SCORE: 1234", 12);
    ASSERT_GT(at16, at12);
    DrawnWidth("x", 16);
    EXPECT_EQ(TextFontSize(), 16);
    EXPECT_EQ(DrawnWidth("SCORE: 1234", 0), at16);
}

TEST_F(TextTest, OnlyTheGlyphsAreDrawn) {
    ClearSurface(BackBuffer, 0x123456);
    DrawText("HP : 5", 100, 100, 0xFFFFFF, 18);
    // The background between and around the glyphs keeps its colour; some pure white glyph
    // pixels are there.
    EXPECT_GT(CountPixels(0x123456), 500 * 600 - 18 * 80);
    EXPECT_GT(CountPixels(0xFFFFFF), 10);
}

TEST_F(TextTest, ColoursAreBlueGreenRedValues) {
    ClearSurface(BackBuffer, 0);
    DrawText("FPS: 20", 50, 10, 0xFF0000, 12);  // blue
    EXPECT_GT(CountPixels(0x0000FF), 5);
    EXPECT_EQ(CountPixels(0xFF0000), 0);
}

TEST_F(TextTest, TextOffTheSurfaceIsCutNotWrapped) {
    ClearSurface(BackBuffer, 0);
    DrawText("Hiscore Top Five", 480, 590, 0xFFFFFF, 32);
    int inside = 0;
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 500; ++x) {
            if (PixelAt(BackBuffer, x, y) == 0) continue;
            EXPECT_TRUE(x >= 480 && y >= 590) << "pixel at " << x << "," << y;
            ++inside;
        }
    EXPECT_GT(inside, 0);
}

TEST_F(TextTest, FrameRateShowsZeroFirstThenTheCountOfThePreviousSecond) {
    auto fpsPixels = [] {
        ClearSurface(BackBuffer, 0);
        DrawFps();
        return SettledPixels(BackBuffer);
    };
    headless::SetClock(1500000000);  // beyond any clock an earlier test left behind
    const auto first = fpsPixels();  // an update: more than a second since the last one
    for (int i = 0; i < 19; ++i) {
        SleepMs(50);
        fpsPixels();
    }
    SleepMs(50);  // exactly 1000 ms after the update: not yet
    EXPECT_EQ(fpsPixels(), first);
    SleepMs(1);
    EXPECT_NE(fpsPixels(), first);  // now "FPS: 21"
    ClearSurface(BackBuffer, 0);
    DrawText("FPS: 21", 50, 10, 0xFF0000, 12);
    const auto expected = SettledPixels(BackBuffer);
    ClearSurface(BackBuffer, 0);
    SleepMs(10);
    DrawFps();
    EXPECT_EQ(SettledPixels(BackBuffer), expected);
}

TEST(NumberText, ReservesALeadingBlankForTheSign) {
    EXPECT_EQ(NumberText(5), " 5");
    EXPECT_EQ(NumberText(0), " 0");
    EXPECT_EQ(NumberText(-1), "-1");
    EXPECT_EQ(NumberText(2147483647), " 2147483647");
}
