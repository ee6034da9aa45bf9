#include "screens/options.h"

#include "game/difficulty.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/platform.h"
#include "screens/confirm_key.h"

OptionsScreenRecord OptionsScreen;

void ResetOptions() {
    OptionsScreen = {};
}

namespace {

constexpr uint8_t TextSize = 18;

enum OptionRow : uint8_t { RowDifficulty = 0, RowMidi = 1, RowWav = 2, RowExit = 3 };

struct Placed {
    const char* Text;
    int32_t X;
    int32_t Y;
};
// "Diffculty", so spelled on purpose, as the settings file's key is.
constexpr Placed Labels[] = {
    {"Diffculty", 30, 30}, {"Midi", 30, 80}, {"Wav", 30, 130}, {"Exit", 30, 180}};
constexpr Placed Difficulties[] = {{"Easy", 200, 30}, {"Normal", 300, 30}, {"Hard", 400, 30}};

// The first text of the screen sets the size; the rest keep it.
void Draw(const Placed& text, int32_t colour) {
    DrawText(text.Text, text.X, text.Y, colour, 0);
}

void DrawLabels() {
    DrawText(Labels[0].Text, Labels[0].X, Labels[0].Y, TextBlue, TextSize);
    for (int row = 1; row < 4; ++row) Draw(Labels[row], TextBlue);
    if (OptionsScreen.OptionCursor < 4) Draw(Labels[OptionsScreen.OptionCursor], TextGreen);
}

void DrawDifficulty() {
    for (const Placed& choice : Difficulties) Draw(choice, TextBlue);
    if (Difficulty >= DifficultyEasy && Difficulty <= DifficultyHard)
        Draw(Difficulties[Difficulty - DifficultyEasy], TextGreen);
}

void DrawSwitch(bool16 value, int32_t y) {
    const Placed on{"On", 100, y};
    const Placed off{"Off", 200, y};
    Draw(on, TextBlue);
    Draw(off, TextBlue);
    if (value == True16) Draw(on, TextGreen);
    if (value == False16) Draw(off, TextGreen);
}

bool Pressed(int key) {
    return GetAsyncKeyState(key) != 0;
}

// Left leans towards "On" and the easier end; neither direction wraps.
void StepLeft() {
    if (OptionsScreen.OptionCursor == RowDifficulty && Difficulty > DifficultyEasy) --Difficulty;
    if (OptionsScreen.OptionCursor == RowMidi && MidiOn == False16) MidiOn = True16;
    if (OptionsScreen.OptionCursor == RowWav && WavOn == False16) WavOn = True16;
}

void StepRight() {
    if (OptionsScreen.OptionCursor == RowDifficulty && Difficulty < DifficultyHard) ++Difficulty;
    if (OptionsScreen.OptionCursor == RowMidi && MidiOn == True16) MidiOn = False16;
    if (OptionsScreen.OptionCursor == RowWav && WavOn == True16) WavOn = False16;
}

// Acts on the first key found, in the order confirm, up, down, left, right; false if none.
bool ActOnKeys() {
    if (ConfirmPressed()) {
        if (OptionsScreen.OptionCursor == RowExit) OptionsScreen.OptionExitRequested = True16;
    } else if (Pressed(VkUp)) {
        if (OptionsScreen.OptionCursor >= 1) --OptionsScreen.OptionCursor;
    } else if (Pressed(VkDown)) {
        if (OptionsScreen.OptionCursor <= 2) ++OptionsScreen.OptionCursor;
    } else if (Pressed(VkLeft)) {
        StepLeft();
    } else if (Pressed(VkRight)) {
        StepRight();
    } else {
        return false;
    }
    return true;
}

}  // namespace

void RunOptionsScreen() {
    OptionsScreen.OptionCursor = RowDifficulty;
    // A moment for the key that opened the screen to be let go.
    SleepMs(1000);
    do {
        ClearSurface(BackBuffer, BlackColour);
        DrawOptions();
        HandleOptionKeys();
        ShowFrame();
    } while (GetAsyncKeyState(VkEscape) == 0 && OptionsScreen.OptionExitRequested == False16);
    OptionsScreen.OptionExitRequested = False16;
    SleepMs(500);
}

void DrawOptions() {
    DrawLabels();
    DrawDifficulty();
    DrawSwitch(MidiOn, 80);
    DrawSwitch(WavOn, 130);
}

void HandleOptionKeys() {
    ++OptionsScreen.OptionFrameCount;
    // Every fifth frame is skipped; with the pause after each action a held key repeats at a
    // pace the player can follow.
    if (OptionsScreen.OptionFrameCount % 5 == 0) return;
    if (ActOnKeys()) SleepMs(100);
}
