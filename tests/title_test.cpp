// The title screen: the menu cursor and its pacing, the menu items, the logo reveal.
#include "screens/title.h"

#include <algorithm>
#include <string>
#include <vector>

#include "gfx/display.h"
#include "screen_pictures.h"

namespace {

constexpr uint32_t Key = 0xFF00FF;  // top-left pixel of every item: transparent with key
constexpr uint32_t Backdrop = 0x000010;

uint32_t LogoRow(int y) {
    return 0x400000u | uint32_t(y) << 8 | uint32_t(255 - y);
}
uint32_t ItemColour(int item) {
    return 0x208000u + uint32_t(item) * 0x10;
}

class TitleTest : public ScreenTest {
protected:
    void WriteTitlePictures() {
        WritePicture("\\w_vexlan.bmp", 500, 130, [](int, int y) { return LogoRow(y); });
        const char* names[] = {"\\w_start.bmp", "\\w_score.bmp", "\\w_option.bmp", "\\w_end.bmp"};
        for (int item = 0; item < 4; ++item) {
            // A second transparent pixel inside the item, at (80, 30).
            WritePicture(names[item], 162, 66, [item](int x, int y) {
                return (x == 0 && y == 0) || (x == 80 && y == 30) ? Key : ItemColour(item);
            });
        }
    }
    // The cursor after each of `calls` input passes.
    std::vector<int> CursorTrail(int calls) {
        std::vector<int> trail;
        for (int i = 0; i < calls; ++i) {
            HandleTitleKeys();
            trail.push_back(TitleScreen.TitleCursor);
        }
        return trail;
    }
};

// --- The menu cursor ---

TEST_F(TitleTest, HeldDownStepsOnEveryOtherFrameAndStopsAtTheEnd) {
    headless::SetKey(VkDown, true);
    EXPECT_EQ(CursorTrail(8), (std::vector<int>{1, 1, 2, 2, 3, 3, 3, 3}));
}

TEST_F(TitleTest, HeldUpStepsOnEveryOtherFrameAndStopsAtTheTop) {
    TitleScreen.TitleCursor = 3;
    headless::SetKey(VkUp, true);
    EXPECT_EQ(CursorTrail(8), (std::vector<int>{2, 2, 1, 1, 0, 0, 0, 0}));
}

TEST_F(TitleTest, UpWinsWhenBothArrowsAreHeld) {
    TitleScreen.TitleCursor = 2;
    headless::SetKey(VkUp, true);
    headless::SetKey(VkDown, true);
    HandleTitleKeys();
    EXPECT_EQ(TitleScreen.TitleCursor, 1);
}

TEST_F(TitleTest, AnArrowTappedBetweenInputFramesIsLost) {
    headless::TapKey(VkDown);
    CursorTrail(2);
    EXPECT_EQ(TitleScreen.TitleCursor, 0);
}

TEST_F(TitleTest, TheFrameCounterWrapsToTheLowestValueAndKeepsThePace) {
    TitleScreen.TitleFrameCount = 2147483646;
    headless::SetKey(VkDown, true);
    HandleTitleKeys();  // reaches the highest value, wraps to an even count: no input
    EXPECT_EQ(TitleScreen.TitleFrameCount, -2147483647 - 1);
    EXPECT_EQ(TitleScreen.TitleCursor, 0);
    HandleTitleKeys();
    EXPECT_EQ(TitleScreen.TitleCursor, 1);
}

// --- Choosing an item ---

TEST_F(TitleTest, AZTapWaitsThroughASkippedFrameAndStartsTheGame) {
    TitleScreen.TitleFrameCount = 1;  // the next pass reads no keys
    headless::TapKey(VkZ);
    HandleTitleKeys();
    EXPECT_EQ(TitleScreen.TitleStartRequested, False16);
    HandleTitleKeys();
    EXPECT_EQ(TitleScreen.TitleStartRequested, True16);
}

TEST_F(TitleTest, ReturnChoosesTheItemTheArrowJustMovedTo) {
    TitleScreen.TitleCursor = 1;
    headless::SetKey(VkUp, true);
    headless::TapKey(VkReturn);
    HandleTitleKeys();
    EXPECT_EQ(TitleScreen.TitleCursor, 0);
    EXPECT_EQ(TitleScreen.TitleStartRequested, True16);
}

TEST_F(TitleTest, TheOptionsItemRunsTheOptionsScreenAndComesBack) {
    TitleScreen.TitleCursor = 2;
    headless::TapKey(VkReturn);
    OnFrameWait([](int) { headless::TapKey(VkEscape); });
    const int32_t before = TickCount();
    HandleTitleKeys();
    EXPECT_EQ(headless::PresentCount(), 1);
    EXPECT_GE(TickCount() - before, 1500);  // the screen's pauses on the way in and out
    EXPECT_EQ(TitleScreen.TitleCursor, 2);
    EXPECT_EQ(TitleScreen.TitleStartRequested, False16);
}

// Needs the high-score screen.
TEST_F(TitleTest, TheHighScoreItemShowsTheTableUntilZ) {
    TitleScreen.TitleCursor = 1;
    headless::SetKey(VkZ, true);  // still held when the table reads it: it closes at once
    const int32_t before = TickCount();
    HandleTitleKeys();
    EXPECT_EQ(headless::PresentCount(), 1);
    EXPECT_GE(TickCount() - before, 1000);
    EXPECT_EQ(TitleScreen.TitleStartRequested, False16);
}

TEST_F(TitleTest, TheEndItemReleasesThePicturesAndEndsTheProgram) {
    WriteTitlePictures();
    LoadTitlePictures();
    TitleScreen.TitleCursor = 3;
    headless::TapKey(VkZ);
    EXPECT_THROW(HandleTitleKeys(), headless::ProgramExit);
    for (const Surface* picture :
         {&TitlePictures.TitleLogo, &TitlePictures.TitleStartItem, &TitlePictures.TitleScoreItem,
          &TitlePictures.TitleOptionItem, &TitlePictures.TitleEndItem})
        EXPECT_EQ(*picture, nullptr);
}

TEST_F(TitleTest, PicturesLoadLogoStartEndScoreOption) {
    WriteTitlePictures();
    std::filesystem::remove(GameFile("\\w_end.bmp"));
    std::filesystem::remove(GameFile("\\w_score.bmp"));
    EXPECT_THROW(LoadTitlePictures(), headless::ProgramExit);
    const std::vector<std::string> boxes = headless::TakeBoxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("w_end.bmp"), std::string::npos) << boxes[0];
}

