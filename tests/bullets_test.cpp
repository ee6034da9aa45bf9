// Enemy bullets: slots and growth, the field test, the animation steps of each family, homing,
// bouncing with its shared counter, and hits on the ship exactly at the radius.
#include "game/bullets.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "game/state.h"
#include "gfx/display.h"
#include "support/test_support.h"

namespace {

uint32_t SmallCellColour(int family, int step) {
    return 0x100000u + uint32_t(family * 16 + step);
}
uint32_t LargeCellColour(int step) {
    return 0x200000u + uint32_t(step);
}

// A strip of cells, each filled with its own colour.
Surface SmallStrip() {
    Surface strip = MakeSurface(128, 64, 0);
    for (int family = 0; family < 4; ++family)
        for (int step = 0; step < 8; ++step)
            for (int y = 0; y < 15; ++y)
                for (int x = 0; x < 15; ++x)
                    strip->Pixels[size_t(family * 15 + y) * 128 + step * 16 + x] =
                        SmallCellColour(family, step);
    return strip;
}

Surface LargeStrip() {
    Surface strip = MakeSurface(181, 59, 0);
    for (int y = 0; y < 59; ++y)
        for (int x = 0; x < 180; ++x) strip->Pixels[size_t(y) * 181 + x] = LargeCellColour(x / 60);
    return strip;
}

class BulletsTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        SurfBullets1234 = SmallStrip();
        SurfBullets5 = LargeStrip();
        SurfBullets6 = LargeStrip();
        Player = {250, 500, 0, 0, 3, ShipNormal};
        BulletsCarriedOver.BounceCounter = 0;
    }
    void Frame() {
        ClearSurface(BackBuffer, 0);
        UpdateEnemyBullets();
    }
    uint32_t ColourAt(const BulletRecord& bullet) const {
        return PixelAt(BackBuffer, int(bullet.X), int(bullet.Y));
    }
    int ActiveBullets() const {
        int count = 0;
        for (const BulletRecord& bullet : EnemyBullets) count += bullet.Active ? 1 : 0;
        return count;
    }
};

TEST_F(BulletsTest, SpawnTakesTheLowestFreeSlot) {
    SpawnEnemyBullet(1, 2, 3, 4, 10);
    SpawnEnemyBullet(5, 6, 7, 8, 40);
    EnemyBullets[0].Active = False16;
    SpawnEnemyBullet(9, 10, 11, 12, 60);
    const BulletRecord& bullet = EnemyBullets[0];
    EXPECT_EQ(bullet.X, 9);
    EXPECT_EQ(bullet.Y, 10);
    EXPECT_EQ(bullet.DX, 11);
    EXPECT_EQ(bullet.DY, 12);
    EXPECT_EQ(bullet.Frame, 60);
    EXPECT_TRUE(bullet.Active);
    EXPECT_EQ(EnemyBullets[1].Frame, 40);
}

TEST_F(BulletsTest, TheTwentySecondBulletGrowsTheTableUpTo256) {
    for (int i = 0; i < 21; ++i) SpawnEnemyBullet(100, 100, 0, 0, 0);
    EXPECT_EQ(EnemyBullets.size(), 21u);
    SpawnEnemyBullet(100, 100, 0, 0, 20);
    ASSERT_EQ(EnemyBullets.size(), 22u);
    EXPECT_EQ(EnemyBullets[21].Frame, 20);
    for (int i = 0; i < 300; ++i) SpawnEnemyBullet(100, 100, 0, 0, 0);
    EXPECT_EQ(EnemyBullets.size(), 256u);
    EXPECT_EQ(ActiveBullets(), 256);
}

TEST_F(BulletsTest, TheFieldTestIncludesItsBounds) {
    SpawnEnemyBullet(508, 608, -1, -1, 0);
    SpawnEnemyBullet(-8, -8, 1, 1, 0);
    SpawnEnemyBullet(508.5, 300, -1, 0, 0);
    SpawnEnemyBullet(300, -8.5, 0, 1, 0);
    Frame();
    EXPECT_TRUE(EnemyBullets[0].Active);
    EXPECT_EQ(EnemyBullets[0].X, 507);
    EXPECT_EQ(EnemyBullets[0].Frame, 1);
    EXPECT_TRUE(EnemyBullets[1].Active);
    EXPECT_FALSE(EnemyBullets[2].Active);
    EXPECT_EQ(EnemyBullets[2].X, 508.5);  // retired where it stood, not moved or animated
    EXPECT_EQ(EnemyBullets[2].Frame, 0);
    EXPECT_FALSE(EnemyBullets[3].Active);
}

