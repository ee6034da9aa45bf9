// Records a golden run: the test bot plays one whole game on the headless platform, and what it
// pressed becomes a runner input script, each frame's trace line a digest, and a few presented
// frames two digests each: of the picture with its texts blanked, and of the texts. The
// golden-run test replays the script through the runner and expects
// the same digests, so any change of the game's behaviour shows as the first frame that differs.
//
//   golden_record GAME_DIR INPUT_FILE DIGEST_FILE     (run by tests/golden/record.sh)
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <vector>

#include "audio/headless/headless_audio.h"
#include "game/state.h"
#include "gfx/text.h"
#include "platform/headless/headless.h"
#include "runner_trace.h"
#include "shell/program.h"
#include "support/bot.h"
#include "support/digest.h"

namespace {

const char* const Name = "ボット";
constexpr int64_t StartFrame = 10;  // Escape on the title starts a game
constexpr int64_t CloseAfter = 40;  // frames between the end of the game and the close box
constexpr int64_t LongestGame = 20000;
const std::set<int64_t> ShotFrames = {200, 1000, 2000};

const std::map<int, const char*> KeyNames = {
    {VkLeft, "left"}, {VkRight, "right"}, {VkUp, "up"}, {VkDown, "down"}, {VkZ, "z"}};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: golden_record GAME_DIR INPUT_FILE DIGEST_FILE\n";
        return 2;
    }
    headless::Reset();
    headless::ResetAudio();
    headless::SetProgramDirectory(argv[1]);
    headless::SetSeed(0);
    headless::QueueInputAnswer(std::string(Name));
    std::ostringstream input;
    input << "# The test bot's game, recorded by tests/golden/record.sh.\nanswer " << Name << "\n";
    std::ostringstream digests;

    int64_t frame = 1;
    int64_t endedAt = -1;
    bool lost = false;
    std::vector<DrawnText> texts;  // of the frame being drawn
    SetTextObserver([&](const DrawnText& text) { texts.push_back(text); });
    std::map<int, bool> held;
    auto hold = [&](int key, bool down) {
        if (held[key] == down) return;
        held[key] = down;
        headless::SetKey(key, down);
        input << frame << (down ? " down " : " up ") << KeyNames.at(key) << "\n";
    };
    headless::SetFrameHooks(
        [&] {
            digests << Digest(TraceLine(frame)) << "\n";
            if (ShotFrames.count(frame)) {
                digests << "shot " << frame << " "
                        << PictureDigest(headless::LastPresentedFrame(),
                                         headless::LastPresentedWidth(),
                                         headless::LastPresentedHeight(), texts)
                        << " " << TextsDigest(frame, texts) << "\n";
            }
        },
        [&] {
            texts.clear();
            ++frame;
            if (frame == StartFrame) {
                headless::TapKey(VkEscape);
                input << frame << " tap escape\n";
            }
            const bool over = GameMode == ModeGameOver ||
                              (GameMode == ModeEnding && !headless::AllBoxTexts().empty());
            if (over && endedAt < 0) {
                endedAt = frame;
                lost = GameMode == ModeGameOver;
            }
            if (endedAt < 0 && frame > StartFrame) {
                const BotKeys keys = BotChoice();
                hold(VkZ, keys.Fire);
                hold(VkLeft, keys.Left);
                hold(VkRight, keys.Right);
                hold(VkUp, keys.Up);
                hold(VkDown, keys.Down);
            } else if (endedAt >= 0) {
                for (const auto& [key, name] : KeyNames) hold(key, false);
                // Z leaves the game-over picture; the ending runs by itself.
                if (lost && frame == endedAt + CloseAfter / 2) hold(VkZ, true);
            }
            if ((endedAt >= 0 && frame == endedAt + CloseAfter) || frame == LongestGame) {
                headless::RequestClose();
                input << frame << " close\n";
            }
        });
    try {
        Main();
    } catch (const headless::ProgramExit& exit) {
        if (exit.Status != 0) return exit.Status;
    }
    std::ofstream(argv[2], std::ios::binary) << input.str();
    std::ofstream(argv[3], std::ios::binary) << digests.str();
    return 0;
}
