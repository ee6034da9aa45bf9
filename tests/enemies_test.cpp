// The enemies in play: switched on and off by the stage frame, drawn where they stood last frame,
// moved along their course, firing their patterns, and exploding for ten frames and ten points.
#include "game/enemies.h"

#include <cmath>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/bullets.h"
#include "game/motion.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

constexpr uint32_t Key = 0xFF00FF;

// Every pixel tells which picture it came from and its source column; row 1 is transparent.
Surface Striped(int width, int height, uint32_t tag) {
    Surface surface = MakeSurface(width, height, 0, Key);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            surface->Pixels[size_t(y) * width + x] = y == 1 ? Key : tag + uint32_t(x);
    }
    return surface;
}

uint32_t EnemyTag(int entry) {
    return uint32_t(entry + 1) << 16;
}
constexpr uint32_t ExplosionTag = 0x100000;

bool NothingDrawn() {
    for (uint32_t pixel : SettledPixels(BackBuffer)) {
        if (pixel != 0) return false;
    }
    return true;
}

class EnemyUpdate : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        for (int i = 0; i < 6; ++i) SurfEnemies[i] = Striped(500, 120, EnemyTag(i));
        SurfExplosion = Striped(900, 80, ExplosionTag);
        Enemies.assign(2, EnemyRecord{});
        Paths.assign(2, PathColumn{});
        ClearSurface(BackBuffer, 0);
        StageTimer = 5;
    }
    EnemyRecord& Enemy() { return Enemies[1]; }
    PathColumn& Path() { return Paths[1]; }
    // An enemy already on the field, whose switching frames lie elsewhere.
    void PlaceLiving(uint8_t sprite, int x, int y) {
        Enemy().Active = True16;
        Enemy().Sprite = sprite;
        Enemy().X = x;
        Enemy().Y = y;
        Enemy().StartFrame = 1;
        Enemy().EndFrame = 1000;
    }
    void PlaceExploding(uint8_t sprite, int x, int y) {
        PlaceLiving(sprite, x, y);
        Enemy().Exploding = True16;
    }
    void Frame(int16_t stageFrame) {
        StageTimer = stageFrame;
        ClearSurface(BackBuffer, 0);
        UpdateEnemies();
    }
};

// ---- Switching on and off -----------------------------------------------------------------

TEST_F(EnemyUpdate, ComeOnAtTheirStartFrameAndGoAtTheirEndFrame) {
    Enemy().StartFrame = 5;
    Enemy().EndFrame = 8;
    for (int t = 4; t <= 8; ++t) {
        Path().X[t] = 100 + t;
        Path().Sprite[t] = 50;
    }
    Frame(4);
    EXPECT_EQ(Enemy().Active, False16);
    EXPECT_EQ(Enemy().X, 0);
    Frame(5);
    EXPECT_EQ(Enemy().Active, True16);
    EXPECT_EQ(Enemy().X, 105);
    Frame(7);
    EXPECT_EQ(Enemy().X, 107);
    Frame(8);
    EXPECT_EQ(Enemy().Active, False16);
    EXPECT_EQ(Enemy().X, 107);
    EXPECT_TRUE(NothingDrawn());
}

TEST_F(EnemyUpdate, SlotWhoseFramesAreEqualNeverComesOn) {
    Paths[0].X[0] = 99;
    Paths[0].Sprite[0] = 50;
    Frame(0);
    EXPECT_EQ(Enemies[0].Active, False16);
    EXPECT_EQ(Enemies[0].X, 0);
    Frame(1);
    EXPECT_EQ(Enemies[0].Active, False16);
}

TEST_F(EnemyUpdate, FirstActiveFrameDrawsNothingButTakesItsPositionAndCanBeHit) {
    Enemy().StartFrame = 10;
    Enemy().EndFrame = 100;
    Path().X[10] = 100;
    Path().Y[10] = 100;
    Path().Sprite[10] = 50;
    Frame(10);
    EXPECT_TRUE(NothingDrawn());
    // What the shot test looks at: on the field, not exploding, radius 0 (+ 16) at (100, 100).
    EXPECT_EQ(Enemy().Active, True16);
    EXPECT_EQ(Enemy().Exploding, False16);
    EXPECT_EQ(Enemy().HitRadius, 0);
    EXPECT_EQ(Enemy().X, 100);
    EXPECT_EQ(Enemy().Y, 100);
    EXPECT_EQ(Enemy().Sprite, 50);
}

