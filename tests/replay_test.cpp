// Replays: a game recorded through the runner plays back frame for frame; a replay that is
// damaged, of another version or made with other data is refused with its reason; the
// replays of the high-score table move with their entries.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "common/version.h"
#include "data/replay_file.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "shell/replays.h"
#include "support/runner_support.h"
#include "support/test_support.h"

namespace fs = std::filesystem;

namespace {

// A trace line without its frame number: a replay numbers its frames from its game's first.
std::string WithoutFrame(const std::string& line) {
    return line.substr(line.find(','));
}

// The golden Normal game, which the bot wins and enters into the table, then games holding fire
// and not steering, each starting from what the one before left: recorded once for every test
// of the suite. The runner's --record keeps the last game that ended, the table the first.
class Replays : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Dir = new std::string(MakeGameDir());
        const std::string golden = std::string(VEXLAN_SOURCE_DIR) + "/tests/golden/normal";
        WriteFile(*Dir + "/data.ini", ReadFile(golden + ".ini"));
        std::istringstream lines(ReadFile(golden + ".input"));
        std::string input;
        long closed = 0;  // the golden run closes the window after its game
        for (std::string line; std::getline(lines, line);) {
            if (line.ends_with(" close"))
                closed = std::stol(line);
            else
                input += line + "\n";
        }
        input += std::to_string(closed + 20) + " tap return\n" + std::to_string(closed + 25) +
                 " down z\n";
        Recorded = new RunResult(RunHeadless(
            *Dir, input,
            "--frames " + std::to_string(closed + 4000) + " --record '" + File() + "'"));
        Bytes = new std::string(ReadFile(File()));
    }
    static void TearDownTestSuite() {
        fs::remove_all(*Dir);
        delete Dir;
        delete Recorded;
        delete Bytes;
    }
    static std::string File() { return *Dir + "/game.vxr"; }

    // Plays `bytes` as a replay through the runner.
    static RunResult Play(const std::string& bytes, bool trace = false) {
        const std::string file = *Dir + "/played.vxr";
        WriteFile(file, bytes);
        RunResult run = RunHeadless(*Dir, "", "--replay '" + file + "'", trace);
        const size_t result = run.Stderr.rfind(file);
        if (result != std::string::npos) run.Stderr.erase(0, result);  // the result line
        return run;
    }
    static Replay Decoded() {
        Replay replay;
        std::string problem;
        EXPECT_TRUE(DecodeReplay(*Bytes, replay, problem)) << problem;
        return replay;
    }

    static std::string* Dir;
    static RunResult* Recorded;
    static std::string* Bytes;
};
std::string* Replays::Dir = nullptr;
RunResult* Replays::Recorded = nullptr;
std::string* Replays::Bytes = nullptr;

bool InPlay(const std::string& line) {
    const long mode = TraceNumber(line, "mode");
    return mode == ModeStage || mode == ModeBoss;
}

// Where each game of the recorded run starts, and where the last one that ended does.
struct Games {
    std::vector<size_t> Starts;
    size_t LastEnded = 0;
};
Games GamesOf(const std::vector<std::string>& lines) {
    Games games;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool wasInPlay = i > 0 && InPlay(lines[i - 1]);
        if (InPlay(lines[i]) && !wasInPlay) games.Starts.push_back(i);
        if (!InPlay(lines[i]) && wasInPlay) games.LastEnded = games.Starts.back();
    }
    return games;
}

TEST_F(Replays, ARecordedGamePlaysBackWithTheSameTraceLineEveryFrame) {
    ASSERT_EQ(Recorded->Status, 0) << Recorded->Stderr;
    const RunResult played = Play(*Bytes, true);
    ASSERT_EQ(played.Status, 0) << played.Stderr;

    const auto& lines = Recorded->Trace;
    const Games games = GamesOf(lines);
    ASSERT_GE(games.Starts.size(), 2u);
    const size_t first = games.LastEnded;
    // The replay holds every frame of play of the recorded game (a fixed length would be the
    // stage script's: how long a still ship lasts on it).
    size_t inPlay = 0;
    while (first + inPlay < lines.size() && InPlay(lines[first + inPlay])) ++inPlay;
    ASSERT_GT(inPlay, 100u);
    ASSERT_GT(played.Trace.size(), inPlay) << "not the whole game";
    ASSERT_LE(first + played.Trace.size(), lines.size());
    for (size_t i = 0; i < played.Trace.size(); ++i)
        ASSERT_EQ(WithoutFrame(played.Trace[i]), WithoutFrame(lines[first + i]))
            << "frame " << i + 1 << " of the game";
    const std::string& last = played.Trace.back();
    EXPECT_EQ(TraceNumber(last, "mode"), ModeGameOver);
    EXPECT_EQ(played.Stderr, *Dir + "/played.vxr: ok, score " +
                                 std::to_string(TraceNumber(last, "score")) + ", difficulty 2, " +
                                 std::to_string(played.Trace.size()) + " frames\n");
}

TEST_F(Replays, TheWonGoldenGameIsKeptWithItsEntryAndVerifies) {
    const auto& lines = Recorded->Trace;
    const Games games = GamesOf(lines);
    ASSERT_GE(games.Starts.size(), 2u);
    const size_t won = games.Starts[1] - 1;
    ASSERT_EQ(TraceNumber(lines[won], "mode"), ModeEnding) << "the bot's game is won";
    const RunResult played = Play(ReadFile(*Dir + "/replays/score1.vxr"));
    EXPECT_EQ(played.Status, 0) << played.Stderr;
    EXPECT_NE(played.Stderr.find(": ok, score " + std::to_string(TraceNumber(lines[won], "score")) +
                                 ", difficulty 2, "),
              std::string::npos)
        << played.Stderr;
}

