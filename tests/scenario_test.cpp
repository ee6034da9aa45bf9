// Whole games, from the title to the ending or the game over, played on the real game code by a
// bot and checked through the shared state frame by frame.
#include <gtest/gtest.h>

#include <filesystem>

#include "audio/headless/headless_audio.h"
#include "game/boss.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "platform/profile.h"
#include "platform/sjis.h"
#include "shell/program.h"
#include "support/bot.h"
#include "support/test_support.h"

namespace {

// What a game looked like, in program frames (counted at each frame wait).
struct GameLog {
    int FirstStageFrame = -1;
    int BossArrival = -1;
    int BossDestroyed = -1;
    int GameOver = -1;
    int Ending = -1;
    int32_t BonusPaid = 0;        // the score's jump in the frame the boss was destroyed
    int SoundsInDestruction = 0;  // effects started from the destroying frame to the ending
    int32_t FinalScore = 0;
    int ExitStatus = -1;
    std::vector<std::string> Music;  // commands, status queries left out
    std::string DataIni;
};

// BotDownAsTheBossArrives plays like the bot but has the ship explode eleven frames before the
// stage ends, so that its explosion ends in the very frame the boss arrives.
enum class Pilot { Bot, Idle, BotDownAsTheBossArrives };

constexpr int ExplosionFrames = 11;  // ship states 3..13

const std::string NamePrompt = "ハイスコアです。名前を入力してください";

// Plays one game on the given difficulty from a fresh program, music and effects on, and closes
// the window 40 frames after the game has ended (after the name entry when the game was won).
GameLog PlayOneGame(uint8_t difficulty, Pilot pilot, uint64_t seed = 1234,
                    const std::string& name = "ボット") {
    ResetProgram();
    const std::string dir = MakeGameDir();
    const std::string ini = dir + "/data.ini";
    WriteProfileString(ini, "data", "Diffculty", " " + std::to_string(difficulty));
    WriteProfileString(ini, "data", "Midi", "-1");
    WriteProfileString(ini, "data", "Wav", "-1");
    headless::SetSeed(seed);
    headless::QueueInputAnswer(name);
    GameLog log;
    int frame = 0;
    int endedAt = -1;
    uint8_t lastMode = 0;
    uint8_t lastPhase = 0;
    int32_t lastScore = 0;
    auto observe = [&] {
        ++frame;
        const int sounds = int(headless::TakePlayedVoices().size());
        if (log.BossDestroyed > 0 && log.Ending < 0) log.SoundsInDestruction += sounds;
        if (GameMode == ModeStage && log.FirstStageFrame < 0) log.FirstStageFrame = frame;
        if (GameMode == ModeBoss && lastMode == ModeStage) log.BossArrival = frame;
        if (GameMode == ModeBoss && BossFight.BossPhase == PhaseDestroyed &&
            lastPhase != PhaseDestroyed) {
            log.BossDestroyed = frame;
            log.BonusPaid = Score - lastScore;
        }
        if (GameMode == ModeEnding && log.Ending < 0) log.Ending = frame;
        if (GameMode == ModeGameOver && log.GameOver < 0) log.GameOver = frame;
        if (log.Ending > 0 && !headless::AllBoxTexts().empty() && endedAt < 0 &&
            headless::AllBoxTexts().back() == NamePrompt) {
            endedAt = frame;  // after the zoom, once the name has been asked for
            log.FinalScore = Score;
        }
        if (log.GameOver > 0 && endedAt < 0) {
            endedAt = frame;
            log.FinalScore = Score;
        }
        lastMode = GameMode;
        lastPhase = GameMode == ModeBoss ? BossFight.BossPhase : 0;
        lastScore = Score;
    };
    auto play = [&] {
        if (frame == 10) headless::TapKey(VkEscape);  // Esc on the title starts a game
        if (endedAt > 0) {
            BotRelease();
            // Z ends the game-over picture; the ending runs by itself.
            headless::SetKey(VkZ, log.GameOver > 0 && frame == endedAt + 20);
            if (frame >= endedAt + 40) headless::RequestClose();
        } else if (pilot != Pilot::Idle) {
            BotPlay();
        }
        if (pilot == Pilot::BotDownAsTheBossArrives) {
            if (GameMode == ModeStage && StageTimer == StageLength - ExplosionFrames)
                Player.State = ShipExplosionFirst;
            // A boss fight with the ship gone would never end by itself.
            if (log.BossArrival > 0 && log.GameOver < 0 && frame > log.BossArrival + 200)
                headless::RequestClose();
        }
        if (frame > 20000) headless::RequestClose();  // no game lasts this long
    };
    headless::SetFrameHooks(observe, play);
    try {
        Main();
    } catch (const headless::ProgramExit& exit) {
        log.ExitStatus = exit.Status;
    }
    log.Music = headless::TakeMusicCommands(false);
    log.DataIni = ReadFile(ini);
    std::filesystem::remove_all(dir);
    return log;
}

// A game the bot wins. Hard is meant to beat it now and then, so the first of a few seeds that
// it wins from; each seed gives the same game every time.
GameLog PlayWonGame(uint8_t difficulty) {
    constexpr uint64_t FirstSeed = 1234;
    constexpr uint64_t Seeds = 5;
    GameLog log;
    for (uint64_t seed = FirstSeed; seed < FirstSeed + Seeds; ++seed) {
        log = PlayOneGame(difficulty, Pilot::Bot, seed);
        if (log.BossDestroyed > 0) break;
    }
    return log;
}

int Count(const std::vector<std::string>& texts, const std::string& text) {
    return int(std::count(texts.begin(), texts.end(), text));
}

}  // namespace

