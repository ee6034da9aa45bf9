// Random numbers and straight-line motion: ranges, variety within one clock tick, replays, and
// the 3.14-based angle conversions every shot's direction rests on.
#include "game/motion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <vector>

#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

class RandomRangeTest : public GameTest {};

std::map<int32_t, int> Histogram(int32_t high, int32_t low, int draws) {
    std::map<int32_t, int> counts;
    for (int i = 0; i < draws; ++i) ++counts[RandomRange(high, low)];
    return counts;
}

TEST_F(RandomRangeTest, EmptyWidthRangeAlwaysGivesItsOneValue) {
    for (int i = 0; i < 200; ++i) EXPECT_EQ(RandomRange(5, 5), 5);
}

TEST_F(RandomRangeTest, CoinGivesBothSidesAndNothingElse) {
    const auto counts = Histogram(1, 0, 400);
    ASSERT_EQ(counts.size(), 2u);
    EXPECT_GT(counts.at(0), 150);
    EXPECT_GT(counts.at(1), 150);
}

TEST_F(RandomRangeTest, NegativeRangeFloorsRatherThanTruncates) {
    const auto counts = Histogram(-3, -8, 3000);
    ASSERT_EQ(counts.size(), 6u);
    EXPECT_EQ(counts.begin()->first, -8);
    EXPECT_EQ(counts.rbegin()->first, -3);
    for (const auto& [value, count] : counts) EXPECT_GT(count, 350) << value;
}

TEST_F(RandomRangeTest, ManyDrawsWithinOneClockTickStillVary) {
    headless::SetClock(123456);
    std::set<int32_t> seen;
    for (int i = 0; i < 200; ++i) seen.insert(RandomRange(359, 0));
    EXPECT_GT(seen.size(), 150u);
}

// A fresh run with a given seed, drawing twice per frame on a 50 ms clock.
std::vector<int32_t> DrawRun(uint64_t seed) {
    ResetRandom();
    headless::SetSeed(seed);
    std::vector<int32_t> values;
    for (int tick = 0; tick < 50; ++tick) {
        headless::SetClock(100000 + tick * 50);
        values.push_back(RandomRange(1000, 0));
        values.push_back(RandomRange(1000, 0));
    }
    return values;
}

TEST_F(RandomRangeTest, SameSeedAndClockReplayTheSameNumbers) {
    const std::vector<int32_t> first = DrawRun(42);
    EXPECT_EQ(DrawRun(42), first);
    EXPECT_NE(DrawRun(43), first);
}

TEST_F(RandomRangeTest, TwoRangesNeverGiveTheGapBetweenThem) {
    std::set<int32_t> seen;
    for (int i = 0; i < 2000; ++i) {
        const int32_t value = RandomFromTwoRanges(9, 4, -4, -9);
        EXPECT_TRUE((value >= 4 && value <= 9) || (value >= -9 && value <= -4)) << value;
        seen.insert(value);
    }
    EXPECT_EQ(seen.size(), 12u);
}

TEST(VelocityTest, TowardAPointHasTheSpeedAsLength) {
    const Velocity v = VelocityToward(10, 20, 13, 24, 10);
    EXPECT_DOUBLE_EQ(v.DX, 6);
    EXPECT_DOUBLE_EQ(v.DY, 8);
}

TEST(VelocityTest, TowardTheSamePointIsStandingStill) {
    const Velocity v = VelocityToward(226, 500, 226, 500, 10);
    EXPECT_EQ(v.DX, 0);
    EXPECT_EQ(v.DY, 0);
}

TEST(VelocityTest, ZeroDegreesIsExactlyToTheRight) {
    const Velocity v = VelocityFromAngle(0, 8);
    EXPECT_EQ(v.DX, 8);
    EXPECT_EQ(v.DY, 0);
}

// Pi taken as 3.14 leaves the quarter turns slightly off the axes.
TEST(VelocityTest, QuarterTurnsCarryThePiOf314) {
    const Velocity down = VelocityFromAngle(90, 8);
    EXPECT_NEAR(down.DX, 0.0063706, 1e-6);
    EXPECT_NEAR(down.DY, 7.9999975, 1e-6);
    const Velocity left = VelocityFromAngle(180, 10);
    EXPECT_NEAR(left.DX, -9.9999873, 1e-6);
    EXPECT_NEAR(left.DY, 0.0159265, 1e-6);
    const Velocity up = VelocityFromAngle(270, 8);
    EXPECT_NEAR(up.DX, -0.0191118, 1e-6);
    EXPECT_NEAR(up.DY, -7.9999772, 1e-6);
}

TEST(VelocityTest, SpeedIsRoundedHalfToEven) {
    EXPECT_DOUBLE_EQ(VelocityFromAngle(0, 7.5).DX, 8);
    EXPECT_DOUBLE_EQ(VelocityFromAngle(0, 8.5).DX, 8);
    EXPECT_DOUBLE_EQ(VelocityFromAngle(0, 9.5).DX, 10);
    EXPECT_DOUBLE_EQ(VelocityFromAngle(0, 5.4).DX, 5);
}

TEST(AimAngleTest, DiagonalsAndStraightLines) {
    EXPECT_EQ(AimAngle(100, 100, 200, 200), 45);
    EXPECT_EQ(AimAngle(100, 100, 0, 200), 135);
    EXPECT_EQ(AimAngle(100, 100, 0, 100), 180);
    EXPECT_EQ(AimAngle(100, 100, 200, 100), 0);
    EXPECT_EQ(AimAngle(100, 100, 200, 0), -45);
}

TEST(AimAngleTest, SameColumnPointsStraightUpOrDown) {
    EXPECT_EQ(AimAngle(100, 100, 100, 50), 270);
    EXPECT_EQ(AimAngle(100, 100, 100, 150), 90);
    EXPECT_EQ(AimAngle(100, 100, 100, 100), 90);
}

// atan(4.5) is 77.47 true degrees but 77.51 with the 3.14-based factor.
TEST(AimAngleTest, RadiansBecomeDegreesWithThePiOf314) {
    EXPECT_EQ(AimAngle(0, 0, 2, 9), 78);
    EXPECT_EQ(AimAngle(0, 0, -2, 9), 102);
}

}  // namespace
