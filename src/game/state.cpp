#include "game/state.h"

uint8_t GameMode = 0;
int16_t StageTimer = 0;
int32_t Score = 0;
std::string ProgramDir;
uint8_t FramePeriod = 0;
uint8_t Difficulty = 0;

PlayerRecord Player;
std::vector<BulletRecord> PlayerShots;
std::vector<BulletRecord> EnemyBullets;
std::vector<EnemyRecord> Enemies;
std::vector<PathColumn> Paths;
std::array<StreakRecord, 31> Streaks;
std::array<HighScoreEntry, 6> HighScoreTable;

Surface SurfBack;
Surface SurfExplosion;
Surface SurfBullets1234;
Surface SurfBullets5;
Surface SurfBullets6;
Surface SurfShot;
Surface SurfShip;
Surface SurfBoss;
std::array<Surface, 6> SurfEnemies;
SoundEffect SoundExplosion;

bool16 MidiOn = False16;
bool16 WavOn = False16;
int32_t BlackColour = 0;

BulletRecord* FreeSlot(std::vector<BulletRecord>& table, size_t limit) {
    for (BulletRecord& slot : table)
        if (!slot.Active) return &slot;
    if (table.size() >= limit) return nullptr;
    return &table.emplace_back();
}

void ResetSharedState() {
    GameMode = 0;
    StageTimer = 0;
    Score = 0;
    ProgramDir.clear();
    FramePeriod = 0;
    Difficulty = 0;
    Player = PlayerRecord{};
    PlayerShots.clear();
    EnemyBullets.clear();
    Enemies.clear();
    Paths.clear();
    Streaks = {};
    HighScoreTable = {};
    for (Surface* surface : {&SurfBack, &SurfExplosion, &SurfBullets1234, &SurfBullets5,
                             &SurfBullets6, &SurfShot, &SurfShip, &SurfBoss})
        surface->reset();
    SurfEnemies = {};
    SoundExplosion = SoundEffect{};
    MidiOn = False16;
    WavOn = False16;
    BlackColour = 0;
}

std::string GameFile(const std::string& name) {
    std::string relative = name;
    for (char& c : relative) {
        if (c == '\\') c = '/';
    }
    if (relative.empty() || relative.front() != '/') relative.insert(relative.begin(), '/');
    return ProgramDir + relative;
}