TEST_F(Replays, AnyFlippedByteOrACutIsDamageNeverACrash) {
    Replay replay;
    std::string problem;
    for (size_t at = 0; at < Bytes->size(); ++at) {
        std::string damaged = *Bytes;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x20);
        ASSERT_FALSE(DecodeReplay(damaged, replay, problem)) << "byte " << at;
        ASSERT_FALSE(problem.empty());
    }
    for (size_t size = 0; size < Bytes->size(); size += 97) {
        ASSERT_FALSE(DecodeReplay(Bytes->substr(0, size), replay, problem)) << size << " bytes";
        ASSERT_EQ(problem, size < 8 ? "not a replay" : "damaged") << size << " bytes";
    }

    std::string flipped = *Bytes;
    flipped[flipped.size() / 2] ^= 1;
    RunResult run = Play(flipped);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Stderr.find(": damaged\n"), std::string::npos) << run.Stderr;
    run = Play(Bytes->substr(0, Bytes->size() - 1));
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Stderr.find(": damaged\n"), std::string::npos) << run.Stderr;
}

TEST_F(Replays, AnotherVersionIsRefusedAndAnotherGameGoesOutOfStep) {
    Replay replay = Decoded();
    replay.GameVersion = "1.09";
    RunResult run = Play(EncodeReplay(replay));
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Stderr.find(": a replay of version 1.09; this is version " + GameVersion + "\n"),
              std::string::npos)
        << run.Stderr;

    replay = Decoded();
    replay.Checks.at(2).StateHash ^= 1;
    run = Play(EncodeReplay(replay));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Stderr.find(": out of step at frame 300\n"), std::string::npos) << run.Stderr;

    replay = Decoded();
    replay.Carried.RandomState ^= 1;  // another start: the game goes its own way
    run = Play(EncodeReplay(replay));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Stderr.find(": out of step at frame "), std::string::npos) << run.Stderr;
}

TEST_F(Replays, AnotherStageScriptIsRefused) {
    const std::string stage = *Dir + "/teki_n.dat";
    const std::string original = ReadFile(stage);
    WriteFile(stage, original + "\r\n");
    const RunResult run = Play(*Bytes);
    WriteFile(stage, original);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Stderr.find(": made with other data (teki_n.dat)\n"), std::string::npos)
        << run.Stderr;
}

// The table's replays, on the headless platform in this process.
class TableReplays : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ProgramDir = MakeGameDir();
        headless::SetProgramDirectory(ProgramDir);
        fs::create_directories(ReplayFolder());
        for (int place = 1; place <= 5; ++place) WriteFile(Place(place), "game " + Name(place));
        HighScoreTable = {{{500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}, {0, ""}}};
    }
    void TearDown() override { fs::remove_all(ProgramDir); }

    static std::string Name(int place) { return std::string(1, char('a' + place - 1)); }
    static std::string Place(int place) {
        return ReplayFolder() + "/score" + std::to_string(place) + ".vxr";
    }
    // A game that ends with the table as `table` says, as the name entry leaves it.
    static void PlayGameEndingWith(const std::array<HighScoreEntry, 6>& table) {
        BeginGameRecording();
        HighScoreTable = table;
        EndGameRecording(table[5].Score);
    }
};

TEST_F(TableReplays, ANewEntryTakesItsPlaceAndTheGamesBelowMoveDown) {
    std::remove(Place(4).c_str());  // an entry from before replays were kept
    PlayGameEndingWith(
        {{{500, "a"}, {400, "b"}, {350, "new"}, {300, "c"}, {200, "d"}, {100, "e"}}});
    const std::string last = ReadFile(ReplayFolder() + "/last.vxr");
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(ReadFile(Place(1)), "game a");
    EXPECT_EQ(ReadFile(Place(2)), "game b");
    EXPECT_EQ(ReadFile(Place(3)), last);
    EXPECT_EQ(ReadFile(Place(4)), "game c");
    EXPECT_FALSE(fs::exists(Place(5))) << "d had no replay, and d is fifth now";

    PlayGameEndingWith(
        {{{600, "top"}, {500, "a"}, {400, "b"}, {350, "new"}, {300, "c"}, {200, "d"}}});
    EXPECT_EQ(ReadFile(Place(1)), ReadFile(ReplayFolder() + "/last.vxr"));
    EXPECT_EQ(ReadFile(Place(2)), "game a");
    EXPECT_EQ(ReadFile(Place(4)), last);
    EXPECT_EQ(ReadFile(Place(5)), "game c");
}

TEST_F(TableReplays, AGameOutsideTheTableMovesNothingAndAFailureIsToldOnce) {
    PlayGameEndingWith(HighScoreTable);
    for (int place = 1; place <= 5; ++place)
        EXPECT_EQ(ReadFile(Place(place)), "game " + Name(place));

    fs::remove_all(ReplayFolder());
    WriteFile(ReplayFolder(), "a file where the folder should be");
    headless::TakeBoxTexts();
    PlayGameEndingWith(HighScoreTable);
    PlayGameEndingWith({{{900, "x"}, {500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}}});
    const auto told = headless::TakeBoxTexts();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("could not be saved"), std::string::npos) << told[0];
}

}  // namespace
