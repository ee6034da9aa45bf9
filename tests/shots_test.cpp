// The player's shots: slots and growth, flight and leaving the top, drawing cut at the edges,
// and hits on enemies exactly at the radius.
#include "game/shots.h"

#include <gtest/gtest.h>

#include "game/state.h"
#include "gfx/display.h"
#include "support/test_support.h"

namespace {

constexpr uint32_t ShotColour = 0xFFFF00;

class ShotsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        SurfShot = MakeSurface(31, 31, ShotColour);
        GameMode = ModeStage;
        Player = {200, 400, 0, 0, 5, ShipNormal};
        Enemies.assign(1, EnemyRecord{});
    }
    // A living enemy with the given radius, returning its slot.
    size_t AddEnemy(int32_t x, int32_t y, uint8_t radius, int32_t hp) {
        EnemyRecord enemy;
        enemy.X = x;
        enemy.Y = y;
        enemy.HitRadius = radius;
        enemy.HP = hp;
        enemy.Active = True16;
        Enemies.push_back(enemy);
        return Enemies.size() - 1;
    }
    // A shot in slot 0 that lands on (x, y) after this frame's move.
    void ShotLandingAt(double x, double y) { PlayerShots[0] = {x, y + 30, 0, 30, 1, True16}; }
    void Frame() {
        ClearSurface(BackBuffer, 0);
        UpdatePlayerShots();
    }
};

TEST_F(ShotsTest, SpawnTakesTheLowestFreeSlotAtTheShipsCentre) {
    PlayerShots[0].Active = True16;
    PlayerShots[2].Active = True16;
    SpawnPlayerShot(-8, 30);
    const BulletRecord& shot = PlayerShots[1];
    EXPECT_TRUE(shot.Active);
    EXPECT_EQ(shot.X, 200);
    EXPECT_EQ(shot.Y, 400);
    EXPECT_EQ(shot.DX, -8);
    EXPECT_EQ(shot.DY, 30);
    EXPECT_EQ(shot.Frame, 1);
    SpawnPlayerShot(0, 30);
    EXPECT_TRUE(PlayerShots[3].Active);
}

TEST_F(ShotsTest, AFullTableGrowsByOneSlotUpTo255) {
    for (int i = 0; i < 21; ++i) SpawnPlayerShot(0, 30);
    EXPECT_EQ(PlayerShots.size(), 21u);
    SpawnPlayerShot(8, 30);
    ASSERT_EQ(PlayerShots.size(), 22u);
    EXPECT_TRUE(PlayerShots[21].Active);
    EXPECT_EQ(PlayerShots[21].DX, 8);
    for (int i = 0; i < 300; ++i) SpawnPlayerShot(0, 30);
    EXPECT_EQ(PlayerShots.size(), 255u);
    PlayerShots[100].Active = False16;
    SpawnPlayerShot(-8, 30);
    EXPECT_EQ(PlayerShots[100].DX, -8);
}

TEST_F(ShotsTest, FliesUpThirtyAndSidewaysByItsStep) {
    PlayerShots[4] = {100, 300, 8, 30, 1, True16};
    Frame();
    EXPECT_EQ(PlayerShots[4].X, 108);
    EXPECT_EQ(PlayerShots[4].Y, 270);
    EXPECT_EQ(PixelAt(BackBuffer, 92, 254), ShotColour);
    EXPECT_EQ(PixelAt(BackBuffer, 122, 284), ShotColour);
    EXPECT_EQ(PixelAt(BackBuffer, 123, 284), 0u);
    EXPECT_EQ(PixelAt(BackBuffer, 91, 254), 0u);
}

TEST_F(ShotsTest, AShotAtTheSideIsCutNotLost) {
    PlayerShots[0] = {-4, 300, -8, 30, 1, True16};
    Frame();
    EXPECT_TRUE(PlayerShots[0].Active);
    EXPECT_EQ(PixelAt(BackBuffer, 0, 270), ShotColour);
    EXPECT_EQ(PixelAt(BackBuffer, 2, 284), ShotColour);
    EXPECT_EQ(PixelAt(BackBuffer, 3, 270), 0u);
}

TEST_F(ShotsTest, PassingMinusSixteenRetiresButStillHitsThatFrame) {
    PlayerShots[0] = {100, 14, 0, 30, 1, True16};  // lands on exactly -16
    Frame();
    EXPECT_TRUE(PlayerShots[0].Active);
    const size_t enemy = AddEnemy(100, -20, 10, 5);
    PlayerShots[0] = {100, 13, 0, 30, 1, True16};  // lands on -17
    Frame();
    EXPECT_FALSE(PlayerShots[0].Active);
    EXPECT_EQ(Enemies[enemy].HP, 4);
}

TEST_F(ShotsTest, ExactlyAtTheRadiusIsAMiss) {
    const size_t enemy = AddEnemy(200, 200, 20, 5);
    ShotLandingAt(200 + 36, 200);
    Frame();
    EXPECT_EQ(Enemies[enemy].HP, 5);
    EXPECT_TRUE(PlayerShots[0].Active);
    ShotLandingAt(200 + 35.99, 200);
    Frame();
    EXPECT_EQ(Enemies[enemy].HP, 4);
    EXPECT_FALSE(PlayerShots[0].Active);
}

TEST_F(ShotsTest, AnEnemyFallsToTheHitAfterItsHitPointsRunOut) {
    const size_t enemy = AddEnemy(200, 200, 20, 2);
    for (int hit = 1; hit <= 2; ++hit) {
        ShotLandingAt(200, 200);
        Frame();
        EXPECT_EQ(Enemies[enemy].HP, 2 - hit);
        EXPECT_FALSE(Enemies[enemy].Exploding);
    }
    ShotLandingAt(200, 200);
    Frame();
    EXPECT_TRUE(Enemies[enemy].Exploding);
    EXPECT_EQ(Enemies[enemy].Sprite, FirstExplosionFrame);
    EXPECT_EQ(Enemies[enemy].HP, -1);
}

TEST_F(ShotsTest, OneShotDamagesEveryEnemyItOverlaps) {
    const size_t first = AddEnemy(200, 200, 20, 3);
    const size_t second = AddEnemy(210, 200, 20, 3);
    ShotLandingAt(205, 200);
    Frame();
    EXPECT_EQ(Enemies[first].HP, 2);
    EXPECT_EQ(Enemies[second].HP, 2);
}

TEST_F(ShotsTest, ExplodingAndInactiveEnemiesTakeNoHitsAndStopNothing) {
    const size_t exploding = AddEnemy(200, 200, 20, 3);
    Enemies[exploding].Exploding = True16;
    const size_t inactive = AddEnemy(200, 200, 20, 3);
    Enemies[inactive].Active = False16;
    ShotLandingAt(200, 200);
    Frame();
    EXPECT_EQ(Enemies[exploding].HP, 3);
    EXPECT_EQ(Enemies[inactive].HP, 3);
    EXPECT_TRUE(PlayerShots[0].Active);
}

TEST_F(ShotsTest, OutsideTheStageShotsFlyButHitNoEnemy) {
    const size_t enemy = AddEnemy(200, 200, 20, 3);
    for (const uint8_t mode : {ModeGameOver, ModeBoss}) {
        GameMode = mode;
        ShotLandingAt(200, 200);
        Frame();
        EXPECT_EQ(Enemies[enemy].HP, 3);
        EXPECT_EQ(PlayerShots[0].Y, 200);
        EXPECT_EQ(PixelAt(BackBuffer, 200, 200), ShotColour);
    }
}

}  // namespace