TEST_F(BulletsTest, SmallBulletsShowStepsOneToSevenInTurn) {
    SpawnEnemyBullet(100, 100, 0, 0, 10);
    std::vector<uint32_t> shown;
    for (int frame = 0; frame < 9; ++frame) {
        Frame();
        shown.push_back(ColourAt(EnemyBullets[0]));
    }
    std::vector<uint32_t> expected;
    for (const int step : {1, 2, 3, 4, 5, 6, 7, 1, 2}) expected.push_back(SmallCellColour(1, step));
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(EnemyBullets[0].Frame, 12);
}

TEST_F(BulletsTest, EachSmallFamilyKeepsToItsOwnRow) {
    SpawnEnemyBullet(100, 100, 0, 0, 0);
    SpawnEnemyBullet(200, 100, 0, 0, 20);
    SpawnEnemyBullet(300, 100, 0, 0, 36);
    Frame();
    EXPECT_EQ(ColourAt(EnemyBullets[0]), SmallCellColour(0, 1));
    EXPECT_EQ(ColourAt(EnemyBullets[1]), SmallCellColour(2, 1));
    EXPECT_EQ(ColourAt(EnemyBullets[2]), SmallCellColour(3, 7));
    EXPECT_EQ(EnemyBullets[2].Frame, 30);
    // 15 x 15 around the rounded centre less 8.
    EXPECT_EQ(PixelAt(BackBuffer, 92, 92), SmallCellColour(0, 1));
    EXPECT_EQ(PixelAt(BackBuffer, 106, 106), SmallCellColour(0, 1));
    EXPECT_EQ(PixelAt(BackBuffer, 107, 106), 0u);
}

TEST_F(BulletsTest, LargeBulletsAlternateTheirTwoSteps) {
    SpawnEnemyBullet(100, 100, 0, 0, 40);
    SpawnEnemyBullet(300, 100, 0, 0, 60);
    Player.X = 100;  // straight below the homing bullet: it steers only downwards
    for (int frame = 0; frame < 4; ++frame) {
        Frame();
        const int step = frame % 2 == 0 ? 1 : 2;
        EXPECT_EQ(PixelAt(BackBuffer, 100, int(EnemyBullets[0].Y) - 20), LargeCellColour(step));
        EXPECT_EQ(PixelAt(BackBuffer, 300, 100), LargeCellColour(step));
    }
    EXPECT_EQ(EnemyBullets[0].Frame, 40);
    EXPECT_EQ(EnemyBullets[1].Frame, 60);
}

TEST_F(BulletsTest, HomingGainsOnePixelPerFrameTowardsTheShip) {
    Player = {100, 400, 0, 0, 3, ShipNormal};
    SpawnEnemyBullet(100, 100, 0, 0, 40);
    Frame();
    EXPECT_EQ(EnemyBullets[0].Y, 100);
    EXPECT_DOUBLE_EQ(EnemyBullets[0].DY, 1);
    Frame();
    EXPECT_EQ(EnemyBullets[0].Y, 101);
    EXPECT_DOUBLE_EQ(EnemyBullets[0].DY, 2);
    EXPECT_DOUBLE_EQ(EnemyBullets[0].DX, 0);
    Player = {400, 103, 0, 0, 3, ShipNormal};  // level with where the bullet moves to
    Frame();
    EXPECT_DOUBLE_EQ(EnemyBullets[0].DX, 1);
}

TEST_F(BulletsTest, HomingRightOnTheShipsCentreDoesNotSteer) {
    Player = {100, 400, 0, 0, 3, ShipBlinking};  // the hit costs nothing
    SpawnEnemyBullet(100, 400, 0, 0, 40);
    Frame();
    EXPECT_EQ(EnemyBullets[0].DX, 0);
    EXPECT_EQ(EnemyBullets[0].DY, 0);
    EXPECT_FALSE(EnemyBullets[0].Active);
}