TEST_F(EnemyUpdate, IsDrawnWhereItStoodLastFrameThenMoved) {
    Enemy().StartFrame = 10;
    Enemy().EndFrame = 100;
    Path().X[10] = 100;
    Path().Y[10] = 100;
    Path().Sprite[10] = 50;
    Path().X[11] = 300;
    Path().Y[11] = 400;
    Path().Sprite[11] = 40;
    Frame(10);
    Frame(11);
    // The small fry's picture at (100, 100), not the blue one at (300, 400).
    EXPECT_EQ(PixelAt(BackBuffer, 100 - 35, 100 - 26), EnemyTag(4));
    EXPECT_EQ(PixelAt(BackBuffer, 300 - 54, 400 - 52), 0u);
    EXPECT_EQ(Enemy().HitRadius, 26);
    EXPECT_EQ(Enemy().X, 300);
    EXPECT_EQ(Enemy().Y, 400);
    EXPECT_EQ(Enemy().Sprite, 40);
}

// ---- Pictures -----------------------------------------------------------------------------

struct PictureCase {
    uint8_t Code;
    int Entry;
    int OffsetX, OffsetY;
    int DrawnW, DrawnH;  // after the source limits
    int CellX;
    uint8_t Radius;
};

void PrintTo(const PictureCase& c, std::ostream* out) {
    *out << "picture code " << int(c.Code);
}

class EnemyPictures : public EnemyUpdate, public ::testing::WithParamInterface<PictureCase> {};

TEST_P(EnemyPictures, CopyTheirCellAroundTheCentreAndSetTheHitRadius) {
    const PictureCase c = GetParam();
    PlaceLiving(c.Code, 250, 300);
    Frame(5);
    const int left = 250 - c.OffsetX;
    const int top = 300 - c.OffsetY;
    const uint32_t tag = EnemyTag(c.Entry);
    EXPECT_EQ(PixelAt(BackBuffer, left, top), tag + c.CellX);
    EXPECT_EQ(PixelAt(BackBuffer, left + c.DrawnW - 1, top + c.DrawnH - 1),
              tag + c.CellX + c.DrawnW - 1);
    EXPECT_EQ(PixelAt(BackBuffer, left - 1, top), 0u);
    EXPECT_EQ(PixelAt(BackBuffer, left + c.DrawnW, top), 0u);
    EXPECT_EQ(PixelAt(BackBuffer, left, top + c.DrawnH), 0u);
    EXPECT_EQ(PixelAt(BackBuffer, left, top + 1), 0u) << "drawn without the colour key";
    EXPECT_EQ(Enemy().HitRadius, c.Radius);
}

// Code 14 copies 84 columns from 340, code 30 105 of its 106, code 61 80 columns from 80.
INSTANTIATE_TEST_SUITE_P(Enemies, EnemyPictures,
                         ::testing::Values(PictureCase{10, 0, 42, 36, 85, 71, 0, 36},
                                           PictureCase{12, 0, 42, 36, 85, 71, 170, 36},
                                           PictureCase{14, 0, 42, 36, 84, 71, 340, 36},
                                           PictureCase{20, 1, 28, 27, 59, 54, 0, 52},
                                           PictureCase{21, 1, 42, 27, 84, 53, 143, 52},
                                           PictureCase{24, 1, 42, 27, 84, 53, 395, 52},
                                           PictureCase{30, 2, 53, 36, 105, 71, 0, 36},
                                           PictureCase{40, 3, 54, 52, 107, 103, 0, 52},
                                           PictureCase{50, 4, 35, 26, 69, 51, 0, 26},
                                           PictureCase{60, 5, 40, 36, 81, 71, 0, 36},
                                           PictureCase{61, 5, 40, 36, 80, 71, 80, 36}),
                         [](const auto& info) { return "Code" + std::to_string(info.param.Code); });

TEST_F(EnemyUpdate, DogPartlyOffTheFieldIsNotDrawnButKeepsItsRadius) {
    PlaceLiving(22, 20, 300);
    Frame(5);
    EXPECT_TRUE(NothingDrawn());
    EXPECT_EQ(Enemy().HitRadius, 52);
}

