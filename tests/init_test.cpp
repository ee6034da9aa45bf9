// Start-up and the reset before each game: the pictures each file goes to, the settings, the
// streak field and the sound at start, and what a new game resets and what it keeps.
#include "data/init.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "audio/headless/headless_audio.h"
#include "game/bullets.h"
#include "game/player.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// A one-colour 24-bit Windows bitmap.
std::string SolidBitmap(int width, int height, uint32_t rgb) {
    const int rowBytes = (width * 3 + 3) / 4 * 4;
    const uint32_t size = 54 + uint32_t(rowBytes * height);
    std::string bytes(size, '\0');
    const auto put = [&](size_t at, uint32_t value, int count) {
        for (int i = 0; i < count; ++i) bytes[at + i] = char(value >> (8 * i));
    };
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(2, size, 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, uint32_t(width), 4);
    put(22, uint32_t(height), 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) put(54 + size_t(y) * rowBytes + x * 3, rgb, 3);
    return bytes;
}

const char* const PictureFiles[] = {"l_backs",  "l_baku",  "l_tama1234", "l_tama5", "l_tama6",
                                    "l_tamaMe", "l_jiki",  "l_boss1",    "l_teki1", "l_teki2",
                                    "l_teki3",  "l_teki4", "l_teki5",    "l_teki6"};

class InitTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ProgramDir = MakeScratchDir();
    }
    void TearDown() override {
        if (!HasFailure()) fs::remove_all(ProgramDir);
    }
    void Put(const std::string& name, const std::string& bytes) {
        WriteFile(ProgramDir + "/" + name, bytes);
    }
};

TEST_F(InitTest, EachPictureFileGoesToItsOwnSurface) {
    for (uint32_t i = 0; i < 14; ++i)
        Put(std::string(PictureFiles[i]) + ".bmp", SolidBitmap(3, 2, 0x010000 * (i + 1) + 7));
    LoadSprites();
    const Surface* surfaces[] = {
        &SurfBack,       &SurfExplosion,  &SurfBullets1234, &SurfBullets5,   &SurfBullets6,
        &SurfShot,       &SurfShip,       &SurfBoss,        &SurfEnemies[0], &SurfEnemies[1],
        &SurfEnemies[2], &SurfEnemies[3], &SurfEnemies[4],  &SurfEnemies[5]};
    for (uint32_t i = 0; i < 14; ++i) {
        ASSERT_TRUE(*surfaces[i]) << PictureFiles[i];
        EXPECT_EQ((*surfaces[i])->Width, 3);
        EXPECT_EQ(PixelAt(*surfaces[i], 2, 1), 0x010000 * (i + 1) + 7) << PictureFiles[i];
        EXPECT_EQ((*surfaces[i])->ColourKey, 0x010000 * (i + 1) + 7);
    }
}

TEST_F(InitTest, AMissingPictureStopsTheProgramNamingIt) {
    for (const char* name : PictureFiles)
        if (std::string(name) != "l_teki4") Put(std::string(name) + ".bmp", SolidBitmap(1, 1, 0));
    EXPECT_THROW(LoadSprites(), headless::ProgramExit);
    const auto texts = headless::TakeBoxTexts();
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find("l_teki4.bmp"), std::string::npos);
}

TEST_F(InitTest, StartReadsTheSettingsPlacesTheStreaksAndLoadsTheSound) {
    Put("data.ini", "[data]\r\nscore1=777\r\nname1=ace\r\nwav=-1\r\nDiffculty= 3\r\n");
    Put("wavbaku.wav", "RIFF....WAVE");
    InitGame();
    EXPECT_EQ(HighScoreTable[0].Score, 777);
    EXPECT_EQ(HighScoreTable[0].Name, "ace");
    EXPECT_EQ(WavOn, True16);
    EXPECT_EQ(MidiOn, False16);
    EXPECT_EQ(Difficulty, 3);
    EXPECT_EQ(SoundExplosion.Count, 8);
    EXPECT_EQ(FramePeriod, 50);
    EXPECT_EQ(BlackColour, 0);
    std::set<int32_t> xs;
    for (const StreakRecord& streak : Streaks) {
        EXPECT_GE(streak.X, 0);
        EXPECT_LE(streak.X, 500);
        EXPECT_GE(streak.Y, 0);
        EXPECT_LE(streak.Y, 400);
        EXPECT_GE(streak.Life, 100);
        EXPECT_LE(streak.Life, 500);
        xs.insert(streak.X);
    }
    EXPECT_GT(xs.size(), 20u);
    EXPECT_TRUE(headless::TakeBoxTexts().empty());
}

TEST_F(InitTest, WithoutSoundTheGameSaysSoAndStillPaces) {
    headless::SetSoundAvailable(false);
    InitGame();
    const auto texts = headless::TakeBoxTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "DirectSoundは利用できません。");
    EXPECT_EQ(texts[1], "DirectSoundは使えません。");
    EXPECT_EQ(SoundExplosion.Count, 0);
    EXPECT_EQ(FramePeriod, 50);
    EXPECT_EQ(Difficulty, 2);
}

TEST_F(InitTest, ANewGameStartsTheShipAtTheBottomWithHitPointsByDifficulty) {
    const std::pair<uint8_t, uint8_t> cases[] = {{1, 7}, {2, 5}, {3, 3}};
    for (const auto& [difficulty, hp] : cases) {
        Difficulty = difficulty;
        Player = {10, 20, 3, 4, 0, 9};
        NewGame();
        EXPECT_EQ(Player.X, 226);
        EXPECT_EQ(Player.Y, 600);
        EXPECT_EQ(Player.State, ShipEntering);
        EXPECT_EQ(Player.HP, hp);
    }
    Difficulty = 0;
    Player.HP = 1;
    NewGame();
    EXPECT_EQ(Player.HP, 1);  // no such difficulty: the hit points stay
}

TEST_F(InitTest, ANewGameResetsTheCountersAndTablesButKeepsWhatOutlivesGames) {
    Difficulty = 2;
    StageTimer = 900;
    Score = 4321;
    GameMode = ModeGameOver;
    PlayerShots.assign(40, BulletRecord{1, 2, 3, 4, 5, True16});
    EnemyBullets.assign(30, BulletRecord{1, 2, 3, 4, 5, True16});
    PlayerCarriedOver.FireCooldown = 7;
    PlayerCarriedOver.BlinkCounter = 12;
    BulletsCarriedOver.BounceCounter = 99;
    Streaks[4] = {1, 2, 3};
    HighScoreTable[0] = {50, "keep"};
    NewGame();
    EXPECT_EQ(StageTimer, 0);
    EXPECT_EQ(Score, 0);
    EXPECT_EQ(GameMode, ModeStage);
    ASSERT_EQ(PlayerShots.size(), 21u);
    ASSERT_EQ(EnemyBullets.size(), 21u);
    for (int i = 0; i < 21; ++i) {
        EXPECT_FALSE(PlayerShots[i].Active);
        EXPECT_EQ(PlayerShots[i].X, 0);
        EXPECT_FALSE(EnemyBullets[i].Active);
        EXPECT_EQ(EnemyBullets[i].Frame, 0);
    }
    EXPECT_EQ(PlayerCarriedOver.FireCooldown, 7);
    EXPECT_EQ(PlayerCarriedOver.BlinkCounter, 12);
    EXPECT_EQ(BulletsCarriedOver.BounceCounter, 99);
    EXPECT_EQ(Streaks[4].Life, 3);
    EXPECT_EQ(HighScoreTable[0].Name, "keep");
}

}  // namespace
