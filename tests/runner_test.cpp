// The headless runner as tools outside the game use it: its clock, its input commands, the
// trace, the snapshots, the way a run ends, and that a run is a pure function of its inputs.
#include <gtest/gtest.h>

#include "gfx/bmp.h"
#include "support/runner_support.h"
#include "support/test_support.h"

namespace {

// Esc on the title starts a game.
constexpr const char* StartGame = "5 tap escape\n";

int FirstFrameInMode(const RunResult& run, int mode) {
    for (const std::string& line : run.Trace)
        if (TraceNumber(line, "mode") == mode) return int(TraceNumber(line, "frame"));
    return -1;
}

}  // namespace

TEST(Runner, WritesOneTraceLinePerFrameWithEveryField) {
    const std::string dir = MakeGameDir();
    const RunResult run = RunHeadless(dir, StartGame, "--frames 40");
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    ASSERT_EQ(run.Trace.size(), 40u);  // closed after frame 40, before frame 41's wait
    for (size_t i = 0; i < run.Trace.size(); ++i) {
        const std::string& line = run.Trace[i];
        EXPECT_EQ(TraceNumber(line, "frame"), long(i + 1));
        for (const char* field :
             {"mode", "timer", "score", "player", "shots", "bullets", "enemies", "exploding",
              "boss", "difficulty", "midi", "wav", "sounds", "music", "boxes"})
            EXPECT_FALSE(TraceField(line, field).empty()) << field << " missing in " << line;
    }
    EXPECT_EQ(TraceField(run.Trace[0], "music"), "[\"Open m_battle.mid Alias BGM\"]");
}

TEST(Runner, FramesEndsTheRunThroughTheUnloadPath) {
    const std::string dir = MakeGameDir();
    const RunResult run = RunHeadless(dir, "", "--frames 10");
    EXPECT_EQ(run.Status, 0) << run.Stderr;
    EXPECT_EQ(run.Trace.size(), 10u);
    EXPECT_NE(ReadFile(dir + "/data.ini").find("Diffculty"), std::string::npos);
}

TEST(Runner, TwoRunsWithTheSameInputAndSeedAgree) {
    const std::string input = std::string(StartGame) + "30 down z\n30 down left\n90 up left\n";
    auto run = [&](const std::string& seed) {
        const std::string dir = MakeGameDir();
        RunResult result = RunHeadless(
            dir, input, "--seed " + seed + " --frames 400 --shot 400:" + dir + "/last.bmp");
        EXPECT_EQ(result.Status, 0) << result.Stderr;
        return std::make_pair(result.Trace, ReadFile(dir + "/last.bmp"));
    };
    const auto first = run("7");
    const auto second = run("7");
    EXPECT_TRUE(first.first == second.first) << "the traces differ";
    EXPECT_TRUE(first.second == second.second) << "the last frames differ";
    // The seed reaches the random helpers: the streaks fall elsewhere.
    EXPECT_FALSE(first.second == run("8").second) << "another seed drew the same frame";
}

TEST(Runner, KeysChangeJustBeforeThePassOfTheirFrame) {
    const std::string dir = MakeGameDir();
    // The game starts after the title's last frame; the ship rises for 20 frames, then the left
    // key held from frame S moves it 12 pixels in the pass that ends in frame S's wait.
    const RunResult run =
        RunHeadless(dir, std::string(StartGame) + "60 down left\n", "--frames 70");
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    EXPECT_EQ(TraceNumber(run.Trace[58], "player", 0), 226);  // frame 59
    EXPECT_EQ(TraceNumber(run.Trace[59], "player", 0), 214);  // frame 60
}

TEST(Runner, TheClockMovesOnlyBySleepsAndFrameSlots) {
    const std::string dir = MakeGameDir();
    const RunResult run = RunHeadless(dir, StartGame, "--frames 100");
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    // The first frame comes after the 300 ms pause before the title.
    EXPECT_GE(TraceNumber(run.Trace[0], "tick"), 100000 + 300);
    // In play every wait ends on the first tick of the next slot: 51 ms after an even slot,
    // 49 ms after an odd one.
    const int start = FirstFrameInMode(run, 2);
    ASSERT_GT(start, 0);
    for (int frame = start + 1; frame < 100; ++frame) {
        const long before = TraceNumber(run.Trace[frame - 1], "tick");
        const long after = TraceNumber(run.Trace[frame], "tick");
        const long slot = (before + 25) / 50;  // round half to even never matters past a wait
        EXPECT_EQ(after - before, slot % 2 == 0 ? 51 : 49) << "frame " << frame + 1;
    }
}

TEST(Runner, SnapshotIsTheFramePresented) {
    const std::string dir = MakeGameDir();
    const RunResult run = RunHeadless(
        dir, StartGame, "--frames 60 --shot 50:" + dir + "/f50.bmp --shot 51:" + dir + "/f51.bmp",
        false);
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    const std::string bytes = ReadFile(dir + "/f50.bmp");
    DecodedBitmap shot;
    std::string error;
    ASSERT_TRUE(
        DecodeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), shot, error))
        << error;
    EXPECT_EQ(shot.Width, 500);
    EXPECT_EQ(shot.Height, 600);
    int lit = 0;
    for (uint32_t pixel : shot.Pixels) lit += pixel != 0;
    EXPECT_GT(lit, 500);                           // the ship, the streaks and the status line
    EXPECT_NE(ReadFile(dir + "/f51.bmp"), bytes);  // the next frame differs
}

