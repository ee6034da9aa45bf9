// The end of a game: the block-assembly game-over picture, the zooming ending pictures, and
// which of the two leads to the name entry.
#include "screens/events.h"

#include <algorithm>
#include <string>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/state.h"
#include "gfx/display.h"
#include "screen_pictures.h"

namespace {

constexpr uint32_t Key = 0xFF00FF;
constexpr uint32_t Backdrop = 0x123456;

// Every 5 x 5 cell of the game-over picture has its own colour; pixel (0, 0) is the key.
uint32_t CellColour(int c, int r) {
    return 0x200000u | uint32_t(c + 1) << 8 | uint32_t(r + 1);
}

// --- Where a block stands ---

TEST(BlockPosition, AtFrameZeroABlockStandsAtItsStartShiftedLeftByTheWidth) {
    const BlockPlace a = BlockPosition(0, 121, 500, 71, 5, 3, 2, 123, 456, 0);
    EXPECT_EQ(a.X, 123 - 500);
    EXPECT_EQ(a.Y, 121 + 456);
    const BlockPlace b = BlockPosition(0, 121, 500, 71, 5, 100, 14, 500, 600, 0);
    EXPECT_EQ(b.X, 0);
    EXPECT_EQ(b.Y, 721);
}

TEST(BlockPosition, AtFrameHEveryBlockIsHomeWhateverItsStart) {
    for (auto [startX, startY] : {std::pair{0, 0}, {500, 600}, {123, 456}, {-40, 9000}}) {
        const BlockPlace at = BlockPosition(0, 121, 500, 71, 5, 7, 4, startX, startY, 71);
        EXPECT_EQ(at.X, 35);
        EXPECT_EQ(at.Y, 192 + 20);
    }
}

TEST(BlockPosition, AfterFrameHBlocksFlyOnPastHome) {
    const BlockPlace at100 = BlockPosition(0, 121, 500, 71, 5, 3, 2, 123, 456, 100);
    EXPECT_EQ(at100.X, 175);  // 15 + (-392 * -29) / 71 = 175.11
    EXPECT_EQ(at100.Y, 49);   // 202 + (375 * -29) / 71 = 48.83
    // Twice the way: mirrored through home.
    const BlockPlace at142 = BlockPosition(0, 121, 500, 71, 5, 3, 2, 123, 456, 142);
    EXPECT_EQ(at142.X, 2 * 15 - (123 - 500));
    EXPECT_EQ(at142.Y, 2 * 202 - (121 + 456));
}

TEST(BlockPosition, HalvesRoundToEven) {
    // Size 10, frame 5: half the way, so odd distances land on halves.
    EXPECT_EQ(BlockPosition(0, 0, 10, 10, 1, 0, 0, 15, 10, 5).X, 2);   // 2.5
    EXPECT_EQ(BlockPosition(0, 0, 10, 10, 1, 0, 0, 17, 10, 5).X, 4);   // 3.5
    EXPECT_EQ(BlockPosition(0, 0, 10, 10, 1, 0, 0, 5, 10, 5).X, -2);   // -2.5
    EXPECT_EQ(BlockPosition(0, 0, 10, 10, 1, 0, 0, 10, 11, 5).Y, 10);  // 10.5
    EXPECT_EQ(BlockPosition(0, 0, 10, 10, 1, 0, 0, 10, 13, 5).Y, 12);  // 11.5
}

// --- The assembly on the screen ---

class GameOverTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        WritePicture("\\w_gameover.bmp", 500, 71, [](int x, int y) {
            return x == 0 && y == 0 ? Key : CellColour(x / 5, y / 5);
        });
    }
    // Runs the effect with every block starting from the same place; Z goes down as the given
    // frame wait begins, so the last frame shown is frame `zAtWait - 1`.
    void Assemble(int32_t startX, int32_t startY, int zAtWait) {
        OnFrameWait([zAtWait](int wait) {
            if (wait == zAtWait) headless::SetKey(VkZ, true);
        });
        AssembleBlocksEffect(0, 121, 500, 71, 5, GameFile("\\w_gameover.bmp"), startX, startX,
                             startY, startY);
    }
    uint32_t Shown(int x, int y) { return headless::LastPresentedFrame()[size_t(y) * 500 + x]; }
};

