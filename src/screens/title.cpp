#include "screens/title.h"

#include <iterator>
#include <limits>

#include "gfx/display.h"
#include "platform/platform.h"
#include "screens/confirm_key.h"
#include "screens/highscores.h"
#include "screens/options.h"

// All of this lives for the whole run: the menu reopens on the item last chosen and the logo,
// once revealed, is shown whole on every later visit. The pictures exist only while the title runs.
Surface TitleLogo, TitleStartItem, TitleScoreItem, TitleOptionItem, TitleEndItem;
uint8_t TitleCursor = 0;
bool16 TitleStartRequested = False16;
uint8_t LogoRevealRows = 0;
int32_t TitleFrameCount = 0;

void ResetTitle() {
    for (Surface* picture :
         {&TitleLogo, &TitleStartItem, &TitleScoreItem, &TitleOptionItem, &TitleEndItem})
        picture->reset();
    TitleCursor = 0;
    TitleStartRequested = False16;
    LogoRevealRows = 0;
    TitleFrameCount = 0;
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
    static const Surface* const pictures[MenuItems] = {&TitleStartItem, &TitleScoreItem,
                                                       &TitleOptionItem, &TitleEndItem};
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
        if (TitleCursor >= 1) --TitleCursor;
    } else if (GetAsyncKeyState(VkDown) & KeyDownNow) {
        if (TitleCursor <= 2) ++TitleCursor;
    }
}

void ChooseItem() {
    switch (TitleCursor) {
        case ItemStart:
            TitleStartRequested = True16;
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
    Surface* const pictures[] = {&TitleLogo, &TitleStartItem, &TitleEndItem, &TitleScoreItem,
                                 &TitleOptionItem};
    for (size_t i = 0; i < std::size(pictures); ++i)
        *pictures[i] = LoadBitmapSurface(GameFile(TitlePictureFiles[i]));
}

void ReleaseTitlePictures() {
    ReleaseSurface(TitleLogo);
    ReleaseSurface(TitleStartItem);
    ReleaseSurface(TitleEndItem);
    ReleaseSurface(TitleScoreItem);
    ReleaseSurface(TitleOptionItem);
}

void HandleTitleKeys() {
    ++TitleFrameCount;
    if (TitleFrameCount == std::numeric_limits<int32_t>::max())
        TitleFrameCount = std::numeric_limits<int32_t>::min();
    // The menu answers on every other frame only, so a held arrow steps at a readable pace.
    if (TitleFrameCount % 2 == 0) return;
    MoveCursor();
    if (ConfirmPressed()) ChooseItem();
}

void DrawTitleLogo() {
    const int r = LogoRevealRows;
    // The revealed strip, then the row just below it smeared up over the rest of the logo area.
    DrawSprite(BackBuffer, 0, LogoLastRow - r, LogoWidth, r + 1, TitleLogo, 0, LogoLastRow - r,
               false);
    DrawStretched(BackBuffer, 0, 0, LogoWidth, LogoLastRow + 1 - r, TitleLogo, 0,
                  LogoLastRow + 1 - r, LogoWidth, 1, false);
    if (r < LogoLastRow) ++LogoRevealRows;
}

void DrawTitleMenu() {
    for (int item = 0; item < MenuItems; ++item)
        DrawSprite(BackBuffer, ItemX, ItemY(item), ItemWidth, ItemHeight, ItemPicture(item), 0, 0,
                   true);
    if (TitleCursor >= MenuItems) return;
    DrawStretched(BackBuffer, EnlargedX, EnlargedY(TitleCursor), ItemWidth * 2, ItemHeight * 2,
                  ItemPicture(TitleCursor), 0, 0, ItemWidth, ItemHeight, false);
}