TEST_F(EnemyUpdate, CodeWithoutAPictureDrawsNothingAndKeepsTheRadius) {
    for (uint8_t code : {0, 15, 25, 62, 99}) {
        PlaceLiving(code, 250, 300);
        Enemy().HitRadius = 77;
        Frame(5);
        EXPECT_TRUE(NothingDrawn()) << int(code);
        EXPECT_EQ(Enemy().HitRadius, 77) << int(code);
    }
}

// ---- Explosions ---------------------------------------------------------------------------

TEST_F(EnemyUpdate, ExplosionLastsTenFramesAtTheLastPositionAndScoresTen) {
    PlaceExploding(100, 250, 300);
    Path().X[6] = 50;  // the course no longer moves it
    Score = 40;
    for (int16_t t = 6; t <= 15; ++t) {
        EXPECT_EQ(Enemy().Exploding, True16) << t;
        Frame(t);
        EXPECT_EQ(PixelAt(BackBuffer, 210, 260), ExplosionTag + (t - 6) * 81) << t;
        EXPECT_EQ(Score, 40 + t - 5);
    }
    EXPECT_EQ(Enemy().Sprite, 110);
    EXPECT_EQ(Enemy().Active, False16);
    EXPECT_EQ(Enemy().Exploding, False16);
    EXPECT_EQ(Enemy().X, 250);
    Frame(16);
    EXPECT_EQ(Score, 50);
    EXPECT_TRUE(NothingDrawn());
}

TEST_F(EnemyUpdate, LastExplosionCellIsCutToSeventyNineColumns) {
    PlaceExploding(109, 250, 300);
    Frame(5);
    EXPECT_EQ(PixelAt(BackBuffer, 210, 260), ExplosionTag + 729);
    EXPECT_EQ(PixelAt(BackBuffer, 288, 339), ExplosionTag + 807);
    EXPECT_EQ(PixelAt(BackBuffer, 289, 260), 0u);
}

TEST_F(EnemyUpdate, ExplosionSoundsTwiceOnItsFirstFrameWhenEffectsAreOn) {
    SoundExplosion.Count = 8;
    WavOn = True16;
    PlaceExploding(100, 250, 300);
    Frame(5);
    EXPECT_EQ(headless::TakePlayedVoices(), (std::vector<int>{1, 2}));
    for (int16_t t = 6; t <= 14; ++t) Frame(t);
    EXPECT_TRUE(headless::TakePlayedVoices().empty());
}

TEST_F(EnemyUpdate, ExplosionIsSilentButScoresTheSameWithEffectsOff) {
    SoundExplosion.Count = 8;
    WavOn = False16;
    PlaceExploding(100, 250, 300);
    for (int16_t t = 5; t <= 14; ++t) Frame(t);
    EXPECT_TRUE(headless::TakePlayedVoices().empty());
    EXPECT_EQ(Score, 10);
}

TEST_F(EnemyUpdate, ExplosionRunsOnPastTheEndFrame) {
    PlaceExploding(105, 250, 300);
    Enemy().EndFrame = 5;
    Frame(5);
    EXPECT_EQ(Enemy().Active, False16);
    EXPECT_EQ(Enemy().Sprite, FirstExplosionFrame + 6);
    for (int16_t t = 6; t <= 20; ++t) Frame(t);
    EXPECT_EQ(Score, 5);
    EXPECT_EQ(Enemy().Exploding, False16);
}

// ---- Fire ---------------------------------------------------------------------------------

std::vector<BulletRecord> Flying() {
    std::vector<BulletRecord> flying;
    for (const BulletRecord& bullet : EnemyBullets) {
        if (bullet.Active != False16) flying.push_back(bullet);
    }
    return flying;
}

// A direction as the game turns degrees into a velocity, with pi taken as 3.14.
void ExpectAngle(const BulletRecord& bullet, double degrees, double speed) {
    const double radians = degrees * 0.01744444444444;
    const double length = std::hypot(std::cos(radians), std::sin(radians));
    EXPECT_NEAR(bullet.DX, speed * std::cos(radians) / length, 1e-9) << degrees;
    EXPECT_NEAR(bullet.DY, speed * std::sin(radians) / length, 1e-9) << degrees;
}

