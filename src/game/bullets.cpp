#include "game/bullets.h"

#include <cmath>

#include "common/rounding.h"
#include "game/state.h"
#include "gfx/display.h"

BulletsCarriedOverRecord BulletsCarriedOver;

void ResetBounceCounter() {
    BulletsCarriedOver = {};
}

namespace {

constexpr double FieldMinX = -8;
constexpr double FieldMaxX = 508;
constexpr double FieldMinY = -8;
constexpr double FieldMaxY = 608;
constexpr uint8_t SmallRadius = 8;
constexpr uint8_t LargeRadius = 20;
constexpr int32_t BounceLifetime = 150;  // frames of one bouncing bullet alone in flight
constexpr double ShipReach = 4;          // added to a bullet's radius

constexpr int LastSmallFamily = BulletViolet / FramesPerFamily;
constexpr int FamilyHoming = BulletHoming / FramesPerFamily;
constexpr int FamilyBouncing = BulletBouncing / FramesPerFamily;

// How a family's picture is cut from its strip and placed on the bullet's centre.
struct BulletLook {
    int Width, Height, Offset, SourceLimitX, SourceLimitY;
};
constexpr BulletLook SmallLook{15, 15, 8, 127, 63};
constexpr BulletLook LargeLook{60, 59, 30, 181, 59};

void Draw(const BulletRecord& bullet, const Surface& picture, int cellX, int cellY,
          const BulletLook& look) {
    const auto left = static_cast<int>(RoundHalfEven(bullet.X - look.Offset));
    const auto top = static_cast<int>(RoundHalfEven(bullet.Y - look.Offset));
    DrawSpriteClipped(BackBuffer, left, top, look.Width, look.Height, FieldWidth, FieldHeight,
                      picture, cellX, cellY, look.SourceLimitX, look.SourceLimitY, true);
}

// Steps 1 to 7 of the family's row in turn.
uint8_t UpdateSmall(BulletRecord& bullet) {
    const int step = bullet.Frame % FramesPerFamily;
    const int family = bullet.Frame / FramesPerFamily;
    Draw(bullet, SurfBullets1234, step * 16, family * 15, SmallLook);
    if (step == 7) bullet.Frame -= 7;
    return SmallRadius;
}

// Gains one pixel per frame per frame towards the ship's centre, with no limit on its speed.
uint8_t UpdateHoming(BulletRecord& bullet) {
    Draw(bullet, SurfBullets5, (bullet.Frame % FramesPerFamily) * 60, 0, LargeLook);
    if (bullet.Frame == BulletHoming + 2) bullet.Frame = BulletHoming;  // two pictures in turn
    const double toX = Player.X - bullet.X;
    const double toY = Player.Y - bullet.Y;
    const double d = std::sqrt(toY * toY + toX * toX);
    if (d > 0) {  // right on the ship's centre there is no way to turn: it keeps its course
        bullet.DX += toX / d;
        bullet.DY += toY / d;
    }
    return LargeRadius;
}

// Covers twice its velocity per frame and turns back 30 pixels inside the edges, so only the
// shared counter retires it: one bullet in 150 frames, k of them one every 150 / k frames.
uint8_t UpdateBouncing(BulletRecord& bullet) {
    Draw(bullet, SurfBullets6, (bullet.Frame % FramesPerFamily) * 60, 0, LargeLook);
    if (++BulletsCarriedOver.BounceCounter == BounceLifetime) {
        bullet.Active = False16;
        BulletsCarriedOver.BounceCounter = 0;
    }
    if (bullet.Frame == BulletBouncing + 2) bullet.Frame = BulletBouncing;
    bullet.X += bullet.DX;
    bullet.Y += bullet.DY;
    if ((bullet.X <= 30 && bullet.DX < 0) || (bullet.X >= 470 && bullet.DX > 0))
        bullet.DX = -bullet.DX;
    if ((bullet.Y <= 30 && bullet.DY < 0) || (bullet.Y >= 570 && bullet.DY > 0))
        bullet.DY = -bullet.DY;
    return LargeRadius;
}

bool OutsideField(const BulletRecord& bullet) {
    return bullet.X < FieldMinX || bullet.X > FieldMaxX || bullet.Y < FieldMinY ||
           bullet.Y > FieldMaxY;
}

// Moves, animates and draws one bullet; returns its hit radius.
uint8_t MoveBullet(BulletRecord& bullet) {
    bullet.X += bullet.DX;
    bullet.Y += bullet.DY;
    ++bullet.Frame;
    const int family = bullet.Frame / FramesPerFamily;
    if (family <= LastSmallFamily) return UpdateSmall(bullet);
    if (family == FamilyHoming) return UpdateHoming(bullet);
    if (family == FamilyBouncing) return UpdateBouncing(bullet);
    return 0;  // no spawner uses the other codes
}

void CheckBulletHitsPlayer(uint8_t slot, uint8_t radius) {
    BulletRecord& bullet = EnemyBullets[slot];
    const double dy = Player.Y - bullet.Y;
    const double dx = Player.X - bullet.X;
    const double reach = radius + ShipReach;
    if (!(reach * reach > dy * dy + dx * dx)) return;
    // The bullet is used up whatever the ship's state.
    bullet.Frame = 0;
    bullet.Active = False16;
    if (Player.State == ShipNormal && Player.HP != 0) {
        --Player.HP;
        Player.State = ShipBlinking;
    } else if (Player.HP == 0 && Player.State < ShipExplosionFirst) {
        Player.State = ShipExplosionFirst;
    }
}

}  // namespace

void SpawnEnemyBullet(double x, double y, double dx, double dy, uint8_t code) {
    if (BulletRecord* slot = FreeSlot(EnemyBullets, MaxEnemyBullets))
        *slot = {x, y, dx, dy, code, True16};
}

void UpdateEnemyBullets() {
    const size_t count = EnemyBullets.size();
    for (size_t i = 0; i < count; ++i) {
        BulletRecord& bullet = EnemyBullets[i];
        if (!bullet.Active) continue;
        // Tested before moving, bounds included: a bullet on -8 or 508 is still drawn.
        if (OutsideField(bullet)) {
            bullet.Active = False16;
            continue;
        }
        const uint8_t radius = MoveBullet(bullet);
        // Even a bouncing bullet retired just now can still hit in this frame.
        CheckBulletHitsPlayer(static_cast<uint8_t>(i), radius);
    }
}
