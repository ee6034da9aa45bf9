// The golden runs: one game a difficulty, played by the test bot and recorded as a runner input
// script with a digest of every frame's trace line and of a few presented frames. Replayed
// through the runner it must give the same, frame for frame: a change of any rule of the game
// fails here and names the first frame that differs. After a deliberate change of behaviour,
// re-record with `make golden` and say why in the commit.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <vector>

#include "support/digest.h"
#include "support/runner_support.h"
#include "support/test_support.h"

namespace {

struct Recording {
    std::vector<std::string> Frames;    // the digest of each frame's trace line
    std::map<long, std::string> Shots;  // frame -> digest of its picture
};

Recording ReadRecording(const std::string& file) {
    Recording recording;
    std::istringstream lines(ReadFile(file));
    for (std::string line; std::getline(lines, line);) {
        std::istringstream words(line);
        std::string first;
        words >> first;
        if (first == "shot") {
            long frame = 0;
            words >> frame;
            words >> recording.Shots[frame];
        } else {
            recording.Frames.push_back(first);
        }
    }
    return recording;
}

class GoldenRun : public ::testing::TestWithParam<const char*> {};

TEST_P(GoldenRun, ReplaysTheRecordedGameFrameForFrame) {
    const std::string golden = std::string(VEXLAN_SOURCE_DIR) + "/tests/golden/" + GetParam();
    const Recording expected = ReadRecording(golden + ".digests");
    ASSERT_GT(expected.Frames.size(), 1000u) << "no recording in " << golden << ".digests";
    const std::string dir = MakeGameDir();
    WriteFile(dir + "/data.ini", ReadFile(golden + ".ini"));
    std::string shots;
    for (const auto& [frame, digest] : expected.Shots)
        shots +=
            " --shot " + std::to_string(frame) + ":" + dir + "/" + std::to_string(frame) + ".bmp";
    const RunResult run = RunHeadless(dir, ReadFile(golden + ".input"), "--seed 0" + shots);
    ASSERT_EQ(run.Status, 0) << run.Stderr;

    for (size_t i = 0; i < std::min(run.Trace.size(), expected.Frames.size()); ++i)
        ASSERT_EQ(Digest(run.Trace[i]), expected.Frames[i])
            << "frame " << i + 1 << " is not the recorded one; it now reads " << run.Trace[i];
    EXPECT_EQ(run.Trace.size(), expected.Frames.size()) << "the game's length changed";
    for (const auto& [frame, digest] : expected.Shots)
        EXPECT_EQ(Digest(ReadFile(dir + "/" + std::to_string(frame) + ".bmp")), digest)
            << "frame " << frame << " looks different";
}

INSTANTIATE_TEST_SUITE_P(EachDifficulty, GoldenRun, ::testing::Values("easy", "normal", "hard"));

}  // namespace
