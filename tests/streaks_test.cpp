// The falling streaks: fall and fade, drawn whole or not at all, respawned at random places.
#include "game/streaks.h"

#include <gtest/gtest.h>

#include <set>

#include "game/state.h"
#include "gfx/display.h"
#include "support/test_support.h"

namespace {

constexpr uint32_t StreakColour = 0x8080FF;

class StreaksTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        SurfBack = MakeSurface(6, 18, StreakColour);
        for (StreakRecord& streak : Streaks) streak = {0, 700, 1000};  // out of sight
    }
    void Frame() {
        ClearSurface(BackBuffer, 0);
        UpdateStreaks();
    }
};

TEST_F(StreaksTest, FallsFiveAndLosesTenEachFrame) {
    Streaks[3] = {100, 200, 300};
    Frame();
    EXPECT_EQ(Streaks[3].Y, 205);
    EXPECT_EQ(Streaks[3].Life, 290);
    EXPECT_EQ(Streaks[3].X, 100);
    EXPECT_EQ(PixelAt(BackBuffer, 100, 205), StreakColour);
    EXPECT_EQ(PixelAt(BackBuffer, 105, 222), StreakColour);
    EXPECT_EQ(PixelAt(BackBuffer, 100, 204), 0u);
    EXPECT_EQ(PixelAt(BackBuffer, 106, 205), 0u);
}

TEST_F(StreaksTest, AStreakOverTheEdgeIsNotDrawnButKeepsFalling) {
    Streaks[0] = {495, 100, 300};
    Streaks[1] = {10, 578, 300};  // falls to 583: its foot would be below the field
    Frame();
    EXPECT_EQ(PixelAt(BackBuffer, 497, 110), 0u);
    EXPECT_EQ(PixelAt(BackBuffer, 12, 590), 0u);
    EXPECT_EQ(Streaks[1].Y, 583);
    Streaks[0] = {494, 100, 300};
    Frame();
    EXPECT_EQ(PixelAt(BackBuffer, 499, 110), StreakColour);
}

TEST_F(StreaksTest, LifeExactlyZeroWaitsOneMoreFrameBeforeRespawning) {
    Streaks[5] = {40, 100, 10};
    Frame();
    EXPECT_EQ(Streaks[5].Life, 0);
    EXPECT_EQ(Streaks[5].Y, 105);
    Frame();
    // Drawn at the old place in the frame of the respawn.
    EXPECT_EQ(PixelAt(BackBuffer, 40, 110), StreakColour);
    EXPECT_GE(Streaks[5].Life, 300);
    EXPECT_LE(Streaks[5].Life, 500);
}

TEST_F(StreaksTest, RespawnsWithinTheirRanges) {
    int respawns = 0;
    std::set<int32_t> xs;
    for (int round = 0; round < 40; ++round) {
        for (StreakRecord& streak : Streaks) streak.Life = 5;
        Frame();
        for (const StreakRecord& streak : Streaks) {
            EXPECT_GE(streak.X, 0);
            EXPECT_LE(streak.X, 500);
            EXPECT_GE(streak.Y, 0);
            EXPECT_LE(streak.Y, 500);
            EXPECT_GE(streak.Life, 300);
            EXPECT_LE(streak.Life, 500);
            xs.insert(streak.X);
            ++respawns;
        }
    }
    EXPECT_EQ(respawns, 40 * 31);
    EXPECT_GT(xs.size(), 300u);  // spread over the width, not stuck on a few places
}

}  // namespace
