// The options screen: which key acts, the limits of each setting, the pacing and pauses, the
// screen's own loop, and what it draws.
#include "screens/options.h"

#include <string>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "screen_pictures.h"

namespace {

class OptionsTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Difficulty = 2;
        MidiOn = True16;
        WavOn = True16;
    }
    void Hold(const std::vector<int>& keys) {
        for (int key : keys) headless::SetKey(key, true);
    }
    // Milliseconds each of `calls` input passes paused for.
    std::vector<int32_t> PausesOver(int calls) {
        std::vector<int32_t> pauses;
        for (int i = 0; i < calls; ++i) {
            const int32_t before = TickCount();
            HandleOptionKeys();
            pauses.push_back(TickCount() - before);
        }
        return pauses;
    }
};

// --- Which key acts, and the limits of each setting ---

struct KeyCase {
    const char* What;
    uint8_t Cursor;
    uint8_t Difficulty;
    bool16 Midi, Wav;
    std::vector<int> Held;
    uint8_t WantCursor;
    uint8_t WantDifficulty;
    bool16 WantMidi, WantWav, WantExit;
};

constexpr bool16 T = True16, F = False16;
const KeyCase KeyCases[] = {
    {"confirm before the arrows", 1, 2, T, T, {VkZ, VkUp}, 1, 2, T, T, F},
    {"up before down", 1, 2, T, T, {VkDown, VkUp}, 0, 2, T, T, F},
    {"down before left", 0, 2, T, T, {VkLeft, VkDown}, 1, 2, T, T, F},
    {"left before right", 0, 2, T, T, {VkRight, VkLeft}, 0, 1, T, T, F},
    {"return on exit", 3, 2, T, T, {VkReturn, VkDown}, 3, 2, T, T, T},
    {"up at the top", 0, 2, T, T, {VkUp}, 0, 2, T, T, F},
    {"down at the bottom", 3, 2, T, T, {VkDown}, 3, 2, T, T, F},
    {"left at easy", 0, 1, T, T, {VkLeft}, 0, 1, T, T, F},
    {"right at hard", 0, 3, T, T, {VkRight}, 0, 3, T, T, F},
    {"right from easy", 0, 1, T, T, {VkRight}, 0, 2, T, T, F},
    {"left with music on", 1, 2, T, T, {VkLeft}, 1, 2, T, T, F},
    {"right turns music off", 1, 2, T, T, {VkRight}, 1, 2, F, T, F},
    {"right with music off", 1, 2, F, T, {VkRight}, 1, 2, F, T, F},
    {"left turns music on", 1, 2, F, F, {VkLeft}, 1, 2, T, F, F},
    {"right turns sound off", 2, 2, T, T, {VkRight}, 2, 2, T, F, F},
    {"left turns sound on", 2, 2, F, F, {VkLeft}, 2, 2, F, T, F},
    {"arrows on the exit row", 3, 2, F, T, {VkLeft}, 3, 2, F, T, F},
};

TEST_F(OptionsTest, TheFirstKeyFoundActsAndNoSettingPassesItsEnd) {
    for (const KeyCase& c : KeyCases) {
        SCOPED_TRACE(c.What);
        headless::Reset();
        headless::ResetAudio();
        OptionsScreen.OptionCursor = c.Cursor;
        Difficulty = c.Difficulty;
        MidiOn = c.Midi;
        WavOn = c.Wav;
        OptionsScreen.OptionExitRequested = False16;
        OptionsScreen.OptionFrameCount = 0;
        Hold(c.Held);
        HandleOptionKeys();
        EXPECT_EQ(OptionsScreen.OptionCursor, c.WantCursor);
        EXPECT_EQ(Difficulty, c.WantDifficulty);
        EXPECT_EQ(MidiOn, c.WantMidi);
        EXPECT_EQ(WavOn, c.WantWav);
        EXPECT_EQ(OptionsScreen.OptionExitRequested, c.WantExit);
    }
}

TEST_F(OptionsTest, ATappedKeyCountsAsWellAsAHeldOne) {
    headless::TapKey(VkDown);
    HandleOptionKeys();
    EXPECT_EQ(OptionsScreen.OptionCursor, 1);
}

// --- Pacing and pauses ---

TEST_F(OptionsTest, AHeldKeyActsFourFramesOutOfFiveEachFollowedBy100Ms) {
    Hold({VkZ});  // Z on the difficulty row changes nothing but still pauses
    EXPECT_EQ(PausesOver(10), (std::vector<int32_t>{100, 100, 100, 100, 0, 100, 100, 100, 100, 0}));
    EXPECT_EQ(Difficulty, 2);
}

TEST_F(OptionsTest, NoKeyNoPause) {
    EXPECT_EQ(PausesOver(4), (std::vector<int32_t>{0, 0, 0, 0}));
}

TEST_F(OptionsTest, TheSkippedFrameFollowsTheCountKeptFromTheLastVisit) {
    OptionsScreen.OptionFrameCount = 3;
    Hold({VkUp});
    EXPECT_EQ(PausesOver(3), (std::vector<int32_t>{100, 0, 100}));
}

// --- The screen's loop ---

