// The boss: its descent, drift, attacks, damage and destruction.
#include "game/boss.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/difficulty.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

class BossTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        headless::SetSeed(7);
        BossCarriedOver = {};
        SurfBoss = nullptr;
        SurfExplosion = nullptr;
        ResetBoss();
    }

    static void StartFight(int32_t x, int32_t y, int32_t dx, int32_t dy) {
        BossFight.BossPhase = PhaseFighting;
        BossFight.BossX = x;
        BossFight.BossY = y;
        BossCarriedOver.BossDX = dx;
        BossCarriedOver.BossDY = dy;
    }
    // One fighting frame from the given position and steps.
    static void FightFrom(int32_t x, int32_t y, int32_t dx, int32_t dy) {
        StartFight(x, y, dx, dy);
        UpdateBoss();
    }
};

// A player shot at (x, y) in slot 0, tested against the boss; true when the boss took it.
bool ShotHits(double x, double y) {
    PlayerShots[0] = BulletRecord{x, y, 0, 30, 1, True16};
    CheckShotHitsBoss(0);
    return PlayerShots[0].Active == False16;
}

std::vector<BulletRecord> BulletsInFlight() {
    std::vector<BulletRecord> flying;
    for (const BulletRecord& bullet : EnemyBullets) {
        if (bullet.Active != False16) flying.push_back(bullet);
    }
    return flying;
}

std::vector<BulletRecord> Fired(uint8_t attack) {
    EnemyBullets.assign(InitialTableSlots, BulletRecord{});
    BossFire(attack);
    return BulletsInFlight();
}

double DirectionDegrees(const BulletRecord& b) {
    return std::fmod(std::atan2(b.DY, b.DX) * 180 / std::numbers::pi + 360, 360);
}

}  // namespace

// --- Damage ---

class BossHitCount : public BossTest, public ::testing::WithParamInterface<int> {};

TEST_P(BossHitCount, StartingHitPointsOfHitsDestroyTheBossAndPayTheBonusOnce) {
    Difficulty = static_cast<uint8_t>(GetParam());
    const int hits = 200 + 100 * GetParam();
    ResetBoss();
    Score = 123;
    for (int hit = 1; hit < hits; ++hit)
        ASSERT_TRUE(ShotHits(BossFight.BossX, BossFight.BossY + 10));  // descending
    EXPECT_EQ(BossFight.BossPhase, PhaseEntering);
    BossCarriedOver.BossDX = 4;
    BossCarriedOver.BossDY = 3;
    EXPECT_TRUE(ShotHits(BossFight.BossX, BossFight.BossY));
    EXPECT_EQ(BossFight.BossPhase, PhaseDestroyed);
    EXPECT_EQ(Score, 123 + GetParam() * 1000);
    EXPECT_EQ(BossCarriedOver.BossDX, 0);
    EXPECT_EQ(BossCarriedOver.BossDY, 0);
    // The wreck still swallows shots, without a second bonus.
    EXPECT_TRUE(ShotHits(BossFight.BossX, BossFight.BossY));
    EXPECT_EQ(BossFight.BossHP, -1);
    EXPECT_EQ(Score, 123 + GetParam() * 1000);
}
INSTANTIATE_TEST_SUITE_P(EachDifficulty, BossHitCount, ::testing::Values(1, 2, 3),
                         NameByDifficulty());

// A replay plays its game in a fresh program given only the carried-over record: a fight must
// leave nothing else behind for the next game, not even the attack of a game lost mid-fight.
TEST_F(BossTest, ANewFightKeepsOnlyTheCarriedOverRecordOfTheLast) {
    Difficulty = DifficultyNormal;
    BossFight = {
        .BossX = 7, .BossY = 8, .BossPhase = PhaseFighting, .BossAttack = AttackRing, .BossHP = 3};
    BossCarriedOver.BossDX = 4;
    BossCarriedOver.HomingPickCount = 1;
    ResetBoss();
    const BossFightRecord left = BossFight;
    const BossCarriedOverRecord carried = BossCarriedOver;
    ResetBossState();
    BossCarriedOver = carried;
    ResetBoss();
    EXPECT_EQ(left.BossX, BossFight.BossX);
    EXPECT_EQ(left.BossY, BossFight.BossY);
    EXPECT_EQ(left.BossPhase, BossFight.BossPhase);
    EXPECT_EQ(left.BossAttack, BossFight.BossAttack);
    EXPECT_EQ(left.BossHP, BossFight.BossHP);
    EXPECT_EQ(BossCarriedOver.BossDX, 4);
    EXPECT_EQ(BossCarriedOver.HomingPickCount, 1);
}

