// The frame pass: what each game mode runs, the stage timer and the switch to the boss, the
// status line, and the quit question.
#include "shell/main_loop.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "game/boss.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/text.h"
#include "platform/headless/headless.h"
#include "platform/profile.h"
#include "shell/program.h"
#include "support/test_support.h"

namespace {

// Keeps the streaks out of the status line's way.
void ParkStreaks() {
    for (StreakRecord& streak : Streaks) streak = {0, 500, 1000000};
}

// The pixels of the status line's area (y 0..40, x 240..500).
std::vector<uint32_t> StatusArea() {
    std::vector<uint32_t> area;
    for (int y = 0; y < 40; ++y)
        for (int x = 240; x < 500; ++x) area.push_back(PixelAt(BackBuffer, x, y));
    return area;
}

}  // namespace

class FramePassTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ParkStreaks();
        Player = {226, 700, 0, 0, 5, ShipGone};  // draws nothing, reads no key
    }
};

TEST_F(FramePassTest, AStageFrameCountsTheTimer) {
    GameMode = ModeStage;
    StageTimer = 10;
    EXPECT_TRUE(RunFramePass(0));
    EXPECT_EQ(StageTimer, 11);
    EXPECT_EQ(GameMode, ModeStage);
}

TEST_F(FramePassTest, TheBossArrivesOnThe2050thStageFrame) {
    GameMode = ModeStage;
    StageTimer = 2048;
    RunFramePass(0);
    EXPECT_EQ(GameMode, ModeStage);
    RunFramePass(0);
    EXPECT_EQ(GameMode, ModeBoss);
    EXPECT_EQ(StageTimer, 0);
    EXPECT_EQ(BossFight.BossY, -250);  // the boss was reset
    EXPECT_EQ(BossFight.BossPhase, PhaseEntering);
    RunFramePass(0);
    EXPECT_EQ(StageTimer, 0);  // the timer stands still during the fight
}

TEST_F(FramePassTest, TheBossWinsOverAGameOverAskedForInTheSameFrame) {
    GameMode = ModeStage;
    StageTimer = 2049;
    Player = {226, 300, 0, 0, 0, ShipExplosionLast};
    RunFramePass(0);
    EXPECT_EQ(GameMode, ModeBoss);
    EXPECT_EQ(Player.State, ShipGone);
    EXPECT_EQ(BossFight.BossY, -250);
    // The first boss frame finds the ship gone and asks for the game over again.
    RunFramePass(0);
    EXPECT_EQ(GameMode, ModeGameOver);
    EXPECT_EQ(BossFight.BossY, -247);  // after a whole boss frame
}

TEST_F(FramePassTest, AnUnknownModeOnlyClearsPresentsAndWaits) {
    GameMode = 0;
    StageTimer = 7;
    const int presents = headless::PresentCount();
    const int32_t before = TickCount();
    EXPECT_TRUE(RunFramePass(0x00FF00));
    EXPECT_EQ(StageTimer, 7);
    EXPECT_EQ(headless::PresentCount(), presents + 1);
    EXPECT_GT(TickCount(), before);
    for (uint32_t pixel : headless::LastPresentedFrame()) ASSERT_EQ(pixel, 0x00FF00u);
}

TEST_F(FramePassTest, GameOverAndEndingEndTheGameWithoutPresentingThePass) {
    MakeGameDir();  // the sequences load their pictures
    for (uint8_t mode : {ModeGameOver, ModeEnding}) {
        GameMode = mode;
        headless::SetKey(VkZ, true);  // ends the game-over picture at once
        EXPECT_FALSE(RunFramePass(0)) << int(mode);
        headless::SetKey(VkZ, false);
    }
}

TEST_F(FramePassTest, StageStatusLineDrawsTheScoreInTheHpTextsSize) {
    GameMode = ModeStage;
    Score = 1234;
    RunFramePass(0);
    const auto drawn = StatusArea();
    ClearSurface(BackBuffer, 0);
    DrawText("HP : 5", 400, 10, 0xFFFFFF, 18);
    DrawText("SCORE: 1234", 250, 10, 0xFFFFFF, 18);
    EXPECT_EQ(drawn, StatusArea());
}

TEST_F(FramePassTest, BossStatusLineDrawsTheScoreInTheFrameRateSize) {
    GameMode = ModeBoss;
    BossFight.BossX = -1000;  // keep the boss picture away from the status line
    BossFight.BossY = -1000;
    Score = 1234;
    RunFramePass(0);
    const auto drawn = StatusArea();
    ClearSurface(BackBuffer, 0);
    DrawText("SCORE: 1234", 250, 10, 0xFFFFFF, 12);
    DrawText("HP : 5", 400, 10, 0xFFFFFF, 18);
    EXPECT_EQ(drawn, StatusArea());
}

TEST_F(FramePassTest, EscapeAsksToQuitAndCancelCarriesOn) {
    GameMode = ModeStage;
    headless::SetKey(VkEscape, true);
    headless::QueueBoxAnswer(BoxAnswer::Cancel);
    EXPECT_TRUE(RunFramePass(0));
    EXPECT_EQ(headless::TakeBoxTexts(), std::vector<std::string>{"終了しますか"});
    EXPECT_NE(BackBuffer, nullptr);
}

