// The golden runs: one game a difficulty, played by the test bot and recorded as a runner input
// script with a digest of every frame's trace line and of a few presented frames. Replayed
// through the runner it must give the same, frame for frame: a change of any rule of the game
// fails here and names the first frame that differs. A picture's digest leaves out where its
// texts are drawn, and the texts (what, where, colour, size) have a digest of their own, so
// that a new font library or font does not fail a golden run. After a deliberate change of
// behaviour, re-record with `make golden` and say why in the commit.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>
#include <vector>

#include "support/digest.h"
#include "support/runner_support.h"
#include "support/test_support.h"

namespace {

struct Shot {
    std::string Picture;  // the digest of the frame with its texts blanked
    std::string Texts;    // the digest of its texts
};
struct Recording {
    std::vector<std::string> Frames;  // the digest of each frame's trace line
    std::map<long, Shot> Shots;
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
            words >> recording.Shots[frame].Picture >> recording.Shots[frame].Texts;
        } else {
            recording.Frames.push_back(first);
        }
    }
    return recording;
}

// The runner's text list (--texts), by frame.
std::map<long, std::vector<DrawnText>> ReadTexts(const std::string& file) {
    std::map<long, std::vector<DrawnText>> texts;
    std::istringstream lines(ReadFile(file));
    for (std::string line; std::getline(lines, line);) {
        long frame = 0;
        DrawnText text;
        unsigned colour = 0, size = 0;
        int start = 0;
        if (std::sscanf(line.c_str(), "%ld %d %d %x %u %n", &frame, &text.X, &text.Y, &colour,
                        &size, &start) != 5)
            ADD_FAILURE() << "not a text line: " << line;
        text.Colour = int32_t(colour);
        text.Size = uint8_t(size);
        text.Text = line.substr(size_t(start));
        texts[frame].push_back(text);
    }
    return texts;
}

const std::vector<DrawnText> NoTexts;

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
    const RunResult run = RunHeadless(dir, ReadFile(golden + ".input"),
                                      "--seed 0 --texts " + dir + "/texts.txt" + shots);
    ASSERT_EQ(run.Status, 0) << run.Stderr;

    for (size_t i = 0; i < std::min(run.Trace.size(), expected.Frames.size()); ++i)
        ASSERT_EQ(Digest(run.Trace[i]), expected.Frames[i])
            << "frame " << i + 1 << " is not the recorded one; it now reads " << run.Trace[i];
    EXPECT_EQ(run.Trace.size(), expected.Frames.size()) << "the game's length changed";
    const auto texts = ReadTexts(dir + "/texts.txt");
    for (const auto& [frame, shot] : expected.Shots) {
        const std::string bytes = ReadFile(dir + "/" + std::to_string(frame) + ".bmp");
        DecodedBitmap picture;
        std::string error;
        ASSERT_TRUE(DecodeBitmap(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(),
                                 picture, error))
            << "frame " << frame << ": " << error;
        const std::vector<DrawnText>& drawn = texts.count(frame) ? texts.at(frame) : NoTexts;
        EXPECT_EQ(PictureDigest(picture.Pixels, picture.Width, picture.Height, drawn), shot.Picture)
            << "frame " << frame << " looks different";
        std::string lines;
        for (const DrawnText& text : drawn) lines += TextLine(frame, text) + "\n";
        EXPECT_EQ(TextsDigest(frame, drawn), shot.Texts)
            << "frame " << frame << " shows other texts:\n"
            << lines;
    }
}

INSTANTIATE_TEST_SUITE_P(EachDifficulty, GoldenRun, ::testing::Values("easy", "normal", "hard"),
                         [](const auto& info) { return std::string(info.param); });

}  // namespace
