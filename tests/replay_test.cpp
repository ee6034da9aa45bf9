// Replays: a game recorded through the runner plays back frame for frame; a replay that is
// damaged, of another version or made with other data is refused with its reason; the
// replays of the high-score table move with their entries; the replay list reads any folder,
// keeps, deletes and checks what it lists.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <thread>

#include "audio/headless/headless_audio.h"
#include "common/hash.h"
#include "common/version.h"
#include "data/replay_file.h"
#include "game/difficulty.h"
#include "game/state.h"
#include "platform/answers.h"
#include "platform/headless/headless.h"
#include "platform/watch_control.h"
#include "runner_trace.h"
#include "shell/program_state.h"
#include "shell/replay_history.h"
#include "shell/replay_list.h"
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

// A frame as the watcher saw it: the picture shown and the trace line of the game.
struct SeenFrame {
    uint64_t Picture = 0;
    std::string Trace;
    bool operator==(const SeenFrame&) const = default;
};

// Watches `file` in this process on the headless platform, opening at `openAt` (0: from the
// start). `onFrame` sees every frame shown, not those a seek passes without showing, and may
// give the watcher's commands; the pictures of the frames in `looked` are digested. Returns the
// program's status.
int Watch(const std::string& file, int64_t openAt, const std::set<int64_t>& looked,
          const std::function<void(int64_t, const SeenFrame&)>& onFrame) {
    headless::Reset();
    headless::ResetAudio();
    ResetProgramState();
    headless::SetProgramDirectory(fs::path(file).parent_path().parent_path().string());
    headless::SetFrameHooks(
        [&] {
            const int64_t frame = AnswerFrames() + 1;
            SeenFrame seen{0, WithoutFrame(TraceLine(frame))};  // taken every frame, as a run does
            if (SeekingSilently()) return;
            const auto& picture = headless::LastPresentedFrame();
            if (looked.count(frame))
                seen.Picture = HashBytes(picture.data(), picture.size() * sizeof picture[0]);
            onFrame(frame, seen);
        },
        nullptr);
    int status = -1;
    try {
        RunReplay(
            file, PlaybackPace::Watching, nullptr,
            [] {
                headless::TakePlayedVoices();
                headless::TakeMusicCommands(false);
                headless::TakeBoxTexts();
            },
            openAt);
    } catch (const headless::ProgramExit& exit) {
        status = exit.Status;
    }
    headless::Reset();
    ResetProgramState();
    return status;
}

