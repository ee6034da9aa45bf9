#include "game/enemies.h"

#include "audio/sound.h"
#include "game/bullets.h"
#include "game/motion.h"
#include "game/state.h"
#include "gfx/display.h"
#include "gfx/surface.h"

namespace {

// How one range of picture codes is drawn: cell x = CellX + (code mod 10) x CellStep.
struct EnemyPicture {
    uint8_t FirstCode;
    uint8_t LastCode;
    uint8_t SheetIndex;  // which picture of SurfEnemies
    int OffsetX;         // from the enemy's centre to the picture's top-left corner
    int OffsetY;
    int Width;
    int Height;
    int CellX;
    int CellStep;
    bool Clipped;  // the dog is drawn whole or not at all, as it never moves
    int SourceLimitX;
    int SourceLimitY;
    uint8_t HitRadius;
};

// The source limits 105 and 424 cut the last column of the bat and of the fifth butterfly cell,
// on purpose.
constexpr EnemyPicture EnemyPictures[] = {
    {10, 14, 0, 42, 36, 85, 71, 0, 85, true, 424, 71, 36},    // butterfly
    {20, 20, 1, 28, 27, 59, 54, 0, 0, false, 0, 0, 52},       // dog, bottom of its bob
    {21, 24, 1, 42, 27, 84, 53, 59, 84, false, 0, 0, 52},     // dog
    {30, 30, 2, 53, 36, 106, 71, 0, 0, true, 105, 71, 36},    // bat
    {40, 40, 3, 54, 52, 107, 103, 0, 0, true, 107, 103, 52},  // blue
    {50, 50, 4, 35, 26, 69, 51, 0, 0, true, 69, 51, 26},      // small fry
    {60, 61, 5, 40, 36, 81, 71, 0, 80, true, 160, 71, 36},    // green
};

constexpr uint8_t ExplosionOver = 110;

const EnemyPicture* PictureFor(uint8_t code) {
    for (const EnemyPicture& picture : EnemyPictures) {
        if (code >= picture.FirstCode && code <= picture.LastCode) return &picture;
    }
    return nullptr;
}

// A code without a picture draws nothing and keeps the radius the enemy had.
void DrawEnemy(EnemyRecord& enemy) {
    const EnemyPicture* picture = PictureFor(enemy.Sprite);
    if (picture == nullptr) return;
    const int dx = enemy.X - picture->OffsetX;
    const int dy = enemy.Y - picture->OffsetY;
    const int sx = picture->CellX + enemy.Sprite % 10 * picture->CellStep;
    const Surface& source = SurfEnemies[picture->SheetIndex];
    if (picture->Clipped) {
        DrawSpriteClipped(BackBuffer, dx, dy, picture->Width, picture->Height, FieldWidth,
                          FieldHeight, source, sx, 0, picture->SourceLimitX, picture->SourceLimitY,
                          true);
    } else {
        DrawSprite(BackBuffer, dx, dy, picture->Width, picture->Height, source, sx, 0, true);
    }
    enemy.HitRadius = picture->HitRadius;
}

// The path tables cover stage frames 0..2300; the stage ends long before their last frame.
void FollowPath(EnemyRecord& enemy, uint8_t slot) {
    if (StageTimer < 0 || StageTimer >= PathFrames || slot >= Paths.size()) return;
    const PathColumn& path = Paths[slot];
    enemy.X = path.X[StageTimer];
    enemy.Y = path.Y[StageTimer];
    enemy.Sprite = path.Sprite[StageTimer];
    enemy.FireCode = path.Fire[StageTimer];
}

// Drawn where it stood last frame, then moved, then firing from where it now stands: its shots
// and the shot test of this frame see the new position.
void UpdateLivingEnemy(EnemyRecord& enemy, uint8_t slot) {
    DrawEnemy(enemy);
    FollowPath(enemy, slot);
    if (enemy.FireCode != 0) EnemyFire(slot);
}

// Ten frames at the last position, a point each; the first frame starts two copies of the sound
// together, which makes the bang louder.
void UpdateExplosion(EnemyRecord& enemy) {
    const bool bang = enemy.Sprite == FirstExplosionFrame && WavOn != False16;
    if (bang) PlaySound(SoundExplosion);
    const int cell = enemy.Sprite - FirstExplosionFrame;
    // 808, not 810: the tenth cell loses its last two columns, on purpose.
    DrawSpriteClipped(BackBuffer, enemy.X - 40, enemy.Y - 40, 81, 80, FieldWidth, FieldHeight,
                      SurfExplosion, cell * 81, 0, 808, 80, true);
    if (bang) PlaySound(SoundExplosion);
    ++enemy.Sprite;
    ++Score;
    if (enemy.Sprite == ExplosionOver) {
        enemy.Active = False16;
        enemy.Exploding = False16;
    }
}

void Fire(double x, double y, const Velocity& velocity, uint8_t code) {
    SpawnEnemyBullet(x, y, velocity.DX, velocity.DY, code);
}

}  // namespace

void UpdateEnemies() {
    const size_t slots = Enemies.size();
    for (size_t slot = 0; slot < slots; ++slot) {
        EnemyRecord& enemy = Enemies[slot];
        if (StageTimer == enemy.StartFrame) enemy.Active = True16;
        // After the switch on, so a slot whose two frames are equal never comes on.
        if (StageTimer == enemy.EndFrame) enemy.Active = False16;
        if (enemy.Exploding != False16) {
            UpdateExplosion(enemy);
        } else if (enemy.Active != False16) {
            UpdateLivingEnemy(enemy, uint8_t(slot));
        }
    }
}

void EnemyFire(uint8_t slot) {
    const EnemyRecord& enemy = Enemies[slot];
    const double x = enemy.X;
    const double y = enemy.Y;
    // Drawn for every pattern, though only the straight and the homing shot use it.
    const int32_t r = RandomRange(10, -10);
    switch (enemy.FireCode / 10) {
        case 1:
            Fire(x, y, {double(r), 10}, 0);
            break;
        case 2:
            Fire(x, y, VelocityToward(x, y, Player.X, Player.Y, 10), 10);
            break;
        case 3: {
            const int32_t aim = AimAngle(enemy.X, enemy.Y, Player.X, Player.Y);
            for (int spread : {-20, 0, 20}) Fire(x, y, VelocityFromAngle(aim + spread, 8), 10);
            break;
        }
        // A homing bullet always starts with some sideways speed.
        case 4:
            Fire(x, y, {double(r == 0 ? 1 : r), 0}, 40);
            break;
        case 5:
            for (int angle = 0; angle < 360; angle += 30)
                Fire(x, y, VelocityFromAngle(angle, 8), 20);
            break;
        default:
            break;  // below 10 nothing; the loader writes no code above 59
    }
}
