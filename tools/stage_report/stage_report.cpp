// The stage report: how each difficulty's stage plays. For every difficulty and seed two bots
// play a whole game through the real game code on the headless platform: the test bot, which
// sees the field as it is, and the reaction bot, which sees it as late as a person does (see
// support/bot.h); an idle ship (no key after the start) sits through the stage. The script's
// schedule is read from the loaded tables. One table of figures per difficulty goes to standard
// output.
//
//   stage_report [ASSET_DIR] [--seeds N] [--difficulty 1|2|3] [--pictures DIR]
//
// (`make stage-report`; defaults: assets, 10 seeds, every difficulty). --pictures writes, per
// difficulty, the densest moment of the stage against the reaction bot (the most enemy bullets at
// once) as DIR/densest-easy.bmp, -normal, -hard.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/state.h"
#include "gfx/bmp.h"
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

enum class Pilot { Bot, ReactionBot, Idle };

// A hit that cost the ship a life: a hit point, or the ship itself.
struct Hit {
    bool AtBoss;  // in the boss fight rather than the stage
    int Frame;    // stage frame, or frame of the boss fight (0 = its first)
};

// What one game showed, stage frame by stage frame.
struct GameRecord {
    std::vector<int> Alive;    // living enemies in each stage frame
    std::vector<int> Bullets;  // enemy bullets in the air
    int MostBulletsAt = -1;    // the stage frame with the most of them (the first such)
    int HpLost = 0;            // in the stage
    int HpLostAtBoss = 0;
    std::vector<Hit> Hits;
    bool Won = false;
    int LostAt = -1;  // stage frame at which the ship was hit for the last time; -1 if never
    // The schedule of the stage as the loader built it.
    std::vector<EnemyRecord> Enemies;
};

const char* const DifficultyNames[] = {"", "Easy", "Normal", "Hard"};

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