// --- Drawing the menu ---

class TitleMenuTest : public TitleTest {
protected:
    void SetUp() override {
        TitleTest::SetUp();
        WriteTitlePictures();
        LoadTitlePictures();
        ClearSurface(BackBuffer, Backdrop);
    }
    uint32_t At(int x, int y) { return PixelAt(BackBuffer, x, y); }
};

TEST_F(TitleMenuTest, ItemsAreDrawnWithTheirKeyAndTheCurrentOneTwiceAsLargeWithout) {
    TitleScreen.TitleCursor = 1;
    DrawTitleMenu();
    for (int item : {0, 2, 3}) {
        const int y = 200 + 100 * item;
        SCOPED_TRACE(item);
        EXPECT_EQ(At(169, y), Backdrop);
        EXPECT_EQ(At(169 + 80, y + 30), Backdrop);
        EXPECT_EQ(At(170, y), ItemColour(item));
        EXPECT_EQ(At(169 + 161, y + 65), ItemColour(item));
        EXPECT_EQ(At(169 + 162, y + 65), Backdrop);
    }
    // The enlarged item covers 88..411 x 267..398, its transparent pixels drawn as they are.
    EXPECT_EQ(At(88, 267), Key);
    EXPECT_EQ(At(89, 268), Key);
    EXPECT_EQ(At(88 + 160, 267 + 60), Key);
    EXPECT_EQ(At(411, 398), ItemColour(1));
    EXPECT_EQ(At(87, 300), Backdrop);
    EXPECT_EQ(At(412, 300), Backdrop);
    EXPECT_EQ(At(300, 266), Backdrop);
    EXPECT_EQ(At(300, 399), Backdrop);
    EXPECT_EQ(At(300, 400), ItemColour(2));  // the options item below
}

TEST_F(TitleMenuTest, EachItemEnlargesAroundItsOwnCentre) {
    for (int item = 0; item < 4; ++item) {
        SCOPED_TRACE(item);
        ClearSurface(BackBuffer, Backdrop);
        TitleScreen.TitleCursor = uint8_t(item);
        DrawTitleMenu();
        const int top = 167 + 100 * item;
        EXPECT_EQ(At(88, top), Key);
        EXPECT_EQ(At(90, top), ItemColour(item));
        EXPECT_EQ(At(411, top + 131), ItemColour(item));
    }
}

TEST_F(TitleMenuTest, ACursorOutsideTheMenuEnlargesNothing) {
    TitleScreen.TitleCursor = 4;
    DrawTitleMenu();
    EXPECT_EQ(At(88, 167), Backdrop);
    EXPECT_EQ(At(100, 220), Backdrop);
    EXPECT_EQ(At(170, 200), ItemColour(0));
}

// --- The logo ---

// With R rows revealed, screen rows 126-R..125 show the logo as it is and every row above shows
// logo row 126-R; nothing below row 125 is touched.
uint32_t ExpectedLogoPixel(int revealed, int y) {
    if (y > 125) return 0;
    return y <= 125 - revealed ? LogoRow(126 - revealed) : LogoRow(y);
}

::testing::AssertionResult LogoShows(int revealed) {
    for (int y = 0; y < 140; ++y) {
        for (int x : {0, 250, 499}) {
            const uint32_t expected = ExpectedLogoPixel(revealed, y);
            if (PixelAt(BackBuffer, x, y) != expected)
                return ::testing::AssertionFailure()
                       << "revealed " << revealed << ": pixel (" << x << ", " << y << ") is "
                       << std::hex << PixelAt(BackBuffer, x, y) << ", expected " << expected;
        }
    }
    return ::testing::AssertionSuccess();
}

TEST_F(TitleMenuTest, TheLogoIsRevealedOneRowPerFrameOnTheFirstVisit) {
    for (int frame = 0; frame <= 130; ++frame) {
        ClearSurface(BackBuffer, 0);
        DrawTitleLogo();
        ASSERT_TRUE(LogoShows(std::min(frame, 125)));
        ASSERT_EQ(TitleScreen.LogoRevealRows, std::min(frame + 1, 125));
    }
}

TEST_F(TitleMenuTest, LaterVisitsShowTheWholeLogoAndTheLastChosenItem) {
    for (int frame = 0; frame < 125; ++frame) DrawTitleLogo();
    TitleScreen.TitleCursor = 2;
    ReleaseTitlePictures();
    EXPECT_EQ(TitlePictures.TitleLogo, nullptr);

    LoadTitlePictures();
    ClearSurface(BackBuffer, 0);
    DrawTitleLogo();
    EXPECT_TRUE(LogoShows(125));
    EXPECT_EQ(TitleScreen.TitleCursor, 2);
}

}  // namespace
