// The state the game logic shares: game mode and counters, the player, the shot and bullet
// tables, the enemies with their per-frame paths, the streaks, the high-score table, the
// pictures and the sound, and the settings flags. Procedures talk through these variables.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "audio/sound.h"
#include "gfx/surface.h"

// 16-bit booleans: true is -1.
using bool16 = int16_t;
constexpr bool16 True16 = -1;
constexpr bool16 False16 = 0;
inline bool16 ToBool16(bool b) {
    return b ? True16 : False16;
}

// GameMode values. 0 (before the first game) or any other value makes a frame pass that only
// clears, presents, checks Esc, keeps the music going and waits.
constexpr uint8_t ModeStage = 2;
constexpr uint8_t ModeBoss = 4;
constexpr uint8_t ModeGameOver = 6;
constexpr uint8_t ModeEnding = 7;

constexpr int16_t StageLength = 2050;  // stage frames before the boss arrives

// The play field, which is the whole back buffer; sprites are clipped to it.
constexpr int32_t FieldWidth = 500;
constexpr int32_t FieldHeight = 600;

extern uint8_t GameMode;    // state of the current game
extern int16_t StageTimer;  // stage frames counted; the enemy schedule is keyed to it
extern int32_t Score;       // current score
inline const std::string AppTitle = "Vexlan ";  // the window caption, trailing blank included
extern std::string ProgramDir;  // directory of the program file, no trailing separator
extern uint8_t FramePeriod;     // milliseconds per frame handed to the pacer (50)
extern uint8_t
    Difficulty;  // DifficultyEasy, DifficultyNormal or DifficultyHard (game/difficulty.h)

struct PlayerRecord {
    int32_t X = 0;  // centre
    int32_t Y = 0;
    int32_t DX = 0;  // step of the current frame
    int32_t DY = 0;
    uint8_t HP = 0;     // hits the ship can still absorb
    uint8_t State = 0;  // one of the Ship... values below
};
// The ship's states: it flies in, is steered, blinks after a hit, explodes over eleven frames,
// then is gone.
constexpr uint8_t ShipEntering = 0;
constexpr uint8_t ShipNormal = 1;
constexpr uint8_t ShipBlinking = 2;
constexpr uint8_t ShipExplosionFirst = 3;
constexpr uint8_t ShipExplosionLast = 13;
constexpr uint8_t ShipGone = 14;
extern PlayerRecord Player;

// One record for player shots and enemy bullets.
struct BulletRecord {
    double X = 0;  // centre
    double Y = 0;
    double DX = 0;      // added to X every frame
    double DY = 0;      // enemy bullets add it to Y; player shots subtract it
    uint8_t Frame = 0;  // enemy bullets: family (tens) and animation step (units)
    bool16 Active = False16;
};
constexpr int InitialTableSlots = 21;  // shots and bullets start each game with slots 0..20
constexpr size_t MaxPlayerShots = 255;
constexpr size_t MaxEnemyBullets = 256;
extern std::vector<BulletRecord> PlayerShots;
extern std::vector<BulletRecord> EnemyBullets;
// The first inactive slot of a shot or bullet table, the table grown by one when every slot is
// taken; null when it already holds `limit` slots (the new shot or bullet is then lost).
BulletRecord* FreeSlot(std::vector<BulletRecord>& table, size_t limit);

struct EnemyRecord {
    int32_t X = 0;  // centre in the current frame
    int32_t Y = 0;
    int32_t HP = 0;         // destroyed when a hit leaves it below 0
    uint8_t Sprite = 0;     // picture code; FirstExplosionFrame.. while exploding
    uint8_t FireCode = 0;   // 0 = no shot this frame; tens digit = pattern
    uint8_t HitRadius = 0;  // set from the picture code each time the enemy is drawn
    int32_t StartFrame = 0;
    int32_t EndFrame = 0;
    bool16 Active = False16;
    bool16 Exploding = False16;
};
constexpr uint8_t FirstExplosionFrame = 100;  // an exploding enemy's picture code counts up from it
constexpr int MaxEnemySlots = 255;            // slot 0 plus at most 254 spawn lines

// Where each enemy slot stands, what it shows and fires, for every stage frame 0..2300.
constexpr int PathFrames = 2301;
struct PathColumn {
    std::array<int32_t, PathFrames> X{};
    std::array<int32_t, PathFrames> Y{};
    std::array<uint8_t, PathFrames> Sprite{};
    std::array<uint8_t, PathFrames> Fire{};
};
extern std::vector<EnemyRecord> Enemies;  // slot 0 never becomes active
extern std::vector<PathColumn> Paths;     // Paths[slot].X[frame] and so on

struct StreakRecord {
    int32_t X = 0;  // top-left corner of the streak picture
    int32_t Y = 0;
    int32_t Life = 0;
};
extern std::array<StreakRecord, 31> Streaks;  // kept from game to game

struct HighScoreEntry {
    int32_t Score = 0;
    std::string Name;  // UTF-8
};
// Entries 0..4 are the saved top five; entry 5 is where a new score goes before sorting.
extern std::array<HighScoreEntry, 6> HighScoreTable;

// Play-field pictures and the explosion sound, loaded once at start.
extern Surface SurfBack;
extern Surface SurfExplosion;
extern Surface SurfBullets1234;
extern Surface SurfBullets5;
extern Surface SurfBullets6;
extern Surface SurfShot;
extern Surface SurfShip;
extern Surface SurfBoss;
extern std::array<Surface, 6> SurfEnemies;  // butterfly, dog, bat, blue, small fry, green
extern SoundEffect SoundExplosion;

// Settings.
extern bool16 MidiOn;        // background music enabled
extern bool16 WavOn;         // sound effects enabled
extern int32_t BlackColour;  // pixel value of black

// Every variable above back to its value at program start.
void ResetSharedState();

// The path of one of the game's files, named as the game writes it with a leading separator
// ("\data.ini"), under ProgramDir.
std::string GameFile(const std::string& name);