TEST(Runner, AnswersReachTheQuitBox) {
    const std::string dir = MakeGameDir();
    const RunResult cancelled =
        RunHeadless(dir, std::string(StartGame) + "40 down escape\n41 up escape\n", "--frames 60");
    ASSERT_EQ(cancelled.Status, 0) << cancelled.Stderr;
    bool asked = false;
    for (const std::string& line : cancelled.Trace)
        asked |= TraceField(line, "boxes") == "[\"終了しますか\"]";
    EXPECT_TRUE(asked);
    EXPECT_NE(cancelled.Stderr.find("終了しますか"), std::string::npos);

    const RunResult confirmed = RunHeadless(
        MakeGameDir(), std::string(StartGame) + "msgbox ok\n40 down escape\n", "--frames 200");
    ASSERT_EQ(confirmed.Status, 0) << confirmed.Stderr;
    EXPECT_LT(confirmed.Trace.size(), 60u);  // OK ended the program at once
}

TEST(Runner, TheCloseCommandEndsTheProgramAtItsFrame) {
    const std::string dir = MakeGameDir();
    const RunResult run = RunHeadless(dir, std::string(StartGame) + "30 close\n", "");
    EXPECT_EQ(run.Status, 0) << run.Stderr;
    EXPECT_EQ(run.Trace.size(), 29u);  // the box is clicked once frame 29's wait has returned
}

TEST(Runner, AFatalErrorGivesANonZeroStatusAndItsMessage) {
    const std::string dir = MakeGameDir();
    std::remove((dir + "/l_jiki.bmp").c_str());
    const RunResult run = RunHeadless(dir, "", "--frames 10");
    EXPECT_NE(run.Status, 0);
    EXPECT_NE(run.Stderr.find("l_jiki.bmp"), std::string::npos) << run.Stderr;
}

TEST(Runner, RefusesABrokenInputScript) {
    const std::string dir = MakeGameDir();
    const RunResult run = RunHeadless(dir, "3 jump z\n", "--frames 10", false);
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Stderr.find("input line 1: unknown command \"jump\""), std::string::npos);
}

TEST(Runner, OptionsChangedOnTheirScreenSurviveARestart) {
    const std::string dir = MakeGameDir();
    // Down held over two of the title's input frames: the cursor moves to the options item.
    const std::string changeOptions =
        "5 down down\n8 up down\n12 tap z\n"  // open the options
        "20 tap right\n"                      // Normal -> Hard
        "26 tap down\n32 tap left\n"          // music on
        "38 tap down\n44 tap left\n"          // effects on
        "50 tap escape\n";
    const RunResult first = RunHeadless(dir, changeOptions, "--frames 70");
    ASSERT_EQ(first.Status, 0) << first.Stderr;
    EXPECT_EQ(TraceNumber(first.Trace.back(), "difficulty"), 3);
    EXPECT_EQ(TraceNumber(first.Trace.back(), "midi"), -1);
    EXPECT_EQ(TraceNumber(first.Trace.back(), "wav"), -1);

    const RunResult second = RunHeadless(dir, StartGame, "--frames 30");
    ASSERT_EQ(second.Status, 0) << second.Stderr;
    EXPECT_EQ(TraceNumber(second.Trace.front(), "difficulty"), 3);
    EXPECT_EQ(TraceNumber(second.Trace.front(), "midi"), -1);
    EXPECT_EQ(TraceNumber(second.Trace.back(), "player", 2), 3);  // Hard: three hit points
    // Music on: the tune starts in the first play frame.
    bool played = false;
    for (const std::string& line : second.Trace)
        played |= TraceField(line, "music").find("play BGM") != std::string::npos;
    EXPECT_TRUE(played);
}

TEST(Runner, ABrokenStageScriptIsReportedAndTheTitleComesBack) {
    const std::string dir = MakeGameDir();
    std::string script = ReadFile(dir + "/teki_n.dat");
    const size_t firstNumberLine = script.find("\r\n") + 2;
    script.insert(firstNumberLine, "abc\r\n");
    WriteFile(dir + "/teki_n.dat", script);
    const RunResult run = RunHeadless(dir, StartGame, "--frames 60");
    ASSERT_EQ(run.Status, 0) << run.Stderr;
    bool reported = false;
    for (const std::string& line : run.Trace) {
        const std::string boxes = TraceField(line, "boxes");
        reported |= boxes.find("teki_n.dat line 2") != std::string::npos;
        EXPECT_NE(TraceNumber(line, "mode"), 2) << "a stage frame ran";
    }
    EXPECT_TRUE(reported) << run.Stderr;
    // The title runs on: the logo keeps being revealed and the program ends normally.
    EXPECT_EQ(run.Trace.size(), 60u);
}
