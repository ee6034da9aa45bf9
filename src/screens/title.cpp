#include "screens/title.h"

#include <iterator>
#include <limits>

#include "gfx/display.h"
#include "platform/platform.h"
#include "screens/confirm_key.h"
#include "screens/highscores.h"
#include "screens/options.h"

TitlePicturesRecord TitlePictures;
TitleScreenRecord TitleScreen;

void ResetTitle() {
    TitlePictures = {};
    TitleScreen = {};
}

namespace {

constexpr int LogoWidth = 500;
constexpr int LogoLastRow = 125;  // the reveal covers screen rows 0..125
constexpr int ItemWidth = 162;
constexpr int ItemHeight = 66;
constexpr int ItemX = 169;
constexpr int EnlargedX = 88;
constexpr int MenuItems = 4;

enum MenuItem : uint8_t { ItemStart = 0, ItemScores = 1, ItemOptions = 2, ItemEnd = 3 };

const Surface& ItemPicture(int item) {
    static const Surface* const pictures[MenuItems] = {
        &TitlePictures.TitleStartItem, &TitlePictures.TitleScoreItem,
        &TitlePictures.TitleOptionItem, &TitlePictures.TitleEndItem};
    return *pictures[item];
}

int ItemY(int item) {
    return 200 + 100 * item;
}
// The enlarged copy is twice the cell, centred on the same point.
int EnlargedY(int item) {
    return ItemY(item) - ItemHeight / 2;
}

void MoveCursor() {
    // Up wins when both are held; the cursor stops at either end.
    if (GetAsyncKeyState(VkUp) & KeyDownNow) {
        if (TitleScreen.TitleCursor >= 1) --TitleScreen.TitleCursor;
    } else if (GetAsyncKeyState(VkDown) & KeyDownNow) {
        if (TitleScreen.TitleCursor <= 2) ++TitleScreen.TitleCursor;
    }
}

void ChooseItem() {
    switch (TitleScreen.TitleCursor) {
        case ItemStart:
            TitleScreen.TitleStartRequested = True16;
            break;
        case ItemScores:
            RunHighScoreScreen();
            break;
        case ItemOptions:
            RunOptionsScreen();
            break;
        case ItemEnd:
            ReleaseTitlePictures();
            UnloadMainWindow();  // the window's unload saves the settings and ends the program
    }
}

}  // namespace

void LoadTitlePictures() {
    Surface* const pictures[] = {&TitlePictures.TitleLogo, &TitlePictures.TitleStartItem,
                                 &TitlePictures.TitleEndItem, &TitlePictures.TitleScoreItem,
                                 &TitlePictures.TitleOptionItem};
    for (size_t i = 0; i < std::size(pictures); ++i)
        *pictures[i] = LoadBitmapSurface(GameFile(TitlePictureFiles[i]));
}

void ReleaseTitlePictures() {
    ReleaseSurface(TitlePictures.TitleLogo);
    ReleaseSurface(TitlePictures.TitleStartItem);
    ReleaseSurface(TitlePictures.TitleEndItem);
    ReleaseSurface(TitlePictures.TitleScoreItem);
    ReleaseSurface(TitlePictures.TitleOptionItem);
}

void HandleTitleKeys() {
    ++TitleScreen.TitleFrameCount;
    if (TitleScreen.TitleFrameCount == std::numeric_limits<int32_t>::max())
        TitleScreen.TitleFrameCount = std::numeric_limits<int32_t>::min();
    // The menu answers on every other frame only, so a held arrow steps at a readable pace.
    if (TitleScreen.TitleFrameCount % 2 == 0) return;
    MoveCursor();
    if (ConfirmPressed()) ChooseItem();
}

void DrawTitleLogo() {
    const int r = TitleScreen.LogoRevealRows;
    // The revealed strip, then the row just below it smeared up over the rest of the logo area.
    DrawSprite(BackBuffer, 0, LogoLastRow - r, LogoWidth, r + 1, TitlePictures.TitleLogo, 0,
               LogoLastRow - r, false);
    DrawStretched(BackBuffer, 0, 0, LogoWidth, LogoLastRow + 1 - r, TitlePictures.TitleLogo, 0,
                  LogoLastRow + 1 - r, LogoWidth, 1, false);
    if (r < LogoLastRow) ++TitleScreen.LogoRevealRows;
}

void DrawTitleMenu() {
    for (int item = 0; item < MenuItems; ++item)
        DrawSprite(BackBuffer, ItemX, ItemY(item), ItemWidth, ItemHeight, ItemPicture(item), 0, 0,
                   true);
    if (TitleScreen.TitleCursor >= MenuItems) return;
    DrawStretched(BackBuffer, EnlargedX, EnlargedY(TitleScreen.TitleCursor), ItemWidth * 2,
                  ItemHeight * 2, ItemPicture(TitleScreen.TitleCursor), 0, 0, ItemWidth, ItemHeight,
                  false);
}
