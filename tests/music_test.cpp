// Keeping the battle tune going: the frame pass asks the device every play frame and restarts
// the tune from the top only when the answer is "stopped".
#include "audio/music.h"

#include <filesystem>

#include "audio/headless/headless_audio.h"
#include "audio/music_commands.h"
#include "audio/music_device.h"
#include "game/state.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

using Commands = std::vector<std::string>;

const std::string Status = "status BGM mode";
const std::string Seek = "seek BGM to start";
const std::string Play = "play BGM";

class MusicTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        dir = MakeScratchDir();
        headless::SetProgramDirectory(dir);
        WriteFile(dir + "/m_battle.mid", "MThd");
        MidiOn = True16;
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    void OpenTune() {
        ASSERT_EQ(SendMusicCommand("Open m_battle.mid Alias BGM"), MusicOk);
        headless::TakeMusicCommands(true);
    }
    // One play frame's music work, and what it sent.
    Commands Frame() {
        KeepBgmPlaying(MidiOn != False16);
        return headless::TakeMusicCommands(true);
    }

    std::string dir;
};

TEST_F(MusicTest, TheFirstPlayFrameStartsTheTuneFromTheTop) {
    OpenTune();
    EXPECT_EQ(Frame(), (Commands{Status, Seek, Play}));
    EXPECT_TRUE(headless::MusicPlaying());
}

TEST_F(MusicTest, ATunePlayingIsOnlyAskedAbout) {
    OpenTune();
    Frame();
    EXPECT_EQ(Frame(), Commands{Status});
    EXPECT_EQ(Frame(), Commands{Status});
}

TEST_F(MusicTest, NothingIsSentWhileMusicIsOff) {
    OpenTune();
    MidiOn = False16;
    EXPECT_TRUE(Frame().empty());
    EXPECT_FALSE(headless::MusicPlaying());
}

TEST_F(MusicTest, TheTuneStartsAgainFromTheTopAfterItStops) {
    OpenTune();
    Frame();
    Frame();
    SendMusicCommand("stop BGM");  // game over
    headless::TakeMusicCommands(true);
    EXPECT_EQ(Frame(), (Commands{Status, Seek, Play}));
    EXPECT_TRUE(headless::MusicPlaying());
}

TEST_F(MusicTest, AFailedQueryKeepsTheLastAnswerStopped) {
    OpenTune();
    Frame();  // the answer is now "stopped", and the tune was started
    SendMusicCommand("Close BGM");
    headless::TakeMusicCommands(true);
    // The old answer stands, so the (failing) restart is sent again and again.
    EXPECT_EQ(Frame(), (Commands{Status, Seek, Play}));
    EXPECT_EQ(Frame(), (Commands{Status, Seek, Play}));
}

// The recording device stands in for the real one in every scenario, so it has to answer as
// the real one does.
TEST_F(MusicTest, ADeviceWhoseFileDidNotOpenAnswersEveryCommandWithAnError) {
    std::filesystem::remove(dir + "/m_battle.mid");
    // A name that leads round in a loop opens no more than a missing one.
    std::filesystem::create_symlink("m_battle.mid", dir + "/m_battle.mid");
    EXPECT_EQ(SendMusicCommand("Open m_battle.mid Alias BGM"), MusicErrorFileNotFound);
    std::filesystem::remove(dir + "/m_battle.mid");
    EXPECT_NE(SendMusicCommand("Open m_battle.mid Alias BGM"), MusicOk);
    std::string reply = "unset  ";
    EXPECT_NE(SendMusicCommand(Status, &reply), MusicOk);
    EXPECT_EQ(reply, "unset  ");
    for (const std::string& command : {Seek, Play, std::string("stop BGM")})
        EXPECT_NE(SendMusicCommand(command), MusicOk) << command;
    EXPECT_FALSE(headless::MusicPlaying());
}

TEST_F(MusicTest, CommandsForAnotherAliasOrInAnotherFormChangeNothing) {
    OpenTune();
    ASSERT_EQ(SendMusicCommand(Play), MusicOk);
    for (const char* command : {"stop Other", "seek Other to start", "Close Other", "stop  BGM",
                                "Stop BGM", "pause BGM", "Open m_battle.mid Alias BGM"}) {
        EXPECT_NE(SendMusicCommand(command), MusicOk) << command;
        EXPECT_TRUE(headless::MusicPlaying()) << command;
    }
    std::string reply;
    EXPECT_EQ(SendMusicCommand(Status, &reply), MusicOk);
    EXPECT_EQ(reply, "playing");
}

}  // namespace
