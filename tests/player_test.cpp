// The ship: rising in from the bottom, steering and clamping, volleys and the Z latch, blinking
// on the clock, and the explosion that ends the game.
#include "game/player.h"

#include <gtest/gtest.h>

#include "audio/headless/headless_audio.h"
#include "audio/sound.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

constexpr uint32_t ShipColour = 0x00C0FF;

class PlayerTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        SurfShip = MakeSurface(48, 40, ShipColour);
        SurfExplosion = MakeSurface(81 * 10 + 80, 80, 0);
        for (int cell = 0; cell <= 10; ++cell)
            for (int y = 0; y < 80; ++y)
                for (int x = 0; x < 80; ++x)
                    SurfExplosion->Pixels[size_t(y) * SurfExplosion->Width + 81 * cell + x] =
                        ExplosionColour(cell);
        Player = {226, 600, 0, 0, 5, 0};
        PlayerCarriedOver.FireCooldown = 0;
        PlayerCarriedOver.BlinkCounter = 0;
        GameMode = ModeStage;
    }
    static uint32_t ExplosionColour(int cell) { return 0x400000u + uint32_t(cell); }
    void Frame() {
        ClearSurface(BackBuffer, 0);
        UpdatePlayer();
    }
    bool ShipDrawn() const { return PixelAt(BackBuffer, Player.X, Player.Y) == ShipColour; }
    int ActiveShots() const {
        int count = 0;
        for (const BulletRecord& shot : PlayerShots) count += shot.Active ? 1 : 0;
        return count;
    }
    void Fly(int x, int y) { Player = {x, y, 0, 0, 5, 1}; }
};

TEST_F(PlayerTest, RisesFiveAFrameAndTakesControlOnTheTwentiethFrame) {
    for (int frame = 1; frame <= 19; ++frame) {
        Frame();
        EXPECT_EQ(Player.Y, 600 - 5 * frame);
        EXPECT_EQ(Player.State, ShipEntering) << frame;
    }
    Frame();
    EXPECT_EQ(Player.Y, 500);
    EXPECT_EQ(Player.State, ShipNormal);
}

TEST_F(PlayerTest, ShowsOnlyOnceWhollyInsideTheField) {
    Frame();
    Frame();
    Frame();
    EXPECT_EQ(Player.Y, 585);
    EXPECT_FALSE(ShipDrawn());
    Frame();
    EXPECT_EQ(Player.Y, 580);
    EXPECT_TRUE(ShipDrawn());
    EXPECT_EQ(PixelAt(BackBuffer, 202, 560), ShipColour);
    EXPECT_EQ(PixelAt(BackBuffer, 249, 599), ShipColour);
}

TEST_F(PlayerTest, IgnoresKeysWhileRisingIn) {
    PlayerCarriedOver.FireCooldown = 255;
    headless::SetKey(VkLeft, true);
    headless::SetKey(VkZ, true);
    for (int frame = 0; frame < 20; ++frame) Frame();
    EXPECT_EQ(Player.X, 226);
    EXPECT_EQ(ActiveShots(), 0);
    Frame();  // the first controllable frame
    EXPECT_EQ(Player.X, 214);
    EXPECT_EQ(ActiveShots(), 3);
}

TEST_F(PlayerTest, ArrowsAndKeypadMoveTwelvePerAxis) {
    Fly(200, 300);
    headless::SetKey(VkUp, true);
    headless::SetKey(VkRight, true);
    Frame();
    EXPECT_EQ(Player.X, 212);
    EXPECT_EQ(Player.Y, 288);
    headless::SetKey(VkUp, false);
    headless::SetKey(VkRight, false);
    for (const int key : {VkNumpad2, VkNumpad5}) {
        headless::SetKey(key, true);
        Frame();
        headless::SetKey(key, false);
    }
    EXPECT_EQ(Player.Y, 312);
    headless::SetKey(VkNumpad4, true);
    Frame();
    EXPECT_EQ(Player.X, 200);
    headless::SetKey(VkNumpad4, false);
    headless::SetKey(VkNumpad8, true);
    headless::SetKey(VkNumpad6, true);
    Frame();
    EXPECT_EQ(Player.X, 212);
    EXPECT_EQ(Player.Y, 300);
    EXPECT_EQ(Player.DX, 12);
    EXPECT_EQ(Player.DY, -12);
}

TEST_F(PlayerTest, OppositeKeysCancel) {
    Fly(200, 300);
    for (const int key : {VkUp, VkDown, VkLeft, VkRight}) headless::SetKey(key, true);
    Frame();
    EXPECT_EQ(Player.X, 200);
    EXPECT_EQ(Player.Y, 300);
}

TEST_F(PlayerTest, HeldAgainstAnEdgeStaysOnIt) {
    Fly(30, 575);
    headless::SetKey(VkLeft, true);
    headless::SetKey(VkDown, true);
    for (int frame = 0; frame < 3; ++frame) {
        Frame();
        EXPECT_EQ(Player.X, 24);
        EXPECT_EQ(Player.Y, 580);
    }
    EXPECT_TRUE(ShipDrawn());
    headless::SetKey(VkLeft, false);
    headless::SetKey(VkDown, false);
    Fly(470, 25);
    headless::SetKey(VkRight, true);
    headless::SetKey(VkUp, true);
    Frame();
    EXPECT_EQ(Player.X, 476);
    EXPECT_EQ(Player.Y, 20);
}