TEST_F(OptionsTest, TheScreenWalksToExitAndLeavesOnConfirmation) {
    OptionsScreen.OptionCursor = 2;  // every visit starts on the difficulty row
    int32_t firstWaitTick = 0;
    int32_t lastWaitEnd = 0;
    headless::SetFrameHooks(
        [&] {
            ++Waits;
            if (Waits == 1) firstWaitTick = TickCount();
            if (Waits <= 3) headless::TapKey(VkDown);
            if (Waits == 4) headless::TapKey(VkZ);
        },
        [&] { lastWaitEnd = TickCount(); });
    const int32_t start = TickCount();
    RunOptionsScreen();
    // Passes 2..4 step down to Exit, pass 5 reads no keys, pass 6 confirms.
    EXPECT_EQ(headless::PresentCount(), 6);
    EXPECT_EQ(OptionsScreen.OptionCursor, 3);
    EXPECT_EQ(OptionsScreen.OptionExitRequested, False16);
    EXPECT_EQ(firstWaitTick - start, 1000);
    EXPECT_EQ(TickCount() - lastWaitEnd, 500);
}

TEST_F(OptionsTest, EscapeLeavesAndTheScreenOpensAgainTheSameWay) {
    Difficulty = 1;
    for (int visit = 0; visit < 2; ++visit) {
        SCOPED_TRACE(visit);
        Waits = 0;
        OptionsScreen.OptionCursor = 3;
        const int presentsBefore = headless::PresentCount();
        OnFrameWait([](int wait) {
            if (wait == 1) headless::TapKey(VkRight);
            if (wait == 2) headless::TapKey(VkEscape);
        });
        RunOptionsScreen();
        EXPECT_EQ(headless::PresentCount() - presentsBefore, 2);
    }
    // The right arrow acted once per visit, on the difficulty row each time.
    EXPECT_EQ(Difficulty, 3);
    EXPECT_EQ(OptionsScreen.OptionExitRequested, False16);
}

TEST_F(OptionsTest, TheScreenIsClearedWithTheBlackColourEveryFrame) {
    BlackColour = 0x010203;
    OnFrameWait([](int) { headless::TapKey(VkEscape); });
    RunOptionsScreen();
    const std::vector<uint32_t>& frame = headless::LastPresentedFrame();
    ASSERT_EQ(frame.size(), 500u * 600u);
    EXPECT_EQ(frame[0], 0x010203u);
    EXPECT_EQ(frame[599 * 500 + 499], 0x010203u);
}

// --- What it draws ---

// Colours of the text as drawn over black: glyph pixels carry only a blue or a green channel.
struct TextColours {
    bool FullBlue = false;
    bool FullGreen = false;
    bool AnyGreen = false;
};

TextColours ColoursAround(int x, int y) {
    TextColours found;
    for (int row = y; row < y + 24; ++row) {
        for (int col = x; col < x + 60; ++col) {
            const uint32_t pixel = PixelAt(BackBuffer, col, row);
            found.FullBlue |= pixel == 0x0000FF;
            found.FullGreen |= pixel == 0x00FF00;
            found.AnyGreen |= (pixel & 0x00FF00) != 0;
        }
    }
    return found;
}

void ExpectMarked(int x, int y) {
    SCOPED_TRACE(testing::Message() << "text at (" << x << ", " << y << ")");
    EXPECT_TRUE(ColoursAround(x, y).FullGreen);
}

void ExpectPlain(int x, int y) {
    SCOPED_TRACE(testing::Message() << "text at (" << x << ", " << y << ")");
    const TextColours colours = ColoursAround(x, y);
    EXPECT_TRUE(colours.FullBlue);
    EXPECT_FALSE(colours.AnyGreen);
}

TEST_F(OptionsTest, TheCurrentRowAndTheChosenValuesAreGreenTheRestBlue) {
    OptionsScreen.OptionCursor = 2;
    Difficulty = 3;
    MidiOn = True16;
    WavOn = False16;
    DrawText("FPS", 0, 0, 0, 12);  // whatever size the text before left
    ClearSurface(BackBuffer, 0);
    DrawOptions();
    EXPECT_EQ(TextFontSize(), 18);
    ExpectMarked(30, 130);   // "Wav"
    ExpectMarked(400, 30);   // "Hard"
    ExpectMarked(100, 80);   // music "On"
    ExpectMarked(200, 130);  // sound "Off"
    for (auto [x, y] :
         {std::pair{30, 30}, {30, 80}, {30, 180}, {200, 30}, {300, 30}, {200, 80}, {100, 130}})
        ExpectPlain(x, y);
    for (auto [x, y] : {std::pair{30, 230}, {200, 180}, {300, 80}})
        EXPECT_FALSE(ColoursAround(x, y).FullBlue) << "nothing is drawn at " << x << ", " << y;
}

TEST_F(OptionsTest, ValuesOutsideTheirRangeMarkNothing) {
    OptionsScreen.OptionCursor = 5;
    Difficulty = 0;
    MidiOn = 1;
    WavOn = 1;
    ClearSurface(BackBuffer, 0);
    DrawOptions();
    for (auto [x, y] : {std::pair{30, 30},
                        {30, 80},
                        {30, 130},
                        {30, 180},
                        {200, 30},
                        {300, 30},
                        {400, 30},
                        {100, 80},
                        {200, 80},
                        {100, 130},
                        {200, 130}})
        ExpectPlain(x, y);
}

}  // namespace
