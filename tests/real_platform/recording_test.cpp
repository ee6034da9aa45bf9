// A game recorded by the real platform's code (SDL under its dummy video driver, the machine's
// clock, keys from SDL's event queue) plays back on the headless platform as it was played.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "audio/sound.h"
#include "data/init.h"
#include "game/difficulty.h"
#include "game/state.h"
#include "gfx/display.h"
#include "platform/platform.h"
#include "shell/main_loop.h"
#include "shell/program_state.h"
#include "shell/replays.h"

namespace fs = std::filesystem;

namespace {

void PushKey(SDL_Keycode key, SDL_Scancode scancode, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = key;
    event.key.keysym.scancode = scancode;
    SDL_PushEvent(&event);
}

class RealPlatform : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        Dir = fs::temp_directory_path() / ("vexlan-real-" + std::to_string(std::random_device{}()));
        fs::create_directories(Dir);
        for (const auto& entry : fs::directory_iterator(VEXLAN_ASSET_DIR))
            fs::copy_file(entry.path(), Dir / entry.path().filename());
        // Whatever the game would save goes to the test's own folder.
        setenv("XDG_DATA_HOME", Dir.c_str(), 1);
        setenv("XDG_CACHE_HOME", Dir.c_str(), 1);
    }
    void TearDown() override {
        // What the program's end would release: the effect, the mixer, the window.
        ReleaseSoundEffect(SoundExplosion);
        ReleaseSound();
        SDL_Quit();
        fs::remove_all(Dir);
    }

    fs::path Dir;
};

// The keys of one frame come from one look at the events, taken between frames: a key that goes
// down while a frame runs reaches none of its queries, whichever key is asked first.
TEST_F(RealPlatform, EveryKeyQueryOfAFrameReadsTheSnapshotTakenBetweenFrames) {
    ResetProgramState();
    OpenMainWindow("keys", FieldWidth, FieldHeight);
    SetFrameRate(50);
    PushKey(SDLK_z, SDL_SCANCODE_Z, true);
    EXPECT_EQ(GetAsyncKeyState(VkLeft), 0);
    EXPECT_EQ(GetAsyncKeyState(VkZ), 0) << "taken in the middle of a frame";
    WaitNextFrame();
    EXPECT_EQ(GetAsyncKeyState(VkZ), KeyDownNow | KeyPressedSinceQuery);
    PushKey(SDLK_z, SDL_SCANCODE_Z, false);
    EXPECT_EQ(GetAsyncKeyState(VkZ), KeyDownNow);
    DoEvents();
    EXPECT_EQ(GetAsyncKeyState(VkZ), 0);
}

TEST_F(RealPlatform, AGamePlayedThereIsReplayedHeadlessAsPlayed) {
    ResetProgramState();
    ProgramDir = Dir.string();
    OpenMainWindow("replay", FieldWidth, FieldHeight);
    InitGame();
    const int32_t clearColour = SurfaceColour(0);
    LoadSprites();
    SetFrameRate(FramePeriod);
    // Hard, firing all game long: the ship is lost in well under a minute with some points
    // scored, and Z held ends the game-over picture at once.
    Difficulty = DifficultyHard;
    MidiOn = WavOn = False16;
    const std::string replay = (Dir / "game.vxr").string();
    SetLastReplayFile(replay);
    PushKey(SDLK_z, SDL_SCANCODE_Z, true);
    BeginGameRecording();
    ASSERT_TRUE(NewGame());
    const int32_t score = PlayGame(clearColour);
    EndGameRecording(score);
    ASSERT_TRUE(fs::exists(replay));

    const std::string result = (Dir / "result.txt").string();
    const std::string command = std::string(VEXLAN_HEADLESS_BIN) + " --dir '" + Dir.string() +
                                "' --replay '" + replay + "' 2>'" + result + "'";
    const int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    std::ifstream in(result);
    std::stringstream told;
    told << in.rdbuf();
    EXPECT_EQ(WEXITSTATUS(status), 0) << told.str();
    EXPECT_NE(told.str().find(replay + ": ok, score " + std::to_string(score) + ", difficulty 3, "),
              std::string::npos)
        << told.str();
}

}  // namespace