TEST_F(BossTest, ShotsHitOnlyWithinSixtyPixelsOfTheCentre) {
    BossFight.BossPhase = PhaseFighting;
    BossFight.BossX = 250;
    BossFight.BossY = 300;
    BossFight.BossHP = 400;
    EXPECT_FALSE(ShotHits(310, 300));
    EXPECT_FALSE(ShotHits(250 - 36, 300 + 48));
    EXPECT_EQ(BossFight.BossHP, 400);
    EXPECT_TRUE(ShotHits(250, 300 - 59.9));
    EXPECT_EQ(BossFight.BossHP, 399);
}

// --- Reset, descent and drift ---

TEST_F(BossTest, ResetPlacesTheBossAndKeepsWhatOutlivesAGame) {
    BossCarriedOver.BossDX = -3;
    BossCarriedOver.BossDY = 7;
    BossCarriedOver.BossDebris[4] = DebrisRecord{1, 2, 3, 4, 5, 6, True16};
    BossCarriedOver.BossDeathTimer = 42;
    BossCarriedOver.HomingPickCount = 1;
    BossFight.BossHP = 17;
    Difficulty = 0;  // not a difficulty: the hit points stay
    ResetBoss();
    EXPECT_EQ(BossFight.BossX, 250);
    EXPECT_EQ(BossFight.BossY, -250);
    EXPECT_EQ(BossFight.BossPhase, PhaseEntering);
    EXPECT_EQ(BossFight.BossHP, 17);
    EXPECT_EQ(BossCarriedOver.BossDX, -3);
    EXPECT_EQ(BossCarriedOver.BossDY, 7);
    EXPECT_EQ(BossCarriedOver.BossDebris[4].Life, 5);
    EXPECT_EQ(BossCarriedOver.BossDebris[4].Active, True16);
    EXPECT_EQ(BossCarriedOver.BossDeathTimer, 42);
    EXPECT_EQ(BossCarriedOver.HomingPickCount, 1);
}

TEST_F(BossTest, FightBeginsOnThe168thFrameAtY251AfterFiringEveryFrameOfTheDescent) {
    for (int frame = 1; frame <= 167; ++frame) {
        UpdateBoss();
        ASSERT_EQ(BossFight.BossPhase, PhaseEntering) << frame;
        ASSERT_EQ(BossFight.BossAttack, AttackSingle) << frame;
    }
    EXPECT_EQ(BossFight.BossX, 250);
    EXPECT_EQ(BossFight.BossY, 251);
    UpdateBoss();
    EXPECT_EQ(BossFight.BossPhase, PhaseFighting);
    EXPECT_EQ(BossFight.BossAttack, AttackSingle);
    EXPECT_TRUE(BossCarriedOver.BossDX >= -5 && BossCarriedOver.BossDX <= 5)
        << BossCarriedOver.BossDX;
    EXPECT_TRUE(BossCarriedOver.BossDY >= -5 && BossCarriedOver.BossDY <= 5)
        << BossCarriedOver.BossDY;
    EXPECT_EQ(BossFight.BossX, 250 + BossCarriedOver.BossDX);
    EXPECT_EQ(BossFight.BossY, 251 + BossCarriedOver.BossDY);

    ResetBoss();
    BossFight.BossY = 250;  // not yet below the line
    UpdateBoss();
    EXPECT_EQ(BossFight.BossPhase, PhaseEntering);
    EXPECT_EQ(BossFight.BossY, 253);
}