class EnemyFiring : public EnemyUpdate {
protected:
    void Fire(uint8_t code, int x = 200, int y = 150) {
        PlaceLiving(50, x, y);
        Enemy().FireCode = code;
        EnemyFire(1);
    }
};

TEST_F(EnemyFiring, ShotsLeaveFromWhereTheEnemyNowStands) {
    PlaceLiving(50, 10, 10);
    Path().X[5] = 320;
    Path().Y[5] = 240;
    Path().Fire[5] = 10;
    Frame(5);
    const auto flying = Flying();
    ASSERT_EQ(flying.size(), 1u);
    EXPECT_EQ(flying[0].X, 320);
    EXPECT_EQ(flying[0].Y, 240);
}

TEST_F(EnemyFiring, StraightShotFallsAtTenWithRandomSidewaysSpeed) {
    Fire(17);
    const auto flying = Flying();
    ASSERT_EQ(flying.size(), 1u);
    EXPECT_EQ(flying[0].Frame, 0);
    EXPECT_EQ(flying[0].DY, 10);
    EXPECT_EQ(flying[0].DX, std::floor(flying[0].DX));
    EXPECT_GE(flying[0].DX, -10);
    EXPECT_LE(flying[0].DX, 10);
    EXPECT_EQ(flying[0].X, 200);
    EXPECT_EQ(flying[0].Y, 150);
}

TEST_F(EnemyFiring, HomingShotStartsSidewaysOnly) {
    Fire(40);
    const auto flying = Flying();
    ASSERT_EQ(flying.size(), 1u);
    EXPECT_EQ(flying[0].Frame, 40);
    EXPECT_EQ(flying[0].DY, 0);
    EXPECT_NE(flying[0].DX, 0);
    EXPECT_EQ(flying[0].DX, std::floor(flying[0].DX));
    EXPECT_GE(flying[0].DX, -10);
    EXPECT_LE(flying[0].DX, 10);
}

TEST_F(EnemyFiring, AimedShotFliesAtTheShipAtTen) {
    Player.X = 200;
    Player.Y = 450;
    Fire(20);
    const auto flying = Flying();
    ASSERT_EQ(flying.size(), 1u);
    EXPECT_EQ(flying[0].Frame, 10);
    EXPECT_NEAR(flying[0].DX, 0, 1e-12);
    EXPECT_NEAR(flying[0].DY, 10, 1e-12);
}

TEST_F(EnemyFiring, SpreadFansTwentyDegreesEitherSideOfTheShip) {
    Player.X = 200;
    Player.Y = 450;
    Fire(30);
    auto flying = Flying();
    ASSERT_EQ(flying.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(flying[i].Frame, 10);
        ExpectAngle(flying[i], 70 + 20 * i, 8);
    }
    EnemyBullets.assign(InitialTableSlots, BulletRecord{});
    Player.Y = 50;
    Fire(30);
    flying = Flying();
    ASSERT_EQ(flying.size(), 3u);
    for (int i = 0; i < 3; ++i) ExpectAngle(flying[i], 250 + 20 * i, 8);
}

TEST_F(EnemyFiring, RingFiresTwelveBullets) {
    Fire(50);
    const auto flying = Flying();
    ASSERT_EQ(flying.size(), 12u);
    for (const BulletRecord& bullet : flying) {
        EXPECT_EQ(bullet.Frame, 20);
        EXPECT_EQ(bullet.X, 200);
        EXPECT_EQ(bullet.Y, 150);
    }
}

TEST_F(EnemyFiring, RingStartsToTheRightInThirtyDegreeSteps) {
    Fire(50);
    const auto flying = Flying();
    ASSERT_EQ(flying.size(), 12u);
    for (int i = 0; i < 12; ++i) ExpectAngle(flying[i], 30 * i, 8);
    EXPECT_EQ(flying[0].DX, 8);
    EXPECT_EQ(flying[0].DY, 0);
}

TEST_F(EnemyFiring, CodesOutsideThePatternsFireNothing) {
    for (uint8_t code : {1, 9, 60, 99, 255}) {
        Fire(code);
        EXPECT_TRUE(Flying().empty()) << int(code);
    }
}

}  // namespace