// Seeking back plays the game again from its start without showing it, seeking on plays on
// without showing: either way the frame reached is the one straight watching shows there, its
// picture and its trace line, and a step back is a seek to the frame before.
TEST_F(Replays, SeekingAndSteppingShowWhatStraightWatchingShows) {
    const std::string file = *Dir + "/replays/score1.vxr";
    Replay won;
    std::string problem;
    ASSERT_TRUE(DecodeReplay(ReadFile(file), won, problem)) << problem;
    const int64_t frames = won.Frames;
    ASSERT_GT(frames, StageLength + 500) << "the won game reaches the boss";

    // Where each command goes, given at the frame before it.
    struct Move {
        int64_t At;
        std::function<void()> Command;
        int64_t Reaches;
    };
    const int64_t late = frames - 50;
    const std::vector<Move> plan = {
        {1500, [] { SeekWatchTo(300); }, 300},
        {300, [] { SeekWatchTo(2200); }, 2200},
        {2200, [] { StepWatch(-1); }, 2199},
        {2199, [] { StepWatch(1); }, 2200},
        {2200, [] { StepWatch(-1); }, 2199},
        {2199, [] { SeekWatchBy(-WatchSeekFrames); }, 1999},
        {1999, [] { SeekWatchTo(WatchedBossFrame()); }, StageLength + 1},
        {StageLength + 1, [=] { SeekWatchTo(late); }, late},
        {late, [] { SeekWatchBy(-WatchSeekFrames); }, late - WatchSeekFrames},
        {late - WatchSeekFrames, [] { SeekWatchTo(1); }, 1},
    };
    std::set<int64_t> looked = {1234};
    for (const Move& move : plan) looked.insert(move.Reaches);
    std::map<int64_t, SeenFrame> straight;
    ASSERT_EQ(Watch(file, 0, looked,
                    [&](int64_t frame, const SeenFrame& seen) { straight.emplace(frame, seen); }),
              0);
    ASSERT_EQ(int64_t(straight.size()), frames);
    ASSERT_EQ(straight.rbegin()->first, frames) << "every frame shown once";

    size_t next = 0;
    std::vector<int64_t> reached;
    int64_t bossSeenAt = 0;
    const int status = Watch(file, 0, looked, [&](int64_t frame, const SeenFrame& seen) {
        bossSeenAt = WatchedBossFrame();
        if (next > 0 && frame == plan[next - 1].Reaches && reached.size() < next) {
            reached.push_back(frame);
            EXPECT_EQ(seen, straight.at(frame)) << "frame " << frame << " reached by move " << next;
        }
        if (next < plan.size() && frame == plan[next].At && reached.size() == next)
            plan[next++].Command();
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(next, plan.size());
    ASSERT_EQ(reached.size(), plan.size());
    for (size_t i = 0; i < plan.size(); ++i) EXPECT_EQ(reached[i], plan[i].Reaches) << i;
    EXPECT_EQ(bossSeenAt, StageLength + 1) << "where the boss came, as seen";

    // --at opens there, paused.
    bool first = true;
    EXPECT_EQ(Watch(file, 1234, looked,
                    [&](int64_t frame, const SeenFrame& seen) {
                        if (!first) return;
                        first = false;
                        EXPECT_EQ(frame, 1234);
                        EXPECT_TRUE(WatchPaused());
                        EXPECT_EQ(seen, straight.at(1234));
                    }),
              0);
}

TEST(ReplayHistory, NamesSortByTimeAndSayWhatTheGameWas) {
    std::tm local{};
    local.tm_year = 2026 - 1900, local.tm_mon = 11, local.tm_mday = 8;
    local.tm_hour = 14, local.tm_min = 3, local.tm_sec = 22, local.tm_isdst = -1;
    const std::time_t when = std::mktime(&local);
    EXPECT_EQ(HistoryName(when, 2, 3380), "2026-12-08_14-03-22_normal_3380.vxr");
    EXPECT_EQ(HistoryName(when + 1, 1, 0), "2026-12-08_14-03-23_easy_0.vxr");
    EXPECT_LT(HistoryName(when, 3, 99999), HistoryName(when + 60, 1, 0));
    for (const char* name : {"2026-12-08_14-03-22_normal_3380.vxr",
                             "2026-12-08_14-03-22_hard_0-2.vxr", "2026-12-08_14-03-22_easy_-5.vxr"})
        EXPECT_TRUE(IsHistoryName(name)) << name;
    for (const char* name : {"last.vxr", "score1.vxr", "2026-12-08_14-03-22_normal_.vxr",
                             "2026-12-08_14-03-22_normal_3380.vxr.tmp", "my best run.vxr",
                             "2026-12-08 14-03-22_normal_3380.vxr", "2026-12-08_14-03-22__1.vxr"})
        EXPECT_FALSE(IsHistoryName(name)) << name;
}

// What a stranger's file can hold: each is refused with its reason, or goes out of step, at once.
TEST_F(Replays, AnAnswerStreamThatCannotFitItsFramesIsDamaged) {
    const Replay real = Decoded();
    Replay replay = real;
    std::string problem;
    const auto refused = [&replay, &problem](const std::string& what) {
        Replay read;
        EXPECT_FALSE(DecodeReplay(EncodeReplay(replay), read, problem)) << what;
        EXPECT_EQ(problem, "damaged") << what;
        EXPECT_LT(read.AnswerStream.size(), 32u << 20) << what << ": inflated anyway";
    };
    // Some 64 kB that inflate to 64 MiB: of zeros (each a well-formed key answer), and of the
    // real game's answers over and over.
    replay.AnswerStream.assign(64u << 20, '\0');
    const std::string bomb = EncodeReplay(replay);
    EXPECT_LT(bomb.size(), 80u << 10);
    refused("64 MiB of zeros");
    replay.AnswerStream.clear();
    while (replay.AnswerStream.size() < (4u << 20)) replay.AnswerStream += real.AnswerStream;
    refused("the game's answers 40 times over");
    replay.Frames = MaxReplayFrames + 100;
    refused("more frames than any game");
    replay = real;
    replay.Frames += ReplayCheckInterval;
    refused("a check fewer than its frames have");
    replay = real;
    replay.Checks.back().Frame -= 1;
    refused("a check off its frame");

    // A last frame cut short in the file's own count: the game plays on past it.
    replay = real;
    ASSERT_NE(replay.Frames % ReplayCheckInterval, 0u);
    replay.Frames -= replay.Frames % ReplayCheckInterval;
    const RunResult run = Play(EncodeReplay(replay));
    EXPECT_EQ(run.Status, 1);
    EXPECT_NE(run.Stderr.find(": out of step at frame " + std::to_string(replay.Frames + 1) + "\n"),
              std::string::npos)
        << run.Stderr;

    const RunResult bombed = Play(bomb);
    EXPECT_EQ(bombed.Status, 2);
    EXPECT_NE(bombed.Stderr.find(": damaged\n"), std::string::npos) << bombed.Stderr;
}

TEST_F(Replays, OnlyARegularFileOfAReplaysSizeIsRead) {
    const std::string fifo = *Dir + "/fifo.vxr";
    const std::string sparse = *Dir + "/sparse.vxr";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    WriteFile(sparse, Bytes->substr(0, 100));
    fs::resize_file(sparse, 2ull << 30);  // 2 GiB, of which nothing is on disk
    const std::pair<std::string, std::string> cases[] = {{fifo, "not a file"},
                                                         {"/dev/zero", "not a file"},
                                                         {*Dir, "not a file"},
                                                         {sparse, "too large for a replay"},
                                                         {*Dir + "/none.vxr", "cannot be read"}};
    for (const auto& [path, reason] : cases) {
        const RunResult run = RunHeadless(*Dir, "", "--replay '" + path + "'", false);
        EXPECT_EQ(run.Status, 2) << path;
        EXPECT_NE(run.Stderr.find(path + ": " + reason + "\n"), std::string::npos) << run.Stderr;
    }
    fs::remove(fifo);
    fs::remove(sparse);
}

TEST_F(Replays, TheDataCheckNamesEachFileOnce) {
    const Replay real = Decoded();
    Replay replay = real;
    const auto told = [&replay](const std::string& what) {
        const RunResult run = Play(EncodeReplay(replay));
        EXPECT_EQ(run.Status, 2) << what;
        const size_t colon = run.Stderr.find(": ");
        return colon == std::string::npos ? run.Stderr : run.Stderr.substr(colon + 2);
    };
    replay.Files.assign(real.Files.size(), real.Files.front());
    EXPECT_EQ(told("the stage script named for every file"), "damaged\n");
    replay = real;
    replay.Files[1] = replay.Files[0];
    EXPECT_EQ(told("a file named twice"), "damaged\n");
    replay = real;
    replay.Files[2].Name.clear();
    EXPECT_EQ(told("an empty name"), "damaged\n");
    replay.Files[2].Name = "l_baku.bmp";
    EXPECT_EQ(told("a name not as the game names its files"), "damaged\n");
    replay = real;
    replay.Files.pop_back();
    EXPECT_EQ(told("a file left out"), "made with other data\n");
    replay = real;
    replay.Files[3].Digest ^= 1;
    EXPECT_EQ(told("another picture"),
              "made with other data (" + real.Files[3].Name.substr(1) + ")\n");
}

TEST_F(Replays, TextsFromTheFileArePrintedCleanAndShort) {
    Replay replay = Decoded();
    replay.GameVersion = "1.09\x1b[2J\a" + std::string(1, '\0') + std::string(65000, 'x');
    RunResult run = Play(EncodeReplay(replay));
    EXPECT_EQ(run.Status, 2);
    EXPECT_EQ(run.Stderr, *Dir + "/played.vxr: a replay of version 1.09?[2J??" +
                              std::string(30, 'x') + "...; this is version " + GameVersion + "\n");

    replay = Decoded();
    replay.Files[1].Name = "\\\x1b]0;title\x07\xc2\x9b\xff.bmp";
    run = Play(EncodeReplay(replay));
    EXPECT_EQ(run.Status, 2);
    EXPECT_NE(run.Stderr.find(": made with other data (?]0;title???.bmp)\n"), std::string::npos)
        << run.Stderr;
}

// The list's own folder beside the recorded game, each file's time set: `age` seconds ago.
class ReplayList : public Replays {
protected:
    void SetUp() override {
        ProgramDir = *Dir;  // the data files the list checks against
        Folder = *Dir + "/list";
        fs::create_directories(Folder);
    }
    void TearDown() override { fs::remove_all(Folder); }
    void Put(const std::string& name, const std::string& bytes, long age = 0) const {
        WriteFile(Folder + "/" + name, bytes);
        const long when = long(std::time(nullptr)) - age;
        const timeval times[2] = {{when, 0}, {when, 0}};
        utimes((Folder + "/" + name).c_str(), times);
    }
    std::vector<std::string> Listed() const {
        std::vector<std::string> names;
        for (const ListedReplay& replay : ReadReplayFolder(Folder).Replays)
            names.push_back(replay.File);
        return names;
    }
    // Runs the list's check through the runner, which verifies as `vexlan --verify` does.
    VerifiedReplay Verified(const std::string& bytes) const {
        const std::string file = Folder + "/checked.vxr";
        WriteFile(file, bytes);
        ReplayVerification check;
        EXPECT_TRUE(check.Start({VEXLAN_HEADLESS_BIN, "--dir", *Dir, "--replay", file}, file));
        VerifiedReplay verified;
        for (int wait = 0; wait < 6000 && !check.Ended(verified); ++wait)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        EXPECT_FALSE(check.Running());
        return verified;
    }
    std::string Folder;
};

TEST_F(ReplayList, ListsEveryReplayNewestFirstAndDamagedOrForeignFilesAsSuch) {
    Put("2026-12-08_14-03-22_normal_3780.vxr", *Bytes, 0);  // the history's time is its name's
    Put("last.vxr", *Bytes, 60);
    Put("score1.vxr", ReadFile(*Dir + "/replays/score1.vxr"), 120);  // the bot's won game
    Put("cut short.vxr", Bytes->substr(0, Bytes->size() / 2), 180);
    Put("a letter.vxr", "Dear player,\n", 240);
    Replay other = Decoded();
    other.Files[3].Digest ^= 1;
    Put("other data.vxr", EncodeReplay(other), 300);
    Put("notes.txt", *Bytes, 0);
    Put(".hidden.vxr", *Bytes, 0);
    fs::create_directory(Folder + "/a folder.vxr");
    ASSERT_EQ(mkfifo((Folder + "/a pipe.vxr").c_str(), 0600), 0);

    const ReplayFolderList list = ReadReplayFolder(Folder);
    ASSERT_EQ(list.Replays.size(), 6u) << "no folder, FIFO, hidden file or other extension";
    EXPECT_FALSE(list.Cut);
    EXPECT_EQ(Listed(),
              (std::vector<std::string>{"last.vxr", "score1.vxr", "cut short.vxr", "a letter.vxr",
                                        "other data.vxr", "2026-12-08_14-03-22_normal_3780.vxr"}));
    const Replay game = Decoded();
    const ListedReplay& last = list.Replays[0];
    EXPECT_EQ(last.Origin, ReplayOrigin::Last);
    EXPECT_TRUE(last.Read);
    EXPECT_EQ(last.Problem, "");
    EXPECT_EQ(last.Difficulty, game.Difficulty);
    EXPECT_EQ(last.Score, game.Score);
    EXPECT_EQ(last.Frames, game.Frames);
    EXPECT_EQ(list.Replays[1].Origin, ReplayOrigin::Table);
    EXPECT_EQ(list.Replays[1].TablePlace, 1);
    EXPECT_EQ(list.Replays[1].Name, "ボット") << "the name the runner entered in the game";
    EXPECT_FALSE(list.Replays[2].Read);
    EXPECT_EQ(list.Replays[2].Problem, "damaged");
    EXPECT_EQ(list.Replays[3].Problem, "not a replay");
    EXPECT_TRUE(list.Replays[4].Read);
    EXPECT_EQ(list.Replays[4].Problem,
              "made with other data (" + game.Files[3].Name.substr(1) + ")");
    const ListedReplay& history = list.Replays[5];
    EXPECT_EQ(history.Origin, ReplayOrigin::History);
    std::tm local{};
    localtime_r(&history.When, &local);
    EXPECT_EQ(local.tm_year + 1900, 2026);
    EXPECT_EQ(local.tm_hour * 10000 + local.tm_min * 100 + local.tm_sec, 140322);

    for (size_t i = 0; i < MaxListedReplays + 5; ++i) Put("many" + std::to_string(i) + ".vxr", "x");
    const ReplayFolderList many = ReadReplayFolder(Folder);
    EXPECT_EQ(many.Replays.size(), MaxListedReplays);
    EXPECT_TRUE(many.Cut);
}

TEST_F(ReplayList, AKeptReplayOutlivesTheHistoryAndOnlySafeNamesAreTaken) {
    for (int i = 0; i < int(HistoryLength); ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "2020-01-01_00-%02d-%02d_normal_%d.vxr", i / 60, i % 60,
                      i);
        Put(name, i == 0 ? *Bytes : "an old game");
    }
    Put("last.vxr", *Bytes, 3600);
    ReplayFolderList list = ReadReplayFolder(Folder);
    const ListedReplay oldest = list.Replays[list.Replays.size() - 1];
    ASSERT_EQ(oldest.File, "2020-01-01_00-00-00_normal_0.vxr");

    std::string problem;
    for (const char* unsafe :
         {"", "  ", "../up", "a/b", "back\\slash", ".hidden", "tab\there", "bell\a",
          "bad \xff utf-8", "last", "score3.vxr", "2026-12-08_14-03-22_normal_3380"}) {
        EXPECT_EQ(KeptReplayFileName(unsafe, problem), "") << unsafe;
        EXPECT_FALSE(problem.empty()) << unsafe;
    }
    for (const char* typed : {"../up", "back\\slash", "tab\there", "bad \xff utf-8"})
        EXPECT_FALSE(MayTypeKeptName(typed)) << "the name dialog refuses " << typed << " as typed";
    EXPECT_EQ(KeptReplayFileName(std::string(MaxKeptNameCharacters + 1, 'x'), problem), "");
    EXPECT_EQ(KeptReplayFileName(std::string(MaxKeptNameCharacters, 'x'), problem),
              std::string(MaxKeptNameCharacters, 'x') + ".vxr");
    EXPECT_EQ(KeptReplayFileName(" 初クリア.vxr ", problem), "初クリア.vxr");
    EXPECT_EQ(KeepReplay(Folder, oldest, "../outside", problem), "");
    EXPECT_FALSE(fs::exists(*Dir + "/outside.vxr"));

    ASSERT_EQ(KeepReplay(Folder, oldest, "初クリア", problem), "初クリア.vxr") << problem;
    EXPECT_FALSE(fs::exists(Folder + "/" + oldest.File)) << "a history's replay is renamed";
    EXPECT_EQ(ReadFile(Folder + "/初クリア.vxr"), *Bytes);
    const ListedReplay last = list.Replays.front();
    ASSERT_EQ(last.File, "last.vxr");
    ASSERT_EQ(KeepReplay(Folder, last, " the last one.vxr", problem), "the last one.vxr")
        << problem;
    EXPECT_EQ(ReadFile(Folder + "/last.vxr"), *Bytes) << "the game's own file stays";
    EXPECT_EQ(ReadFile(Folder + "/the last one.vxr"), *Bytes);
    EXPECT_EQ(KeepReplay(Folder, last, "初クリア", problem), "") << "never over another file";
    fs::create_symlink(*Dir + "/elsewhere.vxr", Folder + "/a link.vxr");
    EXPECT_EQ(KeepReplay(Folder, last, "a link", problem), "") << "nor through a link to nothing";
    EXPECT_FALSE(fs::exists(*Dir + "/elsewhere.vxr"));
    EXPECT_EQ(ReadFile(Folder + "/初クリア.vxr"), *Bytes);

    for (int i = 0; i < 3; ++i)
        Put("2030-01-01_00-00-0" + std::to_string(i) + "_hard_1.vxr", "new");
    TrimHistory(Folder);
    list = ReadReplayFolder(Folder);
    const auto kept = std::find_if(list.Replays.begin(), list.Replays.end(),
                                   [](const ListedReplay& r) { return r.File == "初クリア.vxr"; });
    ASSERT_NE(kept, list.Replays.end()) << "the trim removes the history's names only";
    EXPECT_EQ(kept->Origin, ReplayOrigin::Kept);
    EXPECT_TRUE(fs::exists(Folder + "/the last one.vxr"));
    EXPECT_EQ(HistoryFiles(Folder).size(), HistoryLength);
    const std::time_t lastTime = last.When;
    const auto copy =
        std::find_if(list.Replays.begin(), list.Replays.end(),
                     [](const ListedReplay& r) { return r.File == "the last one.vxr"; });
    ASSERT_NE(copy, list.Replays.end());
    EXPECT_EQ(copy->When, lastTime) << "a copy keeps its game's time";

    const size_t before = list.Replays.size();
    ASSERT_TRUE(DeleteReplay(Folder, *kept, problem)) << problem;
    EXPECT_FALSE(fs::exists(Folder + "/初クリア.vxr"));
    EXPECT_EQ(ReadReplayFolder(Folder).Replays.size(), before - 1) << "that file only";
    EXPECT_FALSE(DeleteReplay(Folder, *kept, problem));
    EXPECT_FALSE(problem.empty());
}

TEST_F(ReplayList, TheCheckSaysOkOrWhereItWentOutOfStepOrWhyItCannotPlay) {
    VerifiedReplay verified = Verified(*Bytes);
    EXPECT_EQ(verified.Verdict, ReplayVerdict::Ok) << verified.Told;
    EXPECT_TRUE(verified.Told.starts_with("ok, score " + std::to_string(Decoded().Score)))
        << verified.Told;

    Replay tampered = Decoded();
    tampered.Checks.at(2).StateHash ^= 1;
    verified = Verified(EncodeReplay(tampered));
    EXPECT_EQ(verified.Verdict, ReplayVerdict::OutOfStep) << verified.Told;
    EXPECT_EQ(verified.Frame, 300);

    verified = Verified("not a replay at all");
    EXPECT_EQ(verified.Verdict, ReplayVerdict::CannotPlay);
    EXPECT_EQ(verified.Told, "not a replay");
}

// The table's replays, on the headless platform in this process. Each is a replay of its
// entry's game: its final score, and the name entered in it.
class TableReplays : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ProgramDir = MakeGameDir();
        headless::SetProgramDirectory(ProgramDir);
        fs::create_directories(ReplayFolder());
        HighScoreTable = {{{500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}, {0, ""}}};
        for (int place = 1; place <= 5; ++place) WriteFile(Place(place), GameOf(place));
    }
    void TearDown() override { fs::remove_all(ProgramDir); }

    static std::string Place(int place) {
        return ReplayFolder() + "/score" + std::to_string(place) + ".vxr";
    }
    static std::string Game(int32_t score, const std::string& name) {
        Replay replay;
        replay.Score = score;
        AnswerWriter answers;
        answers.Add({AnswerKind::Name, 0, 0, name});
        replay.AnswerStream = answers.Take();
        return EncodeReplay(replay);
    }
    // The game of the fixture's entry at `place`.
    static std::string GameOf(int place) {
        return Game(600 - 100 * place, std::string(1, char('a' + place - 1)));
    }
    // A game that ends with `score`, `name` entered, and the table as `table` says.
    static void PlayGameEndingWith(int32_t score, const std::string& name,
                                   const std::array<HighScoreEntry, 6>& table) {
        BeginGameRecording();
        RecordName(name);
        HighScoreTable = table;
        EndGameRecording(score);
    }
};