TEST_F(BossTest, StepsTurnOnlyAtTheBoundsCheckedBeforeTheMove) {
    struct Case {
        int32_t x, y, dx, dy, lowDX, highDX, lowDY, highDY;
    };
    const Case cases[] = {
        {137, 200, -4, 1, 3, 8, 1, 1},   {137, 200, 0, 1, 3, 8, 1, 1},
        {138, 200, -4, 1, -4, -4, 1, 1},  // one step past the bound
        {363, 200, 1, 1, -8, -3, 1, 1},  {363, 200, 0, 1, 0, 0, 1, 1},
        {250, 0, 0, 0, 0, 0, 3, 8},      {250, 1, 0, -8, 0, 0, -8, -8},
        {250, 360, 0, 2, 0, 0, -8, -3},  {250, 360, 0, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        FightFrom(c.x, c.y, c.dx, c.dy);
        SCOPED_TRACE(testing::Message() << "from " << c.x << "," << c.y);
        EXPECT_TRUE(BossCarriedOver.BossDX >= c.lowDX && BossCarriedOver.BossDX <= c.highDX)
            << BossCarriedOver.BossDX;
        EXPECT_TRUE(BossCarriedOver.BossDY >= c.lowDY && BossCarriedOver.BossDY <= c.highDY)
            << BossCarriedOver.BossDY;
        EXPECT_EQ(BossFight.BossX, c.x + BossCarriedOver.BossDX);
        EXPECT_EQ(BossFight.BossY, c.y + BossCarriedOver.BossDY);
    }
}

TEST_F(BossTest, AZeroStepFreezesItsAxisWhileTheOtherBouncesBetweenTheBounds) {
    for (bool sideways : {true, false}) {
        StartFight(250, 251, sideways ? 0 : 5, sideways ? 5 : 0);
        int32_t low = 1000, high = -1000;
        for (int frame = 0; frame < 1000; ++frame) {
            EnemyBullets.assign(InitialTableSlots, BulletRecord{});
            UpdateBoss();
            ASSERT_EQ(sideways ? BossFight.BossX : BossFight.BossY, sideways ? 250 : 251) << frame;
            const int32_t moving = sideways ? BossFight.BossY : BossFight.BossX;
            low = std::min(low, moving);
            high = std::max(high, moving);
        }
        // Turning before the move lets it overshoot a bound by at most one step of 8.
        if (sideways) {
            EXPECT_TRUE(low <= 0 && low >= -7) << low;
            EXPECT_TRUE(high >= 360 && high <= 367) << high;
        } else {
            EXPECT_TRUE(low <= 137 && low >= 130) << low;
            EXPECT_TRUE(high >= 363 && high <= 370) << high;
        }
    }
}

TEST_F(BossTest, BossIsDrawnAtItsNewPosition) {
    SurfBoss = MakeSurface(269, 236, 0x00AA00);
    FightFrom(200, 200, 5, -4);  // top-left corner lands on (70, 78)
    EXPECT_EQ(PixelAt(BackBuffer, 70, 78), 0x00AA00u);
    EXPECT_EQ(PixelAt(BackBuffer, 70 + 268, 78 + 235), 0x00AA00u);
    EXPECT_EQ(PixelAt(BackBuffer, 69, 78), 0u);
    EXPECT_EQ(PixelAt(BackBuffer, 70, 77), 0u);
}

// --- Attack choice (these need the real random helpers) ---

TEST_F(BossTest, PickWeightedCoversOneToAHundredWithItsRunningSums) {
    for (int draw = 0; draw < 300; ++draw) {
        ASSERT_EQ(PickWeighted(100, 7, 0, 1, 0, 2, 0, 3, 9), 7);
        ASSERT_EQ(PickWeighted(0, 7, 100, 1, 0, 2, 0, 3, 9), 1);
        ASSERT_EQ(PickWeighted(0, 7, 0, 1, 100, 2, 0, 3, 9), 2);
        ASSERT_EQ(PickWeighted(0, 7, 0, 1, 0, 2, 100, 3, 9), 3);
        ASSERT_EQ(PickWeighted(0, 7, 0, 1, 0, 2, 0, 3, 9), 9);
        ASSERT_NE(PickWeighted(60, 7, 20, 1, 15, 2, 5, 3, 9), 9);
    }
}

TEST(PickWeightedFor, ChoosesByTheRunningSumsOfTheWeights) {
    for (int d = 1; d <= 100; ++d) {
        const auto draw = static_cast<uint8_t>(d);
        EXPECT_EQ(PickWeightedFor(draw, 30, 3, 70, 1, 0, 0, 0, 0, 0), d <= 30 ? 3 : 1) << d;
        const int32_t expected = d <= 5 ? 6 : d <= 35 ? 5 : 4;
        EXPECT_EQ(PickWeightedFor(draw, 5, 6, 30, 5, 65, 4, 0, 0, 0), expected) << d;
    }
    EXPECT_EQ(PickWeightedFor(100, 10, 1, 10, 2, 10, 3, 10, 4, 99), 99);  // beyond every sum
    EXPECT_EQ(PickWeightedFor(40, 10, 1, 10, 2, 10, 3, 10, 4, 99), 4);
}

TEST_F(BossTest, PickWeightedSplitsByTheWeights) {
    std::map<int32_t, int> seen;
    for (int draw = 0; draw < 4000; ++draw) ++seen[PickWeighted(5, 6, 30, 5, 65, 4, 0, 0, 0)];
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_TRUE(seen[6] >= 130 && seen[6] <= 270) << seen[6];
    EXPECT_TRUE(seen[5] >= 1080 && seen[5] <= 1320) << seen[5];
    EXPECT_TRUE(seen[4] >= 2460 && seen[4] <= 2740) << seen[4];
}

TEST_F(BossTest, FightingFramesChooseAttacksAtTheirRates) {
    std::map<int, int> seen;
    StartFight(250, 200, 0, 0);
    for (int frame = 0; frame < 4000; ++frame) {
        EnemyBullets.assign(InitialTableSlots, BulletRecord{});
        UpdateBoss();
        ++seen[BossFight.BossAttack];
    }
    EXPECT_EQ(seen.size(), 6u);  // 0, 1, 3, 4, 5, 6
    EXPECT_TRUE(seen[1] >= 480 && seen[1] <= 640) << seen[1];
    EXPECT_TRUE(seen[3] >= 180 && seen[3] <= 300) << seen[3];
    EXPECT_TRUE(seen[4] >= 90 && seen[4] <= 175) << seen[4];
    EXPECT_TRUE(seen[5] >= 80 && seen[5] <= 165) << seen[5];
    EXPECT_TRUE(seen[6] >= 5 && seen[6] <= 45) << seen[6];
}

TEST_F(BossTest, HomingFiresOnEverySecondPickCountingAcrossGames) {
    BossCarriedOver.HomingPickCount = 1;  // one pick in the game before
    ResetBoss();
    StartFight(250, 200, 0, 0);
    std::vector<std::pair<int, int>> picks;  // counter after the pick, attack fired
    for (int frame = 0; frame < 3000 && picks.size() < 4; ++frame) {
        EnemyBullets.assign(InitialTableSlots, BulletRecord{});
        const int16_t before = BossCarriedOver.HomingPickCount;
        UpdateBoss();
        if (BossCarriedOver.HomingPickCount != before)
            picks.emplace_back(BossCarriedOver.HomingPickCount, BossFight.BossAttack);
        else
            ASSERT_NE(BossFight.BossAttack, AttackHoming);
    }
    const std::vector<std::pair<int, int>> expected{{0, 4}, {1, 0}, {0, 4}, {1, 0}};
    EXPECT_EQ(picks, expected);
}

// --- Bullets (these need the real bullet table and motion helpers) ---

TEST_F(BossTest, EachAttackSpawnsItsBulletsAtTheBossCentreWithTheDrawnSteps) {
    BossFight.BossX = 250;
    BossFight.BossY = 100;
    const std::map<uint8_t, std::pair<size_t, uint8_t>> attacks{
        {1, {1, 0}}, {2, {0, 0}}, {3, {3, 10}}, {4, {1, 40}}, {5, {12, 20}}, {6, {1, 60}}};
    for (const auto& [attack, expected] : attacks) {
        const auto bullets = Fired(attack);
        ASSERT_EQ(bullets.size(), expected.first) << int(attack);
        for (const BulletRecord& b : bullets) {
            EXPECT_EQ(b.Frame, expected.second) << int(attack);
            EXPECT_EQ(b.X, 250);
            EXPECT_EQ(b.Y, 100);
        }
    }
    // a is 4 to 9 either way, b is -9 to 9: straight (b, a), homing (b, b), bouncing (a, a).
    const BulletRecord straight = Fired(1)[0], homing = Fired(4)[0], bouncing = Fired(6)[0];
    EXPECT_TRUE(std::abs(straight.DX) <= 9 && std::abs(straight.DY) >= 4) << straight.DY;
    EXPECT_TRUE(homing.DX == homing.DY && std::abs(homing.DX) <= 9) << homing.DX;
    EXPECT_TRUE(bouncing.DX == bouncing.DY && std::abs(bouncing.DX) >= 4) << bouncing.DX;
}

TEST_F(BossTest, SpreadAimsAtTheShipAndRingGoesAllRound) {
    BossFight.BossX = 250;
    BossFight.BossY = 100;
    Player.X = 350;
    Player.Y = 200;  // 45 degrees
    const auto spread = Fired(3);
    ASSERT_EQ(spread.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(DirectionDegrees(spread[i]), 25 + 20 * i, 0.5) << i;
        EXPECT_NEAR(std::hypot(spread[i].DX, spread[i].DY), 10, 1e-9);
    }
    const auto ring = Fired(5);
    ASSERT_EQ(ring.size(), 12u);
    for (int i = 0; i < 12; ++i) {
        EXPECT_NEAR(DirectionDegrees(ring[i]), 30 * i, 0.5) << i;
        EXPECT_NEAR(std::hypot(ring[i].DX, ring[i].DY), 12, 1e-9);
    }
}

TEST_F(BossTest, TheDescentSpraysOneStraightBulletAFrameFromTheNewPosition) {
    UpdateBoss();
    const auto bullets = BulletsInFlight();
    ASSERT_EQ(bullets.size(), 1u);
    EXPECT_EQ(bullets[0].Frame, 0);
    EXPECT_EQ(bullets[0].X, 250);
    EXPECT_EQ(bullets[0].Y, -247);
}

// --- Destruction ---

TEST_F(BossTest, DestructionSoundsTenTimesAndRequestsTheEndingAtFrame100) {
    WavOn = True16;
    SoundExplosion = SoundEffect{8, 0, 1};
    GameMode = ModeBoss;
    BossFight.BossPhase = PhaseDestroyed;
    BossFight.BossX = 250;
    BossFight.BossY = 200;
    for (int frame = 1; frame <= 100; ++frame) {
        ASSERT_EQ(GameMode, ModeBoss) << frame;
        UpdateBoss();
        EXPECT_EQ(headless::TakePlayedVoices().size(), frame % 10 == 0 ? 1u : 0u) << frame;
    }
    EXPECT_EQ(GameMode, ModeEnding);
    EXPECT_EQ(BossCarriedOver.BossDeathTimer, 0);
    EXPECT_EQ(BossFight.BossX, 250);
    EXPECT_EQ(BossFight.BossY, 200);
}

TEST_F(BossTest, DestructionIsSilentWithEffectsOffAndShortenedByATimerLeftRunning) {
    SoundExplosion = SoundEffect{8, 0, 1};
    GameMode = ModeBoss;
    BossFight.BossPhase = PhaseDestroyed;
    BossCarriedOver.BossDeathTimer = 95;  // an earlier game ended during its destruction
    for (int frame = 1; frame <= 5; ++frame) {
        ASSERT_EQ(GameMode, ModeBoss) << frame;
        UpdateBoss();
    }
    EXPECT_EQ(GameMode, ModeEnding);
    EXPECT_TRUE(headless::TakePlayedVoices().empty());
}

TEST_F(BossTest, DebrisDrawsItsCellAtTheRoundedPositionUntilItsLastFrame) {
    SurfExplosion = MakeSurface(810, 80, 0);
    for (int x = 0; x < 810; ++x) {
        for (int y = 0; y < 80; ++y) SurfExplosion->Pixels[y * 810 + x] = 0x100 + x / 81;
    }
    for (DebrisRecord& debris : BossCarriedOver.BossDebris)
        debris = DebrisRecord{-1000, 0, 0, 0, 50, 0, True16};
    BossCarriedOver.BossDebris[3] = DebrisRecord{99.5, 203.5, 1, -2, 2, 9, True16};
    ClearSurface(BackBuffer, 0);
    UpdateBossDestruction();
    // (100.5 - 40, 201.5 - 40) rounds half to even to (60, 162).
    EXPECT_EQ(PixelAt(BackBuffer, 60, 162), 0x100u);
    EXPECT_EQ(PixelAt(BackBuffer, 59, 162), 0u);
    EXPECT_EQ(PixelAt(BackBuffer, 60, 161), 0u);
    EXPECT_EQ(BossCarriedOver.BossDebris[3].Active, True16);

    ClearSurface(BackBuffer, 0);
    UpdateBossDestruction();
    // (101.5 - 40, 199.5 - 40) rounds to (62, 160); drawn in the frame its life ran out.
    EXPECT_EQ(PixelAt(BackBuffer, 62, 160), 0x101u);
    EXPECT_EQ(PixelAt(BackBuffer, 61, 160), 0u);
    EXPECT_EQ(BossCarriedOver.BossDebris[3].Active, False16);
}

TEST_F(BossTest, NewDebrisLeavesFromTheCentreAndShowsFromTheNextFrame) {
    SurfExplosion = MakeSurface(810, 80, 0x123456);
    BossFight.BossX = 250;
    BossFight.BossY = 300;
    ClearSurface(BackBuffer, 0);
    UpdateBossDestruction();
    EXPECT_EQ(std::ranges::count(SettledPixels(BackBuffer), 0u), 500 * 600);
    for (const DebrisRecord& debris : BossCarriedOver.BossDebris) {
        if (debris.Active == False16) continue;
        EXPECT_EQ(debris.X, 250);
        EXPECT_EQ(debris.Y, 300);
        EXPECT_EQ(debris.Frame, 0);
        EXPECT_TRUE(debris.Life >= 10 && debris.Life <= 20) << int(debris.Life);
    }
}