TEST_F(PlayerTest, HoldingZFiresAVolleyEveryThirdFrame) {
    Fly(200, 400);
    headless::SetKey(VkZ, true);
    std::vector<int> volleyFrames;
    for (int frame = 1; frame <= 10; ++frame) {
        const int before = ActiveShots();
        Frame();
        if (ActiveShots() > before) volleyFrames.push_back(frame);
    }
    EXPECT_EQ(volleyFrames, (std::vector<int>{4, 7, 10}));
}

TEST_F(PlayerTest, AVolleyStartsFromTheCentreBeforeTheMove) {
    Fly(200, 400);
    PlayerCarriedOver.FireCooldown = 3;
    headless::SetKey(VkZ, true);
    headless::SetKey(VkLeft, true);
    Frame();
    ASSERT_EQ(ActiveShots(), 3);
    const double steps[] = {-8, 0, 8};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(PlayerShots[i].X, 200);
        EXPECT_EQ(PlayerShots[i].Y, 400);
        EXPECT_EQ(PlayerShots[i].DX, steps[i]);
        EXPECT_EQ(PlayerShots[i].DY, 30);
    }
    EXPECT_EQ(Player.X, 188);
    EXPECT_EQ(PlayerCarriedOver.FireCooldown, 1);
}

TEST_F(PlayerTest, ATapBetweenFramesStillFiresOnce) {
    Fly(200, 400);
    PlayerCarriedOver.FireCooldown = 3;
    headless::TapKey(VkZ);
    Frame();
    EXPECT_EQ(ActiveShots(), 3);
    PlayerCarriedOver.FireCooldown = 3;
    Frame();
    EXPECT_EQ(ActiveShots(), 3);  // the tap was used up by the first query
}

TEST_F(PlayerTest, CooldownSaturatesAt255) {
    Fly(200, 400);
    PlayerCarriedOver.FireCooldown = 250;
    for (int frame = 0; frame < 10; ++frame) Frame();
    EXPECT_EQ(PlayerCarriedOver.FireCooldown, 255);
}

TEST_F(PlayerTest, BlinksOnTheHundredMillisecondClock) {
    Fly(200, 400);
    Player.State = ShipBlinking;
    headless::SetClock(100200);
    Frame();
    EXPECT_TRUE(ShipDrawn());
    headless::SetClock(100399);
    Frame();
    EXPECT_FALSE(ShipDrawn());
    headless::SetClock(100400);
    Frame();
    EXPECT_TRUE(ShipDrawn());
    EXPECT_EQ(PlayerCarriedOver.BlinkCounter, 3);
}

TEST_F(PlayerTest, BlinkingEndsAfterFiftyFrames) {
    Fly(200, 400);
    Player.State = ShipBlinking;
    for (int frame = 1; frame < 50; ++frame) {
        Frame();
        EXPECT_EQ(Player.State, ShipBlinking);
    }
    Frame();
    EXPECT_EQ(Player.State, ShipNormal);
    EXPECT_EQ(PlayerCarriedOver.BlinkCounter, 0);
}

TEST_F(PlayerTest, ABlinkLeftPartWayShortensTheNextOne) {
    Fly(200, 400);
    Player.State = ShipBlinking;
    PlayerCarriedOver.BlinkCounter = 45;
    for (int frame = 0; frame < 5; ++frame) Frame();
    EXPECT_EQ(Player.State, ShipNormal);
}

TEST_F(PlayerTest, BlinkingShipStillSteersAndFires) {
    Fly(200, 400);
    Player.State = ShipBlinking;
    PlayerCarriedOver.FireCooldown = 3;
    headless::SetKey(VkZ, true);
    headless::SetKey(VkRight, true);
    Frame();
    EXPECT_EQ(Player.X, 212);
    EXPECT_EQ(ActiveShots(), 3);
}

TEST_F(PlayerTest, ExplosionShowsElevenCellsThenAsksForGameOver) {
    Fly(200, 400);
    Player.State = ShipExplosionFirst;
    WavOn = True16;
    SoundExplosion = SoundEffect{8, 0, 0};
    for (int cell = 0; cell <= 10; ++cell) {
        EXPECT_EQ(GameMode, ModeStage);
        Frame();
        EXPECT_EQ(PixelAt(BackBuffer, 160, 360), ExplosionColour(cell));
        EXPECT_EQ(PixelAt(BackBuffer, 239, 439), ExplosionColour(cell));
        EXPECT_EQ(Player.State, ShipExplosionFirst + 1 + cell);
        EXPECT_EQ(headless::TakePlayedVoices().size(), cell == 10 ? 1u : 0u);
    }
    EXPECT_EQ(GameMode, ModeGameOver);
    Frame();  // gone: nothing drawn, nothing changes
    EXPECT_EQ(Player.State, ShipGone);
    EXPECT_EQ(PixelAt(BackBuffer, 200, 400), 0u);
}

TEST_F(PlayerTest, SilentExplosionWhenEffectsAreOff) {
    Fly(200, 400);
    Player.State = ShipExplosionLast;
    SoundExplosion = SoundEffect{8, 0, 0};
    Frame();
    EXPECT_TRUE(headless::TakePlayedVoices().empty());
    EXPECT_EQ(GameMode, ModeGameOver);
}

TEST_F(PlayerTest, ExplosionAtAnEdgeIsHiddenButStillEndsTheGame) {
    Fly(24, 400);
    Player.State = ShipExplosionLast;
    Frame();
    EXPECT_EQ(PixelAt(BackBuffer, 24, 400), 0u);
    EXPECT_EQ(GameMode, ModeGameOver);
}

}  // namespace