TEST_F(TableReplays, ANewEntryTakesItsPlaceAndTheGamesBelowMoveDown) {
    std::remove(Place(4).c_str());  // an entry from before replays were kept
    PlayGameEndingWith(
        350, "new", {{{500, "a"}, {400, "b"}, {350, "new"}, {300, "c"}, {200, "d"}, {100, "e"}}});
    const std::string last = ReadFile(ReplayFolder() + "/last.vxr");
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(ReadFile(Place(1)), GameOf(1));
    EXPECT_EQ(ReadFile(Place(2)), GameOf(2));
    EXPECT_EQ(ReadFile(Place(3)), last);
    EXPECT_EQ(ReadFile(Place(4)), GameOf(3));
    EXPECT_FALSE(fs::exists(Place(5))) << "d had no replay, and d is fifth now";

    PlayGameEndingWith(
        600, "top", {{{600, "top"}, {500, "a"}, {400, "b"}, {350, "new"}, {300, "c"}, {200, "d"}}});
    EXPECT_EQ(ReadFile(Place(1)), ReadFile(ReplayFolder() + "/last.vxr"));
    EXPECT_EQ(ReadFile(Place(2)), GameOf(1));
    EXPECT_EQ(ReadFile(Place(4)), last);
    EXPECT_EQ(ReadFile(Place(5)), GameOf(3));
}