// Plays one game. With a picture file, the picture presented at stage frame `pictureAt` is
// written to it.
GameRecord PlayGame(const std::string& assets, uint8_t difficulty, uint64_t seed, Pilot pilot,
                    int pictureAt = -1, const std::string& picture = {}) {
    headless::Reset();
    headless::ResetAudio();
    ResetProgramState();
    const std::string dir = GameDir(assets, difficulty);
    headless::SetProgramDirectory(dir);
    headless::SetSeed(seed);
    headless::QueueInputAnswer(std::string("report"));
    GameRecord record;
    ReactionBot reaction;
    int frame = 0;
    int bossFrame = -1;
    int lastHp = -1;
    bool exploding = false;
    bool over = false;
    auto observe = [&] {
        ++frame;
        const bool stage = GameMode == ModeStage;
        if (GameMode == ModeBoss) ++bossFrame;
        if (stage || GameMode == ModeBoss) {
            const Hit hit{!stage, stage ? int(StageTimer) : bossFrame};
            if (lastHp >= 0 && Player.HP < lastHp) {
                (stage ? record.HpLost : record.HpLostAtBoss) += lastHp - Player.HP;
                record.Hits.push_back(hit);
            }
            if (Player.State >= ShipExplosionFirst && !exploding) record.Hits.push_back(hit);
            exploding = Player.State >= ShipExplosionFirst;
            lastHp = Player.HP;
        }
        if (stage) {
            if (record.Enemies.empty()) record.Enemies = Enemies;
            record.Alive.push_back(LivingEnemies());
            const int bullets = BulletsInTheAir();
            if (record.Bullets.empty() ||
                bullets > *std::max_element(record.Bullets.begin(), record.Bullets.end()))
                record.MostBulletsAt = StageTimer;
            record.Bullets.push_back(bullets);
            if (Player.State >= ShipExplosionFirst && record.LostAt < 0) record.LostAt = StageTimer;
            if (StageTimer == pictureAt && !picture.empty())
                std::ofstream(picture, std::ios::binary) << EncodeBitmap24(
                    headless::LastPresentedFrame().data(), headless::LastPresentedWidth(),
                    headless::LastPresentedHeight());
        }
        record.Won = record.Won || GameMode == ModeEnding;
        // The idle ship is watched through the stage only.
        over = GameMode == ModeEnding || GameMode == ModeGameOver ||
               (pilot == Pilot::Idle && (GameMode == ModeBoss || record.LostAt >= 0));
    };
    auto play = [&] {
        if (frame == StartKeyFrame) headless::TapKey(VkEscape);
        if (frame > StartKeyFrame) {
            if (pilot == Pilot::Bot) BotPlay();
            if (pilot == Pilot::ReactionBot) reaction.Play();
        }
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

int Max(const std::vector<int>& values) {
    return values.empty() ? 0 : *std::max_element(values.begin(), values.end());
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

// One row: its label in a column of its own, then its figures.
template <typename... Figures>
void Row(const std::string& label, const char* format, Figures... figures) {
    std::printf("  %-60s", label.c_str());  // as wide as the longest label, and a space
    std::printf(format, figures...);
    std::printf("\n");
}

// The games of one pilot over every seed, gathered.
struct PilotFigures {
    std::vector<GameRecord> Games;  // by seed
    std::vector<int> Alive, Bullets, HpLost, HpLostAtBoss;
    int Wins = 0;

    void Add(GameRecord game) {
        Alive.insert(Alive.end(), game.Alive.begin(), game.Alive.end());
        Bullets.insert(Bullets.end(), game.Bullets.begin(), game.Bullets.end());
        HpLost.push_back(game.HpLost);
        HpLostAtBoss.push_back(game.HpLostAtBoss);
        Wins += game.Won;
        Games.push_back(std::move(game));
    }
    // The seed whose stage had the most enemy bullets at once (the first such).
    int DensestSeed() const {
        int densest = 0;
        for (int seed = 0; seed < int(Games.size()); ++seed)
            if (Max(Games[seed].Bullets) > Max(Games[densest].Bullets)) densest = seed;
        return densest;
    }

    void Print(const std::string& pilot) const {
        const int quiet = int(std::count(Alive.begin(), Alive.end(), 0));
        Row("enemies alive against the " + pilot + ", mean / max", "%.2f / %d", Mean(Alive),
            Max(Alive));
        const GameRecord& densest = Games[DensestSeed()];
        Row("enemy bullets against the " + pilot + ", mean / 95th %", "%.2f / %d", Mean(Bullets),
            Percentile(Bullets, 0.95));
        Row("most enemy bullets at once against the " + pilot, "%d (seed %d, stage frame %d)",
            Max(densest.Bullets), DensestSeed(), densest.MostBulletsAt);
        Row("stage frames with no enemy alive (" + pilot + ")", "%.1f %%",
            Alive.empty() ? 0.0 : 100.0 * quiet / double(Alive.size()));
        Row(pilot + ": ship hit points lost in the stage, mean / max", "%.1f / %d", Mean(HpLost),
            Max(HpLost));
        Row(pilot + ": ship hit points lost at the boss, mean / max", "%.1f / %d",
            Mean(HpLostAtBoss), Max(HpLostAtBoss));
        std::string lives;
        for (const GameRecord& game : Games) {
            std::string seed;
            for (const Hit& hit : game.Hits)
                seed += (seed.empty() ? "" : ",") + std::string(hit.AtBoss ? "b" : "") +
                        std::to_string(hit.Frame);
            lives += (lives.empty() ? "" : "  ") + (seed.empty() ? "-" : seed);
        }
        Row(pilot + ": lives lost by seed, at frame (b: of the boss)", "%s", lives.c_str());
        Row(pilot + " wins", "%2d of %zu", Wins, Games.size());
    }
};

void Report(const std::string& assets, uint8_t difficulty, int seeds, const std::string& pictures) {
    PilotFigures bot, reaction;
    std::vector<int> idleLost;
    for (int seed = 0; seed < seeds; ++seed) {
        bot.Add(PlayGame(assets, difficulty, uint64_t(seed), Pilot::Bot));
        reaction.Add(PlayGame(assets, difficulty, uint64_t(seed), Pilot::ReactionBot));
        idleLost.push_back(PlayGame(assets, difficulty, uint64_t(seed), Pilot::Idle).LostAt);
    }
    const std::vector<EnemyRecord>& schedule = bot.Games.back().Enemies;
    std::sort(idleLost.begin(), idleLost.end());
    const int idleLosses =
        int(std::count_if(idleLost.begin(), idleLost.end(), [](int at) { return at >= 0; }));
    std::printf("%s (%d seeds)\n", DifficultyNames[difficulty], seeds);
    Row("spawn lines", "%zu", schedule.size() - 1);
    Row("longest stretch with none scheduled after 40", "%d frames", LongestQuiet(schedule));
    Row("last stage frame with an enemy on the field", "%d", LastScheduled(schedule));
    bot.Print("bot");
    reaction.Print("reaction bot");
    std::string idle;
    for (int at : idleLost) idle += at >= 0 ? std::to_string(at) + " " : "- ";
    Row("idle ship lost at stage frame", "%s(%d of %d before the boss)", idle.c_str(), idleLosses,
        seeds);
    std::printf("\n");
    std::fflush(stdout);
    if (!pictures.empty()) {
        // The same seed and pilot play the same game again, frame for frame.
        const int seed = reaction.DensestSeed();
        std::string name = DifficultyNames[difficulty];
        std::transform(name.begin(), name.end(), name.begin(), ::tolower);
        PlayGame(assets, difficulty, uint64_t(seed), Pilot::ReactionBot,
                 reaction.Games[seed].MostBulletsAt,
                 (fs::path(pictures) / ("densest-" + name + ".bmp")).string());
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string assets = "assets";
    std::string pictures;
    int seeds = 10;
    int only = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seeds" && i + 1 < argc) {
            seeds = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--difficulty" && i + 1 < argc) {
            only = std::atoi(argv[++i]);
            if (only < 1 || only > 3) only = -1;
        } else if (arg == "--pictures" && i + 1 < argc) {
            pictures = argv[++i];
        } else if (!arg.empty() && arg[0] != '-') {
            assets = arg;
        } else {
            only = -1;
        }
        if (only < 0) {
            std::fprintf(stderr,
                         "usage: stage_report [ASSET_DIR] [--seeds N] [--difficulty 1|2|3] "
                         "[--pictures DIR]\n");
            return 2;
        }
    }
    for (uint8_t difficulty = 1; difficulty <= 3; ++difficulty)
        if (only == 0 || only == difficulty) Report(assets, difficulty, seeds, pictures);
    return 0;
}
