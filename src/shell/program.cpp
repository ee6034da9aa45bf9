#include "shell/program.h"

#include "data/init.h"
#include "data/settings.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/surface.h"
#include "gfx/text.h"
#include "platform/platform.h"
#include "screens/title.h"
#include "shell/main_loop.h"
#include "shell/main_window.h"
#include "shell/replay_list_window.h"
#include "shell/replays.h"

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
                       SaveBeforeFatalExit, OpenReplayList});
    Form_Load();
    // From the player's own data.ini, where the settings are saved (the shipped one has none).
    KeepWindowSettings();
    OpenMainWindow(AppTitle, FieldWidth, FieldHeight);
    MainLoop();
}