TEST_F(TableReplays, AGameOutsideTheTableMovesNothingAndAFailureIsToldOnce) {
    PlayGameEndingWith(100, "e", HighScoreTable);  // as fifth's score: the spare slot
    for (int place = 1; place <= 5; ++place) EXPECT_EQ(ReadFile(Place(place)), GameOf(place));

    fs::remove_all(ReplayFolder());
    WriteFile(ReplayFolder(), "a file where the folder should be");
    headless::TakeBoxTexts();
    PlayGameEndingWith(50, "x", HighScoreTable);
    PlayGameEndingWith(900, "x",
                       {{{900, "x"}, {500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}}});
    const auto told = headless::TakeBoxTexts();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("could not be saved"), std::string::npos) << told[0];
}

TEST_F(TableReplays, EveryGameJoinsTheHistoryAndOnlyTheNewestHundredOfItStay) {
    const std::string folder = ReplayFolder();
    for (int i = 0; i < 104; ++i) {
        char name[64];
        std::snprintf(name, sizeof name, "2020-01-01_00-%02d-%02d_normal_%d.vxr", i / 60, i % 60,
                      i);
        WriteFile(folder + "/" + name, "old game");
    }
    WriteFile(folder + "/2019-01-01 kept by the player.vxr", "kept");
    Difficulty = DifficultyNormal;
    auto outside = HighScoreTable;
    outside[5] = {100, "x"};  // scored 100, not enough for the table
    PlayGameEndingWith(100, "x", outside);
    PlayGameEndingWith(100, "x", outside);  // most likely the same second: a name of its own

    const std::vector<std::string> history = HistoryFiles(folder);
    ASSERT_EQ(history.size(), HistoryLength);
    EXPECT_EQ(history.front(), "2020-01-01_00-00-06_normal_6.vxr") << "the six oldest went";
    const std::string last = ReadFile(folder + "/last.vxr");
    int today = 0;
    for (const std::string& name : history) {
        if (name.starts_with("2020-")) continue;
        ++today;
        EXPECT_NE(name.find("_normal_100"), std::string::npos) << name;
        EXPECT_EQ(ReadFile(folder + "/" + name), last);
    }
    EXPECT_EQ(today, 2);
    EXPECT_EQ(ReadFile(folder + "/2019-01-01 kept by the player.vxr"), "kept");
    for (int place = 1; place <= 5; ++place) EXPECT_EQ(ReadFile(Place(place)), GameOf(place));
}