class WonGame : public ::testing::TestWithParam<uint8_t> {};

TEST_P(WonGame, BossAfter2050StageFramesBonusEndingAndName) {
    const uint8_t difficulty = GetParam();
    const GameLog log = PlayWonGame(difficulty);
    EXPECT_EQ(log.ExitStatus, 0);
    ASSERT_GT(log.BossArrival, 0) << "the bot lost before the boss: stage from "
                                  << log.FirstStageFrame << ", game over at " << log.GameOver
                                  << ", ending at " << log.Ending;
    // The frame that ends the 2050th stage pass already shows the boss fight.
    EXPECT_EQ(log.BossArrival - log.FirstStageFrame, 2049);
    ASSERT_GT(log.BossDestroyed, 0) << "the bot lost to the boss";
    EXPECT_EQ(log.BonusPaid, difficulty * 1000);
    // 100 frames of destruction, the destroying frame included, ten explosions.
    EXPECT_EQ(log.Ending - log.BossDestroyed, 99);
    EXPECT_EQ(log.SoundsInDestruction, 10);
    EXPECT_EQ(log.GameOver, -1);

    // The tune started in the first play frame and stopped at the ending.
    ASSERT_GE(log.Music.size(), 4u);
    EXPECT_EQ(log.Music[0], "Open m_battle.mid Alias BGM");
    EXPECT_EQ(log.Music[1], "seek BGM to start");
    EXPECT_EQ(log.Music[2], "play BGM");
    EXPECT_EQ(Count(log.Music, "stop BGM"), 1);
    EXPECT_EQ(log.Music.back(), "Close BGM");

    // The score went into the table under the typed name and was saved.
    std::string cp932Name;
    ASSERT_TRUE(Utf8ToCp932("ボット", cp932Name));
    EXPECT_NE(log.DataIni.find("score1=" + std::to_string(log.FinalScore) + " "),
              std::string::npos);
    EXPECT_NE(log.DataIni.find("name1=" + cp932Name), std::string::npos) << log.DataIni;
}

INSTANTIATE_TEST_SUITE_P(EachDifficulty, WonGame, ::testing::Values(1, 2, 3), NameByDifficulty());

// The boss arrives in the frame that ends the ship's explosion: that frame stays a stage frame
// that hands over to the boss, and the boss fight, finding the ship gone, ends in game over.
TEST(LostGame, AShipLostAsTheBossArrivesStillEndsTheGame) {
    const GameLog log = PlayOneGame(1, Pilot::BotDownAsTheBossArrives);
    EXPECT_EQ(log.ExitStatus, 0);
    ASSERT_GT(log.BossArrival, 0);
    EXPECT_EQ(log.BossArrival - log.FirstStageFrame, 2049);
    EXPECT_EQ(log.GameOver, log.BossArrival + 1);
    EXPECT_EQ(log.Ending, -1);
    EXPECT_EQ(Count(log.Music, "stop BGM"), 1);
    EXPECT_EQ(Count(headless::AllBoxTexts(), NamePrompt), 0);
}

TEST(LostGame, GameOverStopsTheTuneAndNeverAsksForAName) {
    const GameLog log = PlayOneGame(3, Pilot::Idle);
    EXPECT_EQ(log.ExitStatus, 0);
    ASSERT_GT(log.GameOver, 0);
    EXPECT_EQ(log.Ending, -1);
    EXPECT_GT(log.FinalScore, -1);
    EXPECT_EQ(Count(log.Music, "stop BGM"), 1);
    EXPECT_EQ(Count(headless::AllBoxTexts(), NamePrompt), 0);
    EXPECT_NE(log.DataIni.find("score1=0 "), std::string::npos);
}