// The picture at (0, 192) without its last row and column of 5 x 5 cells: their source cells
// reach past the picture's edge and are never drawn.
::testing::AssertionResult ShowsWholePicture(const std::vector<uint32_t>& frame) {
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 500; ++x) {
            uint32_t expected = 0;
            if (y >= 192 && y < 192 + 70 && !(x == 0 && y == 192))
                expected = CellColour(x / 5, (y - 192) / 5);
            if (frame[size_t(y) * 500 + x] != expected)
                return ::testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") is " << std::hex
                       << frame[size_t(y) * 500 + x] << ", expected " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(GameOverTest, ThePictureStandsCompleteAtFrame71) {
    Assemble(600, 0, 72);
    EXPECT_EQ(headless::PresentCount(), 72);
    EXPECT_TRUE(ShowsWholePicture(headless::LastPresentedFrame()));
}

TEST_F(GameOverTest, AtFrameZeroEveryBlockIsAtItsStartAndTheLastDrawnIsOnTop) {
    Assemble(600, 10, 1);
    EXPECT_EQ(headless::PresentCount(), 1);
    // All blocks start at (100, 131); columns are drawn in turn, rows within them, and the last
    // block with a whole source cell is column 99, row 13.
    EXPECT_EQ(Shown(100, 131), CellColour(99, 13));
    EXPECT_EQ(Shown(104, 135), CellColour(99, 13));
    EXPECT_EQ(Shown(99, 131), 0u);
    EXPECT_EQ(Shown(105, 131), 0u);
    EXPECT_EQ(Shown(100, 136), 0u);
}

TEST_F(GameOverTest, BlocksNotWhollyOnTheScreenAreNotDrawn) {
    // Frame 0 puts every block at (startX - 500, 121 + startY).
    Assemble(498, 10, 1);  // two columns left of the screen
    EXPECT_EQ(Shown(0, 131), 0u);
    EXPECT_EQ(Shown(2, 133), 0u);
    headless::Reset();
    headless::ResetAudio();
    headless::SetProgramDirectory(Dir);
    Waits = 0;
    Assemble(600, 475, 1);  // bottom edge one row below the screen
    EXPECT_EQ(Shown(100, 596), 0u);
    EXPECT_EQ(Shown(100, 599), 0u);
    headless::Reset();
    headless::ResetAudio();
    headless::SetProgramDirectory(Dir);
    Waits = 0;
    Assemble(600, 474, 1);  // touching the bottom edge from inside
    EXPECT_EQ(Shown(100, 595), CellColour(99, 13));
    EXPECT_EQ(Shown(104, 599), CellColour(99, 13));
}

TEST_F(GameOverTest, AfterFrame71ThePictureBreaksApartUntilZ) {
    // Other keys, and a Z tapped between frames, do not end it.
    headless::SetKey(VkReturn, true);
    headless::SetKey(VkEscape, true);
    OnFrameWait([](int wait) {
        if (wait == 10) headless::TapKey(VkZ);
        if (wait == 143) headless::SetKey(VkZ, true);
    });
    AssembleBlocksEffect(0, 121, 500, 71, 5, GameFile("\\w_gameover.bmp"), 600, 600, 0, 0);
    EXPECT_EQ(headless::PresentCount(), 143);
    // Frame 142: block (c, r) at (10c - 100, 263 + 10r).
    EXPECT_EQ(Shown(100, 293), CellColour(20, 3));
    EXPECT_EQ(Shown(104, 297), CellColour(20, 3));
    EXPECT_EQ(Shown(105, 293), 0u);
    EXPECT_FALSE(ShowsWholePicture(headless::LastPresentedFrame()));
}

TEST_F(GameOverTest, GameOverStopsTheMusicAssemblesThePictureAndAsksForNoName) {
    Score = 5000;  // would top the table
    headless::QueueInputAnswer("NOPE");
    OnFrameWait([](int wait) {
        if (wait == 72) headless::SetKey(VkZ, true);
    });
    GameOver();
    EXPECT_EQ(headless::TakeMusicCommands(false), std::vector<std::string>{"stop BGM"});
    EXPECT_TRUE(ShowsWholePicture(headless::LastPresentedFrame()));
    EXPECT_TRUE(headless::TakeBoxTexts().empty());
    EXPECT_EQ(HighScoreTable[0].Score, 0);
    EXPECT_EQ(Score, 5000);
}

// --- The zoom ---

TEST(ZoomRectangle, GrowsFromNothingToFullWidthStandingOnTheBaseLine) {
    const double ratio = 39.0 / 500.0;
    auto rect = [&](int i) {
        const ZoomRect r = ZoomRectangle(250, 100, ratio, 1.8, i);
        return std::vector<int>{r.Left, r.Top, r.Width, r.Height};
    };
    EXPECT_EQ(rect(0), (std::vector<int>{250, 100, 0, 0}));
    EXPECT_EQ(rect(1), (std::vector<int>{249, 100, 2, 0}));
    EXPECT_EQ(rect(139), (std::vector<int>{125, 80, 250, 20}));
    EXPECT_EQ(rect(277), (std::vector<int>{1, 61, 499, 39}));
    EXPECT_EQ(rect(278), (std::vector<int>{0, 61, 500, 39}));
}

TEST(ZoomRectangle, HalvesRoundToEven) {
    const ZoomRect r = ZoomRectangle(251, 100, 0.5, 1.0, 3);
    EXPECT_EQ(r.Left, 250);  // 249.5
    EXPECT_EQ(r.Top, 98);    // 98.5
    EXPECT_EQ(r.Width, 3);
    EXPECT_EQ(r.Height, 2);                                     // 1.5
    EXPECT_EQ(ZoomRectangle(251, 100, 1.0, 1.0, 1).Left, 250);  // 250.5
}

class ZoomTest : public ScreenTest {
protected:
    static constexpr uint32_t First = 0x00C000;
    static constexpr uint32_t Second = 0x0000C0;
    void SetUp() override {
        ScreenTest::SetUp();
        WritePicture("\\l_ending1.bmp", 500, 39, [](int x, int y) { return x || y ? First : Key; });
        WritePicture("\\l_ending2.bmp", 500, 57,
                     [](int x, int y) { return x || y ? Second : Key; });
        ClearSurface(BackBuffer, Backdrop);
    }
    void Zoom(int32_t w, int32_t h, double speed, int32_t pauseMs = 0) {
        ZoomInEffect(250, 100, w, h, speed, pauseMs, GameFile("\\l_ending1.bmp"));
    }
    uint32_t At(int x, int y) { return PixelAt(BackBuffer, x, y); }
    uint32_t Shown(int x, int y) { return headless::LastPresentedFrame()[size_t(y) * 500 + x]; }
};

TEST_F(ZoomTest, DrawsTwoHundredSeventyNineTimesOverTheOldFrameAndPresentsAllButTheLast) {
    int32_t lastWaitEnd = 0;
    headless::SetFrameHooks([&] { ++Waits; }, [&] { lastWaitEnd = TickCount(); });
    Zoom(500, 39, 1.8, 250);
    EXPECT_EQ(headless::PresentCount(), 278);
    EXPECT_EQ(Waits, 278);
    EXPECT_EQ(TickCount() - lastWaitEnd, 250);  // the pause after the last picture
    // Last shown: step 277, 499 wide from x = 1. Last drawn: step 278, the whole width.
    EXPECT_EQ(Shown(0, 80), Backdrop);
    EXPECT_EQ(Shown(1, 80), First);
    EXPECT_EQ(At(0, 80), First);
    EXPECT_EQ(At(499, 99), First);
    EXPECT_EQ(At(250, 61), First);
    // Never cleared: the backdrop stays around the picture, and under the last picture's
    // transparent top-left pixel, where no earlier, narrower picture reached.
    EXPECT_EQ(At(250, 60), Backdrop);
    EXPECT_EQ(At(250, 100), Backdrop);
    EXPECT_EQ(At(0, 61), Backdrop);
}

TEST_F(ZoomTest, HoldingZSpeedsTheGrowthUpFrameByFrame) {
    headless::SetKey(VkZ, true);
    Zoom(500, 39, 1.8);
    // Step i is drawn at 1.8 * 1.3^i: step 12 reaches 503 wide, which overhangs the screen and
    // is not drawn; step 11 (355 wide at x = 73, 28 high) stays.
    EXPECT_EQ(headless::PresentCount(), 12);
    EXPECT_EQ(At(74, 72), First);
    EXPECT_EQ(At(73, 73), First);
    EXPECT_EQ(At(72, 80), Backdrop);
    EXPECT_EQ(At(427, 99), First);
    EXPECT_EQ(At(428, 99), Backdrop);
}

TEST_F(ZoomTest, ZHeldForOneFrameRaisesTheSpeedFromThenOn) {
    OnFrameWait([](int wait) {
        if (wait == 10) headless::SetKey(VkZ, true);
        if (wait == 11) headless::SetKey(VkZ, false);
    });
    Zoom(500, 39, 1.8);
    // Steps from 11 on grow by 2.34: step 214 is the first at least 500 wide.
    EXPECT_EQ(headless::PresentCount(), 214);
}

TEST_F(ZoomTest, ReachingTheWidthExactlyLeavesBeforeDrawingIt) {
    WritePicture("\\l_ending1.bmp", 10, 5, [](int x, int y) { return x || y ? First : Key; });
    Zoom(10, 5, 2.0);
    // Steps 0..4 are drawn and shown; at step 5 the width is exactly 10 and the loop ends.
    EXPECT_EQ(headless::PresentCount(), 5);
    EXPECT_EQ(At(246, 99), First);  // step 4: 8 x 4 from (246, 96)
    EXPECT_EQ(At(245, 99), Backdrop);
    EXPECT_EQ(At(250, 95), Backdrop);
}

TEST_F(ZoomTest, APictureTallerThanWideIsNeverDrawn) {
    WritePicture("\\l_ending1.bmp", 3, 10, [](int, int) { return First; });
    Zoom(3, 10, 1.8);
    EXPECT_EQ(headless::PresentCount(), 3);
    EXPECT_EQ(std::ranges::count(SettledPixels(BackBuffer), Backdrop), 500 * 600);
}

TEST_F(ZoomTest, TheEndingStopsTheMusicAndZoomsBothPicturesOneAfterTheOther) {
    int32_t lastWaitEnd = 0;
    headless::SetFrameHooks(nullptr, [&] { lastWaitEnd = TickCount(); });
    Ending();
    EXPECT_EQ(TickCount() - lastWaitEnd, 100);
    EXPECT_EQ(headless::TakeMusicCommands(false), std::vector<std::string>{"stop BGM"});
    EXPECT_EQ(headless::PresentCount(), 2 * 278);
    EXPECT_EQ(At(0, 80), First);      // rows 61..99
    EXPECT_EQ(At(499, 343), Second);  // rows 343..399
    EXPECT_EQ(At(250, 399), Second);
    EXPECT_EQ(At(250, 342), Backdrop);
    EXPECT_EQ(At(250, 200), Backdrop);
}

// Needs the name entry.
TEST_F(ZoomTest, TheEndingAsksAGoodScoreForItsName) {
    Score = 1234;
    headless::QueueInputAnswer("ACE");
    Ending();
    EXPECT_EQ(headless::TakeBoxTexts().size(), 1u);
    EXPECT_EQ(HighScoreTable[0].Score, 1234);
    EXPECT_EQ(HighScoreTable[0].Name, "ACE");
}

}  // namespace