// The replay list may be opened over a game: what its boxes are told is not the game's, and the
// game's replay holds the game's own answers alone.
TEST_F(TableReplays, TheBoxesOfTheListOverAGameAreNoPartOfItsReplay) {
    BeginGameRecording();
    headless::QueueBoxAnswer(BoxAnswer::Ok);
    headless::QueueInputAnswer("kept");
    {
        const AnswersSetAside notTheGames;
        EXPECT_EQ(MessageBox("delete?", "", BoxButtons::OkCancel), BoxAnswer::Ok);
        EXPECT_EQ(InputBox("name?", "", nullptr, nullptr), "kept");
    }
    RecordName("player");
    EndGameRecording(0);
    Replay replay;
    std::string problem;
    ASSERT_TRUE(DecodeReplay(ReadFile(ReplayFolder() + "/last.vxr"), replay, problem)) << problem;
    std::vector<Answer> answers;
    AnswerReader reader(replay.AnswerStream);
    for (Answer answer; reader.Next(answer);) answers.push_back(answer);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].Text, "player");
}

// A save killed between data.ini and the replays: the table is the new one, the replays part
// moved. At the next start each entry's game is put back at its place, wherever it was.
TEST_F(TableReplays, AtStartEachPlaceGetsItsEntrysGameWhereverItIs) {
    HighScoreTable = {{{700, "new"}, {500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {100, "e"}}};
    // Killed after moving d, c and b down one: b's game is in both 2's and 3's place.
    fs::rename(Place(4), Place(5));
    fs::rename(Place(3), Place(4));
    fs::copy_file(Place(2), Place(3));
    WriteFile(ReplayFolder() + "/last.vxr", Game(700, "new"));
    ArrangeTableReplaysAtStart();
    EXPECT_EQ(ReadFile(Place(1)), Game(700, "new")) << "the last game is the new entry's";
    for (int place = 2; place <= 5; ++place) EXPECT_EQ(ReadFile(Place(place)), GameOf(place - 1));

    // A ring of places, the game of no entry and a file that is no replay.
    HighScoreTable = {{{500, "a"}, {400, "b"}, {300, "c"}, {200, "d"}, {0, ""}, {0, ""}}};
    for (int place = 1; place <= 4; ++place) WriteFile(Place(place), GameOf(place % 4 + 1));
    WriteFile(Place(5), Game(100, "e"));
    WriteFile(ReplayFolder() + "/last.vxr", "not a replay");
    ArrangeTableReplaysAtStart();
    for (int place = 1; place <= 4; ++place) EXPECT_EQ(ReadFile(Place(place)), GameOf(place));
    EXPECT_FALSE(fs::exists(Place(5))) << "e has left the table";
    WriteFile(Place(5), "a file of a later version");
    ArrangeTableReplaysAtStart();
    EXPECT_EQ(ReadFile(Place(5)), "a file of a later version");
    EXPECT_EQ(ReadFile(Place(1)), GameOf(1));
}

}  // namespace
