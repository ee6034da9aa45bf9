// The stage report: how each difficulty's stage plays. For every difficulty and seed the test bot
// plays a whole game through the real game code on the headless platform, and an idle ship (no
// key after the start) sits through the stage; the script's schedule is read from the loaded
// tables. One table of figures per difficulty goes to standard output.
//
//   stage_report [ASSET_DIR] [--seeds N]      (`make stage-report`; defaults: assets, 10)
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "platform/profile.h"
#include "shell/program.h"
#include "shell/program_state.h"
#include "support/bot.h"

namespace fs = std::filesystem;

namespace {

constexpr int StartKeyFrame = 10;     // Escape on the title starts a game
constexpr int LongestGame = 20000;    // program frames; a boss fight the bot cannot end
constexpr int ScheduleFrom = 40;      // the first two seconds belong to the ship's entry
constexpr int SchedulePlayed = 2049;  // the last stage frame the enemy update sees

enum class Pilot { Bot, Idle };

// What one game showed, stage frame by stage frame.
struct GameRecord {
    std::vector<int> Alive;    // living enemies in each stage frame
    std::vector<int> Bullets;  // enemy bullets in the air
    int HpLost = 0;            // in the stage
    bool Won = false;
    int LostAt = -1;  // stage frame at which the ship was hit for the last time; -1 if never
    // The schedule of the stage as the loader built it.
    std::vector<EnemyRecord> Enemies;
};

std::string GameDir(const std::string& assets, uint8_t difficulty) {
    static std::mt19937_64 names{std::random_device{}()};
    const fs::path dir =
        fs::temp_directory_path() / ("vexlan-stage-report-" + std::to_string(names()));
    fs::create_directories(dir);
    for (const auto& entry : fs::directory_iterator(assets))
        fs::copy_file(entry.path(), dir / entry.path().filename());
    const std::string ini = (dir / "data.ini").string();
    WriteProfileString(ini, "data", "Diffculty", " " + std::to_string(difficulty));
    WriteProfileString(ini, "data", "Midi", "0");
    WriteProfileString(ini, "data", "Wav", "0");
    return dir.string();
}

int LivingEnemies() {
    return int(std::count_if(Enemies.begin(), Enemies.end(), [](const EnemyRecord& enemy) {
        return enemy.Active != False16 && enemy.Exploding == False16;
    }));
}

int BulletsInTheAir() {
    return int(std::count_if(EnemyBullets.begin(), EnemyBullets.end(),
                             [](const BulletRecord& bullet) { return bullet.Active != False16; }));
}

GameRecord PlayGame(const std::string& assets, uint8_t difficulty, uint64_t seed, Pilot pilot) {
    headless::Reset();
    headless::ResetAudio();
    ResetProgramState();
    const std::string dir = GameDir(assets, difficulty);
    headless::SetProgramDirectory(dir);
    headless::SetSeed(seed);
    headless::QueueInputAnswer(std::string("report"));
    GameRecord record;
    int frame = 0;
    int lastHp = -1;
    bool over = false;
    auto observe = [&] {
        ++frame;
        if (GameMode == ModeStage) {
            if (record.Enemies.empty()) record.Enemies = Enemies;
            record.Alive.push_back(LivingEnemies());
            record.Bullets.push_back(BulletsInTheAir());
            if (lastHp >= 0 && Player.HP < lastHp) record.HpLost += lastHp - Player.HP;
            if (Player.State >= ShipExplosionFirst && record.LostAt < 0) record.LostAt = StageTimer;
            lastHp = Player.HP;
        }
        record.Won = record.Won || GameMode == ModeEnding;
        // The idle ship is watched through the stage only.
        over = GameMode == ModeEnding || GameMode == ModeGameOver ||
               (pilot == Pilot::Idle && (GameMode == ModeBoss || record.LostAt >= 0));
    };
    auto play = [&] {
        if (frame == StartKeyFrame) headless::TapKey(VkEscape);
        if (pilot == Pilot::Bot && frame > StartKeyFrame) BotPlay();
        if (over || frame > LongestGame) {
            BotRelease();
            headless::RequestClose();
        }
    };
    headless::SetFrameHooks(observe, play);
    try {
        Main();
    } catch (const headless::ProgramExit&) {
    }
    fs::remove_all(dir);
    return record;
}

double Mean(const std::vector<int>& values) {
    if (values.empty()) return 0;
    return double(std::accumulate(values.begin(), values.end(), 0L)) / double(values.size());
}

int Percentile(std::vector<int> values, double share) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[size_t(share * double(values.size() - 1) + 0.5)];
}

