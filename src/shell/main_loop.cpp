#include "shell/main_loop.h"

#include <iterator>
#include <vector>

#include "audio/music.h"
#include "common/number_text.h"
#include "data/init.h"
#include "data/settings.h"
#include "game/boss.h"
#include "game/bullets.h"
#include "game/enemies.h"
#include "game/player.h"
#include "game/shots.h"
#include "game/state.h"
#include "game/streaks.h"
#include "gfx/display.h"
#include "gfx/surface.h"
#include "gfx/text.h"
#include "platform/platform.h"
#include "screens/events.h"
#include "screens/title.h"
#include "shell/main_window.h"
#include "shell/replays.h"

namespace {

void DrawHpText() {
    DrawText("HP :" + NumberText(Player.HP), 400, 10, TextWhite, 18);
}
// Size 0: the score keeps whatever size the text before it left (18 after the HP text in the
// stage, 12 after the frame rate in the boss fight).
void DrawScoreText() {
    DrawText("SCORE:" + NumberText(Score), 250, 10, TextWhite, 0);
}

void StageFrame() {
    UpdateStreaks();
    UpdateEnemies();
    UpdatePlayer();
    UpdateEnemyBullets();
    UpdatePlayerShots();
    DrawFps();
    DrawHpText();
    DrawScoreText();
    // Runs whatever the steps above did to GameMode: the boss arrives on the 2050th frame even
    // if the ship's explosion asked for game over in that very frame.
    ++StageTimer;
    if (StageTimer == StageLength) {
        GameMode = ModeBoss;
        ResetBoss();
        StageTimer = 0;
    }
}

// No enemy update: explosions still running stop here, neither drawn nor scored, on purpose.
void BossFrame() {
    UpdateStreaks();
    UpdatePlayerShots();
    UpdateBoss();
    UpdatePlayer();
    UpdateEnemyBullets();
    DrawFps();
    DrawScoreText();
    DrawHpText();
}

void AskToQuit() {
    WaitNextFrame();  // the question comes one frame slot after Escape, on purpose
    if (MessageBox("終了しますか", "確認", BoxButtons::OkCancel) == BoxAnswer::Ok) {
        RestoreWindow();
        Form_Unload();
    }
}

// The screens load their pictures only when they open: each is read once here, so that a missing
// or broken one refuses the start rather than ending a won game before its name entry.
void CheckScreenPictures() {
    std::vector<const char*> names(std::begin(TitlePictureFiles), std::end(TitlePictureFiles));
    names.push_back(GameOverPictureFile);
    names.insert(names.end(), std::begin(EndingPictureFiles), std::end(EndingPictureFiles));
    for (const char* name : names) LoadBitmapSurface(GameFile(name));
}

}  // namespace

bool RunFramePass(int32_t clearColour) {
    ClearSurface(BackBuffer, clearColour);
    switch (GameMode) {
        case ModeStage:
            StageFrame();
            break;
        case ModeBoss:
            BossFrame();
            break;
        case ModeGameOver:
            GameOver();
            return false;
        case ModeEnding:
            Ending();
            return false;
        default:
            break;
    }
    PresentFrame(BackBuffer);
    if (GetAsyncKeyState(VkEscape) & KeyDownNow) AskToQuit();
    KeepBgmPlaying(MidiOn != False16);
    DoEvents();
    WaitNextFrame();
    return true;
}

int32_t PlayGame(int32_t clearColour) {
    GameMode = ModeStage;
    AllowPauseKeys(true);
    int32_t score = Score;
    while (RunFramePass(clearColour)) score = Score;
    AllowPauseKeys(false);
    return score;
}

namespace {

// Esc ends the title as the start item does, on purpose: it starts a game.
void TitleLoop() {
    LoadTitlePictures();
    for (;;) {
        ClearSurface(BackBuffer, BlackColour);
        HandleTitleKeys();
        DrawTitleLogo();
        DrawTitleMenu();
        DrawText("please push arrow or enter key", 15, 580, TextWhite, 16);
        ShowFrame();
        if (GetAsyncKeyState(VkEscape) != 0 || TitleScreen.TitleStartRequested != False16) break;
    }
    ReleaseTitlePictures();
    TitleScreen.TitleStartRequested = False16;
}

}  // namespace

// The frame rate is set once, by the initialisation.
int32_t InitialiseOnce() {
    InitGame();
    const int32_t clearColour = SurfaceColour(0);
    LoadSprites();
    CheckScreenPictures();
    return clearColour;
}

void MainLoop() {
    const int32_t clearColour = InitialiseOnce();
    ArrangeTableReplaysAtStart();
    for (;;) {
        SleepMs(300);
        TitleLoop();
        BeginGameRecording();
        // A broken stage script has been reported: no game, back to the title.
        if (!NewGame()) {
            AbandonGameRecording();
            GameMode = 0;
            continue;
        }
        EndGameRecording(PlayGame(clearColour));
        // The window closed during the name entry ends the program here, with the name and the
        // game's replays kept.
        DoEvents();
    }
}

void Main() {
    ProgramDir = ProgramDirectory();
    // The tune is opened by a relative name.
    ChangeDirectory(ProgramDir);
    SetWindowHandlers({[] { Form_Unload(); }, mnuReadMe_Click, mnuAbout_Click, WatchTableReplay,
                       SaveBeforeFatalExit});
    Form_Load();
    // From the player's own data.ini, where the settings are saved (the shipped one has none).
    KeepWindowSettings();
    OpenMainWindow(AppTitle, FieldWidth, FieldHeight);
    MainLoop();
}
