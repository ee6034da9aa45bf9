#include "data/init.h"

#include "audio/sound.h"
#include "data/settings.h"
#include "data/stage.h"
#include "game/boss.h"
#include "game/difficulty.h"
#include "game/motion.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/platform.h"

void InitGame() {
    CreateTextFont("ＭＳ Ｐゴシック");
    for (StreakRecord& streak : Streaks) {
        streak.X = RandomRange(500, 0);
        streak.Y = RandomRange(400, 0);
        streak.Life = RandomRange(500, 100);
    }
    ReadSettings();
    InitDisplay(FieldWidth, FieldHeight);
    DoEvents();
    if (InitSound()) {
        SoundExplosion = LoadSoundEffect(GameFile("\\wavbaku.wav"), 8);
    } else {
        MessageBox("DirectSoundは使えません。", "", BoxButtons::Ok);
    }
    BlackColour = SurfaceColour(0);
    FramePeriod = 50;
    SetFrameRate(FramePeriod);
}

void LoadSprites() {
    SurfBack = LoadBitmapSurface(GameFile("\\l_backs.bmp"));
    SurfExplosion = LoadBitmapSurface(GameFile("\\l_baku.bmp"));
    SurfBullets1234 = LoadBitmapSurface(GameFile("\\l_tama1234.bmp"));
    SurfBullets5 = LoadBitmapSurface(GameFile("\\l_tama5.bmp"));
    SurfBullets6 = LoadBitmapSurface(GameFile("\\l_tama6.bmp"));
    SurfShot = LoadBitmapSurface(GameFile("\\l_tamaMe.bmp"));
    SurfShip = LoadBitmapSurface(GameFile("\\l_jiki.bmp"));
    SurfBoss = LoadBitmapSurface(GameFile("\\l_boss1.bmp"));
    for (int n = 1; n <= 6; ++n)
        SurfEnemies[n - 1] = LoadBitmapSurface(GameFile("\\l_teki" + std::to_string(n) + ".bmp"));
}

bool NewGame() {
    Player.X = 452 / 2;  // 226, not the field's centre 250: the ship starts left of it on purpose
    Player.Y = FieldHeight;  // just below the field: it rises in
    // Any other difficulty keeps the hit points the ship had.
    if (const DifficultyValues* values = DifficultyValuesFor(Difficulty))
        Player.HP = values->ShipHP;
    Player.State = ShipEntering;
    ResetBoss();
    StageTimer = 0;
    Score = 0;
    GameMode = ModeStage;
    EnemyBullets.assign(InitialTableSlots, BulletRecord{});
    PlayerShots.assign(InitialTableSlots, BulletRecord{});
    return LoadStage();
}