bool Scheduled(const std::vector<EnemyRecord>& enemies, int frame) {
    return std::any_of(enemies.begin() + 1, enemies.end(), [&](const EnemyRecord& enemy) {
        return enemy.StartFrame <= frame && frame < enemy.EndFrame;
    });
}

int LongestQuiet(const std::vector<EnemyRecord>& enemies) {
    int longest = 0;
    int run = 0;
    for (int t = ScheduleFrom; t <= SchedulePlayed; ++t) {
        run = Scheduled(enemies, t) ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

int LastScheduled(const std::vector<EnemyRecord>& enemies) {
    for (int t = SchedulePlayed; t >= 0; --t)
        if (Scheduled(enemies, t)) return t;
    return -1;
}

void Report(const std::string& assets, uint8_t difficulty, int seeds) {
    static const char* const Names[] = {"", "Easy", "Normal", "Hard"};
    std::vector<int> alive, bullets, hpLost, idleLost;
    int wins = 0;
    std::vector<EnemyRecord> schedule;
    for (int seed = 0; seed < seeds; ++seed) {
        const GameRecord bot = PlayGame(assets, difficulty, uint64_t(seed), Pilot::Bot);
        alive.insert(alive.end(), bot.Alive.begin(), bot.Alive.end());
        bullets.insert(bullets.end(), bot.Bullets.begin(), bot.Bullets.end());
        hpLost.push_back(bot.HpLost);
        wins += bot.Won;
        schedule = bot.Enemies;
        const GameRecord idle = PlayGame(assets, difficulty, uint64_t(seed), Pilot::Idle);
        idleLost.push_back(idle.LostAt);
    }
    const int quietFrames = int(std::count(alive.begin(), alive.end(), 0));
    std::sort(idleLost.begin(), idleLost.end());
    const int idleLosses =
        int(std::count_if(idleLost.begin(), idleLost.end(), [](int at) { return at >= 0; }));
    std::printf("%s (%d seeds)\n", Names[difficulty], seeds);
    std::printf("  spawn lines                                   %zu\n", schedule.size() - 1);
    std::printf("  enemies alive against the bot, mean / max     %.2f / %d\n", Mean(alive),
                alive.empty() ? 0 : *std::max_element(alive.begin(), alive.end()));
    std::printf("  enemy bullets against the bot, mean / 95th %%  %.2f / %d\n", Mean(bullets),
                Percentile(bullets, 0.95));
    std::printf("  stage frames with no enemy alive (bot)        %.1f %%\n",
                alive.empty() ? 0.0 : 100.0 * quietFrames / double(alive.size()));
    std::printf("  longest stretch with none scheduled after 40  %d frames\n",
                LongestQuiet(schedule));
    std::printf("  last stage frame with an enemy on the field   %d\n", LastScheduled(schedule));
    std::printf("  ship hit points lost in the stage, mean / max %.1f / %d\n", Mean(hpLost),
                *std::max_element(hpLost.begin(), hpLost.end()));
    std::printf("  bot wins                                      %d of %d\n", wins, seeds);
    std::printf("  idle ship lost at stage frame                 ");
    for (int at : idleLost) std::printf(at >= 0 ? "%d " : "- ", at);
    std::printf("(%d of %d before the boss)\n\n", idleLosses, seeds);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    std::string assets = "assets";
    int seeds = 10;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seeds" && i + 1 < argc) {
            seeds = std::max(1, std::atoi(argv[++i]));
        } else if (!arg.empty() && arg[0] != '-') {
            assets = arg;
        } else {
            std::fprintf(stderr, "usage: stage_report [ASSET_DIR] [--seeds N]\n");
            return 2;
        }
    }
    for (uint8_t difficulty = 1; difficulty <= 3; ++difficulty) Report(assets, difficulty, seeds);
    return 0;
}
