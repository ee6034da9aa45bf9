#include "game/player.h"

#include <initializer_list>

#include "audio/sound.h"
#include "game/shots.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/platform.h"

PlayerCarriedOverRecord PlayerCarriedOver;

void ResetPlayerCounters() {
    PlayerCarriedOver = {};
}

namespace {

constexpr int32_t StepPerFrame = 12;
constexpr int32_t EntrySpeed = 5;
constexpr int32_t EntryEndY = 500;
constexpr int32_t HalfWidth = 24;
constexpr int32_t HalfHeight = 20;
constexpr uint8_t VolleyCooldown = 2;  // a volley needs more frames than this since the last
constexpr uint8_t ShotSpeed = 30;
constexpr int32_t BlinkFrames = 50;

// Every key of an action is queried, so each query clears that key's pressed-since latch.
bool Pressed(std::initializer_list<int> keys) {
    uint16_t state = 0;
    for (const int key : keys) state |= GetAsyncKeyState(key);
    return state != 0;
}

void DrawShip() {
    DrawSprite(BackBuffer, Player.X - HalfWidth, Player.Y - HalfHeight, 48, 40, SurfShip, 0, 0,
               true);
}

void Enter() {
    Player.Y -= EntrySpeed;
    DrawShip();  // unclipped: the ship shows once it is wholly inside the field
    if (Player.Y <= EntryEndY) Player.State = ShipNormal;
}

void ReadSteering() {
    if (Pressed({VkUp, VkNumpad8})) Player.DY -= StepPerFrame;
    if (Pressed({VkDown, VkNumpad2, VkNumpad5})) Player.DY += StepPerFrame;
    if (Pressed({VkLeft, VkNumpad4})) Player.DX -= StepPerFrame;
    if (Pressed({VkRight, VkNumpad6})) Player.DX += StepPerFrame;
}

// A tap between two frames still fires: the pressed-since-last-query state counts.
void ReadFire() {
    if (GetAsyncKeyState(VkZ) != 0 && PlayerCarriedOver.FireCooldown > VolleyCooldown) {
        PlayerCarriedOver.FireCooldown = 0;
        SpawnPlayerShot(-8, ShotSpeed);
        SpawnPlayerShot(0, ShotSpeed);
        SpawnPlayerShot(8, ShotSpeed);
    }
    if (PlayerCarriedOver.FireCooldown < 255) ++PlayerCarriedOver.FireCooldown;
}

void MoveAndClamp() {
    Player.X += Player.DX;
    Player.Y += Player.DY;
    if (Player.X - HalfWidth < 0) Player.X = HalfWidth;
    if (Player.X + HalfWidth > FieldWidth) Player.X = FieldWidth - HalfWidth;
    if (Player.Y - HalfHeight < 0) Player.Y = HalfHeight;
    if (Player.Y + HalfHeight > FieldHeight) Player.Y = FieldHeight - HalfHeight;
}

// Shown for 100 ms, hidden for 100 ms, whatever the frame rate.
void Blink() {
    if ((TickCount() / 100) % 2 == 0) DrawShip();
    if (++PlayerCarriedOver.BlinkCounter == BlinkFrames) {
        Player.State = ShipNormal;
        PlayerCarriedOver.BlinkCounter = 0;
    }
}

void Fly() {
    ReadSteering();
    ReadFire();
    MoveAndClamp();
    if (Player.State == ShipNormal) DrawShip();
    if (Player.State == ShipBlinking) Blink();
}

// Unclipped: near an edge the explosion is not shown, yet the game still ends on time.
void Explode() {
    const int cell = Player.State - ShipExplosionFirst;
    DrawSprite(BackBuffer, Player.X - 40, Player.Y - 40, 80, 80, SurfExplosion, 81 * cell, 0, true);
    if (Player.State == ShipExplosionLast) {
        if (WavOn) PlaySound(SoundExplosion);
        GameMode = ModeGameOver;
    }
    ++Player.State;
}

}  // namespace

void UpdatePlayer() {
    Player.DX = 0;
    Player.DY = 0;
    if (Player.State == ShipEntering) {
        Enter();
    } else if (Player.State == ShipNormal || Player.State == ShipBlinking) {
        Fly();
    } else if (Player.State <= ShipExplosionLast) {
        Explode();
    } else if (Player.State == ShipGone && GameMode == ModeBoss) {
        // The ship's game-over request gave way to the boss arriving in the same frame; left
        // alone the fight would go on for ever with nothing to fly, so it asks again.
        GameMode = ModeGameOver;
    }
}