TEST_F(FramePassTest, OkInTheQuitBoxReleasesTheDisplayAndEndsTheProgram) {
    ProgramDir = MakeScratchDir();
    GameMode = ModeStage;
    headless::SetKey(VkEscape, true);
    headless::QueueBoxAnswer(BoxAnswer::Ok);
    try {
        RunFramePass(0);
        FAIL() << "the program should have ended";
    } catch (const headless::ProgramExit& exit) {
        EXPECT_EQ(exit.Status, 0);
    }
    EXPECT_EQ(BackBuffer, nullptr);
}

TEST_F(FramePassTest, EscapeTappedBetweenFramesDoesNotAsk) {
    GameMode = ModeStage;
    headless::TapKey(VkEscape);  // pressed and released: play only asks while it is held
    RunFramePass(0);
    EXPECT_TRUE(headless::TakeBoxTexts().empty());
}

namespace {

constexpr uint32_t EnemyColour = 0x00FF00;
constexpr uint32_t ShipColour = 0x0000FF;
constexpr uint32_t BulletColour = 0xFF0000;
constexpr uint32_t BossColour = 0xFFFF00;

// Solid pictures, so that each pixel of a frame tells what was drawn there last.
void SolidPictures() {
    SurfEnemies[4] = MakeSurface(69, 51, EnemyColour);
    SurfShip = MakeSurface(48, 40, ShipColour);
    SurfBullets1234 = MakeSurface(128, 64, BulletColour);
    SurfBoss = MakeSurface(269, 236, BossColour);
    SurfBack = MakeSurface(6, 18, 0x101010);
    SurfShot = MakeSurface(31, 31, 0x202020);
}

}  // namespace

TEST_F(FramePassTest, StageDrawsEnemiesThenTheShipThenTheBullets) {
    SolidPictures();
    GameMode = ModeStage;
    Player = {226, 500, 0, 0, 5, ShipNormal};
    Enemies.assign(2, EnemyRecord{});
    Paths.assign(2, PathColumn{});
    Enemies[1] = {226, 500, 9, 50, 0, 0, 0, 100, True16, False16};  // a small fry
    Paths[1].X.fill(226);
    Paths[1].Y.fill(500);
    Paths[1].Sprite.fill(50);
    EnemyBullets[0] = {226, 500, 0, 0, 0, True16};
    RunFramePass(0);
    EXPECT_EQ(PixelAt(BackBuffer, 195, 500), EnemyColour);   // only the enemy reaches here
    EXPECT_EQ(PixelAt(BackBuffer, 206, 500), ShipColour);    // the ship covers the enemy
    EXPECT_EQ(PixelAt(BackBuffer, 226, 500), BulletColour);  // the bullet covers the ship
}

TEST_F(FramePassTest, BossFightDrawsTheBossThenTheShipThenTheBullets) {
    SolidPictures();
    GameMode = ModeBoss;
    BossFight.BossX = 226;
    BossFight.BossY = 400;
    BossCarriedOver.BossDX = BossCarriedOver.BossDY = 0;
    BossFight.BossPhase = PhaseFighting;
    BossFight.BossHP = 400;
    Player = {226, 500, 0, 0, 5, ShipNormal};
    EnemyBullets[0] = {226, 500, 0, 0, 0, True16};
    RunFramePass(0);
    EXPECT_EQ(PixelAt(BackBuffer, 150, 450), BossColour);
    EXPECT_EQ(PixelAt(BackBuffer, 206, 500), ShipColour);    // the ship covers the boss
    EXPECT_EQ(PixelAt(BackBuffer, 226, 500), BulletColour);  // the bullet covers the ship
}

// A picture that only a later screen loads, missing: the program refuses to start, naming it,
// and the settings read at start are saved on the way out like any other end's.
TEST(StartUp, AMissingEndingPictureRefusesTheStartAndKeepsTheSettings) {
    ResetProgram();
    const std::string dir = MakeGameDir();
    std::filesystem::remove(dir + "/l_ending2.bmp");
    WriteFile(dir + "/data.ini", "[data]\r\nscore1=777\r\nname1=ace\r\n");
    int frames = 0;
    // Should the game start after all, it is closed after a few frames of the title.
    headless::SetFrameHooks(nullptr, [&frames] {
        if (++frames == 30) headless::RequestClose();
    });
    int status = -1;
    try {
        Main();
    } catch (const headless::ProgramExit& exit) {
        status = exit.Status;
    }
    EXPECT_EQ(status, 1);
    EXPECT_EQ(frames, 0);
    const auto texts = headless::TakeBoxTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(texts.back().find("l_ending2.bmp"), std::string::npos) << texts.back();
    EXPECT_EQ(GetProfileString(dir + "/data.ini", "data", "score1", "", 20), "777");
    EXPECT_EQ(GetProfileString(dir + "/data.ini", "data", "Ver", "", 20), "1.10");
    std::filesystem::remove_all(dir);
}
