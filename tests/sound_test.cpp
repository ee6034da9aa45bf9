// The explosion's voices: started in turn from voice 1, a voice still sounding is cut off and
// restarted, and an effect that never loaded stays silent; and the mix's levels.
#include "audio/sound.h"

#include <filesystem>

#include "audio/headless/headless_audio.h"
#include "audio/mix_levels.h"
#include "platform/headless/headless.h"
#include "support/test_support.h"

namespace {

class SoundTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        dir = MakeScratchDir();
        WriteFile(Wav(), "RIFF....WAVEfmt ");
    }
    void TearDown() override { std::filesystem::remove_all(dir); }
    std::string Wav() const { return dir + "/wavbaku.wav"; }

    std::vector<int> PlayTimes(SoundEffect& effect, int times) {
        for (int i = 0; i < times; ++i) PlaySound(effect);
        return headless::TakePlayedVoices();
    }

    std::string dir;
};

TEST_F(SoundTest, VoicesStartFromOneAndTheNinthExplosionCutsOffTheFirst) {
    ASSERT_TRUE(InitSound());
    SoundEffect explosion = LoadSoundEffect(Wav(), 8);
    EXPECT_EQ(PlayTimes(explosion, 9), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 0, 1}));
    EXPECT_EQ(explosion.LastIndex, 1);
}

TEST_F(SoundTest, AOneVoiceEffectRestartsItsOnlyVoiceEveryTime) {
    ASSERT_TRUE(InitSound());
    SoundEffect effect = LoadSoundEffect(Wav(), 1);
    EXPECT_EQ(PlayTimes(effect, 3), (std::vector<int>{0, 0, 0}));
}

TEST_F(SoundTest, AnEffectThatNeverLoadedPlaysNothing) {
    SoundEffect neverLoaded;
    EXPECT_TRUE(PlayTimes(neverLoaded, 3).empty());
    EXPECT_EQ(neverLoaded.LastIndex, 0);
}

TEST_F(SoundTest, WithoutASoundDeviceThePlayerIsWarnedAndTheGameGoesOn) {
    headless::SetSoundAvailable(false);
    EXPECT_FALSE(InitSound());
    EXPECT_EQ(headless::TakeBoxTexts(), std::vector<std::string>{"DirectSoundは利用できません。"});
}

TEST_F(SoundTest, AMissingWavIsFatalAndNamesTheFile) {
    ASSERT_TRUE(InitSound());
    const std::string missing = dir + "/nothere.wav";
    EXPECT_THROW(LoadSoundEffect(missing, 8), headless::ProgramExit);
    const auto boxes = headless::TakeBoxTexts();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find(missing), std::string::npos) << boxes[0];
}

// Every voice at its loudest sample at once, over the tune's loudest moment, stays within full
// scale; one step louder would not, unless the voices already play at full volume.
TEST(MixLevels, EveryVoiceAtOnceOverTheTuneFitsAndNoLouderWould) {
    const double tune = TunePeak * TuneVolume / FullVolume;
    for (double peak : {0.914, 0.5, 1.0}) {
        for (int voices = 1; voices <= 8; ++voices) {
            const int volume = EffectVoiceVolume(voices, peak);
            const auto mix = [&](int v) { return tune + voices * peak * v / FullVolume; };
            EXPECT_LE(mix(volume), 1.0) << voices << " voices of peak " << peak;
            if (volume < FullVolume) {
                EXPECT_GT(mix(volume + 1), 1.0) << voices << " voices of peak " << peak;
            }
        }
    }
    EXPECT_GT(EffectVoiceVolume(8, 1.0), 0);  // eight voices are still heard
}

}  // namespace