TEST_F(BulletsTest, BouncingCoversTwiceItsVelocityAndTurnsBackInsideTheEdges) {
    SpawnEnemyBullet(200, 300, 3, -2, 60);
    Frame();
    EXPECT_EQ(EnemyBullets[0].X, 206);
    EXPECT_EQ(EnemyBullets[0].Y, 296);
    EnemyBullets[0] = {466, 34, 3, -2, 60, True16};
    Frame();
    EXPECT_EQ(EnemyBullets[0].X, 472);
    EXPECT_EQ(EnemyBullets[0].Y, 30);
    EXPECT_EQ(EnemyBullets[0].DX, -3);
    EXPECT_EQ(EnemyBullets[0].DY, 2);
    EnemyBullets[0] = {34, 566, -2, 2, 60, True16};
    Frame();
    EXPECT_EQ(EnemyBullets[0].DX, 2);
    EXPECT_EQ(EnemyBullets[0].DY, -2);
}

TEST_F(BulletsTest, TwoBouncingBulletsFromAFreshProgramLoseOneAfter75Frames) {
    Player = {250, 100, 0, 0, 3, ShipNormal};
    SpawnEnemyBullet(100, 400, 1, 0, 60);
    SpawnEnemyBullet(400, 400, -1, 0, 60);
    for (int frame = 0; frame < 74; ++frame) Frame();
    EXPECT_EQ(ActiveBullets(), 2);
    Frame();
    EXPECT_TRUE(EnemyBullets[0].Active);
    EXPECT_FALSE(EnemyBullets[1].Active);
    EXPECT_EQ(BulletsCarriedOver.BounceCounter, 0);
}

TEST_F(BulletsTest, ABouncingBulletRetiredByTheCounterStillHitsThatFrame) {
    BulletsCarriedOver.BounceCounter = 149;
    SpawnEnemyBullet(250, 500, 0, 0, 60);
    Frame();
    EXPECT_EQ(Player.HP, 2);
    EXPECT_EQ(Player.State, ShipBlinking);
}

TEST_F(BulletsTest, SmallBulletsHitWithinTwelvePixels) {
    SpawnEnemyBullet(250 + 11.9, 500, 0, 0, 0);
    Frame();
    EXPECT_FALSE(EnemyBullets[0].Active);
    EXPECT_EQ(Player.HP, 2);
    Player.State = ShipNormal;
    SpawnEnemyBullet(250, 500 - 12, 0, 0, 0);
    Frame();
    EXPECT_TRUE(EnemyBullets[0].Active);
    EXPECT_EQ(Player.HP, 2);
}

TEST_F(BulletsTest, LargeBulletsHitWithinTwentyFourPixels) {
    SpawnEnemyBullet(250, 500 + 24, 0, 0, 60);
    Frame();
    EXPECT_TRUE(EnemyBullets[0].Active);
    EnemyBullets[0] = {250 - 23.9, 500, 0, 0, 40, True16};
    Frame();
    EXPECT_FALSE(EnemyBullets[0].Active);
    EXPECT_EQ(EnemyBullets[0].Frame, 0);
    EXPECT_EQ(Player.HP, 2);
}

struct HitCase {
    uint8_t HP, State;  // before the hit
    uint8_t HPAfter, StateAfter;
};

TEST_F(BulletsTest, AHitCostsWhatTheShipsStateSays) {
    const HitCase cases[] = {
        {3, ShipNormal, 2, ShipBlinking},          // one hit point, then blinking
        {2, ShipBlinking, 2, ShipBlinking},        // blinking with hit points left: nothing
        {3, ShipEntering, 3, ShipEntering},        // still rising in: nothing
        {0, ShipNormal, 0, ShipExplosionFirst},    // no hit points left: the explosion starts
        {0, ShipBlinking, 0, ShipExplosionFirst},  // even while blinking
        {0, ShipEntering, 0, ShipExplosionFirst},  // even while rising in
        {0, ShipExplosionFirst + 2, 0, ShipExplosionFirst + 2},  // already exploding
        {2, ShipGone, 2, ShipGone},
    };
    for (const HitCase& hit : cases) {
        Player = {250, 500, 0, 0, hit.HP, hit.State};
        EnemyBullets.assign(InitialTableSlots, BulletRecord{});
        SpawnEnemyBullet(250, 500, 0, 0, 0);
        Frame();
        EXPECT_FALSE(EnemyBullets[0].Active) << int(hit.HP) << "/" << int(hit.State);
        EXPECT_EQ(Player.HP, hit.HPAfter) << int(hit.HP) << "/" << int(hit.State);
        EXPECT_EQ(Player.State, hit.StateAfter) << int(hit.HP) << "/" << int(hit.State);
    }
}

}  // namespace
